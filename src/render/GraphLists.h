#pragma once

#include "core/ViewState.h"
#include "render/GLSink.h"

#include <cstdint>

// A run of a graph list's cells (points, for markers) in row order, [First, Last):
// a large list is compiled as several such runs.
struct TCellRange {
  int64_t First = 0;
  int64_t Last = INT64_MAX;
};

// Variant 0 wire mesh, 1 filled cells, 2 a marker at every point, 3 coarse mesh, each
// starting with the line width. Any other variant emits only the line width.
void Build3DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl, TCellRange cells = {});
void Build2DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl, TCellRange cells = {});

// How many cells (points, for markers) a variant draws.
int64_t GraphListCells(const TKestoState& s, int32_t variant);
