#include "core/ViewCamera.h"

#include <cmath>
#include <numbers>

#include "core/Angles.h"

namespace {

TVec3 Normal(const TVec3& a) {
  const double n = std::sqrt(Dot(a, a));
  return {a[0] / n, a[1] / n, a[2] / n};
}

// The frame's perspective: 10 degrees high, the window's aspect ignored.
constexpr double kFieldOfView = 10;

}  // namespace

TViewCamera::TViewCamera(const TKestoState& s, int width, int height)
    : flat_(s.DrawMode != kDrawMode3D), width_(width), height_(height) {
  if (flat_) {
    half_ = s.Distance / 10;
    return;
  }
  // As the frame places its camera: the program's own pi for the angles, the
  // library's for the field of view.
  const double a2 = Radians(s.Angle2), a3 = Radians(s.Angle3);
  eye_ = {std::sin(a2) * std::sin(a3) * s.Distance + 0.5,
          std::sin(a2) * std::cos(a3) * s.Distance + 0.5, std::cos(a2) * s.Distance};
  forward_ = Normal(Minus({0.5, 0.5, s.HeightScale / 2}, eye_));
  side_ = Normal(Cross(forward_, {0, 0, 1000}));
  up_ = Cross(side_, forward_);
  focal_ = 1 / std::tan(kFieldOfView / 2 * std::numbers::pi / 180);
}

TRay TViewCamera::RayThrough(double x, double y) const {
  const double nx = 2 * x / width_ - 1, ny = 1 - 2 * y / height_;
  if (flat_) return {{0.5 + nx * half_, 0.5 + ny * half_, 1}, {0, 0, -1}};
  const double sx = nx / focal_, sy = ny / focal_;
  return {eye_,
          {forward_[0] + sx * side_[0] + sy * up_[0], forward_[1] + sx * side_[1] + sy * up_[1],
           forward_[2] + sx * side_[2] + sy * up_[2]}};
}

bool TViewCamera::Project(const TVec3& p, double& x, double& y, double& depth) const {
  double nx = 0, ny = 0;
  if (flat_) {
    nx = (p[0] - 0.5) / half_;
    ny = (p[1] - 0.5) / half_;
    depth = 0;
  } else {
    const TVec3 d = Minus(p, eye_);
    depth = Dot(d, forward_);
    if (!(depth > 0)) return false;
    nx = focal_ * Dot(d, side_) / depth;
    ny = focal_ * Dot(d, up_) / depth;
  }
  x = (nx + 1) / 2 * width_;
  y = (1 - ny) / 2 * height_;
  return true;
}
