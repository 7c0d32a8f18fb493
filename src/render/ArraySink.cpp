#include "render/ArraySink.h"

#include <cstddef>

namespace {

// Vertices gathered before a batch is drawn: large enough that the per-call cost
// vanishes, small enough to stay in the caches.
constexpr size_t kBatchVertices = 1 << 16;

}  // namespace

void TGLArraySink::Flush() {
  if (batch_.empty()) return;
  const bool filled = batchMode_ != GL_LINES;
  if (filled) {
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(TVertex), &batch_[0].X);
  glColorPointer(3, GL_FLOAT, sizeof(TVertex), &batch_[0].R);
  glDrawArrays(batchMode_, 0, GLsizei(batch_.size()));
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
  if (filled) glPopAttrib();
  batch_.clear();
  // Drawing from a colour array leaves the current colour undefined; give it the
  // value the primitives one by one would have left.
  colorSent_ = false;
}

void TGLArraySink::Batch(GLenum mode) {
  if (mode != batchMode_ || batch_.size() >= kBatchVertices) Flush();
  batchMode_ = mode;
}

void TGLArraySink::Add(float x, float y, float z) {
  primitiveVertices_.push_back(TVertex{x, y, z, color_[0], color_[1], color_[2]});
}

void TGLArraySink::Begin(GLenum mode) {
  primitive_ = mode;
  inside_ = true;
  primitiveVertices_.clear();
}

void TGLArraySink::End() {
  inside_ = false;
  const std::vector<TVertex>& v = primitiveVertices_;
  const size_t n = v.size();
  switch (primitive_) {
    case GL_LINE_LOOP:
      if (n < 2) return;
      Batch(GL_LINES);
      for (size_t k = 0; k < n; ++k) {
        Append(v[k]);
        Append(v[(k + 1) % n]);
      }
      return;
    case GL_POLYGON:
      if (n < 3) return;
      Batch(GL_TRIANGLES);
      // The first corner last, as OpenGL itself hands a polygon's triangles on:
      // the order of a triangle's corners decides the last bit of its colours.
      for (size_t k = 1; k + 1 < n; ++k) {
        Append(v[k]);
        Append(v[k + 1]);
        Append(v[0]);
      }
      return;
    case GL_QUADS:
      Batch(GL_QUADS);
      for (size_t k = 0; k + 3 < n; k += 4)
        for (size_t c = 0; c < 4; ++c) Append(v[k + c]);
      return;
    default:
      // Anything else is rare (the axes' line strips): passed on as it was given.
      Flush();
      next_.Begin(primitive_);
      for (const TVertex& p : v) {
        next_.Color3f(p.R, p.G, p.B);
        next_.Vertex3f(p.X, p.Y, p.Z);
      }
      next_.End();
      colorSent_ = false;
      return;
  }
}

void TGLArraySink::Color3f(float r, float g, float b) {
  color_ = {r, g, b};
  colorSent_ = false;
}

void TGLArraySink::Vertex2d(double x, double y) { Add(float(x), float(y), 0.0f); }
void TGLArraySink::Vertex3f(float x, float y, float z) { Add(x, y, z); }
void TGLArraySink::Vertex3d(double x, double y, double z) { Add(float(x), float(y), float(z)); }

#define PASS_ON(call)                                                \
  do {                                                               \
    Flush();                                                         \
    if (!colorSent_) {                                               \
      next_.Color3f(color_[0], color_[1], color_[2]);                \
      colorSent_ = true;                                             \
    }                                                                \
    next_.call;                                                      \
  } while (false)

void TGLArraySink::NewList(GLuint list) { PASS_ON(NewList(list)); }
void TGLArraySink::EndList() { PASS_ON(EndList()); }
void TGLArraySink::CallList(GLuint list) { PASS_ON(CallList(list)); }
void TGLArraySink::LineWidth(float width) { PASS_ON(LineWidth(width)); }
void TGLArraySink::ClearColor(float r, float g, float b, float a) { PASS_ON(ClearColor(r, g, b, a)); }
void TGLArraySink::Clear(GLbitfield mask) { PASS_ON(Clear(mask)); }
void TGLArraySink::Enable(GLenum cap) { PASS_ON(Enable(cap)); }
void TGLArraySink::Disable(GLenum cap) { PASS_ON(Disable(cap)); }
void TGLArraySink::BlendFunc(GLenum src, GLenum dst) { PASS_ON(BlendFunc(src, dst)); }
void TGLArraySink::Hint(GLenum target, GLenum mode) { PASS_ON(Hint(target, mode)); }
void TGLArraySink::Viewport(int x, int y, int w, int h) { PASS_ON(Viewport(x, y, w, h)); }
void TGLArraySink::MatrixMode(GLenum mode) { PASS_ON(MatrixMode(mode)); }
void TGLArraySink::LoadIdentity() { PASS_ON(LoadIdentity()); }
void TGLArraySink::Ortho(double l, double r, double b, double t, double n, double f) {
  PASS_ON(Ortho(l, r, b, t, n, f));
}
void TGLArraySink::Perspective(double fovy, double aspect, double zNear, double zFar) {
  PASS_ON(Perspective(fovy, aspect, zNear, zFar));
}
void TGLArraySink::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                          double ux, double uy, double uz) {
  PASS_ON(LookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz));
}
