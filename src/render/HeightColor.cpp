#include "render/HeightColor.h"

void SetHeightColor(TCornerPen& pen, const TColorTriple& c) {
  pen.Color(float(c.R / 255), float(c.G / 255), float(c.B / 255));
}

TColorTriple HeightColor(const TKestoState& s, double t, bool spectrum) {
  if (s.ReversePalette) t = 1.0 - t;
  if (IsColorMap(s.Palette)) return PaletteColor(s.Palette, t);
  return spectrum ? s.SpectrumTable[SpectrumIndex(t)] : BlendColor(t, s.ColorMin, s.ColorHigh);
}

TPointColors::TPointColors(const TKestoState& s, bool spectrum)
    : s_(s), range_(s), spectrum_(spectrum), light_(LightFrom(s.LightAzimuth, s.LightAltitude)) {
  if (s.DrawMode == kDrawMode3D)
    scale_ = {1 / (s.XMax - s.XMin), 1 / (s.YMax - s.YMin), s.HeightScale / (s.ZMax - s.ZMin)};
  else
    scale_ = {1, 1, s.ZFactor};
  edges_ = range_.Edges(s.OutOfRange == kOutOfRangeColors);
}

double TPointColors::Shade(int32_t i, int32_t j) const {
  if (s_.Hillshade == 0) return 1;
  return Hillshade(s_.Grid, s_.GridHighI, s_.GridHighJ, i, j, light_, scale_);
}

TColorTriple TPointColors::Lit(const TColorTriple& c, double shade) const {
  return s_.Hillshade == 0 ? c : ShadeColor(c, shade, s_.Hillshade == 2);
}

std::optional<TColorTriple> TPointColors::OfHeight(double z) const {
  const TColorPlace p = range_.Place(z);
  if (p.Side != TColorPlace::In && s_.OutOfRange == kOutOfRangeClip) return std::nullopt;
  if (p.Side != TColorPlace::In && s_.OutOfRange == kOutOfRangeColors) {
    const TRgb c =
        UnpackColor(ResolveColor(p.Side == TColorPlace::Under ? s_.UnderColor : s_.OverColor));
    return TColorTriple{double(c.R), double(c.G), double(c.B)};
  }
  return HeightColor(s_, p.T, spectrum_);
}

std::optional<TColorTriple> TPointColors::At(int32_t i, int32_t j) const {
  const std::optional<TColorTriple> c = OfHeight(s_.Grid[size_t(i)][size_t(j)].Z);
  if (!c || s_.Hillshade == 0) return c;
  return Lit(*c, Shade(i, j));
}
