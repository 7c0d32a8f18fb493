#include "render/ColorBar.h"

#include <gtest/gtest.h>

#include "render/RecordingSink.h"

namespace {

TEST(ColorBar, ViewportRoundsHalvesToEven) {
  EXPECT_EQ(ColorBarViewport(640, 480), (TViewportRect{160, 5, 320, 10}));
  EXPECT_EQ(ColorBarViewport(641, 481), (TViewportRect{160, 5, 320, 10}));
  EXPECT_EQ(ColorBarViewport(643, 480).Width, 322);
  EXPECT_EQ(ColorBarViewport(642, 480).X, 160);    // 160.5
  EXPECT_EQ(ColorBarViewport(640, 25).Height, 0);  // 0.5
  EXPECT_EQ(ColorBarViewport(640, 26).Height, 1);
  EXPECT_EQ(ColorBarViewport(640, 250).Y, 2);  // 2.5
}

TEST(ColorBar, BlendBarIsOnePolygonHighOnTheLeft) {
  TKestoState s;
  TRecordingSink rec;
  DrawColorBar(s, rec);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::Disable, GL_DEPTH_TEST), 1);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::Begin, GL_POLYGON), 1);
  std::vector<TGLCall> colours, vertices;
  for (const TGLCall& c : rec.Calls) {
    if (c.Op == TGLOp::Color3f) colours.push_back(c);
    if (c.Op == TGLOp::Vertex2d) vertices.push_back(c);
  }
  ASSERT_EQ(colours.size(), 2u);
  EXPECT_EQ(colours[0].A, (std::array<double, 9>{1, 0, 0}));  // red, the high colour
  EXPECT_EQ(colours[1].A, (std::array<double, 9>{0, 0, 1}));
  ASSERT_EQ(vertices.size(), 4u);
  EXPECT_EQ(vertices[0].A[0], 0);
  EXPECT_EQ(vertices[1].A[1], 0);
  EXPECT_EQ(vertices[2].A[0], 1);
}

TEST(ColorBar, SpectrumBarIs512StripsOf1Over511) {
  TKestoState s;
  s.Spec = 1;
  TRecordingSink rec;
  DrawColorBar(s, rec);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::Begin, GL_POLYGON), 512);
  std::vector<TGLCall> vertices;
  for (const TGLCall& c : rec.Calls)
    if (c.Op == TGLOp::Vertex2d) vertices.push_back(c);
  EXPECT_DOUBLE_EQ(vertices[1].A[0], 1 / 511.0);
  EXPECT_DOUBLE_EQ(vertices.back().A[0], 511 / 511.0);
  EXPECT_DOUBLE_EQ(vertices[vertices.size() - 2].A[0], 512 / 511.0);
  s.Spec = -3;  // anything but 0 shows the spectrum
  TRecordingSink other;
  DrawColorBar(s, other);
  EXPECT_EQ(TRecordingSink::Count(other.Calls, TGLOp::Begin), 512);
}

}  // namespace
