#pragma once

#include "core/Grid.h"

// Fills the grid with the built-in 50 x 50 surface and its ranges; the origin is
// left as it is.
void MakeSampleData(TGridData& data);
