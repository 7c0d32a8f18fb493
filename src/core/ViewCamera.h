#pragma once

#include "core/GraphSpace.h"
#include "core/ViewState.h"

inline TVec3 Minus(const TVec3& a, const TVec3& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
inline double Dot(const TVec3& a, const TVec3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
inline TVec3 Cross(const TVec3& a, const TVec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A ray in the unit space of the graph lists: x and y of the data in 0..1, heights
// in 0..HeightScale.
struct TRay {
  TVec3 From, Dir;
};

// The mapping a frame of the current view makes between the graph's unit space and
// the window's pixels (top-left origin), worked out without OpenGL: the flat view's
// stretched square, or the 3-D view's perspective and camera.
class TViewCamera {
 public:
  TViewCamera(const TKestoState& s, int width, int height);
  // Whether heights are drawn flat (the 2-D view).
  bool Flat() const { return flat_; }
  // The ray from the eye through window point (x, y), toward the scene.
  TRay RayThrough(double x, double y) const;
  // Where p shows in the window, and how far in front of the eye; false behind it.
  bool Project(const TVec3& p, double& x, double& y, double& depth) const;

 private:
  bool flat_;
  double width_, height_;
  double half_ = 0;  // the flat view's half-size
  TVec3 eye_{}, side_{}, up_{}, forward_{};
  double focal_ = 1;  // cot of half the field of view
};
