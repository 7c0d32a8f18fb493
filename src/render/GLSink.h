#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>

// One corner of an array draw: its position and its colour.
struct TArrayVertex {
  float X, Y, Z, R, G, B;
  bool operator==(const TArrayVertex&) const = default;
};

// Every call of the sink interface, once: its name, its parameters and its arguments
// as passed on. The array draws come first; the others' arguments are plain numbers.
// The interface, the direct sink, the recorder and the forwarding sink are all
// declared from these lists, so a call added here is a call of each of them.
#define KESTO_GL_ARRAY_CALLS(X)                                                                  \
  X(DrawArrays, (GLenum mode, const TArrayVertex* vertices, int count), (mode, vertices, count)) \
  X(MultiDrawArrays,                                                                             \
    (GLenum mode, const TArrayVertex* vertices, const GLint* firsts, const GLsizei* counts,      \
     int primitives),                                                                            \
    (mode, vertices, firsts, counts, primitives))
#define KESTO_GL_PLAIN_CALLS(X)                                                              \
  X(NewList, (GLuint list), (list))                                                          \
  X(EndList, (), ())                                                                         \
  X(CallList, (GLuint list), (list))                                                         \
  X(DeleteLists, (GLuint first, int count), (first, count))                                  \
  X(LineWidth, (float width), (width))                                                       \
  X(PushAttrib, (GLbitfield mask), (mask))                                                   \
  X(PopAttrib, (), ())                                                                       \
  X(ClearColor, (float r, float g, float b, float a), (r, g, b, a))                          \
  X(Clear, (GLbitfield mask), (mask))                                                        \
  X(Flush, (), ())                                                                           \
  X(Enable, (GLenum cap), (cap))                                                             \
  X(Disable, (GLenum cap), (cap))                                                            \
  X(BlendFunc, (GLenum src, GLenum dst), (src, dst))                                         \
  X(Hint, (GLenum target, GLenum mode), (target, mode))                                      \
  X(Viewport, (int x, int y, int width, int height), (x, y, width, height))                  \
  X(MatrixMode, (GLenum mode), (mode))                                                       \
  X(LoadIdentity, (), ())                                                                    \
  X(Ortho, (double l, double r, double b, double t, double n, double f), (l, r, b, t, n, f)) \
  X(Perspective, (double fovy, double aspect, double zNear, double zFar),                    \
    (fovy, aspect, zNear, zFar))                                                             \
  X(LookAt,                                                                                  \
    (double ex, double ey, double ez, double cx, double cy, double cz, double ux, double uy, \
     double uz),                                                                             \
    (ex, ey, ez, cx, cy, cz, ux, uy, uz))
#define KESTO_GL_SINK_CALLS(X) KESTO_GL_ARRAY_CALLS(X) KESTO_GL_PLAIN_CALLS(X)

#define KESTO_GL_PURE(name, params, args) virtual void name params = 0;
#define KESTO_GL_OVERRIDE(name, params, args) void name params override;

// The one narrow layer through which list builders and frames talk to OpenGL, so
// that a test can record exactly what a list or a frame holds. DrawArrays: the
// primitives of mode over count corners, as glDrawArrays draws them from a position
// and a colour array; MultiDrawArrays: one primitive of mode for each run of
// counts[k] corners from firsts[k].
class TGLSink {
 public:
  virtual ~TGLSink() = default;
  KESTO_GL_SINK_CALLS(KESTO_GL_PURE)
};

// Forwards every call to the current OpenGL context.
class TGLDirectSink final : public TGLSink {
 public:
  // Flush hands the work so far to the rasteriser, then waits until it has done what
  // was handed to it two Flushes before: it holds the scenes of the last two at most.
  KESTO_GL_SINK_CALLS(KESTO_GL_OVERRIDE)
  // Returns once the context has carried out every call made so far: what one context
  // compiled is complete before a context that shares its lists replays them.
  void Finish();
  // Frees what the sink keeps in the current context (the marks of the last Flushes).
  void Release();

 private:
  int multiDraw_ = -1;  // whether the context has glMultiDrawArrays; -1: not asked yet
  int fences_ = -1;     // whether it has fence syncs (OpenGL 3.2); -1: not asked yet
  // The ends of the work the last two Flushes handed over, the older first.
  std::array<struct __GLsync*, 2> handed_{};
};
