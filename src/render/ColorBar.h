#pragma once

#include "core/ViewState.h"
#include "render/GLSink.h"

struct TViewportRect {
  int X, Y, Width, Height;
  bool operator==(const TViewportRect&) const = default;
};

// The strip at the bottom of a client area: a quarter in, a hundredth up, half as
// wide and a fiftieth as tall, each rounded halves-to-even.
TViewportRect ColorBarViewport(int w, int h);

// The legend of the colour scale in use, over the whole current viewport; leaves
// depth testing off.
void DrawColorBar(const TKestoState& s, TGLSink& gl);
