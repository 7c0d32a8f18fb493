#pragma once

#include "core/ColorMaps.h"
#include "core/ViewState.h"
#include "render/GLSink.h"

struct TViewportRect {
  int X, Y, Width, Height;
  bool operator==(const TViewportRect&) const = default;
};

// The strip at the bottom of a client area: a quarter in, a hundredth up, half as
// wide and a fiftieth as tall, each rounded halves-to-even.
TViewportRect ColorBarViewport(int w, int h);

// Whether the bar runs from the highest heights on its left: the two-colour blend's way.
inline bool BarHighOnLeft(const TKestoState& s) { return s.Spec == 0 && !IsColorMap(s.Palette); }

// The legend of the colour scale in use, over the whole current viewport; leaves
// depth testing off.
void DrawColorBar(const TKestoState& s, TGLSink& gl);

// Where the colour range holds heights beyond an end apart (an end given, or a log
// scale's lower end) and shows them (clamped or in colours of their own), a triangle
// beyond that end of the bar, in their colour; the viewport is left as it was.
void DrawColorBarEnds(const TKestoState& s, const TViewportRect& bar, TGLSink& gl);
