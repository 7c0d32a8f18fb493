#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

#include "render/GLSink.h"

struct TQueueAbandoned {};

// Calls of a sink made on one thread and carried out on another, in order: the
// builders of a picture fill the next batch of vertices while the thread that owns
// the OpenGL context draws the last one. At most a few batches wait at a time.
class TGLCommandQueue {
 public:
  using TCommand = std::function<void(TGLSink&)>;

  // The producer's side: blocks while the queue is full; throws TQueueAbandoned once
  // the consumer has failed.
  void Push(std::vector<TCommand> block);
  // The producer has ended, normally or with error (rethrown by Drain).
  void Close(std::exception_ptr error = nullptr);
  // The consumer's side: carries the commands out on gl until the producer closes.
  // What a command throws ends the draining and, through Push, the producer.
  void Drain(TGLSink& gl);

 private:
  static constexpr size_t kMostBlocks = 3;
  static constexpr int kBlocksPerFlush = 2;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::vector<TCommand>> blocks_;
  bool closed_ = false, abandoned_ = false;
  std::exception_ptr error_;
};

// A sink whose every call becomes a command on a queue; the vertex arrays are copied,
// and each array draw ends a block.
class TGLCommandSink final : public TGLSink {
 public:
  explicit TGLCommandSink(TGLCommandQueue& queue) : queue_(queue) {}
  // Hands over what is left; the queue is not closed.
  void Finish();

  void NewList(GLuint list) override;
  void EndList() override;
  void CallList(GLuint list) override;
  void DeleteLists(GLuint first, int count) override;
  void LineWidth(float width) override;
  void Begin(GLenum mode) override;
  void End() override;
  void Color3f(float r, float g, float b) override;
  void Vertex2d(double x, double y) override;
  void Vertex3f(float x, float y, float z) override;
  void Vertex3d(double x, double y, double z) override;
  void DrawArrays(GLenum mode, const TArrayVertex* vertices, int count) override;
  void MultiDrawArrays(GLenum mode, const TArrayVertex* vertices, const GLint* firsts,
                       const GLsizei* counts, int primitives) override;
  void PushAttrib(GLbitfield mask) override;
  void PopAttrib() override;
  void ClearColor(float r, float g, float b, float a) override;
  void Clear(GLbitfield mask) override;
  void Flush() override;
  void Enable(GLenum cap) override;
  void Disable(GLenum cap) override;
  void BlendFunc(GLenum src, GLenum dst) override;
  void Hint(GLenum target, GLenum mode) override;
  void Viewport(int x, int y, int width, int height) override;
  void MatrixMode(GLenum mode) override;
  void LoadIdentity() override;
  void Ortho(double l, double r, double b, double t, double n, double f) override;
  void Perspective(double fovy, double aspect, double zNear, double zFar) override;
  void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
              double uy, double uz) override;

 private:
  void Add(TGLCommandQueue::TCommand command) { block_.push_back(std::move(command)); }
  TGLCommandQueue& queue_;
  std::vector<TGLCommandQueue::TCommand> block_;
};
