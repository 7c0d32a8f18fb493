#include "core/DisplayOptions.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "core/ColorScale.h"
#include "core/Fingerprint.h"
#include "core/NumberField.h"

namespace display_option_detail {

void SetColoring(TKestoState& s, std::span<const double> k) {
  const TColoring c = ColoringAt(size_t(k[0]));
  s.Spec = c.Spec;
  s.Palette = c.Palette;
}

void SetSpectrum(TKestoState& s, std::span<const double>) {
  const double spectrum = 1;
  SetColoring(s, {&spectrum, 1});
}

void SetAxisColors(TKestoState& s, std::span<const double> color) {
  s.ColorAxisX = s.ColorAxisY = s.ColorAxisZ = int32_t(color[0]);
}

void SetContours(TKestoState& s, std::span<const double> count) {
  if (s.Contours == 0) s.Contours = 1;
  if (!count.empty()) s.ContourLevels = int32_t(count[0]);
}

void SetContourInterval(TKestoState& s, std::span<const double> stepOffset) {
  if (!(stepOffset[0] > 0)) throw std::invalid_argument("a contour interval must be above 0");
  s.ContourInterval = stepOffset[0];
  s.ContourOffset = stepOffset.size() > 1 ? stepOffset[1] : 0;
  SetContours(s, {});
}

void SetContourList(TKestoState& s, std::span<const double> levels) {
  s.ContourList.assign(levels.begin(), levels.end());
  SetContours(s, {});
}

void SetColorRange(TKestoState& s, std::span<const double> lowHigh) {
  const double low = std::isnan(lowHigh[0]) ? kAutoLow : lowHigh[0];
  const double high = std::isnan(lowHigh[1]) ? kAutoHigh : lowHigh[1];
  if (!(low < high))
    throw std::invalid_argument("the colour range's low end " + ShortestText(low) +
                                " is not below its high end " + ShortestText(high));
  s.RangeLow = low, s.RangeHigh = high;
}

void SetColorSteps(TKestoState& s, std::span<const double> steps) {
  if (!(steps[0] >= 2 && steps[0] <= 256 && steps[0] == std::floor(steps[0])))
    throw std::invalid_argument("the colour steps must be a whole number from 2 to 256, not " +
                                ShortestText(steps[0]));
  s.ColorSteps = int32_t(steps[0]);
}

void SetOutOfRange(TKestoState& s, std::span<const double> choiceColors) {
  s.OutOfRange = int32_t(choiceColors[0]);
  if (choiceColors.size() == 3)
    s.UnderColor = int32_t(choiceColors[1]), s.OverColor = int32_t(choiceColors[2]);
}

void SetHillshade(TKestoState& s, std::span<const double> azimuthAltitude) {
  if (s.Hillshade == 0) s.Hillshade = 1;
  if (azimuthAltitude.size() < 2) return;
  if (!(azimuthAltitude[1] >= 0 && azimuthAltitude[1] <= 90))
    throw std::invalid_argument("the light's altitude must be from 0 to 90 degrees, not " +
                                ShortestText(azimuthAltitude[1]));
  s.LightAzimuth = azimuthAltitude[0], s.LightAltitude = azimuthAltitude[1];
}

}  // namespace display_option_detail

double OptionValue(const TDisplayOption& o, const TKestoState& s) {
  if (o.List) return double(Fingerprint((s.*o.List).data(), (s.*o.List).size() * sizeof(double)));
  if (o.Real) return s.*o.Real;
  if (o.Type == TOptionType::Color) return ResolveColor(s.*o.Whole);
  return s.*o.Whole;
}

void SetOptionValue(const TDisplayOption& o, TKestoState& s, double v) {
  if (o.List) return;  // only ever set whole, by its option
  if (o.Real)
    s.*o.Real = v;
  else
    s.*o.Whole = int32_t(v);
}

double KeepInRange(const TDisplayOption& o, double v) {
  // "not >=" rather than "<": a NaN takes the lower bound.
  switch (o.Keep) {
    case TKeep::None:
      return v;
    case TKeep::Wrap:
      if (v > o.High) v -= o.High - o.Low;
      if (!(v >= o.Low)) v += o.High - o.Low;
      return v;
    case TKeep::Clamp:
      if (v > o.High) v = o.High;
      if (!(v >= o.Low)) v = o.Low;
      return v;
    case TKeep::Cycle:
      return v > o.High ? o.Low : v;
    case TKeep::Reset:
      return v >= o.Low && v <= o.High ? v : o.Default;
  }
  return v;
}

std::optional<double> WidthOfItem(const TDisplayOption& o, int32_t item) {
  if (item < 0 || size_t(item) >= o.Items.size()) return std::nullopt;
  return std::atof(o.Items[size_t(item)]);
}
