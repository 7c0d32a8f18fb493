#include "core/Hillshade.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

using TVec = std::array<double, 3>;

class TNeighbours {
 public:
  TNeighbours(const TGrid& grid, int32_t highI, int32_t highJ, const TShadeScale& scale)
      : grid_(grid), highI_(highI), highJ_(highJ), scale_(scale) {}

  // Both slopes at once where the point's eight neighbours are all there: most points.
  bool Whole(int32_t i, int32_t j, TVec& alongI, TVec& alongJ) const {
    if (i < 1 || j < 1 || i >= highI_ || j >= highJ_) return false;
    const auto row = size_t(i);
    const TGridPoint* rows[3] = {grid_[row - 1].data() + j, grid_[row].data() + j,
                                 grid_[row + 1].data() + j};
    for (const TGridPoint* row : rows)
      if (IsHole(row[-1]) || IsHole(row[0]) || IsHole(row[1])) return false;
    const auto weighted = [](const TGridPoint& a, const TGridPoint& b, const TGridPoint& c,
                             double TGridPoint::*v) { return a.*v + 2 * b.*v + c.*v; };
    const double scale[3] = {scale_.X, scale_.Y, scale_.Z};
    double TGridPoint::*const field[3] = {&TGridPoint::X, &TGridPoint::Y, &TGridPoint::Z};
    for (size_t k = 0; k < 3; ++k) {
      const double ahead = weighted(rows[2][-1], rows[2][0], rows[2][1], field[k]);
      const double back = weighted(rows[0][-1], rows[0][0], rows[0][1], field[k]);
      const double right = weighted(rows[0][1], rows[1][1], rows[2][1], field[k]);
      const double left = weighted(rows[0][-1], rows[1][-1], rows[2][-1], field[k]);
      alongI[k] = (ahead - back) / 8 * scale[k];
      alongJ[k] = (right - left) / 8 * scale[k];
    }
    return true;
  }

  // The surface's slope at (i, j) along direction (di, dj), in stretched coordinates,
  // per grid step; false where no difference can be taken.
  bool Tangent(int32_t i, int32_t j, int32_t di, int32_t dj, TVec& out) const {
    TVec sum{};
    double weights = 0;
    for (int32_t side = -1; side <= 1; ++side) {
      // The row beside the point, across the direction.
      const int32_t ri = i + side * dj, rj = j + side * di;
      TVec d{};
      if (!Difference(ri, rj, di, dj, d)) continue;
      const double w = side == 0 ? 2 : 1;
      for (size_t k = 0; k < 3; ++k) sum[k] += w * d[k];
      weights += w;
    }
    if (weights == 0) return false;
    for (size_t k = 0; k < 3; ++k) out[k] = sum[k] / weights;
    return true;
  }

 private:
  bool Valid(int32_t i, int32_t j) const {
    return i >= 0 && j >= 0 && i <= highI_ && j <= highJ_ && !IsHole(grid_[size_t(i)][size_t(j)]);
  }
  TVec At(int32_t i, int32_t j) const {
    const TGridPoint& p = grid_[size_t(i)][size_t(j)];
    return {p.X * scale_.X, p.Y * scale_.Y, p.Z * scale_.Z};
  }
  // Central where both neighbours are there, else from the point to the one that is.
  bool Difference(int32_t i, int32_t j, int32_t di, int32_t dj, TVec& d) const {
    const bool back = Valid(i - di, j - dj), ahead = Valid(i + di, j + dj);
    if (back && ahead) {
      const TVec a = At(i + di, j + dj), b = At(i - di, j - dj);
      for (size_t k = 0; k < 3; ++k) d[k] = (a[k] - b[k]) / 2;
      return true;
    }
    if (!Valid(i, j) || !(back || ahead)) return false;
    const TVec c = At(i, j), o = back ? At(i - di, j - dj) : At(i + di, j + dj);
    for (size_t k = 0; k < 3; ++k) d[k] = back ? c[k] - o[k] : o[k] - c[k];
    return true;
  }

  const TGrid& grid_;
  int32_t highI_, highJ_;
  TShadeScale scale_;
};

}  // namespace

TLight LightFrom(double azimuth, double altitude) {
  const double az = azimuth * std::numbers::pi / 180, alt = altitude * std::numbers::pi / 180;
  return {std::sin(az) * std::cos(alt), std::cos(az) * std::cos(alt), std::sin(alt)};
}

double Hillshade(const TGrid& grid, int32_t highI, int32_t highJ, int32_t i, int32_t j,
                 const TLight& light, const TShadeScale& scale) {
  const TNeighbours n(grid, highI, highJ, scale);
  TVec a{}, b{};
  TVec normal{0, 0, 1};
  if (n.Whole(i, j, a, b) || (n.Tangent(i, j, 1, 0, a) && n.Tangent(i, j, 0, 1, b))) {
    normal = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double length = std::hypot(normal[0], normal[1], normal[2]);
    // Facing up, whichever way the grid's directions turn.
    const double sign = normal[2] < 0 ? -1 : 1;
    if (length > 0)
      for (double& c : normal) c *= sign / length;
    else
      normal = {0, 0, 1};
  }
  const double lit = normal[0] * light.X + normal[1] * light.Y + normal[2] * light.Z;
  return lit > 0 ? lit : 0;
}

TColorTriple ShadeColor(const TColorTriple& c, double shade, bool multiply) {
  const auto blend = [&](double v) {
    const double a = v / 255;
    if (multiply) return a * shade * 255;
    // The soft-light of the compositing standard, the shade as the top layer.
    if (shade <= 0.5) return (a - (1 - 2 * shade) * a * (1 - a)) * 255;
    const double d = a <= 0.25 ? ((16 * a - 12) * a + 4) * a : std::sqrt(a);
    return (a + (2 * shade - 1) * (d - a)) * 255;
  };
  return {blend(c.R), blend(c.G), blend(c.B)};
}
