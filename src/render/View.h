#pragma once

#include "core/ViewState.h"
#include "render/GLSink.h"

// The flat view from above: a square of half-size Distance / 10 about the middle
// of the unit square, stretched to the viewport.
void SetupView2D(const TKestoState& s, TGLSink& gl);
// The perspective camera from the angles and the distance; stores the eye offset.
void SetupView3D(TKestoState& s, TGLSink& gl);
