#pragma once

#include <string>

#include "core/MemoryRoom.h"
#include "core/ViewState.h"

// Why drawing the grid of s would not fit in room, in words ("not enough memory to
// draw a 3000 × 3000 grid as markers: about 4.2 GB needed, 0.7 GB allowed"); nothing
// when it fits. The OpenGL driver does not survive an allocation that fails, so this
// is asked before it is.
std::string MemoryShortfall(const TKestoState& s, const TMemoryRoom& room);

// The most points whose own part of drawing fits in room: a file of more is not read
// to its end. A grid of fewer may still not fit with drawing's fixed part, which
// MemoryShortfall tells with the grid's size.
int64_t MostPointsToDraw(const TMemoryRoom& room);
