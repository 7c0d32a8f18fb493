#include "core/PreviewGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "render/TestGrids.h"

namespace {

// Each preview: within its size, made of the grid's own points, every row from its
// own band of rows, and with the grid's lowest and highest height (a spike one point
// wide survives); the grid it borrowed is whole again.
TEST(PreviewGrid, KeepsEachBlocksExtremesWithinItsSize) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> z(-1, 1);
  const struct {
    int Rows, Cols, Columns, MaxRows;
    double Spike;  // at (Rows / 3, Cols / 2), where it is not a hole
    bool Holes;    // a band of rows without heights
  } cases[] = {
      {1000, 700, 320, 240, 50, false}, {1000, 700, 320, 240, -50, true},
      {301, 299, 100, 100, 9, true},    {5, 7, 4, 2, 3, false},
      {40, 3, 320, 240, -3, false},  // smaller than the preview: every point twice
  };
  for (const auto& c : cases) {
    TKestoState s;
    SetGrid(s, c.Rows, c.Cols, [&](int i, int j) {
      if (c.Holes && i >= 10 && i < 20) return double(NAN);
      return i == c.Rows / 3 && j == c.Cols / 2 ? c.Spike : z(rng);
    });
    const TGridPoint* first = s.Grid[0].data();
    const TKestoState p = PreviewState(s, c.Columns, c.MaxRows);
    const std::string what = std::to_string(c.Rows) + "x" + std::to_string(c.Cols);
    ASSERT_EQ(s.Grid.size(), size_t(c.Rows)) << what;
    EXPECT_EQ(s.Grid[0].data(), first) << what;
    EXPECT_LE(p.GridHighI + 1, c.MaxRows) << what;
    EXPECT_LE(p.GridHighJ + 1, std::max(c.Columns, 2)) << what;
    ASSERT_EQ(p.Grid.size(), size_t(p.GridHighI + 1)) << what;
    const int band = (c.Rows + c.MaxRows - 1) / c.MaxRows;
    for (int r = 0; r <= p.GridHighI; ++r) {
      ASSERT_EQ(p.Grid[r].size(), size_t(p.GridHighJ + 1)) << what;
      for (const TGridPoint& q : p.Grid[r]) {
        const int i = int(q.X), j = int(q.Y);
        EXPECT_TRUE(i / band == r && (IsHole(q) ? IsHole(s.Grid[i][j]) : q.Z == s.Grid[i][j].Z))
            << what << " row " << r << " point " << i << "," << j;
      }
    }
    const TRanges r = ComputeRanges(p.Grid, p.GridHighI, p.GridHighJ);
    EXPECT_EQ(r.ZMin, s.ZMin) << what;
    EXPECT_EQ(r.ZMax, s.ZMax) << what;
    EXPECT_EQ(std::tie(p.XMin, p.XMax, p.ZMin, p.ZMax), std::tie(s.XMin, s.XMax, s.ZMin, s.ZMax));
  }
}

}  // namespace
