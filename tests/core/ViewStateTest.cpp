#include "core/ViewState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/Ticks.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ViewState, CreationDefaults) {
  TKestoState s;
  EXPECT_EQ(s.DrawMode, 1);
  EXPECT_EQ(s.SurfaceMode, 0);
  EXPECT_EQ(s.AxisMode, 1);
  EXPECT_EQ(s.ColorBackGround, 0);
  EXPECT_EQ(s.ColorMin, 0xFF0000);
  EXPECT_EQ(s.ColorHigh, 0x0000FF);
  EXPECT_EQ(s.ColorAxisX, 0x008000);
  EXPECT_EQ(s.ColorAxisY, 0x008000);
  EXPECT_EQ(s.ColorAxisZ, 0x008000);
  EXPECT_EQ(s.Spec, 0);
  EXPECT_EQ(s.Angle1, 0.0);
  EXPECT_EQ(s.Angle2, 45.0);
  EXPECT_EQ(s.Angle3, 160.0);
  EXPECT_EQ(s.Distance, 10.0);
  EXPECT_EQ(s.HeightScale, 0.8);
  EXPECT_EQ(s.LineWidth, 1.0);
  EXPECT_EQ(s.AxisWidth, 1.0);
  EXPECT_EQ(s.MouseState, 0);
  EXPECT_EQ(s.OriginX, 0.0);
  EXPECT_EQ(s.OriginY, 0.0);
  EXPECT_EQ(s.OriginZ, 0.0);
  EXPECT_EQ(s.EyeX, 0.0);
  // The sample surface and the spectrum table are in place.
  EXPECT_EQ(s.GridHighI, 49);
  EXPECT_EQ(s.SpectrumTable[511].R, 255.0);
}

TEST(ViewState, ModesCycleAndNegativeModesStay) {
  TKestoState s;
  s.DrawMode = 2;
  s.SurfaceMode = 3;
  s.AxisMode = 2;
  s.NormalizeView();
  EXPECT_EQ(s.DrawMode, 0);
  EXPECT_EQ(s.SurfaceMode, 0);
  EXPECT_EQ(s.AxisMode, 0);
  s.DrawMode = -1;
  s.SurfaceMode = -7;
  s.NormalizeView();
  EXPECT_EQ(s.DrawMode, -1);
  EXPECT_EQ(s.SurfaceMode, -7);
  s.SurfaceMode = 2;
  s.NormalizeView();
  EXPECT_EQ(s.SurfaceMode, 2);
}

TEST(ViewState, TurnWrapsOncePerCall) {
  TKestoState s;
  struct {
    double in, out;
  } cases[] = {{370, 10}, {-5, 355}, {360, 360}, {0, 0}};
  for (auto c : cases) {
    s.Angle3 = c.in;
    s.NormalizeView();
    EXPECT_EQ(s.Angle3, c.out) << c.in;
  }
  s.Angle3 = 725;
  s.NormalizeView();
  EXPECT_EQ(s.Angle3, 365);
  s.NormalizeView();
  EXPECT_EQ(s.Angle3, 5);
}

TEST(ViewState, ClampsDistanceTiltAndHeightScale) {
  TKestoState s;
  s.Distance = 0.5;
  s.Angle2 = 180;
  s.HeightScale = -0.05;
  s.NormalizeView();
  EXPECT_EQ(s.Distance, 1.0);
  EXPECT_EQ(s.Angle2, 175.0);
  EXPECT_EQ(s.HeightScale, 0.0);
  s.Distance = 150;
  s.Angle2 = 0;
  s.HeightScale = 2.04;
  s.NormalizeView();
  EXPECT_EQ(s.Distance, 100.0);
  EXPECT_EQ(s.Angle2, 5.0);
  EXPECT_EQ(s.HeightScale, 2.0);
}

TEST(ViewState, NaNTakesTheLowerBound) {
  TKestoState s;
  s.Distance = kNaN;
  s.Angle2 = kNaN;
  s.HeightScale = kNaN;
  s.Angle3 = kNaN;
  s.NormalizeView();
  EXPECT_EQ(s.Distance, 1.0);
  EXPECT_EQ(s.Angle2, 5.0);
  EXPECT_EQ(s.HeightScale, 0.0);
  EXPECT_TRUE(std::isnan(s.Angle3 - 360.0));  // NaN + 360 is still NaN
}

TEST(ViewState, OriginClampedIntoXAndYRangesOnly) {
  TKestoState s;
  s.XMin = 10;
  s.XMax = 20;
  s.OriginX = 0;
  s.ZMax = 1;
  s.OriginZ = 50;
  s.NormalizeView();
  EXPECT_EQ(s.OriginX, 10);
  EXPECT_EQ(s.OriginZ, 50);
  s.OriginX = 25;
  s.YMin = -3;
  s.YMax = 4;
  s.OriginY = -9;
  s.NormalizeView();
  EXPECT_EQ(s.OriginX, 20);
  EXPECT_EQ(s.OriginY, -3);
}

TEST(ViewState, FlatRangesAreWidened) {
  TKestoState s;
  s.ZMin = s.ZMax = 3.0;
  s.NormalizeView();
  EXPECT_DOUBLE_EQ(s.ZMin, 2.9);
  EXPECT_DOUBLE_EQ(s.ZMax, 3.1);
  s.NormalizeView();  // a range that is no longer flat stays
  EXPECT_DOUBLE_EQ(s.ZMin, 2.9);

  s.ZMin = kNaN;
  s.NormalizeView();
  EXPECT_DOUBLE_EQ(s.ZMax, 3.2);

  s.XMin = s.XMax = 5.0;
  s.YMin = s.YMax = -1.0;
  s.OriginX = 5.0;
  s.NormalizeView();
  EXPECT_DOUBLE_EQ(s.XMin, 4.9);
  EXPECT_DOUBLE_EQ(s.XMax, 5.1);
  EXPECT_DOUBLE_EQ(s.YMin, -1.1);
  EXPECT_DOUBLE_EQ(s.YMax, -0.9);
  EXPECT_EQ(s.OriginX, 5.0);
}

}  // namespace

TEST(RoundTicks, OneTwoOrFiveTimesAPowerOfTenFourToEightOfThem) {
  const struct {
    double Low, High;
    std::vector<double> Ticks;
  } cases[] = {
      {0, 1, {0, 0.2, 0.4, 0.6, 0.8, 1}},
      {-48.36631, 48.36644, {-40, -20, 0, 20, 40}},
      {1, 7.25, {1, 2, 3, 4, 5, 6, 7}},
      {-1.5, 2, {-1.5, -1, -0.5, 0, 0.5, 1, 1.5, 2}},
      {0.1, 1.9, {0.5, 1, 1.5}},  // 0.2 would give 9: as near, the fewer
      {1e6, 1000030, {1e6, 1000005, 1000010, 1000015, 1000020, 1000025, 1000030}},
      {-3e-7, 0, {-3e-7, -2.5e-7, -2e-7, -1.5e-7, -1e-7, -5e-8, 0}},
      {5, 5, {}},
  };
  for (const auto& c : cases) {
    const std::vector<double> got = RoundTicks(c.Low, c.High);
    ASSERT_EQ(got.size(), c.Ticks.size()) << c.Low << ".." << c.High;
    for (size_t k = 0; k < got.size(); ++k)
      EXPECT_NEAR(got[k], c.Ticks[k], 1e-12 * (c.High - c.Low)) << c.Low;
  }
}
