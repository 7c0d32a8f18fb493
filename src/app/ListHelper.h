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

// A second OpenGL context that shares the graph window's lists: it compiles one piece
// of a large list on a thread of its own while the window's thread compiles another,
// which halves the time a large grid takes to compile.
class TListHelper {
 public:
  TListHelper() = default;
  ~TListHelper();
  TListHelper(const TListHelper&) = delete;
  TListHelper& operator=(const TListHelper&) = delete;

  // Made on first use, sharing the lists of share (current on this thread); false,
  // now and later, where the window system offers no such context.
  bool Ready(QOpenGLContext* share);
  // Starts compiling the piece from s, which must not change until Wait returns.
  void Compile(const TKestoState& s, int32_t list, int32_t piece, int32_t pieces);
  // Returns once the piece is compiled; rethrows what compiling it threw.
  void Wait();
  int64_t Compiled() const { return compiled_; }

 private:
  void Run(QOpenGLContext* share);

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
