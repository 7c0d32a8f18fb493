#include "core/PreviewGrid.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

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

// The lowest and the highest point met so far in one block.
struct TExtremes {
  const TGridPoint* Low = nullptr;
  const TGridPoint* High = nullptr;
  int32_t LowI = 0, LowJ = 0, HighI = 0, HighJ = 0;
};

// The rows i0..i1 - 1 as one row of the preview: each block of blockJ points across
// them gives its lowest and highest point, the one nearer the row's start first, or
// its first point twice where all are holes. Read row by row, as the grid lies.
void AddBand(const TGrid& grid, int32_t i0, int32_t i1, int32_t pointsJ, int32_t blockJ,
             std::vector<TExtremes>& blocks, TGridRow& out) {
  blocks.assign(size_t(CeilDiv(pointsJ, blockJ)), {});
  for (int32_t i = i0; i < i1; ++i) {
    const TGridPoint* row = grid[i].data();
    for (int32_t j = 0; j < pointsJ; ++j) {
      const TGridPoint& p = row[j];
      if (IsHole(p)) continue;
      TExtremes& b = blocks[size_t(j / blockJ)];
      if (!b.Low || p.Z < b.Low->Z) b.Low = &p, b.LowI = i, b.LowJ = j;
      if (!b.High || p.Z > b.High->Z) b.High = &p, b.HighI = i, b.HighJ = j;
    }
  }
  for (size_t k = 0; k < blocks.size(); ++k) {
    const TExtremes& b = blocks[k];
    if (!b.Low) {
      out.insert(out.end(), 2, grid[i0][k * size_t(blockJ)]);
      continue;
    }
    const bool lowFirst = std::pair(b.LowJ, b.LowI) < std::pair(b.HighJ, b.HighI);
    out.push_back(lowFirst ? *b.Low : *b.High);
    out.push_back(lowFirst ? *b.High : *b.Low);
  }
}

}  // namespace

TKestoState PreviewState(TKestoState& s, int columns, int rows) {
  TKestoState preview = WithoutGrid(s);
  const int32_t pointsI = s.GridHighI + 1, pointsJ = s.GridHighJ + 1;
  const int32_t blockI = CeilDiv(pointsI, std::max(rows, 1));
  const int32_t blockJ = CeilDiv(pointsJ, std::max(columns / 2, 1));
  std::vector<TExtremes> blocks;
  for (int32_t i0 = 0; i0 < pointsI; i0 += blockI)
    AddBand(s.Grid, i0, std::min(i0 + blockI, pointsI), pointsJ, blockJ, blocks,
            preview.Grid.emplace_back());
  preview.GridHighI = int32_t(preview.Grid.size()) - 1;
  preview.GridHighJ = int32_t(preview.Grid[0].size()) - 1;
  return preview;
}
