#include "render/View.h"

#include <gtest/gtest.h>

#include "render/RecordingSink.h"

namespace {

std::array<double, 9> LookAtFor(double angle2, double angle3, double distance) {
  TKestoState s;
  s.Angle2 = angle2;
  s.Angle3 = angle3;
  s.Distance = distance;
  TRecordingSink rec;
  SetupView3D(s, rec);
  EXPECT_EQ(rec.Calls.back().Op, TGLOp::LookAt);
  return rec.Calls.back().A;
}

TEST(View, EyePositionsUsePiAs314) {
  const auto def = LookAtFor(45, 160, 10);
  EXPECT_NEAR(def[0], 2.9269, 1e-4);
  EXPECT_NEAR(def[1], -6.1386, 1e-4);
  EXPECT_NEAR(def[2], 7.0739, 1e-4);
  EXPECT_EQ(def[3], 0.5);
  EXPECT_EQ(def[4], 0.5);
  EXPECT_DOUBLE_EQ(def[5], 0.4);
  EXPECT_EQ(def[8], 1000);
  const auto side = LookAtFor(90, 0, 10);
  EXPECT_NEAR(side[0], 0.5, 1e-4);
  EXPECT_NEAR(side[1], 10.5, 1e-4);
  EXPECT_NEAR(side[2], 0.008, 1e-4);
  const auto near = LookAtFor(5, 90, 1);
  EXPECT_NEAR(near[0], 0.5871, 1e-4);
  EXPECT_NEAR(near[1], 0.5001, 1e-4);
  EXPECT_NEAR(near[2], 0.9962, 1e-4);
}

TEST(View, ThreeDStoresTheEyeAndSetsTheProjection) {
  TKestoState s;
  TRecordingSink rec;
  SetupView3D(s, rec);
  EXPECT_NEAR(s.EyeX, 2.4269, 1e-4);
  EXPECT_NEAR(s.EyeZ, 7.0739, 1e-4);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::Perspective, 10), 1);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::Enable, GL_DEPTH_TEST), 1);
}

TEST(View, TwoDShowsASquareOfHalfSizeDistanceOverTen) {
  TKestoState s;
  for (auto [distance, lo, hi] :
       {std::tuple{10.0, -0.5, 1.5}, {1.0, 0.4, 0.6}, {100.0, -9.5, 10.5}}) {
    s.Distance = distance;
    TRecordingSink rec;
    SetupView2D(s, rec);
    const TGLCall& ortho = rec.Calls[2];
    ASSERT_EQ(ortho.Op, TGLOp::Ortho);
    EXPECT_DOUBLE_EQ(ortho.A[0], lo);
    EXPECT_DOUBLE_EQ(ortho.A[1], hi);
    EXPECT_DOUBLE_EQ(ortho.A[2], lo);
    EXPECT_DOUBLE_EQ(ortho.A[3], hi);
    EXPECT_EQ(ortho.A[4], -10);
    EXPECT_EQ(ortho.A[5], 10);
  }
}

}  // namespace
