#pragma once

#include <cstdint>
#include <string>

#include "core/ViewState.h"
#include "render/ForwardingSink.h"
#include "render/GLSink.h"

// The ten display lists; each name is also its bit in a rebuild mask.
enum : int32_t {
  kList2DFill = 1,
  kList2DMesh = 2,
  kList2DMarkers = 4,
  kList2DCoarse = 8,
  kList3DFill = 16,
  kList3DMesh = 32,
  kList3DMarkers = 64,
  kList3DCoarse = 128,
  kListAxes2D = 256,
  kListAxes3D = 512,
  kMaskAll = 4095,
  kMaskGraphs = 255,
  kMaskAxes = 3840,
};

// Recompiles the lists whose bits are set in mask, in the fixed order; the caller
// has normalised the view and made the context current.
void BuildLists(const TKestoState& s, int32_t mask, TGLSink& gl);

// What one list holds, emitted without compiling it.
void BuildListBody(const TKestoState& s, int32_t list, TGLSink& gl);

// The lists a frame with the current modes replays, as a mask.
int32_t ListsForFrame(const TKestoState& s, bool simple);

// Everything a frame does between making the context current and swapping:
// normalise, clear, set up the view, replay the lists the modes select, draw the
// colour bar. A simple frame replays the coarse mesh and leaves smoothing alone.
void DrawFrame(TKestoState& s, int clientWidth, int clientHeight, bool simple, TGLSink& gl);

// "KestoForm(3D)640x480:" followed by the renderer name.
std::string FrameCaption(const TKestoState& s, int clientWidth, int clientHeight);

// Draws the lists a frame replays straight from the builders instead of compiling
// them first, for a picture drawn once. Cube markers are still compiled: a list
// splits quads into triangles its own way, and the viewer's lists are the reference.
class TGLReplaySink final : public TGLForwardingSink {
 public:
  TGLReplaySink(const TKestoState& s, TGLSink& next) : TGLForwardingSink(next), s_(s) {}
  void CallList(GLuint list) override;

 private:
  const TKestoState& s_;
};
