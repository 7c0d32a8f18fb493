#pragma once

#include <array>
#include <vector>

#include "render/GLSink.h"

enum class TGLOp {
  NewList,
  EndList,
  CallList,
  LineWidth,
  Begin,
  End,
  Color3f,
  Vertex2d,
  Vertex3f,
  Vertex3d,
  ClearColor,
  Clear,
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

// Records every call in order and, when given a target, passes it on as well.
class TRecordingSink final : public TGLSink {
 public:
  explicit TRecordingSink(TGLSink* forward = nullptr) : forward_(forward) {}

  std::vector<TGLCall> Calls;
  TGLSink* Forward() const { return forward_; }

  // The calls between NewList(list) and its EndList, for the last build of list.
  std::vector<TGLCall> ListBody(GLuint list) const;
  // List names in the order they were compiled or replayed.
  std::vector<GLuint> Compiled() const;
  std::vector<GLuint> Replayed() const;
  static int Count(const std::vector<TGLCall>& calls, TGLOp op, double firstArg);
  static int Count(const std::vector<TGLCall>& calls, TGLOp op);

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
  void Add(TGLOp op, std::array<double, 9> args = {}) { Calls.push_back({op, args}); }
  TGLSink* forward_;
};
