#pragma once

#include <new>

#include "render/ForwardingSink.h"

// Passes calls on, but for the one after the first `before`, which fails as a driver
// short of memory would.
class TFailingSink final : public TGLForwardingSink {
 public:
  TFailingSink(TGLSink& next, int before) : TGLForwardingSink(next), left_(before) {}
  bool Failed() const { return left_ < 0; }

 protected:
  void Passing() override {
    if (left_-- == 0) throw std::bad_alloc();
  }

 private:
  int left_;
};
