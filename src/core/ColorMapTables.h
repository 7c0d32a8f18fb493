#pragma once

#include <array>
#include <cstdint>

// 256 colours from low to high, red, green and blue of each in millionths.
using TColorMapTable = std::array<std::array<int32_t, 3>, 256>;

extern const TColorMapTable kViridisTable, kCividisTable, kMagmaTable, kInfernoTable, kPlasmaTable;
