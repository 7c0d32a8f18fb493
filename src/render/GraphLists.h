#pragma once

#include "core/ViewState.h"
#include "render/GLSink.h"

// Variant 0 wire mesh, 1 filled cells, 2 a marker at every point, 3 coarse mesh.
// Any other variant emits only the line width.
void Build3DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl);
void Build2DGraphList(const TKestoState& s, int32_t variant, TGLSink& gl);

// One cube of edge size centred on (x, y, z), in the current colour.
void DrawMarkerCube(TGLSink& gl, double x, double y, double z, double size);
// One square of side size centred on (x, y), in the current colour.
void DrawMarkerSquare(TGLSink& gl, double x, double y, double size);
