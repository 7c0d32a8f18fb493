#include "render/FrameRenderer.h"

#include <algorithm>
#include <bit>
#include <chrono>

#include "core/ColorScale.h"
#include "core/MemoryRoom.h"
#include "core/PreviewGrid.h"
#include "render/ArraySink.h"
#include "render/ListMemory.h"

namespace {

int BitOf(int32_t list) { return std::countr_zero(uint32_t(list)); }

}  // namespace

void TFrameRenderer::MarkStale(int32_t mask) {
  for (int32_t list : ListsInBuildOrder(mask)) {
    versions_[BitOf(list)] = nextVersion_++;
    stale_ |= list;
  }
}

TFrameKey TFrameRenderer::Key(const TKestoState& s, int w, int h, bool simple) const {
  return FrameKeyFor(s, w, h, simple, versions_);
}

bool TFrameRenderer::Compile(TKestoState& s, int32_t mask, const TGoOn& goOn,
                             TPieceHelper* helper) {
  // A list compiled from other values than the state's now is stale too, whatever
  // the callers marked.
  for (int32_t list : ListsInBuildOrder(mask)) {
    if (DrawnFromGrid(s, list)) {
      // What it held for a smaller grid is not called again.
      if (pieces_[BitOf(list)] > 0) ReleaseList(list);
      stale_ &= ~list;
      mask &= ~list;
    } else if (shapes_[BitOf(list)] != ListShapeFor(s, list)) {
      stale_ |= list;
    }
  }
  try {
    for (int32_t list : ListsInBuildOrder(mask & stale_))
      if (!CompileList(s, list, goOn, helper)) return false;
  } catch (const TShortOfMemory&) {
    if (drawnModes_) std::tie(s.DrawMode, s.SurfaceMode) = *drawnModes_;
    throw;
  }
  return true;
}

bool TFrameRenderer::CompileList(TKestoState& s, int32_t list, const TGoOn& goOn,
                                 TPieceHelper* helper) {
  const int bit = BitOf(list);
  const uint64_t version = versions_[bit];
  const TListShape shape = ListShapeFor(s, list);
  const int32_t pieces = ListPieces(s, list, PieceVertices);
  // Where the work on the same list stopped, it goes on.
  int32_t k = 0;
  if (compiling_ && compiling_->List == list && compiling_->Version == version &&
      compiling_->Shape == shape && compiling_->Pieces == pieces)
    k = compiling_->Next;
  else
    MakeRoomFor(s, list, pieces > 1);
  compiling_.reset();
  TGLArraySink arrays(*Sink);
  // The helper's thread sees system colours as they are now.
  SnapshotSysColors();
  if (pieces <= 1 || !(helper && helper->Ready())) helper = nullptr;
  Step = "compile";
  while (pieces > 1 && k < pieces) {
    k += CompilePieces(arrays, s, list, k, pieces, helper);
    compiling_ = TCompileProgress{list, version, shape, pieces, k};
    progress_ = double(k) / pieces;
    if (!goOn()) return false;
    // Marked stale again (the grid may be another one now) or changed: start again.
    if (versions_[bit] != version || ListShapeFor(s, list) != shape) return false;
  }
  compiling_.reset();
  CompileInto(arrays, GLuint(list), [&] {
    if (pieces > 1)
      BuildPieceCalls(list, pieces, arrays);
    else
      BuildListBody(s, list, arrays);
  });
  // The pieces of a larger grid that the list no longer calls hold memory.
  const int32_t first = pieces > 1 ? pieces : 0;
  const int32_t had = pieces_[bit] > 1 ? pieces_[bit] : 0;
  if (had > first) arrays.DeleteLists(PieceName(list, first), had - first);
  pieces_[bit] = pieces;
  // A list given back returns at most what it took beyond the grid.
  const int64_t points = int64_t(s.GridHighI + 1) * (s.GridHighJ + 1);
  held_[bit] = std::max(
      0.0, ListMemory(list, points, BandedShare(s, list)) - double(points) * sizeof(TGridPoint));
  largeListMade_ |= pieces > 1;
  shapes_[bit] = shape;
  stale_ &= ~list;
  return true;
}

int32_t TFrameRenderer::CompilePieces(TGLSink& arrays, const TKestoState& s, int32_t list,
                                      int32_t k, int32_t pieces, TPieceHelper* helper) {
  const bool two = helper && k + 1 < pieces;
  if (two) helper->Compile(s, list, k + 1, pieces);
  try {
    CompileInto(arrays, PieceName(list, k), [&] { BuildListPiece(s, list, k, pieces, arrays); });
  } catch (...) {
    if (two) helper->Wait();
    throw;
  }
  if (!two) return 1;
  helper->Wait();
  return 2;
}

double TFrameRenderer::HeldForGrid(const TKestoState& s) const {
  double held = HeldByOthers(0) + double(s.Grid.capacity()) * sizeof(TGridPoint);
  for (const TGridRow& row : s.Grid) held += double(row.capacity()) * sizeof(TGridPoint);
  return held;
}

int64_t TFrameRenderer::MostPointsToRead(const TKestoState& s) const {
  const double left = RoomLeft(CurrentMemoryRoom());
  double perPoint = sizeof(TGridPoint);
  for (int32_t list : FrameLists(s, false)) perPoint = std::max(perPoint, ListMemory(list, 1));
  return std::min(PointsThatFit(left, sizeof(TGridPoint)),
                  PointsThatFit(left + HeldForGrid(s), perPoint));
}

void TFrameRenderer::CheckRoomForGrid(const TKestoState& s, const TGridData& grid) const {
  // The grid it replaces goes back, and every list made of it.
  const double freed = HeldForGrid(s);
  for (int32_t list : FrameLists(s, false)) {
    if (!(list & kMaskGraphs)) continue;
    const std::string shortfall =
        ListShortfall(list, grid.GridHighI + 1, grid.GridHighJ + 1, freed,
                      largeListMade_ ? 0 : kFirstLargeListMemory, CurrentMemoryRoom());
    if (!shortfall.empty()) throw TShortOfMemory(shortfall);
  }
}

double TFrameRenderer::HeldByOthers(int32_t keep) const {
  double held = 0;
  for (int32_t list = 1; list & kMaskGraphs; list *= 2)
    if (!(list & keep)) held += held_[BitOf(list)];
  return held;
}

void TFrameRenderer::MakeRoomFor(const TKestoState& s, int32_t list, bool inPieces) {
  const int64_t columns = s.GridHighI + 1, rows = s.GridHighJ + 1;
  if (ListMemory(list, columns * rows) == 0) return;
  const TMemoryRoom room = CurrentMemoryRoom();
  const double own = held_[BitOf(list)];
  const double extra = inPieces && !largeListMade_ ? kFirstLargeListMemory : 0;
  const double banded = BandedShare(s, list);
  if (ListShortfall(list, columns, rows, own, extra, room, banded).empty()) return;
  const int32_t keep = list | ListsForFrame(s, false) | ListsForFrame(s, true);
  const std::string shortfall =
      ListShortfall(list, columns, rows, own + HeldByOthers(keep), extra, room, banded);
  if (!shortfall.empty()) throw TShortOfMemory(shortfall);
  for (int32_t other = 1; other & kMaskGraphs; other *= 2)
    if (!(other & keep) && held_[BitOf(other)] > 0) ReleaseList(other);
}

void TFrameRenderer::ReleaseList(int32_t list) {
  const int bit = BitOf(list);
  Sink->DeleteLists(GLuint(list), 1);
  if (pieces_[bit] > 1) Sink->DeleteLists(PieceName(list, 0), pieces_[bit]);
  pieces_[bit] = 0;
  held_[bit] = 0;
  shapes_[bit].reset();
  stale_ |= list;
}

TFrameRenderer::TDrawn TFrameRenderer::Draw(TKestoState& s, const TFrameKey& key, const TGoOn& goOn,
                                            TPieceHelper* helper) {
  if (!Compile(s, ListsForFrame(s, key.Simple), goOn, helper)) return TDrawn::Stopped;
  const bool reshown = kept_ == key && store_.Restore(key.Width, key.Height);
  previewing_.reset();  // the buffer holds this frame, or will
  if (reshown)
    replaying_.reset();
  else if (!DrawLists(s, key, goOn))
    return TDrawn::Stopped;
  drawnModes_.emplace(s.DrawMode, s.SurfaceMode);
  return reshown ? TDrawn::Reshown : TDrawn::Drawn;
}

namespace {

// The lists of a frame as drawn by draw(list, next, goOn).
template <class Draw>
class THolderOf final : public TListHolder {
 public:
  explicit THolderOf(Draw draw, TContourCache* kept = nullptr)
      : TListHolder(kept), draw_(std::move(draw)) {}
  bool DrawList(int32_t list, int32_t& next, const TGoOn& goOn) override {
    return draw_(list, next, goOn);
  }

 private:
  Draw draw_;
};

}  // namespace

bool TFrameRenderer::DrawLists(TKestoState& s, const TFrameKey& key, const TGoOn& goOn) {
  Step = "replay";
  // A frame of the same picture begun earlier goes on where it stopped: nothing has
  // drawn into the buffer since.
  if (!replaying_ || replaying_->Key != key) replaying_ = TReplayProgress{key, {}};
  THolderOf compiled(
      [&](int32_t list, int32_t& next, const TGoOn& goOn) {
        if (DrawnFromGrid(s, list)) return DrawFromGrid(s, list, next, goOn);
        const int32_t pieces = pieces_[BitOf(list)];
        if (pieces <= 1) {
          Sink->CallList(GLuint(list));
          return true;
        }
        while (next < pieces) {
          Sink->CallList(PieceName(list, next++));
          progress_ = double(next) / pieces;
          // Each piece handed to the rasteriser as a scene of its own, the work it holds at
          // once stays small, and the frame is no slower.
          Sink->Flush();
          if (!goOn()) return false;
        }
        return true;
      },
      &contours_);
  if (!DrawFramePlan(s, key.Width, key.Height, key.Simple, *Sink, compiled, replaying_->At, goOn))
    return false;
  replaying_.reset();
  return true;
}

bool TFrameRenderer::DrawnFromGrid(const TKestoState& s, int32_t list) const {
  return (list & (kList2DMarkers | kList3DMarkers)) && ListPieces(s, list, PieceVertices) > 1;
}

bool TFrameRenderer::DrawFromGrid(const TKestoState& s, int32_t list, int32_t& next,
                                  const TGoOn& goOn) {
  // One sink for the turn: with arrays made afresh for every piece and a flush every few
  // pieces, the page faults of the fresh memory made a 1000² frame six times as long. No
  // flush at all: the driver hands each full scene to the rasteriser by itself.
  TGLArraySink arrays(*Sink);
  const bool done = BuildPieces(s, list, next, arrays, goOn);
  arrays.DrawBatch();
  return done;
}

bool TFrameRenderer::BuildPieces(const TKestoState& s, int32_t list, int32_t& next, TGLSink& gl,
                                 const TGoOn& goOn) const {
  const int32_t pieces = ListPieces(s, list, PieceVertices);
  while (next < pieces) {
    BuildListPiece(s, list, next++, pieces, gl);
    if (!goOn()) return false;
  }
  return true;
}

void TFrameRenderer::Keep(const TFrameKey& key, bool worthKeeping) {
  if (worthKeeping) store_.Keep(key.Width, key.Height);
  kept_ = worthKeeping ? std::optional(key) : std::nullopt;
}

bool TFrameRenderer::WantsPreview(const TKestoState& s) {
  // About 0.2 s of the software rasteriser's work for a frame of that many points.
  constexpr int64_t kPreviewPoints = 200000;
  return int64_t(s.GridHighI + 1) * (s.GridHighJ + 1) > kPreviewPoints;
}

bool TFrameRenderer::PreviewDue(const TKestoState& s, const TFrameKey& key) const {
  return kept_ != key && previewed_ != key && WantsPreview(s);
}

bool TFrameRenderer::DrawPreview(TKestoState& s, const TFrameKey& key, const TGoOn& goOn) {
  Step = "preview";
  const auto start = std::chrono::steady_clock::now();
  if (!previewing_) {
    replaying_.reset();  // the buffer holds another picture now
    previewing_.emplace(TPreviewProgress{
        key, PreviewState(s, key.Width / previewPixels_, key.Height / previewPixels_), {}, 0});
  }
  TPreviewProgress& p = *previewing_;
  bool done = false;
  {
    // Drawn in pieces straight from the builders, as the exact frame's lists are
    // replayed: a preview of a large grid on a busy machine is no longer one long step.
    TGLArraySink arrays(*Sink, TGLArraySink::TLines::Loops);
    // Each piece a scene of its own, as in the replay.
    const TGoOn flushed = [&] {
      arrays.Flush();
      return goOn();
    };
    THolderOf preview([&](int32_t list, int32_t& next, const TGoOn&) {
      return BuildPieces(p.State, list, next, arrays, flushed);
    });
    done = DrawFramePlan(p.State, p.Key.Width, p.Key.Height, false, *Sink, preview, p.At, goOn);
  }
  p.Seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The rasteriser works on the last piece while the window's messages are handled.
  if (!done) return false;
  previewed_ = p.Key;
  // A machine busy with other work draws the next preview coarser, an idle one finer.
  if (p.Seconds > 0.1) previewPixels_ = std::min(previewPixels_ + 1, kCoarsestPreview);
  if (p.Seconds < 0.04) previewPixels_ = std::max(previewPixels_ - 1, kFinestPreview);
  previewing_.reset();
  return true;
}

void TFrameRenderer::DrawWithoutLists(TKestoState& s, int w, int h, bool simple) {
  replaying_.reset();  // the buffer holds another picture now
  // The builders' thread sees system colours as they are now.
  SnapshotSysColors();
  TGLReplaySink replay(s, *Sink);
  DrawFrame(s, w, h, simple, replay);
}
