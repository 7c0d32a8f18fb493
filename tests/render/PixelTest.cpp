#include <gtest/gtest.h>

#include "kesto-render/HeadlessGL.h"
#include "render/Frame.h"
#include "render/ReadPixels.h"
#include "render/TestGrids.h"

namespace {

constexpr int kW = 640, kH = 480;

struct TRGB {
  int R, G, B;
  bool operator==(const TRGB&) const = default;
};

class PixelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(gl_.Create(kW, kH)) << gl_.Error(); }

  std::vector<uint8_t> Render(TKestoState& s) {
    TGLDirectSink sink;
    s.NormalizeView();
    BuildLists(s, kMaskAll, sink);
    DrawFrame(s, kW, kH, false, sink);
    glFinish();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return ReadFrameRGB(kW, kH);
  }

  static TRGB At(const std::vector<uint8_t>& px, int x, int y) {
    const size_t k = (size_t(y) * kW + x) * 3;
    return {px[k], px[k + 1], px[k + 2]};
  }

  // How many pixels of the central region differ from the background.
  static int Painted(const std::vector<uint8_t>& px, TRGB background) {
    int n = 0;
    for (int y = kH / 4; y < kH * 3 / 4; ++y)
      for (int x = kW / 4; x < kW * 3 / 4; ++x) n += !(At(px, x, y) == background);
    return n;
  }

  THeadlessGL gl_;
};

TEST_F(PixelTest, EverySurfaceVariantShowsTheGraphOnTheBackground) {
  for (int drawMode : {0, 1}) {
    for (int surface : {0, 1, 2}) {
      TKestoState s;
      s.ColorBackGround = 0x204060;
      s.DrawMode = drawMode;
      s.SurfaceMode = surface;
      const auto px = Render(s);
      const TRGB bg{0x60, 0x40, 0x20};
      for (auto [x, y] : {std::pair{0, 0}, {kW - 1, 0}, {0, kH - 1}, {kW - 1, kH - 1}})
        EXPECT_EQ(At(px, x, y), bg) << drawMode << surface;
      EXPECT_GT(Painted(px, bg), surface == 2 ? 200 : 5000) << drawMode << surface;
    }
  }
}

TEST_F(PixelTest, FilledFlatMapIsColouredByHeight) {
  TKestoState s;
  s.DrawMode = 0;
  s.SurfaceMode = 1;
  s.AxisMode = 0;
  SetGrid(s, 2, 2, [](int i, int) { return i; });  // low along x = 0, high along x = 1
  const auto px = Render(s);
  const TRGB left = At(px, kW / 4 + 3, kH / 2), right = At(px, kW * 3 / 4 - 3, kH / 2);
  EXPECT_GT(left.B, 240);
  EXPECT_LT(left.R, 15);
  EXPECT_GT(right.R, 240);
  EXPECT_LT(right.B, 15);
}

TEST_F(PixelTest, HeightScaleChangesThePicture) {
  TKestoState s;
  s.SurfaceMode = 1;
  const auto raised = Render(s);
  s.HeightScale = 0;
  const auto flat = Render(s);
  int differing = 0;
  for (size_t k = 0; k < raised.size(); k += 3) differing += raised[k] != flat[k];
  EXPECT_GT(differing, 10000);
}

TEST_F(PixelTest, ColourBarEnds) {
  TKestoState s;
  s.DrawMode = -1;
  auto px = Render(s);
  const int y = kH - 1 - 9;  // inside the bar: rows 5..14 from the bottom
  EXPECT_GT(At(px, 162, y).R, 240);
  EXPECT_GT(At(px, 477, y).B, 240);
  EXPECT_EQ(At(px, 150, y), (TRGB{0, 0, 0}));
  s.Spec = 1;
  px = Render(s);
  EXPECT_GT(At(px, 162, y).B, 240);
  EXPECT_GT(At(px, 320, y).G, 240);
  EXPECT_GT(At(px, 477, y).R, 240);
}

TEST_F(PixelTest, NoBarInAClientAreaOnly25High) {
  TKestoState s;
  s.DrawMode = -1;
  TGLDirectSink sink;
  DrawFrame(s, kW, 25, false, sink);
  const auto px = ReadFrameRGB(kW, kH);
  for (int y = kH - 25; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(At(px, x, y), (TRGB{0, 0, 0})) << x << "," << y;
}

}  // namespace
