#include "core/PreviewGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "render/TestGrids.h"

namespace {

// Each preview: within its size, made of the grid's own points, each row from its own
// band of rows, with the grid's lowest and highest height (a spike one point wide
// survives, up or down); the grid it borrowed is back, not copied.
TEST(PreviewGrid, KeepsEachBlocksExtremesWithinItsSize) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> z(-1, 1);
  // Rows, columns, the preview's most points per row and rows, the spike's height;
  // a spike downwards comes with holes in rows 10 to 19; the last grid is smaller than
  // its preview.
  const int cases[][5] = {{1000, 700, 320, 240, 50},
                          {1000, 700, 320, 240, -50},
                          {301, 299, 100, 100, 9},
                          {5, 7, 4, 2, 3},
                          {40, 3, 320, 240, -3}};
  for (const auto& [rows, cols, most, mostRows, spike] : cases) {
    TKestoState s;
    SetGrid(s, rows, cols, [&](int i, int j) {
      if (spike < 0 && i >= 10 && i < 20) return double(NAN);
      return i == rows / 3 && j == cols / 2 ? spike : z(rng);
    });
    const TGridPoint* first = s.Grid[0].data();
    const TKestoState p = PreviewState(s, most, mostRows);
    const int band = (rows + mostRows - 1) / mostRows;
    EXPECT_TRUE(s.Grid[0].data() == first && p.Grid.size() == size_t(p.GridHighI + 1) &&
                p.GridHighI < mostRows && p.GridHighJ < std::max(most, 2))
        << rows;
    for (int r = 0; r < int(p.Grid.size()); ++r)
      for (const TGridPoint& q : p.Grid[r]) {
        const TGridPoint& at = s.Grid[int(q.X)][int(q.Y)];
        ASSERT_TRUE(p.Grid[r].size() == size_t(p.GridHighJ + 1) && int(q.X) / band == r &&
                    (IsHole(q) ? IsHole(at) : q.Z == at.Z))
            << rows << " row " << r << " point " << q.X << "," << q.Y;
      }
    const TRanges r = ComputeRanges(p.Grid, p.GridHighI, p.GridHighJ);
    EXPECT_EQ(std::tie(r.ZMin, r.ZMax, p.XMin, p.ZMax), std::tie(s.ZMin, s.ZMax, s.XMin, s.ZMax));
  }
}

}  // namespace
