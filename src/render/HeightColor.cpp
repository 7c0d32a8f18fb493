#include "render/HeightColor.h"

void SetHeightColor(TGLSink& gl, const TColorTriple& c) {
  gl.Color3f(float(c.R / 255), float(c.G / 255), float(c.B / 255));
}

void ApplyHeightColor(TGLSink& gl, const TKestoState& s, double t, bool spectrum) {
  if (spectrum)
    SetHeightColor(gl, s.SpectrumTable[SpectrumIndex(t)]);
  else
    SetHeightColor(gl, BlendColor(t, s.ColorMin, s.ColorHigh));
}
