#include "app/GLWindowContext.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>

void TGLWindowContext::InitContext(QWindow* dc) {
  CreateContext(dc, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
  DoubleBuffer = true;
}

bool TGLWindowContext::CreateContext(QWindow* dc, uint32_t flags) {
  if (Active) return true;
  DC = dc;
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setProfile(QSurfaceFormat::CompatibilityProfile);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  format.setDepthBufferSize(24);
  format.setStencilBufferSize(0);
  format.setSwapBehavior((flags & PFD_DOUBLEBUFFER) ? QSurfaceFormat::DoubleBuffer
                                                    : QSurfaceFormat::SingleBuffer);
  // Frames are paced by drawing alone (the animation), not by the display.
  format.setSwapInterval(0);
  dc->setSurfaceType(QSurface::OpenGLSurface);
  dc->setFormat(format);
  dc->create();
  RC = std::make_unique<QOpenGLContext>();
  RC->setFormat(format);
  Active = RC->create() && RC->makeCurrent(dc);
  return Active;
}

bool TGLWindowContext::MakeCurrent(QWindow* dc) {
  if (!Active) return false;
  DC = dc;
  return RC->makeCurrent(dc);
}

bool TGLWindowContext::Present() {
  if (!Active || !DoubleBuffer) return false;
  // A window that is not on screen has nothing to show.
  if (!DC->isExposed()) return false;
  RC->swapBuffers(DC);
  return true;
}

bool WindowHasSize(QWindow* dc, int width, int height) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11) return true;
  xcb_connection_t* x = x11->connection();
  xcb_get_geometry_reply_t* g =
      xcb_get_geometry_reply(x, xcb_get_geometry(x, dc->winId()), nullptr);
  const bool same = g && g->width == width && g->height == height;
  std::free(g);
  return same;
}

void ReleaseCurrentContext(QWindow*) {
  if (QOpenGLContext* current = QOpenGLContext::currentContext()) current->doneCurrent();
}
