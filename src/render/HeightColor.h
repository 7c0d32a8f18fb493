#pragma once

#include "core/ColorScale.h"
#include "core/ViewState.h"
#include "render/GLSink.h"

// Makes a 0..255 triple the current colour, each component divided by 255.
void SetHeightColor(TGLSink& gl, const TColorTriple& c);

// The current colour for normalised height t, from the spectrum table or the blend.
void ApplyHeightColor(TGLSink& gl, const TKestoState& s, double t, bool spectrum);
