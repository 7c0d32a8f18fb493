#pragma once

#include "render/GLSink.h"

// Passes every call on to the next sink; a subclass changes what it needs and may
// do something before each call that it passes on.
class TGLForwardingSink : public TGLSink {
 public:
  explicit TGLForwardingSink(TGLSink& next) : next_(next) {}

  void NewList(GLuint list) override {
    Passing();
    next_.NewList(list);
  }
  void EndList() override {
    Passing();
    next_.EndList();
  }
  void CallList(GLuint list) override {
    Passing();
    next_.CallList(list);
  }
  void DeleteLists(GLuint first, int count) override {
    Passing();
    next_.DeleteLists(first, count);
  }
  void LineWidth(float width) override {
    Passing();
    next_.LineWidth(width);
  }
  void DrawArrays(GLenum mode, const TArrayVertex* vertices, int count) override {
    Passing();
    next_.DrawArrays(mode, vertices, count);
  }
  void MultiDrawArrays(GLenum mode, const TArrayVertex* vertices, const GLint* firsts,
                       const GLsizei* counts, int primitives) override {
    Passing();
    next_.MultiDrawArrays(mode, vertices, firsts, counts, primitives);
  }
  void PushAttrib(GLbitfield mask) override {
    Passing();
    next_.PushAttrib(mask);
  }
  void PopAttrib() override {
    Passing();
    next_.PopAttrib();
  }
  void ClearColor(float r, float g, float b, float a) override {
    Passing();
    next_.ClearColor(r, g, b, a);
  }
  void Clear(GLbitfield mask) override {
    Passing();
    next_.Clear(mask);
  }
  void Flush() override {
    Passing();
    next_.Flush();
  }
  void Enable(GLenum cap) override {
    Passing();
    next_.Enable(cap);
  }
  void Disable(GLenum cap) override {
    Passing();
    next_.Disable(cap);
  }
  void BlendFunc(GLenum src, GLenum dst) override {
    Passing();
    next_.BlendFunc(src, dst);
  }
  void Hint(GLenum target, GLenum mode) override {
    Passing();
    next_.Hint(target, mode);
  }
  void Viewport(int x, int y, int w, int h) override {
    Passing();
    next_.Viewport(x, y, w, h);
  }
  void MatrixMode(GLenum mode) override {
    Passing();
    next_.MatrixMode(mode);
  }
  void LoadIdentity() override {
    Passing();
    next_.LoadIdentity();
  }
  void Ortho(double l, double r, double b, double t, double n, double f) override {
    Passing();
    next_.Ortho(l, r, b, t, n, f);
  }
  void Perspective(double fovy, double aspect, double zNear, double zFar) override {
    Passing();
    next_.Perspective(fovy, aspect, zNear, zFar);
  }
  void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
              double uy, double uz) override {
    Passing();
    next_.LookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
  }

 protected:
  virtual void Passing() {}
  TGLSink& next_;
};
