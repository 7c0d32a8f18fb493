#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>

// One corner of an array draw: its position and its colour.
struct TArrayVertex {
  float X, Y, Z, R, G, B;
  bool operator==(const TArrayVertex&) const = default;
};

// The one narrow layer through which list builders and frames talk to OpenGL, so
// that a test can record exactly what a list or a frame holds.
class TGLSink {
 public:
  virtual ~TGLSink() = default;

  virtual void NewList(GLuint list) = 0;
  virtual void EndList() = 0;
  virtual void CallList(GLuint list) = 0;
  virtual void DeleteLists(GLuint first, int count) = 0;

  virtual void LineWidth(float width) = 0;
  // The primitives of mode over count corners, as glDrawArrays draws them from a
  // position and a colour array.
  virtual void DrawArrays(GLenum mode, const TArrayVertex* vertices, int count) = 0;
  // One primitive of mode for each run of counts[k] corners from firsts[k].
  virtual void MultiDrawArrays(GLenum mode, const TArrayVertex* vertices, const GLint* firsts,
                               const GLsizei* counts, int primitives) = 0;
  virtual void PushAttrib(GLbitfield mask) = 0;
  virtual void PopAttrib() = 0;

  virtual void ClearColor(float r, float g, float b, float a) = 0;
  virtual void Clear(GLbitfield mask) = 0;
  virtual void Flush() = 0;
  virtual void Enable(GLenum cap) = 0;
  virtual void Disable(GLenum cap) = 0;
  virtual void BlendFunc(GLenum src, GLenum dst) = 0;
  virtual void Hint(GLenum target, GLenum mode) = 0;
  virtual void Viewport(int x, int y, int width, int height) = 0;
  virtual void MatrixMode(GLenum mode) = 0;
  virtual void LoadIdentity() = 0;
  virtual void Ortho(double l, double r, double b, double t, double n, double f) = 0;
  virtual void Perspective(double fovy, double aspect, double zNear, double zFar) = 0;
  virtual void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
                      double uy, double uz) = 0;
};

// Forwards every call to the current OpenGL context.
class TGLDirectSink final : public TGLSink {
 public:
  void NewList(GLuint list) override;
  void EndList() override;
  void CallList(GLuint list) override;
  void DeleteLists(GLuint first, int count) override;
  void LineWidth(float width) override;
  void DrawArrays(GLenum mode, const TArrayVertex* vertices, int count) override;
  void MultiDrawArrays(GLenum mode, const TArrayVertex* vertices, const GLint* firsts,
                       const GLsizei* counts, int primitives) override;
  void PushAttrib(GLbitfield mask) override;
  void PopAttrib() override;
  void ClearColor(float r, float g, float b, float a) override;
  void Clear(GLbitfield mask) override;
  // Hands the work so far to the rasteriser, then waits until it has done what was
  // handed to it two Flushes before: it holds the scenes of the last two at most.
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
  // Returns once the context has carried out every call made so far: what one context
  // compiled is complete before a context that shares its lists replays them.
  void Finish();
  // Frees what the sink keeps in the current context (the marks of the last Flushes).
  void Release();

 private:
  int multiDraw_ = -1;  // whether the context has glMultiDrawArrays; -1: not asked yet
  int fences_ = -1;     // whether it has fence syncs (OpenGL 3.2); -1: not asked yet
  // The ends of the work the last two Flushes handed over, the older first.
  std::array<struct __GLsync*, 2> handed_{};
};
