#include "kesto-render/RenderOptions.h"

#include <gtest/gtest.h>

namespace {

TRenderOptions Parse(std::vector<std::string> args) { return ParseRenderOptions(args); }

TEST(RenderOptions, EveryOptionInBothSpellings) {
  const TRenderOptions o = Parse({"-o",
                                  "a.png",
                                  "--size=320x200",
                                  "--view",
                                  "2d",
                                  "--surface=points",
                                  "--spectrum",
                                  "--no-axes",
                                  "--turn",
                                  "10.5",
                                  "--tilt=80",
                                  "--distance",
                                  "3",
                                  "--height-scale",
                                  "1.5",
                                  "--line-width",
                                  "4",
                                  "--axis-width=2",
                                  "--low",
                                  "#FF0000",
                                  "--high=#00ff00",
                                  "--background",
                                  "#000010",
                                  "--axis-color",
                                  "#102030",
                                  "--settings",
                                  "k.INI",
                                  "--info",
                                  "data.txt"});
  EXPECT_EQ(o.Output, "a.png");
  EXPECT_EQ(*o.Width, 320);
  EXPECT_EQ(*o.Height, 200);
  EXPECT_EQ(*o.DrawMode, 0);
  EXPECT_EQ(*o.SurfaceMode, 2);
  EXPECT_TRUE(o.Spectrum && o.NoAxes && o.Info);
  EXPECT_EQ(o.View, (std::array<std::optional<double>, 4>{10.5, 80, 3, 1.5}));
  EXPECT_EQ(*o.LineWidth, 4);
  EXPECT_EQ(*o.AxisWidth, 2);
  EXPECT_EQ(*o.Low, 0x0000FF);  // red lives in the low byte
  EXPECT_EQ(*o.High, 0x00FF00);
  EXPECT_EQ(*o.Background, 0x100000);
  EXPECT_EQ(*o.AxisColor, 0x302010);
  EXPECT_EQ(o.Settings, "k.INI");
  EXPECT_EQ(o.Input, "data.txt");
  EXPECT_EQ(Parse({"-ob.bmp"}).Output, "b.bmp");
  EXPECT_EQ(Parse({"--output=c.jpg", "--", "-odd-name"}).Input, "-odd-name");
  EXPECT_TRUE(Parse({"-h"}).Help);
  EXPECT_TRUE(Parse({"--version"}).Version);
  EXPECT_EQ(Parse({"-o", "-", "--format", "jpeg", "-"}).Format, TPictureFormat::Jpeg);
  EXPECT_EQ(Parse({"-o", "-", "-"}).Input, "-");
  EXPECT_FALSE(Parse({"-o", "x.png"}).Width.has_value());
}

TEST(RenderOptions, MistakesAreUsageErrors) {
  for (std::vector<std::string> bad : {std::vector<std::string>{},
                                       {"--bogus", "-o", "x.png"},
                                       {"-o"},
                                       {"-o", "x", "--size", "0x5"},
                                       {"-o", "x", "--size", "640"},
                                       {"-o", "x", "--size", "99999x2"},
                                       {"-o", "x", "--view", "4d"},
                                       {"-o", "x", "--surface", "wire"},
                                       {"-o", "x", "--turn", "left"},
                                       {"-o", "x", "--tilt", "nan"},
                                       {"-o", "x", "--low", "red"},
                                       {"-o", "x", "--low", "#12345"},
                                       {"-o", "x", "--spectrum=1"},
                                       {"-o", "x", "a.txt", "b.txt"},
                                       {"-o", "x", "--line-width", "0.5"},
                                       {"-o", "x", "--line-width", "21"},
                                       {"-o", "x", "--axis-width", "6"},
                                       {"-o", "x", "--format", "gif"},
                                       {"-x"}}) {
    EXPECT_THROW(Parse(bad), TUsageError);
  }
}

}  // namespace
