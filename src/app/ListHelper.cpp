#include "app/ListHelper.h"

#include "render/ArraySink.h"
#include "render/Frame.h"
#include "render/GLSink.h"

TListHelper::~TListHelper() {
  if (!thread_) return;
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_->wait();
}

bool TListHelper::Ready() {
  if (tried_) return ready_;
  tried_ = true;
  QOpenGLContext* share = share_;
  if (!share || !QOpenGLContext::supportsThreadedOpenGL()) return false;
  surface_ = std::make_unique<QOffscreenSurface>();
  surface_->setFormat(share->format());
  surface_->create();
  if (!surface_->isValid()) return false;
  thread_.reset(QThread::create([this, share] { Run(share); }));
  thread_->start();
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return started_; });
  return ready_;
}

void TListHelper::Run(QOpenGLContext* share) {
  // The context lives and dies on this thread, the only one it is ever current on.
  QOpenGLContext context;
  context.setFormat(share->format());
  context.setShareContext(share);
  const bool ok =
      context.create() && context.shareContext() == share && context.makeCurrent(surface_.get());
  std::unique_lock lock(mutex_);
  ready_ = ok;
  started_ = true;
  changed_.notify_all();
  if (!ok) return;
  TGLDirectSink direct;
  for (;;) {
    changed_.wait(lock, [this] { return stop_ || state_; });
    if (stop_) break;
    const TKestoState& s = *state_;
    const int32_t list = list_, piece = piece_, pieces = pieces_;
    lock.unlock();
    std::exception_ptr error;
    try {
      TGLArraySink arrays(direct);
      CompileInto(arrays, PieceName(list, piece),
                  [&] { BuildListPiece(s, list, piece, pieces, arrays); });
      // Other drivers than the software one may still be compiling when the window's
      // context calls the list.
      direct.Finish();
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    error_ = std::move(error);
    state_ = nullptr;
    busy_ = false;
    changed_.notify_all();
  }
  context.doneCurrent();
}

void TListHelper::Compile(const TKestoState& s, int32_t list, int32_t piece, int32_t pieces) {
  {
    const std::lock_guard lock(mutex_);
    state_ = &s;
    list_ = list;
    piece_ = piece;
    pieces_ = pieces;
    busy_ = true;
  }
  ++compiled_;
  changed_.notify_all();
}

void TListHelper::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  if (std::exception_ptr error = std::exchange(error_, nullptr)) std::rethrow_exception(error);
}
