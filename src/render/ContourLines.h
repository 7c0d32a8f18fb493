#pragma once

#include "core/Contours.h"
#include "core/ViewState.h"
#include "render/GLSink.h"

// Draws the contour lines over the graph just drawn, in its view: flat in the 2-D map;
// in 3-D at their heights, and with Contours 2 once more flat on the base, each point
// moved a little along its ray toward the eye so that the filled cells never hide it
// (it stays on the same pixel). Index lines are a pixel wider.
void DrawContours(const TKestoState& s, const TContours& contours, TGLSink& gl);
