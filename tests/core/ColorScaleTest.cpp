#include "core/ColorScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/ColorMaps.h"

namespace {

TEST(ColorScale, SpectrumPeaksAre256) {
  TSpectrumTable t;
  BuildSpectrumTable(t);
  auto expect = [&](int i, double r, double g, double b) {
    EXPECT_EQ(t[i].R, r) << i;
    EXPECT_EQ(t[i].G, g) << i;
    EXPECT_EQ(t[i].B, b) << i;
  };
  expect(0, 0, 0, 256);
  expect(128, 0, 128, 128);
  expect(255, 0, 255, 1);
  expect(256, 0, 256, 0);
  expect(511, 255, 1, 0);
}

TEST(ColorScale, IndexRoundsHalvesToEvenAndStaysInTheTable) {
  EXPECT_EQ(SpectrumIndex(0.0), 0);
  EXPECT_EQ(SpectrumIndex(1.0), 511);
  EXPECT_EQ(SpectrumIndex(0.25), 128);  // 127.75
  EXPECT_EQ(SpectrumIndex(0.5), 256);   // 255.5 goes to the even 256
  EXPECT_EQ(SpectrumIndex(1.5 / 511), 2);
  EXPECT_EQ(SpectrumIndex(2.5 / 511), 2);
  EXPECT_EQ(SpectrumIndex(-0.3), 0);
  EXPECT_EQ(SpectrumIndex(7.0), 511);
  EXPECT_EQ(SpectrumIndex(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(SpectrumIndex(std::numeric_limits<double>::infinity()), 511);
}

TEST(ColorScale, BlendIsAStraightLineAndNeverRounds) {
  const TColorTriple mid = BlendColor(0.5, 0xFF0000, 0x0000FF);
  EXPECT_EQ(mid.R, 127.5);
  EXPECT_EQ(mid.G, 0.0);
  EXPECT_EQ(mid.B, 127.5);
  const TColorTriple low = BlendColor(0.0, 0x102030, 0x405060);
  EXPECT_EQ(low.R, 0x30);
  EXPECT_EQ(low.G, 0x20);
  EXPECT_EQ(low.B, 0x10);
  const TColorTriple same = BlendColor(0.37, 0x336699, 0x336699);
  EXPECT_EQ(same.R, 0x99);
  EXPECT_EQ(same.B, 0x33);
}

TEST(ColorScale, ColorToGLReadsRedFromTheLowByte) {
  const TGLColor c = ColorToGL(0x00FF8000 | 0x7F000000);  // bits 24-30 are not read
  EXPECT_FLOAT_EQ(c[0], 0.0f);
  EXPECT_FLOAT_EQ(c[1], float(128 / 255.0));
  EXPECT_FLOAT_EQ(c[2], 1.0f);
}

TEST(ColorScale, NegativeValuesNameSystemColoursByTheirLowByte) {
  EXPECT_EQ(ColorToGL(int32_t(0x80000005))[0], 0.0f);  // no source yet: black
  SetSysColorSource([](int index) -> uint32_t { return index == 5 ? 0x0000FF : 0xFFFFFF; });
  const TGLColor window = ColorToGL(int32_t(0x80000005));
  EXPECT_EQ(window[0], 1.0f);
  EXPECT_EQ(window[2], 0.0f);
  EXPECT_EQ(BlendColor(1.0, 0, int32_t(0x80000005)).R, 255.0);
  SetSysColorSource(nullptr);
  EXPECT_EQ(GetSysColor(5), 0u);
}

}  // namespace

// The maps' ends and middles as their authors publish them in hex.
TEST(ColorMaps, EntriesAreThePublishedColours) {
  const struct {
    const char* Name;
    double T;
    uint32_t Rgb;
  } cases[] = {
      {"viridis", 0, 0x440154},  {"viridis", 0.5, 0x21918c}, {"viridis", 1, 0xfde725},
      {"cividis", 0, 0x00224e},  {"cividis", 1, 0xfee838},   {"magma", 0, 0x000004},
      {"magma", 1, 0xfcfdbf},    {"inferno", 1, 0xfcffa4},   {"plasma", 0, 0x0d0887},
      {"plasma", 1, 0xf0f921},   {"grey", 0.5, 0x808080},    {"grey", 1, 0xffffff},
      {"viridis", -1, 0x440154}, {"viridis", 9, 0xfde725},
  };
  for (const auto& c : cases) {
    const TColorTriple got = PaletteColor(ColoringByName(c.Name)->Palette, c.T);
    const uint32_t rgb = uint32_t(std::lround(got.R)) << 16 | uint32_t(std::lround(got.G)) << 8 |
                         uint32_t(std::lround(got.B));
    EXPECT_EQ(rgb, c.Rgb) << c.Name << " at " << c.T;
  }
}

TEST(ColorMaps, KeyPStepsThroughEveryColouringAndBack) {
  std::vector<std::string> seen;
  TColoring c{2, kPaletteOwn};  // any Spec but 1 is the blend
  for (int k = 0; k < 8; ++k) {
    c = NextColoring(c.Spec, c.Palette);
    for (const char* name :
         {"blend", "spectrum", "viridis", "cividis", "magma", "inferno", "plasma", "grey"})
      if (const auto named = ColoringByName(name);
          named->Spec == c.Spec && named->Palette == c.Palette)
        seen.emplace_back(name);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"spectrum", "viridis", "cividis", "magma", "inferno",
                                            "plasma", "grey", "blend"}));
  EXPECT_FALSE(ColoringByName("Viridis"));
}
