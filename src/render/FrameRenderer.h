#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "core/Grid.h"
#include "core/ViewState.h"
#include "render/Frame.h"
#include "render/FrameStore.h"
#include "render/GLSink.h"

// Asked between two pieces of long work, where the program may look at its window
// messages: false when the work is to stop (the picture it makes is no longer wanted).

// A second context sharing the lists of the one the frames are drawn in: it compiles
// one piece of a large list while the caller compiles another.
class TPieceHelper {
 public:
  virtual ~TPieceHelper() = default;
  // Made on first use; false, now and later, where no such context can be had.
  virtual bool Ready() = 0;
  // Starts compiling the piece from s, which must not change until Wait returns.
  virtual void Compile(const TKestoState& s, int32_t list, int32_t piece, int32_t pieces) = 0;
  // Returns once the piece is complete in its context; rethrows what compiling it threw.
  virtual void Wait() = 0;
};

// The frames of both programs: the display lists and their pieces, which of them are
// stale, the copy of the last finished frame and what shaped it, and the frames drawn
// without lists (a picture drawn once, a preview). Calls go to the context current
// when they are made.
class TFrameRenderer {
 public:
  TFrameRenderer() : Sink(&direct_) {}
  // Where list builds and frames send their GL calls; a test may wrap it.
  TGLSink* Sink;
  // The most vertices one piece of a large list holds.
  int64_t PieceVertices = kPieceVertices;
  // The kind of step the work in progress began last ("compile", "replay", "preview";
  // the program adds its own), for the benchmarks to name where a window waited.
  const char* Step = "";
  // How far the compile or replay of a large list in progress has got, 0 to 1.
  double Progress() const { return progress_; }

  // The lists of mask may have changed (a new grid): no frame shows them as they were.
  // A list whose shape changed is stale without it.
  void MarkStale(int32_t mask);
  int32_t Stale() const { return stale_; }
  // Everything a frame of s at w x h would show, the versions of its lists included.
  TFrameKey Key(const TKestoState& s, int w, int h, bool simple) const;

  // Compiles the stale lists of mask, a large one piece by piece (the second piece of
  // each two in helper's context where there is one); false when goOn said stop (the
  // next call goes on from there) or a list was marked stale again meanwhile. A graph list that
  // would not fit in memory throws TShortOfMemory, before the driver is asked, with s's view and
  // surface back to those of the last frame drawn.
  bool Compile(TKestoState& s, int32_t mask, const TGoOn& goOn, TPieceHelper* helper);
  // Throws TShortOfMemory when the lists of s's frames, made of grid in place of s's,
  // would not fit.
  void CheckRoomForGrid(const TKestoState& s, const TGridData& grid) const;
  // The most points a grid read to replace s's may have: it is read beside s's grid,
  // and then its lists take the place of s's.
  int64_t MostPointsToRead(const TKestoState& s) const;

  enum class TDrawn { Stopped, Drawn, Reshown };
  // The frame of key (s's at its size) on the current buffer: the kept copy where it is
  // that frame, else drawn from the lists, which are compiled first where stale. Where
  // goOn said stop, the next call for the same key goes on from there.
  TDrawn Draw(TKestoState& s, const TFrameKey& key, const TGoOn& goOn, TPieceHelper* helper);
  // After a frame drawn: keep the picture as key's, or, where it is not worth keeping
  // (not the full frame on screen), keep none.
  void Keep(const TFrameKey& key, bool worthKeeping);

  // Whether s's grid is so large that its exact frame takes long: then a change of view
  // first shows a preview, within a small fraction of a second.
  static bool WantsPreview(const TKestoState& s);
  // Whether the frame of key would be preceded by a preview that has not been shown.
  bool PreviewDue(const TKestoState& s, const TFrameKey& key) const;
  // The frame of key drawn from a small stand-in of s's grid, a few pieces at a time:
  // false where goOn said stop, and the next call goes on from there. A preview begun
  // for another key is finished first, so that a stream of changes still shows
  // pictures; PreviewDue tells whether key's own is still to come.
  bool DrawPreview(TKestoState& s, const TFrameKey& key, const TGoOn& goOn);

  // A frame drawn straight from the list builders, compiling nothing that stays: a
  // picture drawn once.
  void DrawWithoutLists(TKestoState& s, int w, int h, bool simple);

  // Frees the kept copy and what the sink keeps; the context that kept them is current.
  void Release() {
    store_.Release();
    direct_.Release();
  }

 private:
  bool CompileList(TKestoState& s, int32_t list, const TGoOn& goOn, TPieceHelper* helper);
  // Piece k here and, with a helper, piece k + 1 in its context at the same time; how
  // many pieces were compiled.
  int32_t CompilePieces(TGLSink& arrays, const TKestoState& s, int32_t list, int32_t k,
                        int32_t pieces, TPieceHelper* helper);
  bool DrawLists(TKestoState& s, const TFrameKey& key, const TGoOn& goOn);
  // Markers too many for one piece are not compiled: each frame draws them straight
  // from the grid. Such a list would hold about fifteen times the grid (every cube's
  // corners and indices as the driver keeps them) and take seconds to compile, and
  // the markers drawn from the grid are on the window no later than the list replayed.
  bool DrawnFromGrid(const TKestoState& s, int32_t list) const;
  // The pieces of such a list, from the next one the frame has not drawn.
  bool DrawFromGrid(const TKestoState& s, int32_t list, int32_t& next, const TGoOn& goOn);
  // The pieces of list from next on, straight from the builders into gl; false where
  // goOn said stop after one of them.
  bool BuildPieces(const TKestoState& s, int32_t list, int32_t& next, TGLSink& gl,
                   const TGoOn& goOn) const;
  // Refuses a graph list that would not fit, before the driver, which does not survive
  // a failed allocation, is asked; lists no frame of this view shows are given back
  // first where that makes it fit.
  void MakeRoomFor(const TKestoState& s, int32_t list, bool inPieces);
  void ReleaseList(int32_t list);
  // What the graph lists other than those of keep hold.
  double HeldByOthers(int32_t keep) const;
  // What s's grid and every list made of it hold, given back when a new grid replaces it.
  double HeldForGrid(const TKestoState& s) const;

  TGLDirectSink direct_;
  TContourCache contours_;  // the lines of the frames' grid, kept between them
  int32_t stale_ = 0;
  std::array<uint64_t, 10> versions_{};  // changes whenever a list is marked stale
  uint64_t nextVersion_ = 1;
  std::array<int32_t, 10> pieces_{};                    // how each list was last compiled
  std::array<std::optional<TListShape>, 10> shapes_{};  // and from what
  std::array<double, 10> held_{};                       // about how many bytes each list holds
  bool largeListMade_ = false;  // the driver has taken its part for large lists
  // The view and surface of the last frame put on the buffer, which stay when a list that another
  // mode needs does not fit.
  std::optional<std::pair<int32_t, int32_t>> drawnModes_;
  // Where the work stopped: the list being compiled and its next piece, the frame being
  // replayed and its next list and piece.
  struct TCompileProgress {
    int32_t List;
    uint64_t Version;
    TListShape Shape;
    int32_t Pieces, Next;
  };
  std::optional<TCompileProgress> compiling_;
  struct TReplayProgress {
    TFrameKey Key;
    TPlanProgress At;
  };
  std::optional<TReplayProgress> replaying_;
  struct TPreviewProgress {
    TFrameKey Key;
    TKestoState State;  // with the stand-in grid
    TPlanProgress At;
    double Seconds;  // spent drawing it so far
  };
  std::optional<TPreviewProgress> previewing_;
  std::optional<TFrameKey> kept_;       // the frame the store holds
  std::optional<TFrameKey> previewed_;  // the frame a preview stood for last
  // Window pixels each way for one point of the preview: three draws one in well under
  // 0.1 s on an idle machine.
  static constexpr int kFinestPreview = 3, kCoarsestPreview = 6;
  int previewPixels_ = kFinestPreview;
  TFrameStore store_;
  double progress_ = 0;
};
