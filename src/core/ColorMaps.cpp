#include "core/ColorMaps.h"

#include <array>

#include "core/ColorMapTables.h"

namespace {

// By the places of kColoringOrder.
constexpr std::array<TColoring, kColoringOrder.size()> kColorings = {{
    {0, kPaletteOwn},
    {1, kPaletteOwn},
    {1, kPaletteViridis},
    {1, kPaletteCividis},
    {1, kPaletteMagma},
    {1, kPaletteInferno},
    {1, kPalettePlasma},
    {1, kPaletteGrey},
}};

}  // namespace

TColoring ColoringAt(size_t k) { return kColorings.at(k); }

std::optional<TColoring> ColoringByName(std::string_view name) {
  for (size_t k = 0; k < kColoringOrder.size(); ++k)
    if (name == kColoringOrder[k]) return kColorings[k];
  return std::nullopt;
}

TColoring NextColoring(int32_t spec, int32_t palette) {
  size_t k = 0;  // the blend
  if (IsColorMap(palette))
    k = size_t(palette) + 1;
  else if (spec == 1)
    k = 1;
  return kColorings[(k + 1) % kColorings.size()];
}

TColorTriple PaletteColor(int32_t palette, double t) {
  const int i = TableIndex(t, 255);
  static const std::array<const TColorMapTable*, kPaletteCount> tables = {
      nullptr,        &kViridisTable, &kCividisTable, &kMagmaTable,
      &kInfernoTable, &kPlasmaTable,  nullptr};
  const TColorMapTable* table = IsColorMap(palette) ? tables[size_t(palette)] : nullptr;
  if (!table) return TColorTriple{double(i), double(i), double(i)};  // grey
  const auto& e = (*table)[size_t(i)];
  return TColorTriple{e[0] * 255e-6, e[1] * 255e-6, e[2] * 255e-6};
}
