#include "render/GLRecorder.h"

#include <algorithm>

void TGLRecording::Replay(TGLSink& gl) const {
  for (const TGLCall& c : Calls) {
    const auto& a = c.A;
    const auto e = [&a](size_t k) { return GLenum(a[k]); };
    const auto f = [&a](size_t k) { return float(a[k]); };
    const auto i = [&a](size_t k) { return int(a[k]); };
    switch (c.Op) {
      case TGLOp::NewList:
        gl.NewList(GLuint(a[0]));
        break;
      case TGLOp::EndList:
        gl.EndList();
        break;
      case TGLOp::CallList:
        gl.CallList(GLuint(a[0]));
        break;
      case TGLOp::DeleteLists:
        gl.DeleteLists(GLuint(a[0]), i(1));
        break;
      case TGLOp::LineWidth:
        gl.LineWidth(f(0));
        break;
      case TGLOp::DrawArrays: {
        const auto& v = Arrays[size_t(a[2])];
        gl.DrawArrays(e(0), v.data(), int(v.size()));
        break;
      }
      case TGLOp::MultiDrawArrays: {
        const size_t k = size_t(a[2]);
        gl.MultiDrawArrays(e(0), Arrays[k].data(), Firsts[k].data(), Counts[k].data(),
                           int(Firsts[k].size()));
        break;
      }
      case TGLOp::PushAttrib:
        gl.PushAttrib(GLbitfield(a[0]));
        break;
      case TGLOp::PopAttrib:
        gl.PopAttrib();
        break;
      case TGLOp::ClearColor:
        gl.ClearColor(f(0), f(1), f(2), f(3));
        break;
      case TGLOp::Clear:
        gl.Clear(GLbitfield(a[0]));
        break;
      case TGLOp::Flush:
        gl.Flush();
        break;
      case TGLOp::Enable:
        gl.Enable(e(0));
        break;
      case TGLOp::Disable:
        gl.Disable(e(0));
        break;
      case TGLOp::BlendFunc:
        gl.BlendFunc(e(0), e(1));
        break;
      case TGLOp::Hint:
        gl.Hint(e(0), e(1));
        break;
      case TGLOp::Viewport:
        gl.Viewport(i(0), i(1), i(2), i(3));
        break;
      case TGLOp::MatrixMode:
        gl.MatrixMode(e(0));
        break;
      case TGLOp::LoadIdentity:
        gl.LoadIdentity();
        break;
      case TGLOp::Ortho:
        gl.Ortho(a[0], a[1], a[2], a[3], a[4], a[5]);
        break;
      case TGLOp::Perspective:
        gl.Perspective(a[0], a[1], a[2], a[3]);
        break;
      case TGLOp::LookAt:
        gl.LookAt(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
        break;
    }
  }
}

#define FORWARD(call) \
  if (forward_) forward_->call

void TGLRecorder::NewList(GLuint list) {
  Add(TGLOp::NewList, {double(list)});
  FORWARD(NewList(list));
}
void TGLRecorder::EndList() {
  Add(TGLOp::EndList);
  FORWARD(EndList());
}
void TGLRecorder::CallList(GLuint list) {
  Add(TGLOp::CallList, {double(list)});
  FORWARD(CallList(list));
}
void TGLRecorder::DeleteLists(GLuint first, int count) {
  Add(TGLOp::DeleteLists, {double(first), double(count)});
  FORWARD(DeleteLists(first, count));
}
void TGLRecorder::LineWidth(float w) {
  Add(TGLOp::LineWidth, {w});
  FORWARD(LineWidth(w));
}
void TGLRecorder::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  Add(TGLOp::DrawArrays, {double(mode), double(count), double(Arrays.size())});
  Arrays.emplace_back(v, v + count);
  Firsts.emplace_back();
  Counts.emplace_back();
  FORWARD(DrawArrays(mode, v, count));
}
void TGLRecorder::MultiDrawArrays(GLenum mode, const TArrayVertex* v, const GLint* firsts,
                                  const GLsizei* counts, int primitives) {
  Add(TGLOp::MultiDrawArrays, {double(mode), double(primitives), double(Arrays.size())});
  int last = 0;
  for (int k = 0; k < primitives; ++k) last = std::max(last, firsts[k] + counts[k]);
  Arrays.emplace_back(v, v + last);
  Firsts.emplace_back(firsts, firsts + primitives);
  Counts.emplace_back(counts, counts + primitives);
  FORWARD(MultiDrawArrays(mode, v, firsts, counts, primitives));
}
void TGLRecorder::PushAttrib(GLbitfield mask) {
  Add(TGLOp::PushAttrib, {double(mask)});
  FORWARD(PushAttrib(mask));
}
void TGLRecorder::PopAttrib() {
  Add(TGLOp::PopAttrib);
  FORWARD(PopAttrib());
}
void TGLRecorder::ClearColor(float r, float g, float b, float a) {
  Add(TGLOp::ClearColor, {r, g, b, a});
  FORWARD(ClearColor(r, g, b, a));
}
void TGLRecorder::Clear(GLbitfield mask) {
  Add(TGLOp::Clear, {double(mask)});
  FORWARD(Clear(mask));
}
void TGLRecorder::Flush() {
  Add(TGLOp::Flush, {});
  FORWARD(Flush());
}
void TGLRecorder::Enable(GLenum cap) {
  Add(TGLOp::Enable, {double(cap)});
  FORWARD(Enable(cap));
}
void TGLRecorder::Disable(GLenum cap) {
  Add(TGLOp::Disable, {double(cap)});
  FORWARD(Disable(cap));
}
void TGLRecorder::BlendFunc(GLenum s, GLenum d) {
  Add(TGLOp::BlendFunc, {double(s), double(d)});
  FORWARD(BlendFunc(s, d));
}
void TGLRecorder::Hint(GLenum t, GLenum m) {
  Add(TGLOp::Hint, {double(t), double(m)});
  FORWARD(Hint(t, m));
}
void TGLRecorder::Viewport(int x, int y, int w, int h) {
  Add(TGLOp::Viewport, {double(x), double(y), double(w), double(h)});
  FORWARD(Viewport(x, y, w, h));
}
void TGLRecorder::MatrixMode(GLenum m) {
  Add(TGLOp::MatrixMode, {double(m)});
  FORWARD(MatrixMode(m));
}
void TGLRecorder::LoadIdentity() {
  Add(TGLOp::LoadIdentity);
  FORWARD(LoadIdentity());
}
void TGLRecorder::Ortho(double l, double r, double b, double t, double n, double f) {
  Add(TGLOp::Ortho, {l, r, b, t, n, f});
  FORWARD(Ortho(l, r, b, t, n, f));
}
void TGLRecorder::Perspective(double fovy, double aspect, double zNear, double zFar) {
  Add(TGLOp::Perspective, {fovy, aspect, zNear, zFar});
  FORWARD(Perspective(fovy, aspect, zNear, zFar));
}
void TGLRecorder::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                         double ux, double uy, double uz) {
  Add(TGLOp::LookAt, {ex, ey, ez, cx, cy, cz, ux, uy, uz});
  FORWARD(LookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz));
}
