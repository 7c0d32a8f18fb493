#include "core/GridFinish.h"

#include <cmath>
#include <tuple>

#include "core/DataFile.h"
#include "core/NumberField.h"

namespace {

double ClampOrigin(double min, double max) {
  double origin = 0.0;
  if (min > origin) origin = min;
  if (max < origin) origin = max;
  return origin;
}

}  // namespace

const char* const kTooLargeForMemory = "the grid is too large for the memory available";

void RefuseDataFile(const std::string& name, const std::string& why) {
  throw TDataFileError("The data file \"" + name + "\" cannot be shown: " + why + ".");
}

void CheckGridSize(const std::string& name, uint64_t columns, uint64_t rows, int64_t mostPoints) {
  const bool fits = columns <= uint64_t(INT32_MAX) && rows <= uint64_t(INT32_MAX) &&
                    columns * rows <= uint64_t(mostPoints);
  if (!fits)
    RefuseDataFile(name, std::string(kTooLargeForMemory) + ": " + std::to_string(columns) + " x " +
                             std::to_string(rows) + " points, where it holds " +
                             std::to_string(mostPoints));
}

TGridData FinishGrid(TGrid grid, const std::string& name) {
  if (grid.empty() || grid[0].empty()) RefuseDataFile(name, "it holds no data points");
  if (grid.size() > INT32_MAX || grid[0].size() > INT32_MAX)
    RefuseDataFile(name, "it is too large");
  TGridData d;
  d.GridHighI = static_cast<int32_t>(grid.size() - 1);
  d.GridHighJ = static_cast<int32_t>(grid[0].size() - 1);
  bool anyHeight = false;
  for (const TGridRow& row : grid) {
    for (const TGridPoint& p : row)
      if (!IsHole(p)) {
        anyHeight = true;
        break;
      }
    if (anyHeight) break;
  }
  if (!anyHeight) RefuseDataFile(name, "every one of its points is missing a height");
  d.Grid = std::move(grid);
  ApplyRanges(d, ComputeRanges(d.Grid, d.GridHighI, d.GridHighJ));
  for (const auto& [low, high, axis] :
       {std::tuple{d.XMin, d.XMax, "x"}, std::tuple{d.YMin, d.YMax, "y"},
        std::tuple{d.ZMin, d.ZMax, "z"}}) {
    if (!std::isfinite(high - low))
      RefuseDataFile(name, std::string("its ") + axis +
                               " values span more than a number can hold (" + ShortestText(low) +
                               " to " + ShortestText(high) + ")");
  }
  d.OriginX = ClampOrigin(d.XMin, d.XMax);
  d.OriginY = ClampOrigin(d.YMin, d.YMax);
  d.OriginZ = ClampOrigin(d.ZMin, d.ZMax);
  return d;
}
