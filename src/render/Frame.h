#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Contours.h"
#include "core/DisplayOptions.h"
#include "core/ViewState.h"
#include "render/ForwardingSink.h"
#include "render/GLSink.h"
#include "render/Labels.h"

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
  // The masks as the callers have always written them: the bits 0x400 and 0x800 of
  // "all" and "axes" are deliberate and select nothing.
  kMaskAll = 4095,
  kMaskGraphs = 255,
  kMaskAxes = 3840,
};

// Compiles what build emits into the list name. A build that throws closes the list
// before the error goes on: a list left open would take in every call after it.
template <class TBuild>
void CompileInto(TGLSink& gl, GLuint name, TBuild&& build) {
  gl.NewList(name);
  try {
    build();
  } catch (...) {
    gl.EndList();
    throw;
  }
  gl.EndList();
}

// Recompiles the lists whose bits are set in mask, in the fixed order; the caller
// has normalised the view and made the context current.
void BuildLists(const TKestoState& s, int32_t mask, TGLSink& gl);

// The lists of a mask in the fixed order in which they are compiled.
std::vector<int32_t> ListsInBuildOrder(int32_t mask);

// What one list holds, emitted without compiling it.
void BuildListBody(const TKestoState& s, int32_t list, TGLSink& gl);

// A graph list of many cells is compiled in pieces, helper lists of a few tens of
// milliseconds of work each that the named list calls in order, so that the work can
// pause between them. The axes and small lists are one piece: the named list itself.
// Most vertices in one piece: small enough that replaying one leaves the window
// unanswered for under 0.15 s on a busy machine; a test asks for smaller pieces to
// reach every boundary.
inline constexpr int64_t kPieceVertices = 1 << 16;
int32_t ListPieces(const TKestoState& s, int32_t list, int64_t pieceVertices = kPieceVertices);
GLuint PieceName(int32_t list, int32_t piece);
// What piece number piece of pieces holds; for one piece, the whole list.
void BuildListPiece(const TKestoState& s, int32_t list, int32_t piece, int32_t pieces, TGLSink& gl);
// The named list of a list in pieces: its pieces called in order.
void BuildPieceCalls(int32_t list, int32_t pieces, TGLSink& gl);

// The lists a frame with the current modes replays, as a mask.
int32_t ListsForFrame(const TKestoState& s, bool simple);
// The same in the order the frame replays them: the graph, then the axes.
std::vector<int32_t> FrameLists(const TKestoState& s, bool simple);

// Whether work may go on, asked between pieces; work told to stop goes on from there
// at the next call.
using TGoOn = std::function<bool()>;

// Where the lists of a frame come from: compiled lists replayed, lists built afresh
// and streamed, or a preview's stand-in grid drawn straight from the builders.
class TListHolder {
 public:
  // kept: where the contour lines are kept between frames; none: by the holder itself.
  explicit TListHolder(TContourCache* kept = nullptr) : kept_(kept ? kept : &own_) {}
  virtual ~TListHolder() = default;
  TListHolder(const TListHolder&) = delete;
  TListHolder& operator=(const TListHolder&) = delete;
  // The contour lines of s, or none where goOn said stop before they were traced.
  const TContours* ContourLines(const TKestoState& s, const TGoOn& goOn) {
    return kept_->For(s, goOn);
  }
  // Draws list from its piece next on, counting next on; false when goOn said stop.
  virtual bool DrawList(int32_t list, int32_t& next, const TGoOn& goOn) = 0;

 private:
  TContourCache own_;
  TContourCache* kept_;
};

// Where a frame drawn in turns has got to.
struct TPlanProgress {
  bool Begun = false;
  size_t List = 0;
  int32_t Next = 0;
  size_t Contour = 0;  // the contour lines drawn, counted over their passes
  std::optional<TLabelPlan> Labels;
};

// Every frame of both programs (a client area of w x h pixels), whoever holds its
// lists: normalise, clear, set up the view, draw the lists the modes select (the
// graph, then the axes), draw the colour bar and the labels. A simple frame draws the
// coarse mesh and leaves smoothing alone. The frame's own calls go to gl. False when
// goOn said stop: at says where the next call goes on.
bool DrawFramePlan(TKestoState& s, int w, int h, bool simple, TGLSink& gl, TListHolder& holder,
                   TPlanProgress& at, const TGoOn& goOn);
// The whole plan at once, each list called by its name on gl.
void DrawFrame(TKestoState& s, int w, int h, bool simple, TGLSink& gl);

// The fields a list's builder reads, but for the grid's heights, which change only with
// a new grid (whose callers mark the lists stale): a list compiled from other values no
// longer shows the state. Fields a list does not read stay zero.
struct TListShape {
  int32_t Columns = 0, Rows = 0;
  std::array<double, 9> Ranges{};  // x, y and z, lowest and highest, and the origin
  std::array<double, kDisplayOptions.size()> Options{};  // the options that shape the list
  uint64_t Spectrum = 0;                                 // a hash of the table's bytes
  bool operator==(const TListShape&) const = default;
};
TListShape ListShapeFor(const TKestoState& s, int32_t list);

// Everything a frame's picture depends on: the display options, the client size and
// the version and shape of each list it replays. Two frames with equal keys are the
// same picture.
struct TFrameKey {
  bool Simple = false;
  int Width = 0, Height = 0;
  std::array<double, kDisplayOptions.size()> Options{};
  std::vector<std::string> ColumnNames;
  TSpectrumTable Spectrum{};
  std::array<uint64_t, 10> Lists{};
  std::array<TListShape, 10> Shapes{};
  bool operator==(const TFrameKey&) const = default;
};
// versions: one number per list, by bit, that changes whenever the list may change.
TFrameKey FrameKeyFor(const TKestoState& s, int w, int h, bool simple,
                      const std::array<uint64_t, 10>& versions);

// "KestoForm(3D)640x480:" followed by the renderer name.
std::string FrameCaption(const TKestoState& s, int w, int h);

// Draws the lists a frame replays straight from the builders instead of compiling
// them first, for a picture drawn once; the builders run on a thread of their own and
// must not need anything but the state (resolve system colours first).
class TGLReplaySink final : public TGLForwardingSink {
 public:
  TGLReplaySink(const TKestoState& s, TGLSink& next) : TGLForwardingSink(next), s_(s) {}
  void CallList(GLuint list) override;

 private:
  const TKestoState& s_;
};
