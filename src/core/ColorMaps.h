#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/ColorScale.h"

// The colour maps beyond the blend and the spectrum, which stay the window's own
// colourings (kPaletteOwn, chosen by Spec).
enum : int32_t {
  kPaletteOwn = 0,
  kPaletteViridis,
  kPaletteCividis,
  kPaletteMagma,
  kPaletteInferno,
  kPalettePlasma,
  kPaletteGrey,
  kPaletteCount
};

// Whether palette names one of the maps (not the window's own colourings).
inline bool IsColorMap(int32_t palette) { return palette > kPaletteOwn && palette < kPaletteCount; }

// The colourings in the order key P steps through them and as kesto-render names
// them: the blend, the spectrum, then each map.
struct TColoring {
  int32_t Spec, Palette;
};
inline constexpr std::array<const char*, 8> kColoringOrder = {
    "blend", "spectrum", "viridis", "cividis", "magma", "inferno", "plasma", "grey"};
// The colouring of kColoringOrder's place k.
TColoring ColoringAt(size_t k);
std::optional<TColoring> ColoringByName(std::string_view name);
// The colouring after the current one (a Spec other than 1 counts as the blend).
TColoring NextColoring(int32_t spec, int32_t palette);

// The colour of map palette (not kPaletteOwn) for normalised height t on a 0..255
// scale: entry t x 255 rounded halves-to-even, the first or last one outside 0..1.
TColorTriple PaletteColor(int32_t palette, double t);
