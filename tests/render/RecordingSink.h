#pragma once

#include <array>
#include <vector>

#include "render/GLSink.h"

enum class TGLOp {
  NewList,
  EndList,
  CallList,
  DeleteLists,
  LineWidth,
  Begin,
  End,
  Color3f,
  Vertex2d,
  Vertex3f,
  Vertex3d,
  DrawArrays,       // mode, count, index into Arrays
  MultiDrawArrays,  // mode, runs, index into Arrays and Runs
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

struct TGLCall {
  TGLOp Op;
  std::array<double, 9> A{};
};

// One primitive as OpenGL rasterises it: a line segment (2 corners), a triangle (3)
// or a quad (4), each corner in single precision with its colour.
struct TPrimitive {
  int Corners;
  std::vector<TArrayVertex> V;
  bool operator==(const TPrimitive&) const = default;
};

// Records every call in order and, when given a target, passes it on as well.
class TRecordingSink final : public TGLSink {
 public:
  explicit TRecordingSink(TGLSink* forward = nullptr) : forward_(forward) {}

  std::vector<TGLCall> Calls;
  std::vector<std::vector<TArrayVertex>> Arrays;             // the corners of each array draw
  std::vector<std::vector<std::pair<GLint, GLsizei>>> Runs;  // of each MultiDrawArrays
  TGLSink* Forward() const { return forward_; }
  void Clear() {
    Calls.clear();
    Arrays.clear();
    Runs.clear();
  }

  // The calls between NewList(list) and its EndList, for the last build of list.
  std::vector<TGLCall> ListBody(GLuint list) const;
  // List names in the order they were compiled or replayed.
  std::vector<GLuint> Compiled() const;
  std::vector<GLuint> Replayed() const;
  // The segments, triangles and quads that calls make, whether given one primitive
  // at a time or as arrays: a line loop or strip is its segments, a polygon the fan
  // from its first corner (first corner last), as OpenGL splits them.
  std::vector<TPrimitive> Primitives(const std::vector<TGLCall>& calls) const;
  static int Count(const std::vector<TGLCall>& calls, TGLOp op, double firstArg);
  static int Count(const std::vector<TGLCall>& calls, TGLOp op);

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
  void Add(TGLOp op, std::array<double, 9> args = {}) { Calls.push_back({op, args}); }
  TGLSink* forward_;
};
