#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

struct TGridPoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

// A point whose height is missing from the file: it keeps its place in the lattice,
// but no range counts it and nothing that touches it is drawn.
inline bool IsHole(const TGridPoint& p) { return std::isnan(p.Z); }

using TGridRow = std::vector<TGridPoint>;
using TGrid = std::vector<TGridRow>;

// The data set the graph window shows: the lattice, the highest indices that the
// consumers visit, the extent along each axis and the point the axes cross.
struct TGridData {
  TGrid Grid;
  int32_t GridHighI = -1;
  int32_t GridHighJ = -1;
  double XMin = 0.0, XMax = 100.0;
  double YMin = 0.0, YMax = 100.0;
  double ZMin = -1.0, ZMax = 1.0;
  // The smallest height above 0, where a log colour scale starts; infinite: none.
  double ZPositiveMin = std::numeric_limits<double>::infinity();
  double OriginX = 0.0, OriginY = 0.0, OriginZ = 0.0;
  // The names of x, y and z from the file's header; none where it has none.
  std::vector<std::string> ColumnNames;
};

struct TRanges {
  double XMin, XMax, YMin, YMax, ZMin, ZMax, ZPositiveMin;
};

// Extremes of the points of the rectangle 0..GridHighI x 0..GridHighJ that are not
// holes, started from the first of them and replaced only by strictly greater /
// strictly smaller values, in row order. The rectangle must hold a point that is not
// a hole.
TRanges ComputeRanges(const TGrid& grid, int32_t highI, int32_t highJ);

void ApplyRanges(TGridData& data, const TRanges& r);

// True when every row of the rectangle has at least GridHighJ + 1 points and the
// ranges bound every point of it that is not a hole: what every consumer of the grid
// relies on.
bool GridInvariantsHold(const TGridData& data);
