// Framebuffer objects are not in the OpenGL 1.1 headers; the library has them.
#define GL_GLEXT_PROTOTYPES
#include "render/FrameStore.h"

#include <GL/glext.h>

#include "render/GLVersion.h"

namespace {

void Copy(GLuint from, GLuint to, int w, int h) {
  glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
  if (from == 0) glReadBuffer(GL_BACK);
  if (to == 0) glDrawBuffer(GL_BACK);
  glBlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace

void TFrameStore::Keep(int w, int h) {
  // Framebuffer objects are OpenGL 3.0: without them no frame is kept, and every
  // frame is drawn.
  if (usable_ < 0) usable_ = ContextHasVersion(3, 0);
  if (!usable_) return;
  if (!framebuffer_) {
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(1, &renderbuffer_);
  }
  if (w != width_ || h != height_) {
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    width_ = w;
    height_ = h;
  }
  Copy(0, framebuffer_, w, h);
}

bool TFrameStore::Restore(int w, int h) {
  if (!framebuffer_ || w != width_ || h != height_) return false;
  Copy(framebuffer_, 0, w, h);
  return true;
}

void TFrameStore::Release() {
  if (!framebuffer_) return;
  glDeleteFramebuffers(1, &framebuffer_);
  glDeleteRenderbuffers(1, &renderbuffer_);
  framebuffer_ = renderbuffer_ = 0;
  width_ = height_ = 0;
}

bool FrameFillsWindow(int w, int h) {
  // A window buffer smaller than the frame (the driver has not yet seen the window's
  // new size) leaves the corner unread: depth is never negative.
  GLfloat depth = -1.0f;
  glReadPixels(w - 1, h - 1, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  return depth >= 0.0f;
}
