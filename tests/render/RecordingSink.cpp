#include "render/RecordingSink.h"

#include <gtest/gtest.h>

#include <algorithm>

std::vector<TGLCall> TRecordingSink::ListBody(GLuint list) const {
  std::vector<TGLCall> body;
  bool inside = false;
  for (const TGLCall& c : Calls) {
    if (c.Op == TGLOp::NewList) {
      inside = c.A[0] == list;
      if (inside) body.clear();
    } else if (c.Op == TGLOp::EndList) {
      inside = false;
    } else if (inside) {
      body.push_back(c);
    }
  }
  return body;
}

std::vector<GLuint> TRecordingSink::Compiled() const {
  std::vector<GLuint> lists;
  for (const TGLCall& c : Calls)
    if (c.Op == TGLOp::NewList) lists.push_back(GLuint(c.A[0]));
  return lists;
}

std::vector<GLuint> TRecordingSink::Replayed() const {
  std::vector<GLuint> lists;
  for (const TGLCall& c : Calls)
    if (c.Op == TGLOp::CallList) lists.push_back(GLuint(c.A[0]));
  return lists;
}

namespace {

void Split(GLenum mode, const std::vector<TArrayVertex>& v, std::vector<TPrimitive>& out) {
  const size_t n = v.size();
  auto add = [&](std::initializer_list<size_t> corners) {
    TPrimitive p{int(corners.size()), {}};
    for (size_t k : corners) p.V.push_back(v[k]);
    out.push_back(std::move(p));
  };
  switch (mode) {
    case GL_LINES:
      for (size_t k = 0; k + 1 < n; k += 2) add({k, k + 1});
      break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
      for (size_t k = 0; k + 1 < n; ++k) add({k, k + 1});
      if (mode == GL_LINE_LOOP && n > 1) add({n - 1, 0});
      break;
    case GL_TRIANGLES:
      for (size_t k = 0; k + 2 < n; k += 3) add({k, k + 1, k + 2});
      break;
    case GL_POLYGON:
      for (size_t k = 1; k + 1 < n; ++k) add({k, k + 1, 0});
      break;
    case GL_QUADS:  // as a display list splits them
      for (size_t k = 0; k + 3 < n; k += 4) {
        add({k, k + 1, k + 3});
        add({k + 1, k + 2, k + 3});
      }
      break;
    default:
      ADD_FAILURE() << "no splitting rule for mode " << mode;
  }
}

}  // namespace

std::vector<TPrimitive> TRecordingSink::Primitives(const std::vector<TGLCall>& calls) const {
  std::vector<TPrimitive> out;
  std::vector<TArrayVertex> corners;
  float color[3] = {1, 1, 1};
  GLenum mode = 0;
  for (const TGLCall& c : calls) {
    const float x = float(c.A[0]), y = float(c.A[1]), z = float(c.A[2]);
    switch (c.Op) {
      case TGLOp::Begin:
        mode = GLenum(c.A[0]);
        corners.clear();
        break;
      case TGLOp::Color3f:
        color[0] = x, color[1] = y, color[2] = z;
        break;
      case TGLOp::Vertex2d:
        corners.push_back({x, y, 0.0f, color[0], color[1], color[2]});
        break;
      case TGLOp::Vertex3f:
      case TGLOp::Vertex3d:
        corners.push_back({x, y, z, color[0], color[1], color[2]});
        break;
      case TGLOp::End:
        Split(mode, corners, out);
        break;
      case TGLOp::DrawArrays:
        Split(GLenum(c.A[0]), Arrays[size_t(c.A[2])], out);
        break;
      case TGLOp::MultiDrawArrays: {
        const auto& all = Arrays[size_t(c.A[2])];
        for (const auto& [first, count] : Runs[size_t(c.A[2])])
          Split(GLenum(c.A[0]), {all.begin() + first, all.begin() + first + count}, out);
        break;
      }
      default:
        break;
    }
  }
  return out;
}

int TRecordingSink::Count(const std::vector<TGLCall>& calls, TGLOp op, double firstArg) {
  return int(std::count_if(calls.begin(), calls.end(),
                           [&](const TGLCall& c) { return c.Op == op && c.A[0] == firstArg; }));
}

int TRecordingSink::Count(const std::vector<TGLCall>& calls, TGLOp op) {
  return int(
      std::count_if(calls.begin(), calls.end(), [&](const TGLCall& c) { return c.Op == op; }));
}

#define FORWARD(call) \
  if (forward_) forward_->call

void TRecordingSink::NewList(GLuint list) {
  Add(TGLOp::NewList, {double(list)});
  FORWARD(NewList(list));
}
void TRecordingSink::EndList() {
  Add(TGLOp::EndList);
  FORWARD(EndList());
}
void TRecordingSink::CallList(GLuint list) {
  Add(TGLOp::CallList, {double(list)});
  FORWARD(CallList(list));
}
void TRecordingSink::DeleteLists(GLuint first, int count) {
  Add(TGLOp::DeleteLists, {double(first), double(count)});
  FORWARD(DeleteLists(first, count));
}
void TRecordingSink::LineWidth(float w) {
  Add(TGLOp::LineWidth, {w});
  FORWARD(LineWidth(w));
}
void TRecordingSink::Begin(GLenum mode) {
  Add(TGLOp::Begin, {double(mode)});
  FORWARD(Begin(mode));
}
void TRecordingSink::End() {
  Add(TGLOp::End);
  FORWARD(End());
}
void TRecordingSink::Color3f(float r, float g, float b) {
  Add(TGLOp::Color3f, {r, g, b});
  FORWARD(Color3f(r, g, b));
}
void TRecordingSink::Vertex2d(double x, double y) {
  Add(TGLOp::Vertex2d, {x, y});
  FORWARD(Vertex2d(x, y));
}
void TRecordingSink::Vertex3f(float x, float y, float z) {
  Add(TGLOp::Vertex3f, {x, y, z});
  FORWARD(Vertex3f(x, y, z));
}
void TRecordingSink::Vertex3d(double x, double y, double z) {
  Add(TGLOp::Vertex3d, {x, y, z});
  FORWARD(Vertex3d(x, y, z));
}
void TRecordingSink::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  Add(TGLOp::DrawArrays, {double(mode), double(count), double(Arrays.size())});
  Arrays.emplace_back(v, v + count);
  Runs.emplace_back();
  FORWARD(DrawArrays(mode, v, count));
}
void TRecordingSink::MultiDrawArrays(GLenum mode, const TArrayVertex* v, const GLint* firsts,
                                     const GLsizei* counts, int primitives) {
  Add(TGLOp::MultiDrawArrays, {double(mode), double(primitives), double(Arrays.size())});
  int last = 0;
  Runs.emplace_back();
  for (int k = 0; k < primitives; ++k) {
    Runs.back().emplace_back(firsts[k], counts[k]);
    last = std::max(last, firsts[k] + counts[k]);
  }
  Arrays.emplace_back(v, v + last);
  FORWARD(MultiDrawArrays(mode, v, firsts, counts, primitives));
}
void TRecordingSink::PushAttrib(GLbitfield mask) {
  Add(TGLOp::PushAttrib, {double(mask)});
  FORWARD(PushAttrib(mask));
}
void TRecordingSink::PopAttrib() {
  Add(TGLOp::PopAttrib);
  FORWARD(PopAttrib());
}
void TRecordingSink::ClearColor(float r, float g, float b, float a) {
  Add(TGLOp::ClearColor, {r, g, b, a});
  FORWARD(ClearColor(r, g, b, a));
}
void TRecordingSink::Clear(GLbitfield mask) {
  Add(TGLOp::Clear, {double(mask)});
  FORWARD(Clear(mask));
}
void TRecordingSink::Flush() {
  Add(TGLOp::Flush, {});
  FORWARD(Flush());
}
void TRecordingSink::Enable(GLenum cap) {
  Add(TGLOp::Enable, {double(cap)});
  FORWARD(Enable(cap));
}
void TRecordingSink::Disable(GLenum cap) {
  Add(TGLOp::Disable, {double(cap)});
  FORWARD(Disable(cap));
}
void TRecordingSink::BlendFunc(GLenum s, GLenum d) {
  Add(TGLOp::BlendFunc, {double(s), double(d)});
  FORWARD(BlendFunc(s, d));
}
void TRecordingSink::Hint(GLenum t, GLenum m) {
  Add(TGLOp::Hint, {double(t), double(m)});
  FORWARD(Hint(t, m));
}
void TRecordingSink::Viewport(int x, int y, int w, int h) {
  Add(TGLOp::Viewport, {double(x), double(y), double(w), double(h)});
  FORWARD(Viewport(x, y, w, h));
}
void TRecordingSink::MatrixMode(GLenum m) {
  Add(TGLOp::MatrixMode, {double(m)});
  FORWARD(MatrixMode(m));
}
void TRecordingSink::LoadIdentity() {
  Add(TGLOp::LoadIdentity);
  FORWARD(LoadIdentity());
}
void TRecordingSink::Ortho(double l, double r, double b, double t, double n, double f) {
  Add(TGLOp::Ortho, {l, r, b, t, n, f});
  FORWARD(Ortho(l, r, b, t, n, f));
}
void TRecordingSink::Perspective(double fy, double a, double n, double f) {
  Add(TGLOp::Perspective, {fy, a, n, f});
  FORWARD(Perspective(fy, a, n, f));
}
void TRecordingSink::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                            double ux, double uy, double uz) {
  Add(TGLOp::LookAt, {ex, ey, ez, cx, cy, cz, ux, uy, uz});
  FORWARD(LookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz));
}
