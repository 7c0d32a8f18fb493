#pragma once

#include <array>

#include "core/Grid.h"

using TVec3 = std::array<double, 3>;

// The graph's own space, where the lists, the picking, the axes and the labels all
// place data: x, y and z each from its range to 0..1, heights then times the height
// scale (0 for the flat view).
class TGraphSpace {
 public:
  explicit TGraphSpace(const TGridData& s)
      : low_{s.XMin, s.YMin, s.ZMin}, span_{s.XMax - s.XMin, s.YMax - s.YMin, s.ZMax - s.ZMin} {}
  // Value v of coordinate k (x, y, z) in 0..1 over its range; for z, before the
  // height scale: where its colour lies too.
  double Along(int k, double v) const { return (v - low_[k]) / span_[k]; }
  double X(double x) const { return Along(0, x); }
  double Y(double y) const { return Along(1, y); }
  double T(double z) const { return Along(2, z); }
  TVec3 At(double x, double y, double z, double heightScale) const {
    return {X(x), Y(y), T(z) * heightScale};
  }

 private:
  std::array<double, 3> low_, span_;
};
