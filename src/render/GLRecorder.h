#pragma once

#include <array>
#include <vector>

#include "render/GLSink.h"

// Every call of the sink interface, by name.
enum class TGLOp {
  NewList,
  EndList,
  CallList,
  DeleteLists,
  LineWidth,
  DrawArrays,       // mode, count, index into Arrays
  MultiDrawArrays,  // mode, runs, index into Arrays, Firsts and Counts
  PushAttrib,
  PopAttrib,
  ClearColor,
  Clear,
  Flush,
  Enable,
  Disable,
  BlendFunc,
  Hint,
  Viewport,
  MatrixMode,
  LoadIdentity,
  Ortho,
  Perspective,
  LookAt,
};

// One call and its arguments, each exact as a double.
struct TGLCall {
  TGLOp Op;
  std::array<double, 9> A{};
};

// Calls kept in plain buffers: what one thread builds and another carries out, or
// what a test reads back.
struct TGLRecording {
  std::vector<TGLCall> Calls;
  std::vector<std::vector<TArrayVertex>> Arrays;  // the corners of each array draw
  // Where each run of a MultiDrawArrays starts and how many corners it has.
  std::vector<std::vector<GLint>> Firsts;
  std::vector<std::vector<GLsizei>> Counts;

  void Clear() {
    Calls.clear();
    Arrays.clear();
    Firsts.clear();
    Counts.clear();
  }
  // Makes the calls on gl, in order.
  void Replay(TGLSink& gl) const;
};

// Records every call in order and, when given a next sink, passes it on as well.
class TGLRecorder : public TGLSink, public TGLRecording {
 public:
  explicit TGLRecorder(TGLSink* forward = nullptr) : forward_(forward) {}
  TGLSink* Forward() const { return forward_; }

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

  using TGLRecording::Clear;

 private:
  void Add(TGLOp op, std::array<double, 9> args = {}) { Calls.push_back({op, args}); }
  TGLSink* forward_;
};
