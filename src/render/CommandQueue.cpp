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

void TGLCommandQueue::Drain(TGLSink& gl) {
  for (int drawn = 1;; ++drawn) {
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
    } catch (...) {
      // The producer must not wait for ever on a queue nobody drains any more.
      const std::lock_guard lock(mutex_);
      abandoned_ = true;
      changed_.notify_all();
      throw;
    }
    // Left to fill up, the rasteriser can hold two full scenes at once now that the
    // batches come faster than it bins them (36 MiB more at 1000², 85 MiB at 2000²);
    // handed over every second batch, its scenes stay small, at no cost in time.
    if (drawn % kBlocksPerFlush == 0) gl.Flush();
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
