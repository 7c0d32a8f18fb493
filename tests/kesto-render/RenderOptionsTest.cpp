#include "kesto-render/RenderOptions.h"

#include "core/NumberField.h"
#include "core/SettingsFile.h"
#include "core/StoredSettings.h"
#include "kesto-render/RenderState.h"
#include "render/Frame.h"

#include <gtest/gtest.h>

namespace {

TRenderOptions Parse(std::vector<std::string> args) { return ParseRenderOptions(args); }

TEST(RenderOptions, EveryOptionInBothSpellings) {
  TRenderOptions o = Parse({"-o",
                            "a.png",
                            "--size=320x200",
                            "--view",
                            "2d",
                            "--surface=points",
                            "--spectrum",
                            "--no-axes",
                            "--turn",
                            "370.5",
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
  EXPECT_TRUE(o.Info);
  EXPECT_EQ(o.Settings, "k.INI");
  EXPECT_EQ(o.Input, "data.txt");
  o.Settings.clear();  // no such file here
  TKestoState s;
  int w = 640, h = 480;
  ApplyRenderOptions(o, s, w, h);
  EXPECT_EQ(s.DrawMode, kDrawMode2D);
  EXPECT_EQ(s.SurfaceMode, kSurfaceMarkers);
  EXPECT_EQ(s.Spec, 1);
  EXPECT_EQ(s.AxisMode, kAxesOff);
  EXPECT_EQ((std::array{s.Angle3, s.Angle2, s.Distance, s.HeightScale}),
            (std::array{10.5, 80.0, 3.0, 1.5}));
  EXPECT_EQ(s.LineWidth, 4);
  EXPECT_EQ(s.AxisWidth, 2);
  EXPECT_EQ(s.ColorMin, 0x0000FF);  // red lives in the low byte
  EXPECT_EQ(s.ColorHigh, 0x00FF00);
  EXPECT_EQ(s.ColorBackGround, 0x100000);
  EXPECT_EQ((std::array{s.ColorAxisX, s.ColorAxisY, s.ColorAxisZ}),
            (std::array{0x302010, 0x302010, 0x302010}));
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

// The command-line value that gives the row's field something other than its default.
std::vector<std::string> OtherValue(const TDisplayOption& o) {
  const std::string option = std::string("--") + o.Name;
  switch (o.Type) {
    case TOptionType::Flag:
      if (o.Count) return {option, std::string_view(o.Value) == "[N]" ? "7" : "200,30"};
      return {option};
    case TOptionType::Numbers:
      return {option, o.High > 1 ? "0.5,2.5" : "2.5"};
    case TOptionType::Choice:
      if (o.Items.back() == std::string_view("colours")) return {option, "#123456,#654321"};
      for (size_t k = o.Items.size(); k-- > 0;)
        if (double(k) != o.Default) return {option, o.Items[k]};
      break;
    case TOptionType::Color:
      return {option, "#123456"};
    case TOptionType::Width:
      return {option, o.Items[1]};
    case TOptionType::Number:
      break;
  }
  return {option, ShortestText(o.Default + 2)};
}

// Every row of the table reaches kesto-render (its own option or another's), the
// settings file (but for the two view numbers the viewer forgets on purpose) and the
// frame key: a row added without them fails here.
TEST(RenderOptions, EveryDisplayOptionReachesTheCommandLineTheSettingsAndTheFrameKey) {
  const TKestoState first;
  TKestoState given;
  std::vector<std::string> args = {"-o", "x.png"};
  for (const TDisplayOption& o : kDisplayOptions)
    if (o.Name) {
      const std::vector<std::string> value = OtherValue(o);
      args.insert(args.end(), value.begin(), value.end());
    }
  int w = 640, h = 480;
  ApplyRenderOptions(Parse(args), given, w, h);

  TSettingsFile ini("/nonexistent/kesto.ini");
  TStoredSettings stored = FirstRunSettings();
  CaptureStoredView(given, stored);
  WriteStoredSettings(ini, stored);
  TKestoState restored;
  ApplyStoredView(ReadStoredSettings(ini), restored);

  const TFrameKey firstKey = FrameKeyFor(first, 640, 480, false, {});
  for (const TDisplayOption& o : kDisplayOptions) {
    SCOPED_TRACE(o.Key ? o.Key : o.Name);
    EXPECT_NE(OptionValue(o, given), OptionValue(o, first));
    const bool keptByAnother = std::any_of(kDisplayOptions.begin(), kDisplayOptions.end(),
                                           [&o](const TDisplayOption& other) {
                                             return other.Key && other.Whole == o.Whole && o.Whole;
                                           });
    if (o.Key || keptByAnother)
      EXPECT_EQ(OptionValue(o, restored), OptionValue(o, given));
    else  // forgotten on purpose, or a list that no whole number or real can keep
      EXPECT_TRUE(o.Real == &TKestoState::Distance || o.Real == &TKestoState::HeightScale ||
                  o.List);
    TKestoState one;
    SetOptionValue(o, one, OptionValue(o, given));
    if (o.List) one.*o.List = given.*o.List;
    EXPECT_NE(FrameKeyFor(one, 640, 480, false, {}), firstKey);
  }
}

}  // namespace
