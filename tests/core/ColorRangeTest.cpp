#include "core/ColorRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/DisplayOptions.h"
#include "core/Hillshade.h"

namespace {

TKestoState Heights(double low, double high, double positiveMin) {
  TKestoState s;
  s.ZMin = low, s.ZMax = high, s.ZPositiveMin = positiveMin;
  return s;
}

TEST(ColorRange, PlacesHeightsByRangeScaleAndSteps) {
  const auto inf = std::numeric_limits<double>::infinity();
  struct TCase {
    const char* Name;
    double Low, High;  // given ends; infinite: the heights'
    int32_t Scale, Steps;
    double Z;
    TColorPlace::TSide Side;
    double T;
  } cases[] = {
      {"the heights' own ends", -inf, inf, 0, 0, -2, TColorPlace::In, 0},
      {"a height within them", -inf, inf, 0, 0, 1, TColorPlace::In, 0.75},
      {"beyond an end the heights set: kept outside", -inf, inf, 0, 0, 3, TColorPlace::In, 1.25},
      {"below a given low end", 0, 1, 0, 0, -0.5, TColorPlace::Under, 0},
      {"above a given high end", 0, 1, 0, 0, 1.5, TColorPlace::Over, 1},
      {"one end given, the other the heights'", 0, inf, 0, 0, 1, TColorPlace::In, 0.5},
      {"log: a decade of three", 1, 1000, 1, 0, 10, TColorPlace::In, 1.0 / 3},
      {"log: 0 is below", 1, 1000, 1, 0, 0, TColorPlace::Under, 0},
      {"log: a negative height is below", 1, 1000, 1, 0, -5, TColorPlace::Under, 0},
      {"log, low end from the smallest height above 0", -inf, inf, 1, 0, 0.02, TColorPlace::In,
       0.5},
      {"steps: the second of four", 0, 1, 0, 4, 0.3, TColorPlace::In, 1.0 / 3},
      {"steps: the high end in the last", 0, 1, 0, 4, 1, TColorPlace::In, 1},
      {"steps of a log scale", 1, 1000, 1, 3, 11, TColorPlace::In, 0.5},
      {"ends the wrong way round: the heights' own", 3, 1, 0, 0, 0, TColorPlace::In, 0.5},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TKestoState s = Heights(-2, 2, 0.01);
    if (c.Scale == 1 && !std::isfinite(c.Low)) s.ZMax = 0.04;
    s.RangeLow = c.Low, s.RangeHigh = c.High, s.ColorScale = c.Scale, s.ColorSteps = c.Steps;
    const TColorPlace p = TColorRange(s).Place(c.Z);
    EXPECT_EQ(p.Side, c.Side);
    EXPECT_NEAR(p.T, c.T, 1e-12);
  }
}

TEST(ColorRange, RefusesWhatCannotBeAndTheSettingsMendIt) {
  TKestoState s = Heights(-2, 2, std::numeric_limits<double>::infinity());
  EXPECT_EQ(TColorRange::Problem(s), "");
  s.RangeLow = 1, s.RangeHigh = 0.5, s.ColorSteps = 1;
  EXPECT_EQ(TColorRange::Problem(s), "the colour range's low end 1 is not below its high end 0.5");
  s.NormalizeView();
  EXPECT_EQ(s.RangeLow, kAutoLow);
  EXPECT_EQ(s.RangeHigh, kAutoHigh);
  EXPECT_EQ(s.ColorSteps, 0);
  s.ColorScale = 1;
  EXPECT_EQ(TColorRange::Problem(s),
            "a log colour scale needs a height above 0, and this grid has none");
  s.RangeLow = -1;
  EXPECT_EQ(TColorRange::Problem(s), "a log colour scale needs a range above 0, not from -1");
  s.ColorSteps = 5, s.Hillshade = 2;
  ResetColorOptions(s);
  EXPECT_TRUE(s.RangeLow == kAutoLow && s.ColorScale == 0 && s.ColorSteps == 0 &&
              s.Hillshade == 0 && s.LightAzimuth == 315);
}

TEST(Hillshade, APlaneGetsItsNormalsLightAlsoBesideAHoleAndAtTheEdge) {
  // z = 0.3 x - 0.7 y on a grid of 2 by 3 units, heights stretched by 2.
  const double a = 0.3, b = -0.7, k = 2;
  TGrid g(6, TGridRow(5));
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 5; ++j) {
      const double x = 10 + 2.0 * j, y = 50 - 3.0 * i;
      g[size_t(i)][size_t(j)] = {x, y, a * x + b * y};
    }
  g[2][2].Z = std::nan("");
  const TLight light = LightFrom(315, 45);
  const double n = std::hypot(k * a, k * b, 1.0);
  const double want = (-k * a * light.X - k * b * light.Y + light.Z) / n;
  for (const auto& [i, j] : {std::pair{4, 3}, {1, 1}, {2, 1}, {3, 3}, {0, 0}, {5, 2}}) {
    SCOPED_TRACE(testing::Message() << i << "," << j);
    EXPECT_NEAR(Hillshade(g, 5, 4, i, j, light, {1, 1, k}), want, 1e-12);
  }
  EXPECT_NEAR(light.Z, std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(light.X, -0.5, 1e-15);  // from the north-west
  // A point with no neighbour along a direction counts as flat.
  TGrid alone(1, TGridRow(1, TGridPoint{0, 0, 5}));
  EXPECT_NEAR(Hillshade(alone, 0, 0, 0, 0, light, {}), light.Z, 1e-15);
}

}  // namespace
