#include "kesto-render/HeadlessGL.h"

#include <EGL/eglext.h>

THeadlessGL::~THeadlessGL() {
  if (display_ == EGL_NO_DISPLAY) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_ != EGL_NO_CONTEXT) eglDestroyContext(display_, context_);
  if (surface_ != EGL_NO_SURFACE) eglDestroySurface(display_, surface_);
  // The display is not terminated: that would unload the driver in the middle of
  // the process, and the next context would load it again. It is the same display
  // for every context of the process anyway.
}

bool THeadlessGL::Create(int width, int height) {
  auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) return error_ = "EGL has no platform displays", false;
  display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
    display_ = EGL_NO_DISPLAY;
    return error_ = "the surfaceless EGL platform is not available", false;
  }
  const EGLint configAttribs[] = {EGL_SURFACE_TYPE,
                                  EGL_PBUFFER_BIT,
                                  EGL_RED_SIZE,
                                  8,
                                  EGL_GREEN_SIZE,
                                  8,
                                  EGL_BLUE_SIZE,
                                  8,
                                  EGL_ALPHA_SIZE,
                                  8,
                                  EGL_DEPTH_SIZE,
                                  24,
                                  EGL_RENDERABLE_TYPE,
                                  EGL_OPENGL_BIT,
                                  EGL_NONE};
  EGLConfig config;
  EGLint count = 0;
  if (!eglChooseConfig(display_, configAttribs, &config, 1, &count) || count < 1)
    return error_ = "no RGBA configuration with a depth buffer", false;
  const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  surface_ = eglCreatePbufferSurface(display_, config, surfaceAttribs);
  if (surface_ == EGL_NO_SURFACE) return error_ = "cannot create an off-screen buffer", false;
  eglBindAPI(EGL_OPENGL_API);
  const EGLint contextAttribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                   EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttribs);
  if (context_ == EGL_NO_CONTEXT) return error_ = "cannot create an OpenGL context", false;
  if (!eglMakeCurrent(display_, surface_, surface_, context_))
    return error_ = "cannot make the OpenGL context current", false;
  return true;
}
