#pragma once

#include <array>
#include <vector>

#include "render/GLSink.h"

// What the builders draw with: a primitive's corners given one at a time, each with
// the colour last set, handed to the sink as one array draw when the primitive ends.
class TCornerPen {
 public:
  explicit TCornerPen(TGLSink& gl) : gl_(gl) {}
  TGLSink& Sink() const { return gl_; }

  void Color(float r, float g, float b) { color_ = {r, g, b}; }
  void Begin(GLenum mode) {
    mode_ = mode;
    corners_.clear();
  }
  void Vertex(double x, double y, double z = 0) {
    corners_.push_back({float(x), float(y), float(z), color_[0], color_[1], color_[2]});
  }
  void End() { gl_.DrawArrays(mode_, corners_.data(), int(corners_.size())); }

 private:
  TGLSink& gl_;
  std::array<float, 3> color_{1.0f, 1.0f, 1.0f};
  GLenum mode_ = 0;
  std::vector<TArrayVertex> corners_;
};
