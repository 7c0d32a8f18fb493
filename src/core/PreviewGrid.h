#pragma once

#include "core/ViewState.h"

// A small stand-in for a large grid, for a quick look while the exact frame is being
// drawn. The points are cut into blocks, and each block gives its lowest and its
// highest point, in the order they lie along the row, so that ridges and spikes
// survive (taking every n-th row would lose them); a block of holes gives a hole. At
// most `rows` rows of at most `columns` points; every other field of s as it is, so
// a frame of it lies where the whole grid's frame does. s's grid is only borrowed.
TKestoState PreviewState(TKestoState& s, int columns, int rows);
