#include "core/ColorRange.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

#include "core/ColorMaps.h"
#include "core/DisplayOptions.h"
#include "core/NumberField.h"

namespace {

// The ends the options ask for, before any fallback.
void AskedEnds(const TKestoState& s, double& low, double& high) {
  low = std::isfinite(s.RangeLow) ? s.RangeLow : (s.ColorScale == 1 ? s.ZPositiveMin : s.ZMin);
  high = std::isfinite(s.RangeHigh) ? s.RangeHigh : s.ZMax;
}

}  // namespace

std::string TColorRange::Problem(const TKestoState& s) {
  double low = 0, high = 0;
  AskedEnds(s, low, high);
  if (s.ColorScale == 1 && !std::isfinite(s.RangeLow) && !std::isfinite(low))
    return "a log colour scale needs a height above 0, and this grid has none";
  if (s.ColorScale == 1 && !(low > 0))
    return "a log colour scale needs a range above 0, not from " + ShortestText(low);
  if (!(low < high))
    return "the colour range's low end " + ShortestText(low) + " is not below its high end " +
           ShortestText(high);
  return {};
}

TColorRange::TColorRange(const TKestoState& s)
    : log_(s.ColorScale == 1), steps_(s.ColorSteps >= 2 ? s.ColorSteps : 0) {
  AskedEnds(s, low_, high_);
  under_ = std::isfinite(s.RangeLow) || log_;
  over_ = std::isfinite(s.RangeHigh);
  if (!Problem(s).empty()) {
    low_ = s.ZMin, high_ = s.ZMax;
    log_ = under_ = over_ = false;
  }
  span_ = log_ ? std::log10(high_) - std::log10(low_) : high_ - low_;
}

double TColorRange::Along(double v) const {
  return log_ ? (std::log10(v) - std::log10(low_)) / span_ : (v - low_) / span_;
}

double TColorRange::Stepped(double t) const {
  if (steps_ == 0) return t;
  return std::clamp(std::floor(t * steps_), 0.0, steps_ - 1.0) / (steps_ - 1);
}

std::vector<double> TColorRange::Edges(bool endsApart) const {
  std::vector<double> edges;
  if (endsApart && under_) edges.push_back(low_);
  for (int k = 1; k < steps_; ++k) {
    const double t = double(k) / steps_;
    edges.push_back(log_ ? low_ * std::pow(high_ / low_, t) : low_ + t * (high_ - low_));
  }
  if (endsApart && over_) edges.push_back(high_);
  return edges;
}

TColorPlace TColorRange::Place(double z) const {
  if (log_ && !(z > 0)) return {TColorPlace::Under, Stepped(0)};
  const double t = Along(z);
  if (t < 0 && under_) return {TColorPlace::Under, Stepped(0)};
  if (t > 1 && over_) return {TColorPlace::Over, Stepped(1)};
  return {TColorPlace::In, steps_ ? Stepped(t) : t};
}

namespace {

// Each row of the colour options: what Shift+R resets and the colours dialog sets.
template <class Visit>
void ForEachColorOption(Visit visit) {
  constexpr std::string_view kKeys[] = {"ColorLow",     "ColorHigh",     "ColorScale", "ColorSteps",
                                        "OutOfRange",   "UnderColor",    "OverColor",  "Hillshade",
                                        "LightAzimuth", "LightAltitude", "ZFactor"};
  for (const TDisplayOption& o : kDisplayOptions)
    if (o.Key && std::find(std::begin(kKeys), std::end(kKeys), o.Key) != std::end(kKeys)) visit(o);
}

}  // namespace

void ResetColorOptions(TKestoState& s) {
  ForEachColorOption([&s](const TDisplayOption& o) { SetOptionValue(o, s, o.Default); });
}

void CopyColorOptions(const TKestoState& from, TKestoState& to) {
  ForEachColorOption([&](const TDisplayOption& o) {
    SetOptionValue(o, to, o.Real ? from.*o.Real : from.*o.Whole);
  });
}

std::string ColoringName(const TKestoState& s) {
  std::string name = kColoringOrder[0];
  for (size_t k = 0; k < kColoringOrder.size(); ++k)
    if (const TColoring c = ColoringAt(k);
        c.Palette == s.Palette && (IsColorMap(s.Palette) || c.Spec == (s.Spec == 1 ? 1 : 0)))
      name = kColoringOrder[k];
  return s.ReversePalette ? name + ", reversed" : name;
}
