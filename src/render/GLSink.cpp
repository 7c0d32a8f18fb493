// glMultiDrawArrays is OpenGL 1.4 and fence syncs 3.2, beyond the 1.1 headers; the
// library has them. A context below 1.4 draws the same primitives one by one, one
// below 3.2 flushes without waiting.
#define GL_GLEXT_PROTOTYPES
#include "render/GLSink.h"

#include <GL/glext.h>
#include <GL/glu.h>

#include "render/GLVersion.h"

void TGLDirectSink::NewList(GLuint list) { glNewList(list, GL_COMPILE); }
void TGLDirectSink::EndList() { glEndList(); }
void TGLDirectSink::CallList(GLuint list) { glCallList(list); }
void TGLDirectSink::DeleteLists(GLuint first, int count) { glDeleteLists(first, count); }
void TGLDirectSink::LineWidth(float width) { glLineWidth(width); }
namespace {

// Runs draw with the vertex and colour arrays of v enabled.
template <class Draw>
void WithArrays(const TArrayVertex* v, Draw draw) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(TArrayVertex), &v->X);
  glColorPointer(3, GL_FLOAT, sizeof(TArrayVertex), &v->R);
  draw();
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace

void TGLDirectSink::DrawArrays(GLenum mode, const TArrayVertex* v, int count) {
  WithArrays(v, [&] { glDrawArrays(mode, 0, count); });
}
void TGLDirectSink::MultiDrawArrays(GLenum mode, const TArrayVertex* v, const GLint* firsts,
                                    const GLsizei* counts, int primitives) {
  if (multiDraw_ < 0) multiDraw_ = ContextHasVersion(1, 4);
  WithArrays(v, [&] {
    if (multiDraw_) {
      glMultiDrawArrays(mode, firsts, counts, primitives);
      return;
    }
    for (int k = 0; k < primitives; ++k) glDrawArrays(mode, firsts[k], counts[k]);
  });
}
void TGLDirectSink::PushAttrib(GLbitfield mask) { glPushAttrib(mask); }
void TGLDirectSink::PopAttrib() { glPopAttrib(); }
void TGLDirectSink::ClearColor(float r, float g, float b, float a) { glClearColor(r, g, b, a); }
void TGLDirectSink::Clear(GLbitfield mask) { glClear(mask); }
namespace {

void WaitAndDelete(GLsync& fence) {
  if (!fence) return;
  glClientWaitSync(fence, 0, GL_TIMEOUT_IGNORED);
  glDeleteSync(fence);
  fence = nullptr;
}

}  // namespace

void TGLDirectSink::Flush() {
  glFlush();
  // Left to itself, the rasteriser queues the scenes handed to it while this thread
  // makes more, each holding what it binned of its primitives: how many depends on
  // how fast each side runs, and a 1000² mesh's peak varied by 0.7x the points. Waiting
  // only for the scene before last still lets it work while this thread makes the next.
  if (fences_ < 0) fences_ = ContextHasVersion(3, 2);
  if (!fences_) return;
  WaitAndDelete(handed_[0]);
  handed_[0] = handed_[1];
  handed_[1] = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
}

void TGLDirectSink::Release() {
  for (GLsync& fence : handed_) WaitAndDelete(fence);
}
void TGLDirectSink::Enable(GLenum cap) { glEnable(cap); }
void TGLDirectSink::Disable(GLenum cap) { glDisable(cap); }
void TGLDirectSink::BlendFunc(GLenum src, GLenum dst) { glBlendFunc(src, dst); }
void TGLDirectSink::Hint(GLenum target, GLenum mode) { glHint(target, mode); }
void TGLDirectSink::Viewport(int x, int y, int width, int height) {
  glViewport(x, y, width, height);
}
void TGLDirectSink::MatrixMode(GLenum mode) { glMatrixMode(mode); }
void TGLDirectSink::LoadIdentity() { glLoadIdentity(); }
void TGLDirectSink::Ortho(double l, double r, double b, double t, double n, double f) {
  glOrtho(l, r, b, t, n, f);
}
void TGLDirectSink::Perspective(double fovy, double aspect, double zNear, double zFar) {
  gluPerspective(fovy, aspect, zNear, zFar);
}
void TGLDirectSink::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                           double ux, double uy, double uz) {
  gluLookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
}

void TGLDirectSink::Finish() { glFinish(); }
