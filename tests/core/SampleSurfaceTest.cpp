#include "core/SampleSurface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SampleSurface, FiftyByFiftyWithItsRanges) {
  TGridData d;
  d.OriginX = 7;  // the sample leaves the origin alone
  MakeSampleData(d);
  EXPECT_EQ(d.GridHighI, 49);
  EXPECT_EQ(d.GridHighJ, 49);
  ASSERT_EQ(d.Grid.size(), 50u);
  for (const TGridRow& row : d.Grid) ASSERT_EQ(row.size(), 50u);
  EXPECT_EQ(d.XMin, 0);
  EXPECT_EQ(d.XMax, 49);
  EXPECT_EQ(d.YMin, 0);
  EXPECT_EQ(d.YMax, 49);
  EXPECT_NEAR(d.ZMin, -48.3663, 1e-4);
  EXPECT_NEAR(d.ZMax, 48.3664, 1e-4);
  EXPECT_EQ(d.ZMax, d.Grid[49][10].Z);
  EXPECT_EQ(d.ZMin, d.Grid[49][30].Z);
  EXPECT_EQ(d.OriginX, 7);
  EXPECT_TRUE(GridInvariantsHold(d));
}

TEST(SampleSurface, PointsFollowTheFormulaWithPiAs314) {
  TGridData d;
  MakeSampleData(d);
  for (int k = 0; k < 50; ++k) {
    EXPECT_EQ(d.Grid[0][k].Z, 0.0);
    EXPECT_EQ(d.Grid[k][0].Z, 0.0);
    EXPECT_EQ(d.Grid[k][3].X, k);
    EXPECT_EQ(d.Grid[3][k].Y, k);
  }
  EXPECT_NEAR(d.Grid[10][10].Z, 9.99999, 1e-5);
  EXPECT_LT(d.Grid[10][10].Z, 10.0);
  const double expected = 23 * std::sin(23 / 20.0 * 3.14) * std::sin(41 / 20.0 * 3.14);
  EXPECT_NEAR(d.Grid[23][41].Z, expected, 1e-12);
}

}  // namespace
