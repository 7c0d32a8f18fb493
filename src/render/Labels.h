#pragma once

#include "core/Contours.h"
#include "core/ViewState.h"
#include "render/GLSink.h"

// Numbers on the frame of a w x h client area: round values along each axis drawn,
// with a tick each, the axes' titles (the file's column names, else x, y and z), the
// heights at the colour bar's ends and at round values along it, and each index contour
// line's level (contours: none where no lines are drawn) where the line runs straightest
// over the number's length. Drawn last, in window pixels, in a colour that stands out
// from the background; a number that would overlap one already placed is left out.
void DrawLabels(const TKestoState& s, int w, int h, const TContours* contours, TGLSink& gl);
