#pragma once

#include "render/GLSink.h"

// Passes every call on to the next sink; a subclass changes what it needs and may
// do something before each call that it passes on.
class TGLForwardingSink : public TGLSink {
 public:
  explicit TGLForwardingSink(TGLSink& next) : next_(next) {}

#define KESTO_GL_FORWARD(name, params, args) \
  void name params override {                \
    Passing();                               \
    next_.name args;                         \
  }
  KESTO_GL_SINK_CALLS(KESTO_GL_FORWARD)
#undef KESTO_GL_FORWARD

 protected:
  virtual void Passing() {}
  TGLSink& next_;
};
