#include "render/CommandQueue.h"

#include <utility>

void TGLCommandQueue::Push(TGLRecording block) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return blocks_.size() < kMostBlocks || abandoned_; });
  if (abandoned_) throw TQueueAbandoned();
  blocks_.push_back(std::move(block));
  changed_.notify_all();
}

void TGLCommandQueue::Close(std::exception_ptr error) {
  const std::lock_guard lock(mutex_);
  closed_ = true;
  error_ = std::move(error);
  changed_.notify_all();
}

namespace {

// What a block's array draws cost the rasteriser's scene, in triangle corners: a
// smooth line's corner costs about as much as four (measured).
size_t SceneCost(const TGLRecording& block) {
  size_t cost = 0;
  for (const TGLCall& c : block.Calls) {
    if (c.Op != TGLOp::DrawArrays && c.Op != TGLOp::MultiDrawArrays) continue;
    const GLenum mode = GLenum(c.A[0]);
    const bool lines = mode == GL_LINES || mode == GL_LINE_LOOP || mode == GL_LINE_STRIP;
    cost += block.Arrays[size_t(c.A[2])].size() * (lines ? 4 : 1);
  }
  return cost;
}

}  // namespace

void TGLCommandQueue::Drain(TGLSink& gl) {
  size_t unflushed = 0;
  for (;;) {
    TGLRecording block;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !blocks_.empty() || closed_; });
      if (blocks_.empty()) break;
      block = std::move(blocks_.front());
      blocks_.pop_front();
      changed_.notify_all();
    }
    try {
      block.Replay(gl);
      // Left to fill up, the rasteriser can hold two full scenes at once now that the
      // batches come faster than it bins them (36 MiB more at 1000², 85 MiB at 2000²);
      // handed over every so many corners, its scenes stay small, at no cost in time.
      unflushed += SceneCost(block);
      if (unflushed >= kCornersPerFlush) {
        gl.Flush();
        unflushed = 0;
      }
    } catch (...) {
      // The producer must not wait for ever on a queue nobody drains any more.
      const std::lock_guard lock(mutex_);
      abandoned_ = true;
      changed_.notify_all();
      throw;
    }
  }
  if (error_) std::rethrow_exception(error_);
}

void TGLCommandSink::Finish() {
  if (!Calls.empty()) queue_.Push(std::move(static_cast<TGLRecording&>(*this)));
  TGLRecording::Clear();
}

void TGLCommandSink::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  TGLRecorder::DrawArrays(mode, v, count);
  Finish();
}

void TGLCommandSink::MultiDrawArrays(GLenum mode, const TArrayVertex* v, const GLint* firsts,
                                     const GLsizei* counts, int primitives) {
  TGLRecorder::MultiDrawArrays(mode, v, firsts, counts, primitives);
  Finish();
}
