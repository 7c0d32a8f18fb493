#include "core/PreviewGrid.h"

#include <algorithm>
#include <utility>

namespace {

struct TAt {
  int32_t I = -1, J = -1;
};

// Appends the lowest and the highest point of the points i0..i1 - 1 x j0..j1 - 1,
// the one nearer the row's start first; the block's first point twice where all
// are holes.
void AddExtremes(const TGrid& grid, int32_t i0, int32_t i1, int32_t j0, int32_t j1, TGridRow& row) {
  TAt low, high;
  for (int32_t i = i0; i < i1; ++i)
    for (int32_t j = j0; j < j1; ++j) {
      const TGridPoint& p = grid[i][j];
      if (IsHole(p)) continue;
      if (low.I < 0 || p.Z < grid[low.I][low.J].Z) low = {i, j};
      if (high.I < 0 || p.Z > grid[high.I][high.J].Z) high = {i, j};
    }
  if (low.I < 0) low = high = {i0, j0};
  if (std::pair(high.J, high.I) < std::pair(low.J, low.I)) std::swap(low, high);
  row.push_back(grid[low.I][low.J]);
  row.push_back(grid[high.I][high.J]);
}

int32_t CeilDiv(int32_t a, int32_t b) { return (a + b - 1) / b; }

// A copy of s but for its grid, which is put back even when the copy fails.
TKestoState WithoutGrid(TKestoState& s) {
  struct TLent {
    TKestoState& Owner;
    TGrid Grid;
    ~TLent() { Owner.Grid = std::move(Grid); }
  } lent{s, std::exchange(s.Grid, {})};
  return s;
}

}  // namespace

TKestoState PreviewState(TKestoState& s, int columns, int rows) {
  TKestoState preview = WithoutGrid(s);
  const int32_t pointsI = s.GridHighI + 1, pointsJ = s.GridHighJ + 1;
  const int32_t blockI = CeilDiv(pointsI, std::max(rows, 1));
  const int32_t blockJ = CeilDiv(pointsJ, std::max(columns / 2, 1));
  for (int32_t i0 = 0; i0 < pointsI; i0 += blockI) {
    TGridRow& row = preview.Grid.emplace_back();
    row.reserve(2 * size_t(CeilDiv(pointsJ, blockJ)));
    for (int32_t j0 = 0; j0 < pointsJ; j0 += blockJ)
      AddExtremes(s.Grid, i0, std::min(i0 + blockI, pointsI), j0, std::min(j0 + blockJ, pointsJ),
                  row);
  }
  preview.GridHighI = int32_t(preview.Grid.size()) - 1;
  preview.GridHighJ = int32_t(preview.Grid[0].size()) - 1;
  return preview;
}
