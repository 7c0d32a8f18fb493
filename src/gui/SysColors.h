#pragma once

#include <cstdint>

// The Windows system-colour indices (0 scroll bar ... 30 menu bar) taken from the
// current Qt palette, as 0x00BBGGRR; an unknown index gives black.
uint32_t PaletteSysColor(int index);
