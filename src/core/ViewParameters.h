#pragma once

#include <array>

#include "core/ViewState.h"

// How a view number is brought back into its range: held at the nearer end (a NaN at
// the lower), or taken round by one turn of the range (a frame wraps a turn once).
enum class TKeep { Clamp, Wrap };

// The numbers of the view that the user sets. Every consumer walks this table: the
// state's defaults, NormalizeView, kesto-render's options, notes and usage, the
// settings file, the frame key and the shape of the lists. A new view number is one
// more row.
struct TViewParameter {
  double TKestoState::*Field;
  double Default;
  TKeep Keep;
  double Low, High;
  const char* Option;   // kesto-render's --option, and its name in notes
  const char* Value;    // the option's value in the usage
  const char* Meaning;  // for the usage: the range and the default follow it
  // Its key under [KestoF] in the settings file, where it is kept as a whole number,
  // and its place in the order of writing among the other stored keys; none: not kept.
  const char* Key;
  int WriteOrder;
  bool ShapesLists;  // the graph and axes lists are made from it: a change compiles them again
};

inline constexpr std::array<TViewParameter, 4> kViewParameters = {{
    {&TKestoState::Angle3, 160.0, TKeep::Wrap, 0, 360, "turn", "DEG",
     "turn about the vertical axis", "Angle3", 20, false},
    {&TKestoState::Angle2, 45.0, TKeep::Clamp, 5, 175, "tilt", "DEG", "angle from straight above",
     "Angle2", 19, false},
    {&TKestoState::Distance, 10.0, TKeep::Clamp, 1, 100, "distance", "D", "distance of the eye",
     nullptr, 0, false},
    {&TKestoState::HeightScale, 0.8, TKeep::Clamp, 0, 2, "height-scale", "H", "height of the graph",
     nullptr, 0, true},
}};

// The value a view number is kept at.
double KeepInRange(const TViewParameter& p, double v);
