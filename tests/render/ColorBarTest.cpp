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
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::DrawArrays, GL_POLYGON), 1);
  const std::vector<TArrayVertex> v = rec.Corners();
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0], (TArrayVertex{0, 1, 0, 1, 0, 0}));  // red, the high colour
  EXPECT_EQ(v[1], (TArrayVertex{0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(v[2], (TArrayVertex{1, 0, 0, 0, 0, 1}));
}

TEST(ColorBar, SpectrumBarIs512StripsOf1Over511) {
  TKestoState s;
  s.Spec = 1;
  TRecordingSink rec;
  DrawColorBar(s, rec);
  EXPECT_EQ(TRecordingSink::Count(rec.Calls, TGLOp::DrawArrays, GL_POLYGON), 512);
  const std::vector<TArrayVertex> v = rec.Corners();
  EXPECT_FLOAT_EQ(v[1].X, 1 / 511.0f);
  EXPECT_FLOAT_EQ(v.back().X, 511 / 511.0f);
  EXPECT_FLOAT_EQ(v[v.size() - 2].X, 512 / 511.0f);
  s.Spec = -3;  // anything but 0 shows the spectrum
  TRecordingSink other;
  DrawColorBar(s, other);
  EXPECT_EQ(TRecordingSink::Count(other.Calls, TGLOp::DrawArrays), 512);
}

}  // namespace
