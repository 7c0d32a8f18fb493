#pragma once

#include "core/ColorScale.h"
#include "core/ViewState.h"
#include "render/CornerPen.h"

// Makes a 0..255 triple the pen's colour, each component divided by 255.
void SetHeightColor(TCornerPen& pen, const TColorTriple& c);

// The colour of normalised height t: from the colour map when one is chosen, else
// from the spectrum table or the blend.
TColorTriple HeightColor(const TKestoState& s, double t, bool spectrum);
// The same made the pen's colour.
void ApplyHeightColor(TCornerPen& pen, const TKestoState& s, double t, bool spectrum);
