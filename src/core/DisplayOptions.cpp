#include "core/DisplayOptions.h"

#include <cstdlib>

#include "core/ColorScale.h"

namespace display_option_detail {

void SetColoring(TKestoState& s, double k) {
  const TColoring c = ColoringAt(size_t(k));
  s.Spec = c.Spec;
  s.Palette = c.Palette;
}

void SetSpectrum(TKestoState& s, double) { SetColoring(s, 1); }

void SetAxisColors(TKestoState& s, double color) {
  s.ColorAxisX = s.ColorAxisY = s.ColorAxisZ = int32_t(color);
}

}  // namespace display_option_detail

double OptionValue(const TDisplayOption& o, const TKestoState& s) {
  if (o.Real) return s.*o.Real;
  if (o.Type == TOptionType::Color) return ResolveColor(s.*o.Whole);
  return s.*o.Whole;
}

void SetOptionValue(const TDisplayOption& o, TKestoState& s, double v) {
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
