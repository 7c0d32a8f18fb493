#include "core/SurfacePick.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "core/NumberField.h"

namespace {

// Cells on a side of the smallest block.
constexpr int32_t kBlock = 8;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// A ray through an edge or a corner meets the triangle, rounding or not.
constexpr double kEdge = 1e-9;

// Where along the ray it meets triangle a, b, c (both faces), or infinity.
double MeetTriangle(const TRay& r, const TVec3& a, const TVec3& b, const TVec3& c) {
  const TVec3 e1 = Minus(b, a), e2 = Minus(c, a);
  const TVec3 p = Cross(r.Dir, e2);
  const double det = Dot(e1, p);
  if (det == 0 || !std::isfinite(det)) return kInfinity;
  const TVec3 s = Minus(r.From, a);
  const double u = Dot(s, p) / det;
  if (u < -kEdge || u > 1 + kEdge) return kInfinity;
  const TVec3 q = Cross(s, e1);
  const double v = Dot(r.Dir, q) / det;
  if (v < -kEdge || u + v > 1 + kEdge) return kInfinity;
  const double t = Dot(e2, q) / det;
  return t > 0 ? t : kInfinity;
}

// The stretch of the ray inside the box, as [enter, leave]; enter > leave when it misses.
std::pair<double, double> Slab(const TRay& r, const TVec3& lo, const TVec3& hi) {
  double enter = 0, leave = kInfinity;
  for (int k = 0; k < 3; ++k) {
    if (r.Dir[k] == 0) {
      if (r.From[k] < lo[k] || r.From[k] > hi[k]) return {1, 0};
      continue;
    }
    double t0 = (lo[k] - r.From[k]) / r.Dir[k], t1 = (hi[k] - r.From[k]) / r.Dir[k];
    if (t0 > t1) std::swap(t0, t1);
    enter = std::max(enter, t0);
    leave = std::min(leave, t1);
  }
  return {enter, leave};
}

}  // namespace

namespace {

// The shortest distance from the point's value of c to another value of c at a grid
// neighbour, holes aside; 0 where there is none.
double NeighbourStep(const TGridData& g, TGridIndex at, double TGridPoint::*c) {
  const TGridPoint& p = g.Grid[size_t(at.I)][size_t(at.J)];
  double step = 0;
  for (const auto& [di, dj] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
    const int32_t i = at.I + di, j = at.J + dj;
    if (i < 0 || j < 0 || i > g.GridHighI || j > g.GridHighJ) continue;
    const TGridPoint& n = g.Grid[size_t(i)][size_t(j)];
    const double d = std::fabs(n.*c - p.*c);
    if (!IsHole(n) && d > 0 && (step == 0 || d < step)) step = d;
  }
  return step;
}

}  // namespace

std::string PointLabel(const TGridData& g, TGridIndex at) {
  const TGridPoint& p = g.Grid[size_t(at.I)][size_t(at.J)];
  const auto text = [&](double TGridPoint::*c) {
    return DistinctText(p.*c, NeighbourStep(g, at, c), 7);
  };
  const std::string z = IsHole(p) ? "no value" : "z = " + text(&TGridPoint::Z);
  return "x = " + text(&TGridPoint::X) + "  y = " + text(&TGridPoint::Y) + "  " + z + "  [" +
         std::to_string(at.I) + ", " + std::to_string(at.J) + "]";
}

std::string PointCopyText(const TGridData& g, TGridIndex at) {
  const TGridPoint& p = g.Grid[size_t(at.I)][size_t(at.J)];
  if (IsHole(p)) return "";
  return ShortestText(p.X) + "," + ShortestText(p.Y) + "," + ShortestText(p.Z);
}

// Where a grid point lies in the space the camera maps, heights scaled or flat.
class TUnitSpace {
 public:
  TUnitSpace(const TKestoState& s, bool flat)
      : s_(s), space_(s), scale_(flat ? 0 : s.HeightScale) {}
  TVec3 operator()(int32_t i, int32_t j) const {
    const TGridPoint& p = s_.Grid[size_t(i)][size_t(j)];
    return space_.At(p.X, p.Y, p.Z, scale_);
  }
  double Scale() const { return scale_; }
  // The height of (i, j) in 0..1, before the height scale.
  double T(int32_t i, int32_t j) const { return space_.T(s_.Grid[size_t(i)][size_t(j)].Z); }
  bool Hole(int32_t i, int32_t j) const { return IsHole(s_.Grid[size_t(i)][size_t(j)]); }

 private:
  const TKestoState& s_;
  TGraphSpace space_;
  double scale_;
};

namespace {

constexpr TVec3 kNowhere{kInfinity, kInfinity, kInfinity};

// The box around the points of block (bi, bj): its cells' corners. Heights count only
// where they are not missing.
TSurfacePicker::TBox LeafBox(const TKestoState& s, const TUnitSpace& unit, int32_t bi, int32_t bj) {
  TSurfacePicker::TBox box{kNowhere, {-kInfinity, -kInfinity, -kInfinity}};
  for (int32_t i = bi * kBlock; i <= std::min(bi * kBlock + kBlock, s.GridHighI); ++i) {
    for (int32_t j = bj * kBlock; j <= std::min(bj * kBlock + kBlock, s.GridHighJ); ++j) {
      const TVec3 p = unit(i, j);
      for (int k = 0; k < 2; ++k) {
        box.Lo[k] = std::min(box.Lo[k], p[k]);
        box.Hi[k] = std::max(box.Hi[k], p[k]);
      }
      if (unit.Hole(i, j)) continue;
      const double t = unit.T(i, j);
      box.Lo[2] = std::min(box.Lo[2], t);
      box.Hi[2] = std::max(box.Hi[2], t);
    }
  }
  return box;
}

}  // namespace

TSurfacePicker::TSurfacePicker(const TKestoState& s) : highI_(s.GridHighI), highJ_(s.GridHighJ) {
  if (highI_ < 0 || highJ_ < 0) return;
  const TUnitSpace unit(s, false);
  TLevel leaves;
  leaves.Rows = std::max(1, (highI_ + kBlock - 1) / kBlock);
  leaves.Cols = std::max(1, (highJ_ + kBlock - 1) / kBlock);
  leaves.Boxes.reserve(size_t(leaves.Rows) * size_t(leaves.Cols));
  for (int32_t bi = 0; bi < leaves.Rows; ++bi)
    for (int32_t bj = 0; bj < leaves.Cols; ++bj) leaves.Boxes.push_back(LeafBox(s, unit, bi, bj));
  levels_.push_back(std::move(leaves));
  while (levels_.back().Rows > 1 || levels_.back().Cols > 1)
    levels_.push_back(Above(levels_.back()));
}

TSurfacePicker::TLevel TSurfacePicker::Above(const TLevel& below) {
  TLevel up;
  up.Rows = (below.Rows + 1) / 2;
  up.Cols = (below.Cols + 1) / 2;
  up.Boxes.assign(size_t(up.Rows) * size_t(up.Cols),
                  TBox{kNowhere, {-kInfinity, -kInfinity, -kInfinity}});
  for (int32_t r = 0; r < below.Rows; ++r) {
    for (int32_t c = 0; c < below.Cols; ++c) {
      const TBox& from = below.Boxes[size_t(r) * size_t(below.Cols) + size_t(c)];
      TBox& to = up.Boxes[size_t(r / 2) * size_t(up.Cols) + size_t(c / 2)];
      for (int k = 0; k < 3; ++k) {
        to.Lo[k] = std::min(to.Lo[k], from.Lo[k]);
        to.Hi[k] = std::max(to.Hi[k], from.Hi[k]);
      }
    }
  }
  return up;
}

// Visits the boxes the ray meets, nearest first, and the cells of the blocks it
// reaches, keeping the first meeting with the surface.
class TSurfacePicker::TRayWalk {
 public:
  TRayWalk(const TSurfacePicker& p, const TUnitSpace& unit, bool flat, const TRay& ray)
      : p_(p), unit_(unit), flat_(flat), ray_(ray) {}

  void Box(size_t level, int32_t r, int32_t c) {
    const TLevel& l = p_.levels_[level];
    const auto [enter, leave] = Enter(l.Boxes[size_t(r) * size_t(l.Cols) + size_t(c)]);
    if (enter > leave || enter >= best_) return;
    if (level == 0) {
      Cells(r, c);
      return;
    }
    const TLevel& below = p_.levels_[level - 1];
    std::array<std::pair<double, std::pair<int32_t, int32_t>>, 4> next;
    size_t n = 0;
    for (int32_t cr = 2 * r; cr < std::min(2 * r + 2, below.Rows); ++cr)
      for (int32_t cc = 2 * c; cc < std::min(2 * c + 2, below.Cols); ++cc) {
        const auto [e, l2] = Enter(below.Boxes[size_t(cr) * size_t(below.Cols) + size_t(cc)]);
        if (e <= l2) next[n++] = {e, {cr, cc}};
      }
    // Nearest first: a few boxes, in place.
    for (size_t k = 1; k < n; ++k)
      for (size_t m = k; m > 0 && next[m].first < next[m - 1].first; --m)
        std::swap(next[m], next[m - 1]);
    for (size_t k = 0; k < n; ++k) Box(level - 1, next[k].second.first, next[k].second.second);
  }

  std::optional<TGridIndex> Corner() const {
    if (best_ == kInfinity) return std::nullopt;
    const TVec3 at{ray_.From[0] + best_ * ray_.Dir[0], ray_.From[1] + best_ * ray_.Dir[1],
                   ray_.From[2] + best_ * ray_.Dir[2]};
    TGridIndex nearest = cell_;
    double closest = kInfinity;
    for (const auto& [di, dj] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
      const TVec3 d = Minus(unit_(cell_.I + di, cell_.J + dj), at);
      // In the flat view a missing height has a place but no height.
      const double distance = d[0] * d[0] + d[1] * d[1] + (flat_ ? 0 : d[2] * d[2]);
      if (distance < closest) closest = distance, nearest = {cell_.I + di, cell_.J + dj};
    }
    return nearest;
  }

 private:
  std::pair<double, double> Enter(const TBox& b) const {
    if (flat_) return Slab(ray_, {b.Lo[0], b.Lo[1], 0}, {b.Hi[0], b.Hi[1], 0});
    if (b.Lo[2] > b.Hi[2]) return {1, 0};  // missing heights only
    return Slab(ray_, {b.Lo[0], b.Lo[1], b.Lo[2] * unit_.Scale()},
                {b.Hi[0], b.Hi[1], b.Hi[2] * unit_.Scale()});
  }

  void Cells(int32_t r, int32_t c) {
    for (int32_t i = r * kBlock; i < std::min(r * kBlock + kBlock, p_.highI_); ++i) {
      for (int32_t j = c * kBlock; j < std::min(c * kBlock + kBlock, p_.highJ_); ++j) {
        if (!flat_ && (unit_.Hole(i, j) || unit_.Hole(i + 1, j) || unit_.Hole(i + 1, j + 1) ||
                       unit_.Hole(i, j + 1)))
          continue;
        TVec3 a = unit_(i, j), b = unit_(i + 1, j), cc = unit_(i + 1, j + 1), d = unit_(i, j + 1);
        if (flat_) a[2] = b[2] = cc[2] = d[2] = 0;
        // As a polygon of four corners is filled: two triangles about the first.
        const double t = std::min(MeetTriangle(ray_, a, b, cc), MeetTriangle(ray_, a, cc, d));
        if (t < best_) best_ = t, cell_ = {i, j};
      }
    }
  }

  const TSurfacePicker& p_;
  const TUnitSpace& unit_;
  bool flat_;
  TRay ray_;
  double best_ = kInfinity;
  TGridIndex cell_;
};

std::optional<TGridIndex> TSurfacePicker::CellCorner(const TKestoState& s,
                                                     const TViewCamera& camera, double x,
                                                     double y) const {
  if (levels_.empty() || s.GridHighI != highI_ || s.GridHighJ != highJ_) return std::nullopt;
  const TUnitSpace unit(s, camera.Flat());
  TRayWalk walk(*this, unit, camera.Flat(), camera.RayThrough(x, y));
  walk.Box(levels_.size() - 1, 0, 0);
  return walk.Corner();
}

// Visits the boxes whose picture comes within the radius of the window point, and the
// points of the blocks it reaches, keeping the nearest marker.
class TSurfacePicker::TMarkerWalk {
 public:
  TMarkerWalk(const TSurfacePicker& p, const TUnitSpace& unit, const TViewCamera& camera, double x,
              double y, double radius)
      : p_(p), unit_(unit), camera_(camera), x_(x), y_(y), best_(radius) {}

  void Box(size_t level, int32_t r, int32_t c) {
    const TLevel& l = p_.levels_[level];
    const TBox& b = l.Boxes[size_t(r) * size_t(l.Cols) + size_t(c)];
    if (b.Lo[2] > b.Hi[2] || Away(b) > best_) return;
    if (level == 0) {
      Points(r, c);
      return;
    }
    const TLevel& below = p_.levels_[level - 1];
    for (int32_t cr = 2 * r; cr < std::min(2 * r + 2, below.Rows); ++cr)
      for (int32_t cc = 2 * c; cc < std::min(2 * c + 2, below.Cols); ++cc) Box(level - 1, cr, cc);
  }

  std::optional<TGridIndex> Found() const { return found_; }

 private:
  // How far the box's picture is from the window point; 0 when it reaches behind the eye.
  double Away(const TBox& b) const {
    double left = kInfinity, right = -kInfinity, top = kInfinity, bottom = -kInfinity;
    for (int k = 0; k < 8; ++k) {
      const TVec3 corner{(k & 1) ? b.Hi[0] : b.Lo[0], (k & 2) ? b.Hi[1] : b.Lo[1],
                         ((k & 4) ? b.Hi[2] : b.Lo[2]) * unit_.Scale()};
      double px = 0, py = 0, depth = 0;
      if (!camera_.Project(corner, px, py, depth)) return 0;
      left = std::min(left, px), right = std::max(right, px);
      top = std::min(top, py), bottom = std::max(bottom, py);
    }
    return std::hypot(std::max({left - x_, 0.0, x_ - right}),
                      std::max({top - y_, 0.0, y_ - bottom}));
  }

  void Points(int32_t r, int32_t c) {
    for (int32_t i = r * kBlock; i <= std::min(r * kBlock + kBlock, p_.highI_); ++i) {
      for (int32_t j = c * kBlock; j <= std::min(c * kBlock + kBlock, p_.highJ_); ++j) {
        double px = 0, py = 0, depth = 0;
        if (unit_.Hole(i, j) || !camera_.Project(unit_(i, j), px, py, depth)) continue;
        const double d = std::hypot(px - x_, py - y_);
        if (d < best_ || (d == best_ && found_ && depth < depth_))
          best_ = d, depth_ = depth, found_ = TGridIndex{i, j};
      }
    }
  }

  const TSurfacePicker& p_;
  const TUnitSpace& unit_;
  const TViewCamera& camera_;
  double x_, y_, best_, depth_ = kInfinity;
  std::optional<TGridIndex> found_;
};

std::optional<TGridIndex> TSurfacePicker::Marker(const TKestoState& s, const TViewCamera& camera,
                                                 double x, double y, double radius) const {
  if (levels_.empty() || s.GridHighI != highI_ || s.GridHighJ != highJ_) return std::nullopt;
  const TUnitSpace unit(s, camera.Flat());
  TMarkerWalk walk(*this, unit, camera, x, y, radius);
  walk.Box(levels_.size() - 1, 0, 0);
  return walk.Found();
}
