#pragma once

#include <EGL/egl.h>

// An OpenGL compatibility context on an off-screen buffer, with no display at all
// (Mesa's surfaceless platform): for rendering pictures from a script and tests.
class THeadlessGL {
 public:
  THeadlessGL() = default;
  THeadlessGL(const THeadlessGL&) = delete;
  THeadlessGL& operator=(const THeadlessGL&) = delete;
  ~THeadlessGL();

  // Creates the context with an RGBA pbuffer and a depth buffer and makes it
  // current; false with the reason in Error() when that is not possible.
  bool Create(int width, int height);
  const char* Error() const { return error_; }

 private:
  EGLDisplay display_ = EGL_NO_DISPLAY;
  EGLSurface surface_ = EGL_NO_SURFACE;
  EGLContext context_ = EGL_NO_CONTEXT;
  const char* error_ = "";
};
