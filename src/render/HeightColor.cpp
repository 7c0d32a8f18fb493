#include "render/HeightColor.h"

void SetHeightColor(TCornerPen& pen, const TColorTriple& c) {
  pen.Color(float(c.R / 255), float(c.G / 255), float(c.B / 255));
}

TColorTriple HeightColor(const TKestoState& s, double t, bool spectrum) {
  if (s.ReversePalette) t = 1.0 - t;
  if (IsColorMap(s.Palette)) return PaletteColor(s.Palette, t);
  return spectrum ? s.SpectrumTable[SpectrumIndex(t)] : BlendColor(t, s.ColorMin, s.ColorHigh);
}

void ApplyHeightColor(TCornerPen& pen, const TKestoState& s, double t, bool spectrum) {
  SetHeightColor(pen, HeightColor(s, t, spectrum));
}
