#include "render/ColorBar.h"

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
  if (s.Spec == 0) {
    // High colour on the left, low on the right.
    const TGLColor high = ColorToGL(s.ColorHigh);
    const TGLColor low = ColorToGL(s.ColorMin);
    gl.Begin(GL_POLYGON);
    gl.Color3f(high[0], high[1], high[2]);
    gl.Vertex2d(0, 1);
    gl.Vertex2d(0, 0);
    gl.Color3f(low[0], low[1], low[2]);
    gl.Vertex2d(1, 0);
    gl.Vertex2d(1, 1);
    gl.End();
    return;
  }
  // Strips 1/511 wide: the last one lies beyond the right end and is clipped.
  for (int i = 0; i < 512; ++i) {
    gl.Begin(GL_POLYGON);
    SetHeightColor(gl, s.SpectrumTable[i]);
    gl.Vertex2d(i / 511.0, 0);
    gl.Vertex2d((i + 1) / 511.0, 0);
    gl.Vertex2d((i + 1) / 511.0, 1);
    gl.Vertex2d(i / 511.0, 1);
    gl.End();
  }
}
