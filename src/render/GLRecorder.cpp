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

// The plain calls record their arguments and pass the call on. (name is the call's
// name, which no parentheses can enclose.)
#define KESTO_GL_RECORD(name, params, args)                            \
  void TGLRecorder::name params {                                      \
    Record<TGLOp::name> args; /* NOLINT(bugprone-macro-parentheses) */ \
    if (forward_) forward_->name args;                                 \
  }
KESTO_GL_PLAIN_CALLS(KESTO_GL_RECORD)
#undef KESTO_GL_RECORD

void TGLRecorder::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  Add(TGLOp::DrawArrays, {double(mode), double(count), double(Arrays.size())});
  Arrays.emplace_back(v, v + count);
  Firsts.emplace_back();
  Counts.emplace_back();
  if (forward_) forward_->DrawArrays(mode, v, count);
}
void TGLRecorder::MultiDrawArrays(GLenum mode, const TArrayVertex* v, const GLint* firsts,
                                  const GLsizei* counts, int primitives) {
  Add(TGLOp::MultiDrawArrays, {double(mode), double(primitives), double(Arrays.size())});
  int last = 0;
  for (int k = 0; k < primitives; ++k) last = std::max(last, firsts[k] + counts[k]);
  Arrays.emplace_back(v, v + last);
  Firsts.emplace_back(firsts, firsts + primitives);
  Counts.emplace_back(counts, counts + primitives);
  if (forward_) forward_->MultiDrawArrays(mode, v, firsts, counts, primitives);
}
