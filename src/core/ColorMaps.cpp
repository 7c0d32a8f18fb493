#include "core/ColorMaps.h"

#include <array>

#include "core/ColorMapTables.h"

namespace {

struct TNamedColoring {
  const char* Name;
  TColoring Coloring;
};

constexpr std::array<TNamedColoring, 8> kColorings = {{
    {"blend", {0, kPaletteOwn}},
    {"spectrum", {1, kPaletteOwn}},
    {"viridis", {1, kPaletteViridis}},
    {"cividis", {1, kPaletteCividis}},
    {"magma", {1, kPaletteMagma}},
    {"inferno", {1, kPaletteInferno}},
    {"plasma", {1, kPalettePlasma}},
    {"grey", {1, kPaletteGrey}},
}};

}  // namespace

const char* const kColoringNames = "blend|spectrum|viridis|cividis|magma|inferno|plasma|grey";

std::optional<TColoring> ColoringByName(std::string_view name) {
  for (const TNamedColoring& c : kColorings)
    if (name == c.Name) return c.Coloring;
  return std::nullopt;
}

TColoring NextColoring(int32_t spec, int32_t palette) {
  size_t k = 0;  // the blend
  if (IsColorMap(palette))
    k = size_t(palette) + 1;
  else if (spec == 1)
    k = 1;
  return kColorings[(k + 1) % kColorings.size()].Coloring;
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
