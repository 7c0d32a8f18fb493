#include "core/Grid.h"

#include <algorithm>
#include <limits>

namespace {

const TGridPoint* FirstPointNotAHole(const TGrid& grid, int32_t highI, int32_t highJ) {
  for (int32_t i = 0; i <= highI; ++i)
    for (int32_t j = 0; j <= highJ; ++j)
      if (!IsHole(grid[i][j])) return &grid[i][j];
  return &grid[0][0];
}

}  // namespace

TRanges ComputeRanges(const TGrid& grid, int32_t highI, int32_t highJ) {
  const TGridPoint* first = FirstPointNotAHole(grid, highI, highJ);
  TRanges r{first->X,
            first->X,
            first->Y,
            first->Y,
            first->Z,
            first->Z,
            std::numeric_limits<double>::infinity()};
  for (int32_t i = 0; i <= highI; ++i) {
    const TGridPoint* row = grid[i].data();
    for (int32_t j = 0; j <= highJ; ++j) {
      const TGridPoint& p = row[j];
      if (IsHole(p)) continue;
      r.XMax = std::max(r.XMax, p.X);
      r.XMin = std::min(r.XMin, p.X);
      r.YMax = std::max(r.YMax, p.Y);
      r.YMin = std::min(r.YMin, p.Y);
      r.ZMax = std::max(r.ZMax, p.Z);
      r.ZMin = std::min(r.ZMin, p.Z);
      if (p.Z > 0 && p.Z < r.ZPositiveMin) r.ZPositiveMin = p.Z;
    }
  }
  return r;
}

void ApplyRanges(TGridData& data, const TRanges& r) {
  data.XMin = r.XMin;
  data.XMax = r.XMax;
  data.YMin = r.YMin;
  data.YMax = r.YMax;
  data.ZMin = r.ZMin;
  data.ZMax = r.ZMax;
  data.ZPositiveMin = r.ZPositiveMin;
}

bool GridInvariantsHold(const TGridData& d) {
  if (d.GridHighI < 0 || d.GridHighJ < 0) return false;
  if (d.Grid.size() < static_cast<size_t>(d.GridHighI) + 1) return false;
  for (int32_t i = 0; i <= d.GridHighI; ++i) {
    const TGridRow& row = d.Grid[i];
    if (row.size() < static_cast<size_t>(d.GridHighJ) + 1) return false;
    for (int32_t j = 0; j <= d.GridHighJ; ++j) {
      const TGridPoint& p = row[j];
      if (IsHole(p)) continue;
      if (!(p.X >= d.XMin && p.X <= d.XMax && p.Y >= d.YMin && p.Y <= d.YMax && p.Z >= d.ZMin &&
            p.Z <= d.ZMax))
        return false;
    }
  }
  return true;
}
