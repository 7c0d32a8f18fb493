#pragma once

#include <array>
#include <vector>

#include "render/GLSink.h"

// Gathers the many small primitives of a graph into vertex arrays and draws them
// with a few glDrawArrays calls, giving OpenGL the same triangles and segments it
// would make of the primitives one by one: a line loop becomes its segments, a
// polygon the fan from its first corner, quads stay quads. Filled primitives are
// never smoothed, so their alpha is always 1 and blending is switched off around
// them. Everything else passes on to the next sink in order.
class TGLArraySink final : public TGLSink {
 public:
  explicit TGLArraySink(TGLSink& next) : next_(next) {}
  ~TGLArraySink() override { Flush(); }

  void Flush();

  void NewList(GLuint list) override;
  void EndList() override;
  void CallList(GLuint list) override;
  void LineWidth(float width) override;
  void Begin(GLenum mode) override;
  void End() override;
  void Color3f(float r, float g, float b) override;
  void Vertex2d(double x, double y) override;
  void Vertex3f(float x, float y, float z) override;
  void Vertex3d(double x, double y, double z) override;
  void ClearColor(float r, float g, float b, float a) override;
  void Clear(GLbitfield mask) override;
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
  struct TVertex {
    float X, Y, Z, R, G, B;
  };
  void Add(float x, float y, float z);
  void Batch(GLenum mode);
  void Append(const TVertex& v) { batch_.push_back(v); }

  TGLSink& next_;
  std::array<float, 3> color_{1.0f, 1.0f, 1.0f};
  bool colorSent_ = true;  // whether the next sink holds color_ as its current colour
  GLenum primitive_ = 0;
  bool inside_ = false;
  std::vector<TVertex> primitiveVertices_;
  GLenum batchMode_ = 0;
  std::vector<TVertex> batch_;
};
