#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QThread>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>

#include "core/ViewState.h"
#include "render/FrameRenderer.h"

// A second OpenGL context that shares the graph window's lists: it compiles one piece
// of a large list on a thread of its own while the window's thread compiles another,
// which halves the time a large grid takes to compile.
class TListHelper final : public TPieceHelper {
 public:
  TListHelper() = default;
  ~TListHelper() override;
  TListHelper(const TListHelper&) = delete;
  TListHelper& operator=(const TListHelper&) = delete;

  // The context whose lists the helper's shares, current on this thread when the
  // helper is first made.
  void ShareWith(QOpenGLContext* share) { share_ = share; }
  bool Ready() override;
  void Compile(const TKestoState& s, int32_t list, int32_t piece, int32_t pieces) override;
  void Wait() override;
  int64_t Compiled() const { return compiled_; }

 private:
  void Run(QOpenGLContext* share);

  QOpenGLContext* share_ = nullptr;
  std::unique_ptr<QOffscreenSurface> surface_;
  std::unique_ptr<QThread> thread_;
  bool tried_ = false, ready_ = false;
  int64_t compiled_ = 0;

  std::mutex mutex_;
  std::condition_variable changed_;
  bool started_ = false, stop_ = false, busy_ = false;
  const TKestoState* state_ = nullptr;
  int32_t list_ = 0, piece_ = 0, pieces_ = 0;
  std::exception_ptr error_;
};
