#pragma once

#include "core/Contours.h"
#include "core/ViewState.h"
#include "render/Frame.h"
#include "render/GLSink.h"
#include "render/Labels.h"

// Draws the contour lines over the graph just drawn, in its view: flat in the 2-D map;
// in 3-D at their heights, and with Contours 2 once more flat on the base, each point
// moved a little along its ray toward the eye so that the filled cells never hide it
// (it stays on the same pixel). Index lines are a pixel wider, and broken at gaps (by
// line) on the graph, where their numbers go. Drawn a piece at a time from line next
// on, counted over the passes; false where goOn said stop after a piece.
bool DrawContours(const TKestoState& s, const TContours& contours,
                  const std::vector<TContourGap>& gaps, TGLSink& gl, size_t& next,
                  const TGoOn& goOn);
