#include "render/ColorBar.h"

#include <utility>

#include "core/Rounding.h"
#include "render/HeightColor.h"

TViewportRect ColorBarViewport(int w, int h) {
  return TViewportRect{int(RoundHalfEven(w / 4.0)), int(RoundHalfEven(h / 100.0)),
                       int(RoundHalfEven(w / 2.0)), int(RoundHalfEven(h / 50.0))};
}

void DrawColorBar(const TKestoState& s, TGLSink& gl) {
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0, 1, 0, 1, 1, -1);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Disable(GL_DEPTH_TEST);
  const bool map = IsColorMap(s.Palette);
  TCornerPen pen(gl);
  if (s.Spec == 0 && !map) {
    // High colour on the left, low on the right: the heights' colours, reversed or not.
    TGLColor high = ColorToGL(s.ColorHigh);
    TGLColor low = ColorToGL(s.ColorMin);
    if (s.ReversePalette) std::swap(high, low);
    pen.Begin(GL_POLYGON);
    pen.Color(high[0], high[1], high[2]);
    pen.Vertex(0, 1);
    pen.Vertex(0, 0);
    pen.Color(low[0], low[1], low[2]);
    pen.Vertex(1, 0);
    pen.Vertex(1, 1);
    pen.End();
    return;
  }
  // Low on the left. The spectrum's strips are 1/511 wide: the last one lies beyond the
  // right end and is clipped. A map's 256 strips fill the bar.
  const int strips = map ? 256 : 512;
  const double per = map ? 256.0 : 511.0;
  for (int i = 0; i < strips; ++i) {
    pen.Begin(GL_POLYGON);
    if (map)
      SetHeightColor(pen, HeightColor(s, i / 255.0, true));
    else
      SetHeightColor(pen, s.SpectrumTable[s.ReversePalette ? 511 - i : i]);
    pen.Vertex(i / per, 0);
    pen.Vertex((i + 1) / per, 0);
    pen.Vertex((i + 1) / per, 1);
    pen.Vertex(i / per, 1);
    pen.End();
  }
}
