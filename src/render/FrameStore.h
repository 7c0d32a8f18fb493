#pragma once

#include <GL/gl.h>

// A copy of the last finished frame, kept off screen in the current context, so that
// the same picture can be put on the window again without drawing it: a window's
// back buffer is undefined after a swap.
class TFrameStore {
 public:
  // Copies the back buffer's width x height pixels.
  void Keep(int width, int height);
  // Copies the kept frame into the back buffer; false when none of that size is kept.
  bool Restore(int width, int height);
  // Frees the copy; the context that kept it is current.
  void Release();

 private:
  GLuint framebuffer_ = 0, renderbuffer_ = 0;
  int width_ = 0, height_ = 0;
  int usable_ = -1;  // whether the context has framebuffer objects; -1: not asked yet
};

// Whether the window's buffer holds all of a width x height frame just drawn.
bool FrameFillsWindow(int width, int height);
