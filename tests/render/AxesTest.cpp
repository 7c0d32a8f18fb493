#include "render/Axes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "render/RecordingSink.h"

namespace {

// Origin (25, 50, 0.5) in 0..100 x 0..100 x -1..1: nx 0.25, ny 0.5, nz 0.75.
TKestoState AxesState(double axisWidth, double heightScale) {
  TKestoState s;
  s.XMin = 0, s.XMax = 100, s.YMin = 0, s.YMax = 100, s.ZMin = -1, s.ZMax = 1;
  s.OriginX = 25, s.OriginY = 50, s.OriginZ = 0.5;
  s.AxisWidth = axisWidth;
  s.HeightScale = heightScale;
  return s;
}

void ExpectNear(const TArrayVertex& v, double x, double y, double z) {
  EXPECT_NEAR(v.X, x, 1e-6);
  EXPECT_NEAR(v.Y, y, 1e-6);
  EXPECT_NEAR(v.Z, z, 1e-6);
}

TEST(Axes, ThreeDShaftsConesAndTips) {
  TRecordingSink rec;
  BuildAxes3D(AxesState(1, 0.8), rec);
  const double L = 1.1 - 1.0 / 30;
  const auto v = rec.Corners();
  ASSERT_EQ(v.size(), 3 * (2 + 12 * 3u));
  ExpectNear(v[0], -0.2, 0.5, 0.6);
  ExpectNear(v[1], L, 0.5, 0.6);
  ExpectNear(v[2], L, 0.5, 0.62);  // first ring point of the x cone: 0.02 across z
  ExpectNear(v[3], 1.1, 0.5, 0.6);
  const size_t z = 2 * 38;
  ExpectNear(v[z], 0.25, 0.5, -0.1);
  ExpectNear(v[z + 1], 0.25, 0.5, 0.9 - 1.0 / 30);
  ExpectNear(v[z + 3], 0.25, 0.5, 0.9);
  ExpectNear(v[38 + 2], 0.25, L, 0.6 + 0.01);  // y cone: radius 0.01 x W
  // The last ring point (360 degrees with pi as 3.14) falls a little short of the first.
  EXPECT_NE(v[37].Y, v[2].Y);
  EXPECT_NEAR(v[37].Y, 0.5 + 0.01 * std::sin(360 / 180.0 * 3.14), 1e-7);

  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::LineWidth), 1);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::LineWidth, 1.0), 1);
  EXPECT_FLOAT_EQ(v[0].G, float(128 / 255.0));
}

TEST(Axes, WiderAxesHaveLongerWiderCones) {
  TRecordingSink rec;
  BuildAxes3D(AxesState(3, 0.8), rec);
  const auto v = rec.Corners();
  ExpectNear(v[1], 1.0, 0.5, 0.6);
  ExpectNear(v[2], 1.0, 0.5, 0.62);  // still 0.02 across z
  ExpectNear(v[38 + 2], 0.25, 1.0, 0.63);
}

TEST(Axes, HeightScaleZeroLaysTheAxesFlat) {
  TRecordingSink rec;
  BuildAxes3D(AxesState(1, 0), rec);
  const auto v = rec.Corners();
  ExpectNear(v[0], -0.2, 0.5, 0);
  ExpectNear(v[76], 0.25, 0.5, -0.1);
  ExpectNear(v[77], 0.25, 0.5, 0.1 - 1.0 / 30);
}

TEST(Axes, OriginAtTheLowCornerRunsAlongTheEdges) {
  TKestoState s = AxesState(1, 0.8);
  s.OriginX = 0, s.OriginY = 0, s.OriginZ = -1;
  TRecordingSink rec;
  BuildAxes3D(s, rec);
  const auto v = rec.Corners();
  ExpectNear(v[0], -0.2, 0, 0);
  ExpectNear(v[38], 0, -0.2, 0);
  ExpectNear(v[76], 0, 0, -0.1);
}

TEST(Axes, TwoDAxesAndArrowStrokes) {
  TRecordingSink rec;
  BuildAxes2D(AxesState(2, 0.8), rec);
  const auto v = rec.Corners();
  ASSERT_EQ(v.size(), 12u);
  for (const auto& p : v) EXPECT_EQ(p.Z, 0.001f);
  ExpectNear(v[0], -0.1, 0.5, 0.001);
  ExpectNear(v[1], 1.1, 0.5, 0.001);
  ExpectNear(v[2], 1.05, 0.52, 0.001);
  ExpectNear(v[3], 1.1, 0.5, 0.001);
  ExpectNear(v[4], 1.05, 0.48, 0.001);
  ExpectNear(v[6], 0.25, -0.1, 0.001);
  ExpectNear(v[8], 0.23, 1.05, 0.001);
  ExpectNear(v[10], 0.27, 1.05, 0.001);
  ExpectNear(v[11], 0.25, 1.1, 0.001);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::LineWidth, 2.0), 2);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::DrawArrays, GL_LINE_STRIP), 6);
}

}  // namespace
