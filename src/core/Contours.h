#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <vector>

#include "core/Grid.h"

// How the contour levels are chosen: Count levels at round values, or every Interval
// from Offset, or the levels of List; the first of these that is set counts, List first.
struct TContourSpec {
  int32_t Count = 10;
  double Interval = 0;  // 0: none
  double Offset = 0;
  std::vector<double> List;
};

struct TContourLevel {
  double Value;
  bool Index;  // an index contour: drawn bolder and labelled
};

// The levels strictly inside low..high, lowest first: with Count, at a step of 1, 2 or 5
// x 10^k, at most Count + 1 of them, every other one from 0 an index contour; with an
// Interval, Offset + k x Interval, every fifth from the offset an index contour; a List,
// each an index contour. Throws where an interval would give more levels than a picture
// can tell apart.
std::vector<TContourLevel> ContourLevels(const TContourSpec& spec, double low, double high);

// One line at one level: Count points in order from First of its set's points; a closed
// line's last point joins its first (the first is not repeated).
struct TContourLine {
  double Level = 0;
  bool Index = false;
  bool Closed = false;
  size_t First = 0, Count = 0;
};

// Lines and the points they run through, all in one place: a noisy grid has millions of
// short lines.
struct TContours {
  std::vector<TContourLine> Lines;
  std::vector<TGridPoint> Points;
  std::span<const TGridPoint> PointsOf(const TContourLine& line) const {
    return {Points.data() + line.First, line.Count};
  }
};

// The contour lines of the rectangle 0..highI x 0..highJ of grid, by marching squares:
// crossing points linearly interpolated on the cells' edges, a point equal to the level
// counted below it, a saddle resolved by the mean of its cell's corners. A cell with a
// hole is split at the diagonal from its (i, j) corner, as the filled surface would split
// it, and only a triangle without a hole has lines. Each line is followed from cell to
// cell as it is found, and closed where it comes back to where it began.
TContours TraceContours(const TGrid& grid, int32_t highI, int32_t highJ,
                        const std::vector<TContourLevel>& levels);

struct TKestoState;

// How the state's contour options choose the levels.
TContourSpec ContourSpecOf(const TKestoState& s);
// The levels the state's options choose within its z range; where an interval would
// give more levels than a picture can tell apart (a hand-edited settings file), the
// round levels of the count in its place.
std::vector<TContourLevel> ContourLevelsOf(const TKestoState& s);

class TContourTracer;

// The lines of a state's grid at the levels its options choose, kept until the grid or
// the levels change, and traced a row of cells at a time, so that a noisy grid's
// millions of lines never hold up a window. A grid is told from another by where its
// points are, its size, its ranges and a sample of its heights.
class TContourCache {
 public:
  TContourCache();
  ~TContourCache();
  TContourCache(const TContourCache&) = delete;
  TContourCache& operator=(const TContourCache&) = delete;
  // The lines of s, or none where more said stop first: the next call for the same
  // lines goes on from there.
  const TContours* For(const TKestoState& s, const std::function<bool()>& more);

 private:
  std::optional<std::vector<double>> key_;
  std::unique_ptr<TContourTracer> tracer_;  // while the lines are being traced
  TContours lines_;
};

// The lines as text: for each, a line with its level, then "x y z" per point (a closed
// line's first point again at its end), and a blank line between lines.
void WriteContours(std::ostream& out, const TContours& contours);
