#pragma once

#include <QOpenGLContext>
#include <QWindow>
#include <cstdint>
#include <memory>

// Pixel-format flags as the window system names them; the graph window asks for
// a double-buffered window surface that OpenGL can draw to.
constexpr uint32_t PFD_DOUBLEBUFFER = 0x01;
constexpr uint32_t PFD_DRAW_TO_WINDOW = 0x04;
constexpr uint32_t PFD_SUPPORT_OPENGL = 0x20;

// Binds one OpenGL rendering context to a window. The window plays the part of the
// device context: the surface the context is made current on and swapped.
class TGLWindowContext {
 public:
  QWindow* DC = nullptr;
  std::unique_ptr<QOpenGLContext> RC;
  bool Active = false;
  bool DoubleBuffer = false;

  // Creates the context for double-buffered drawing to the window.
  void InitContext(QWindow* dc);
  // RGBA with a depth buffer, double-buffered when the flags ask for it; true when
  // the new context could be made current (it is left current then).
  bool CreateContext(QWindow* dc, uint32_t flags);
  bool MakeCurrent(QWindow* dc);
  bool Present();
};

// Whether the window system holds the window at width x height pixels: the size the
// driver gives the window's buffer when a frame starts. On X a size the toolkit already
// reports may still wait for the window manager; elsewhere the toolkit sizes the buffer.
bool WindowHasSize(QWindow* dc, int width, int height);

// Releases whatever context is current on this thread.
void ReleaseCurrentContext(QWindow* dc);
