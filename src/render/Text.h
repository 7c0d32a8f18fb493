#pragma once

#include <string_view>

#include "render/CornerPen.h"

// Text drawn into the frame in one font, DejaVu Sans from Debian's fonts-dejavu-core,
// as runs of whole pixels: no blending, no texture, the same pixels on every machine.
// Positions are window pixels, x to the right and y up, as an Ortho(0, w, 0, h)
// projection maps them.

struct TTextSize {
  int Width = 0, Ascent = 0, Descent = 0;  // Descent below the baseline, positive
};
TTextSize MeasureText(std::string_view utf8);

// Draws the text so that the point (x, y) lies at (alignX, alignY) of its box: 0 the
// left or lower edge, 1 the right or upper edge, in the pen's colour. Nothing where the
// font is missing.
void DrawText(TCornerPen& pen, std::string_view utf8, double x, double y, double alignX,
              double alignY);
