#pragma once

#include "core/ColorScale.h"
#include "core/ViewState.h"
#include "render/GLSink.h"

// Makes a 0..255 triple the current colour, each component divided by 255.
void SetHeightColor(TGLSink& gl, const TColorTriple& c);

// The colour of normalised height t: from the colour map when one is chosen, else
// from the spectrum table or the blend.
TColorTriple HeightColor(const TKestoState& s, double t, bool spectrum);
// The same made the current colour.
void ApplyHeightColor(TGLSink& gl, const TKestoState& s, double t, bool spectrum);
