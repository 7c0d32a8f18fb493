#pragma once

#include <optional>

#include "core/ColorRange.h"
#include "core/ColorScale.h"
#include "core/Hillshade.h"
#include "core/ViewState.h"
#include "render/CornerPen.h"

// Makes a 0..255 triple the pen's colour, each component divided by 255.
void SetHeightColor(TCornerPen& pen, const TColorTriple& c);

// The colour of normalised height t: from the colour map when one is chosen, else
// from the spectrum table or the blend.
TColorTriple HeightColor(const TKestoState& s, double t, bool spectrum);

// The colours of the grid's points through the state's colour range and, with the
// hillshade on, under its light.
class TPointColors {
 public:
  TPointColors(const TKestoState& s, bool spectrum);
  // The colour of height z, unshaded; none where it is left undrawn.
  std::optional<TColorTriple> OfHeight(double z) const;
  // The colour of grid point (i, j).
  std::optional<TColorTriple> At(int32_t i, int32_t j) const;
  // Where the colours jump between bands of heights that filled cells show apart:
  // none where the colours run on.
  const std::vector<double>& Edges() const { return edges_; }
  // The light on grid point (i, j), and colour c under it; 1 and c with the hillshade off.
  double Shade(int32_t i, int32_t j) const;
  TColorTriple Lit(const TColorTriple& c, double shade) const;

 private:
  std::vector<double> edges_;
  const TKestoState& s_;
  TColorRange range_;
  bool spectrum_;
  TLight light_;
  TShadeScale scale_;
};
