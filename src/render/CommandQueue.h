#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>

#include "render/GLRecorder.h"

struct TQueueAbandoned {};

// Calls of a sink made on one thread and carried out on another, in order: the
// builders of a picture fill the next batch of vertices while the thread that owns
// the OpenGL context draws the last. At most a few batches wait at a time.
class TGLCommandQueue {
 public:
  // The producer's side: blocks while the queue is full; throws TQueueAbandoned once
  // the consumer has failed.
  void Push(TGLRecording block);
  // The producer has ended, normally or with error (rethrown by Drain).
  void Close(std::exception_ptr error = nullptr);
  // The consumer's side: carries the calls out on gl until the producer closes.
  // What a call throws ends the draining and, through Push, the producer.
  void Drain(TGLSink& gl);

 private:
  static constexpr size_t kMostBlocks = 3;
  static constexpr size_t kCornersPerFlush = 1 << 16;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<TGLRecording> blocks_;
  bool closed_ = false, abandoned_ = false;
  std::exception_ptr error_;
};

// A sink whose calls are recorded and handed to a queue, a block ending at each array
// draw.
class TGLCommandSink final : public TGLRecorder {
 public:
  explicit TGLCommandSink(TGLCommandQueue& queue) : queue_(queue) {}
  // Hands over what is left; the queue is not closed.
  void Finish();

  void DrawArrays(GLenum mode, const TArrayVertex* vertices, int count) override;
  void MultiDrawArrays(GLenum mode, const TArrayVertex* vertices, const GLint* firsts,
                       const GLsizei* counts, int primitives) override;

 private:
  TGLCommandQueue& queue_;
};
