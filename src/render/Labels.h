#pragma once

#include "core/ViewState.h"
#include "render/GLSink.h"

// Numbers on the frame of a w x h client area: round values along each axis drawn,
// with a tick each, the axes' titles (the file's column names, else x, y and z), and
// the heights at the colour bar's ends and at round values along it. Drawn last, in
// window pixels, in a colour that stands out from the background.
void DrawLabels(const TKestoState& s, int w, int h, TGLSink& gl);
