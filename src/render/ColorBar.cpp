#include "render/ColorBar.h"

#include <utility>

#include "core/ColorRange.h"
#include "core/Rounding.h"
#include "render/HeightColor.h"

TViewportRect ColorBarViewport(int w, int h) {
  return TViewportRect{int(RoundHalfEven(w / 4.0)), int(RoundHalfEven(h / 100.0)),
                       int(RoundHalfEven(w / 2.0)), int(RoundHalfEven(h / 50.0))};
}

namespace {

// One strip a step, in the colours the graph's steps have, high on the left where the
// blend puts it.
void DrawSteps(const TKestoState& s, const TColorRange& range, TCornerPen& pen) {
  const bool highOnLeft = BarHighOnLeft(s);
  const int n = range.Steps();
  for (int k = 0; k < n; ++k) {
    const double x0 = double(k) / n, x1 = double(k + 1) / n;
    pen.Begin(GL_POLYGON);
    SetHeightColor(pen, HeightColor(s, range.Stepped((k + 0.5) / n), s.Spec != 0));
    pen.Vertex(highOnLeft ? 1 - x0 : x0, 0);
    pen.Vertex(highOnLeft ? 1 - x1 : x1, 0);
    pen.Vertex(highOnLeft ? 1 - x1 : x1, 1);
    pen.Vertex(highOnLeft ? 1 - x0 : x0, 1);
    pen.End();
  }
}

}  // namespace

void DrawColorBar(const TKestoState& s, TGLSink& gl) {
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(0, 1, 0, 1, 1, -1);
  gl.MatrixMode(GL_MODELVIEW);
  gl.LoadIdentity();
  gl.Disable(GL_DEPTH_TEST);
  const bool map = IsColorMap(s.Palette);
  TCornerPen pen(gl);
  if (const TColorRange range(s); range.Steps() > 0) return DrawSteps(s, range, pen);
  if (BarHighOnLeft(s)) {
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

void DrawColorBarEnds(const TKestoState& s, const TViewportRect& bar, TGLSink& gl) {
  const TColorRange range(s);
  if (s.OutOfRange == kOutOfRangeClip ||
      !(range.Bounded(TColorPlace::Under) || range.Bounded(TColorPlace::Over)))
    return;
  const bool highOnLeft = BarHighOnLeft(s);
  // Beyond the bar by its height, in a viewport that spans the triangles too.
  const double reach = double(bar.Height) / bar.Width;
  gl.Viewport(bar.X - bar.Height, bar.Y, bar.Width + 2 * bar.Height, bar.Height);
  gl.MatrixMode(GL_PROJECTION);
  gl.LoadIdentity();
  gl.Ortho(-reach, 1 + reach, 0, 1, 1, -1);
  TCornerPen pen(gl);
  for (const TColorPlace::TSide side : {TColorPlace::Under, TColorPlace::Over}) {
    if (!range.Bounded(side)) continue;
    const bool low = side == TColorPlace::Under;
    if (s.OutOfRange == kOutOfRangeColors) {
      const TGLColor c = ColorToGL(low ? s.UnderColor : s.OverColor);
      pen.Color(c[0], c[1], c[2]);
    } else {
      SetHeightColor(pen, HeightColor(s, range.Stepped(low ? 0 : 1), s.Spec != 0));
    }
    const bool left = low != highOnLeft;
    const double end = left ? 0 : 1, tip = left ? -reach : 1 + reach;
    pen.Begin(GL_TRIANGLES);
    pen.Vertex(end, 0);
    pen.Vertex(end, 1);
    pen.Vertex(tip, 0.5);
    pen.End();
  }
  gl.Viewport(bar.X, bar.Y, bar.Width, bar.Height);
}
