#pragma once

#include <string>
#include <vector>

#include "core/ViewState.h"

// Where a height's colour comes from: its place T along the colours (0 the low end, 1
// the high end), or a side of the range it lies beyond (T then the nearer end).
struct TColorPlace {
  enum TSide { In, Under, Over };
  TSide Side = In;
  double T = 0;
};

// The state's colour range made concrete: its ends (an end left to the heights takes
// theirs; on a log scale, the smallest height above 0), its scale and its steps. A
// range that cannot be (ends the wrong way round, a log scale with no height above 0)
// is the heights' own, linear.
class TColorRange {
 public:
  explicit TColorRange(const TKestoState& s);

  // Why the state's colour options cannot be met, or nothing where they can.
  static std::string Problem(const TKestoState& s);

  double Low() const { return low_; }
  double High() const { return high_; }
  bool Log() const { return log_; }
  int Steps() const { return steps_; }
  // Whether heights below (above) the range are told apart from the end's colour.
  bool Bounded(TColorPlace::TSide side) const {
    return side == TColorPlace::Under ? under_ : over_;
  }

  // Height z's place. Beyond an end the heights set (not one given), a height keeps its
  // place outside 0..1.
  TColorPlace Place(double z) const;
  // Value v's place along the colours before the steps: where the bar shows it.
  double Along(double v) const;
  // A place in 0..1 moved to the colour of its step.
  double Stepped(double t) const;
  // The heights, lowest first, where the colour jumps: the steps' edges and, where
  // heights beyond an end have colours of their own, that end.
  std::vector<double> Edges(bool endsApart) const;

 private:
  double low_, high_, span_;
  bool log_;
  int steps_;
  bool under_, over_;  // an end given, or a log scale's lower end
};

// The colour range, its scale, steps and out-of-range colours, and the hillshade and
// its light, back to their defaults, or as another state has them.
void ResetColorOptions(TKestoState& s);
void CopyColorOptions(const TKestoState& from, TKestoState& to);

// The colouring's name as the window shows it a moment after a change: "viridis", or
// "viridis, reversed".
std::string ColoringName(const TKestoState& s);
