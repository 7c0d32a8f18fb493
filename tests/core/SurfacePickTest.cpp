#include "core/SurfacePick.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "render/TestGrids.h"

namespace {

constexpr int kW = 640, kH = 480;

// Two ridges across x, the nearer lower: 0.5 high at i = 8, 1 high at i = 14.
double TwoRidges(int i, int) {
  return std::max({0.0, 0.5 - 0.25 * std::abs(i - 8), 1.0 - 0.5 * std::abs(i - 14)});
}

void Sample(TKestoState&) {}
void Ridges(TKestoState& s) { SetGrid(s, 21, 3, TwoRidges); }
void WithHole(TKestoState& s) {
  SetGrid(s, 6, 6, [](int i, int j) { return i == 2 && j == 3 ? NAN : i * j; });
}

struct TPickCase {
  const char* What;
  std::function<void(TKestoState&)> Grid;
  int32_t DrawMode, SurfaceMode;
  double Tilt, Turn;
  TGridIndex Aim;  // the point whose picture the pointer is put on...
  double Dx, Dy;   // ...and this far beside it
  std::optional<TGridIndex> Found;
};

TEST(SurfacePick, FindsThePointThePointerIsOn) {
  const TPickCase cases[] = {
      {"flat, inside", Sample, 0, 0, 45, 160, {20, 30}, 0, 0, TGridIndex{20, 30}},
      {"flat, nearest corner", Sample, 0, 1, 45, 160, {20, 30}, 3, -2, TGridIndex{20, 30}},
      {"flat, a missing height", WithHole, 0, 1, 45, 160, {2, 3}, 10, 10, TGridIndex{2, 3}},
      {"flat, beyond the edge", WithHole, 0, 0, 45, 160, {0, 0}, -30, 0, std::nullopt},
      {"3-D, middle", Sample, 1, 0, 45, 160, {25, 25}, 0, 0, TGridIndex{25, 25}},
      {"3-D, far corner", Sample, 1, 1, 45, 160, {0, 0}, 0, 0, TGridIndex{0, 0}},
      {"3-D, near corner", Sample, 1, 1, 60, 30, {0, 0}, 0, 0, TGridIndex{0, 0}},
      {"3-D, from below", Sample, 1, 1, 150, 250, {10, 40}, 0, 0, TGridIndex{10, 40}},
      {"3-D, beside the surface", Sample, 1, 0, 45, 160, {0, 0}, -40, 0, std::nullopt},
      {"3-D, through the gap of a missing height",
       WithHole,
       1,
       1,
       10,
       160,
       {2, 3},
       0,
       0,
       std::nullopt},
      {"over the near ridge onto the far one",
       Ridges,
       1,
       1,
       85,
       270,
       {14, 1},
       0,
       0,
       TGridIndex{14, 1}},
      {"the near ridge hides the foot behind it",
       Ridges,
       1,
       1,
       85,
       270,
       {10, 1},
       0,
       0,
       TGridIndex{6, 1}},
      {"markers: the nearest within reach",
       WithHole,
       0,
       2,
       45,
       160,
       {4, 1},
       3,
       3,
       TGridIndex{4, 1}},
      {"markers: none within reach", WithHole, 0, 2, 45, 160, {4, 1}, 20, 20, std::nullopt},
      {"markers: none at a missing height", WithHole, 0, 2, 45, 160, {2, 3}, 0, 0, std::nullopt},
      {"markers in 3-D", Sample, 1, 2, 45, 160, {30, 12}, 1, 1, TGridIndex{30, 12}},
  };
  for (const TPickCase& c : cases) {
    TKestoState s;
    c.Grid(s);
    s.DrawMode = c.DrawMode, s.SurfaceMode = c.SurfaceMode, s.Angle2 = c.Tilt, s.Angle3 = c.Turn;
    const TViewCamera camera(s, kW, kH);
    const TGridPoint& p = s.Grid[size_t(c.Aim.I)][size_t(c.Aim.J)];
    const double t = IsHole(p) ? 0 : (p.Z - s.ZMin) / (s.ZMax - s.ZMin);
    double x = 0, y = 0, depth = 0;
    ASSERT_TRUE(camera.Project(
        {(p.X - s.XMin) / (s.XMax - s.XMin), (p.Y - s.YMin) / (s.YMax - s.YMin), t * s.HeightScale},
        x, y, depth))
        << c.What;
    const TSurfacePicker picker(s);
    const auto found = c.SurfaceMode == kSurfaceMarkers
                           ? picker.Marker(s, camera, x + c.Dx, y + c.Dy, 6)
                           : picker.CellCorner(s, camera, x + c.Dx, y + c.Dy);
    EXPECT_EQ(found, c.Found) << c.What
                              << (found ? ": found " + std::to_string(found->I) + "," +
                                              std::to_string(found->J)
                                        : ": found none");
  }
}

// The walk through the boxes finds what a look at every cell of the grid finds.
TEST(SurfacePick, TheBoxesFindWhatEveryCellFinds) {
  TKestoState s;
  s.Grid[7][9].Z = NAN;  // a gap in the sample surface
  const TSurfacePicker picker(s);
  for (const auto& [tilt, turn] : {std::pair{45.0, 160.0}, {20, 0}, {80, 100}, {150, 200}}) {
    s.Angle2 = tilt, s.Angle3 = turn;
    const TViewCamera camera(s, kW, kH);
    for (int px = 0; px < kW; px += 23) {
      for (int py = 0; py < kH; py += 17) {
        const TRay r = camera.RayThrough(px, py);
        // Every triangle of every cell: where the ray meets its plane, if inside it.
        double best = std::numeric_limits<double>::infinity();
        std::optional<TGridIndex> cell;
        const auto at = [&](int i, int j) {
          const TGridPoint& g = s.Grid[size_t(i)][size_t(j)];
          return TVec3{(g.X - s.XMin) / (s.XMax - s.XMin), (g.Y - s.YMin) / (s.YMax - s.YMin),
                       (g.Z - s.ZMin) / (s.ZMax - s.ZMin) * s.HeightScale};
        };
        for (int i = 0; i < s.GridHighI; ++i) {
          for (int j = 0; j < s.GridHighJ; ++j) {
            const TVec3 a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            for (const auto& [p, q, o] : {std::array{a, b, c}, std::array{a, c, d}}) {
              const TVec3 u{q[0] - p[0], q[1] - p[1], q[2] - p[2]};
              const TVec3 v{o[0] - p[0], o[1] - p[1], o[2] - p[2]};
              const TVec3 n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                            u[0] * v[1] - u[1] * v[0]};
              const double along = n[0] * r.Dir[0] + n[1] * r.Dir[1] + n[2] * r.Dir[2];
              const double k = (n[0] * (p[0] - r.From[0]) + n[1] * (p[1] - r.From[1]) +
                                n[2] * (p[2] - r.From[2])) /
                               along;
              if (!(k > 0 && k < best)) continue;  // NaN for a gap, parallel or behind
              const TVec3 h{r.From[0] + k * r.Dir[0] - p[0], r.From[1] + k * r.Dir[1] - p[1],
                            r.From[2] + k * r.Dir[2] - p[2]};
              // Inside when on the inner side of all three edges, seen along the normal.
              const auto side = [&](const TVec3& e, const TVec3& f) {
                return n[0] * (e[1] * f[2] - e[2] * f[1]) + n[1] * (e[2] * f[0] - e[0] * f[2]) +
                       n[2] * (e[0] * f[1] - e[1] * f[0]);
              };
              const TVec3 hq{h[0] - u[0], h[1] - u[1], h[2] - u[2]};
              const TVec3 vu{v[0] - u[0], v[1] - u[1], v[2] - u[2]};
              if (side(u, h) >= 0 && side(h, v) >= 0 && side(vu, hq) >= 0)
                best = k, cell = TGridIndex{i, j};
            }
          }
        }
        const auto found = picker.CellCorner(s, camera, px, py);
        ASSERT_EQ(found.has_value(), cell.has_value())
            << tilt << " " << turn << " " << px << "," << py;
        if (!cell) continue;
        // The corner found belongs to the cell every look finds.
        EXPECT_TRUE(found->I - cell->I >= 0 && found->I - cell->I <= 1 && found->J - cell->J >= 0 &&
                    found->J - cell->J <= 1)
            << tilt << " " << turn << " " << px << "," << py;
      }
    }
  }
}

TEST(SurfacePick, LabelAndCopyText) {
  TKestoState s;
  SetGrid(s, 3, 3, [](int i, int j) { return i == 1 && j == 1 ? NAN : 0.1 + i * j / 3.0; });
  s.Grid[2][2].X = 1234567.89;
  EXPECT_EQ(PointLabel(s, {2, 2}), "x = 1234568  y = 2  z = 1.433333  [2, 2]");
  EXPECT_EQ(PointLabel(s, {1, 1}), "x = 1  y = 1  no value  [1, 1]");
  EXPECT_EQ(PointCopyText(s, {2, 2}), "1234567.89,2,1.4333333333333333");
  EXPECT_EQ(PointCopyText(s, {1, 1}), "");
  // Digits beyond seven where rounding would move a number by a step of the grid's:
  // cell centres of a 25 m grid in UTM, heights a centimetre apart.
  SetGrid(s, 2, 2, [](int i, int j) { return 1234.56 + 0.01 * (i + j); });
  for (TGridRow& row : s.Grid)
    for (TGridPoint& p : row) p = {350012.5 + 25 * p.X, 6717812.5 + 25 * p.Y, p.Z};
  EXPECT_EQ(PointLabel(s, {0, 1}), "x = 350012.5  y = 6717837.5  z = 1234.57  [0, 1]");
  s.Grid[1][1].Z = 1234.5678;
  EXPECT_EQ(PointLabel(s, {1, 1}), "x = 350037.5  y = 6717837.5  z = 1234.5678  [1, 1]");
}

}  // namespace
