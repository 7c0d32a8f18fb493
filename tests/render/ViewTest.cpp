#include "render/View.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/ViewCamera.h"
#include "kesto-render/HeadlessGL.h"

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

// The camera the pointer's look-up works out agrees with what OpenGL makes of the
// frame's set-up, in both views, near and far, from above and from below.
TEST(View, TheLookUpsCameraProjectsAsOpenGLDoes) {
  THeadlessGL gl;
  ASSERT_TRUE(gl.Create(64, 64)) << gl.Error();
  TGLDirectSink sink;
  const int w = 640, h = 480;
  const std::array<double, 4> views[] = {{1, 45, 160, 10}, {1, 5, 90, 1},    {1, 150, 300, 30},
                                         {1, 90, 0, 3},    {0, 45, 160, 10}, {0, 45, 0, 3}};
  for (const auto& [mode, tilt, turn, distance] : views) {
    TKestoState s;
    s.DrawMode = int32_t(mode);
    s.Angle2 = tilt, s.Angle3 = turn, s.Distance = distance;
    mode == 1 ? SetupView3D(s, sink) : SetupView2D(s, sink);
    std::array<GLdouble, 16> model{}, projection{};
    glGetDoublev(GL_MODELVIEW_MATRIX, model.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    const std::array<GLint, 4> viewport{0, 0, w, h};
    const TViewCamera camera(s, w, h);
    for (const TVec3& p : {TVec3{0, 0, 0}, {1, 1, 0.8}, {0.3, 0.9, 0.2}, {0.5, 0.5, 0.4}}) {
      GLdouble x = 0, y = 0, z = 0;
      ASSERT_TRUE(gluProject(p[0], p[1], p[2], model.data(), projection.data(), viewport.data(), &x,
                             &y, &z));
      double cx = 0, cy = 0, depth = 0;
      ASSERT_TRUE(camera.Project(p, cx, cy, depth));
      EXPECT_NEAR(cx, x, 1e-3 + std::abs(x) * 1e-6) << tilt << " " << turn;
      EXPECT_NEAR(cy, h - y, 1e-3 + std::abs(y) * 1e-6) << tilt << " " << turn;
      // The ray through that point of the window passes through p.
      const TRay r = camera.RayThrough(cx, cy);
      const TVec3 d{p[0] - r.From[0], p[1] - r.From[1], p[2] - r.From[2]};
      const TVec3 c{d[1] * r.Dir[2] - d[2] * r.Dir[1], d[2] * r.Dir[0] - d[0] * r.Dir[2],
                    d[0] * r.Dir[1] - d[1] * r.Dir[0]};
      EXPECT_NEAR(std::hypot(c[0], c[1], c[2]) / std::hypot(r.Dir[0], r.Dir[1], r.Dir[2]), 0, 1e-9)
          << tilt << " " << turn;
    }
  }
}
