#pragma once

#include "core/ViewState.h"
#include "render/GLSink.h"

// x and y axes through the origin with two-stroke arrowheads, just in front of the
// flat graph.
void BuildAxes2D(const TKestoState& s, TGLSink& gl);
// x, y and z axes through the origin, each ending in a twelve-facet cone.
void BuildAxes3D(const TKestoState& s, TGLSink& gl);
