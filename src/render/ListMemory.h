#pragma once

#include <cstdint>
#include <string>

#include "core/MemoryRoom.h"
#include "core/ViewState.h"

// About what the viewer's graph list (one of kList2DFill ... kList3DMarkers) of a grid
// of `points` holds, in bytes, the grid's own 24 bytes a point included (markers, drawn
// from the grid, hold nothing else); 0 for the axes and the coarse lists, which stay small.
// A filled list whose cells are cut into colour steps holds bandedShare times the corners.
double ListMemory(int32_t list, int64_t points, double bandedShare = 1);

// How many times the corners of its plain cells list of s holds: more than 1 for filled
// cells cut where the colour steps, 1 for any other list.
double BandedShare(const TKestoState& s, int32_t list);

// What the driver takes once, with the first list it compiles in pieces.
constexpr double kFirstLargeListMemory = 100.0 * (1 << 20);

// Why that list of a grid of columns x rows would not fit in room once lists holding
// `freed` bytes are given back (those it replaces), with `extra` bytes more; nothing
// when it fits.
std::string ListShortfall(int32_t list, int64_t columns, int64_t rows, double freed, double extra,
                          const TMemoryRoom& room, double bandedShare = 1);
