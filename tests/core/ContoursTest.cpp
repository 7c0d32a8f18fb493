#include "core/Contours.h"
#include "core/ViewState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <tuple>

namespace {

// An n x n grid with x = i and y = j.
TGrid Lattice(int n, const std::function<double(double, double)>& z) {
  TGrid g(size_t(n), TGridRow(size_t(n), TGridPoint{}));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) g[size_t(i)][size_t(j)] = {double(i), double(j), z(i, j)};
  return g;
}

using TPoints = std::vector<std::pair<double, double>>;

std::vector<TPoints> Lines(const TGrid& g, double level) {
  std::vector<TPoints> out;
  const auto n = int32_t(g.size()) - 1;
  const TContours found = TraceContours(g, n, n, {{level, false}});
  for (const TContourLine& line : found.Lines) {
    TPoints points;
    for (const TGridPoint& p : found.PointsOf(line)) {
      EXPECT_EQ(p.Z, level);
      points.emplace_back(p.X, p.Y);
    }
    out.push_back(points);
  }
  return out;
}

TEST(Contours, KnownLinesOfSmallGrids) {
  const auto plane = [](double x, double) { return x; };
  const auto nan = std::nan("");
  struct TCase {
    const char* Name;
    TGrid Grid;
    double Level;
    std::vector<TPoints> Lines;
  } cases[] = {
      {"a plane: one straight line at the exact place",
       Lattice(4, plane),
       1.5,
       {{{1.5, 0}, {1.5, 1}, {1.5, 2}, {1.5, 3}}}},
      {"a level through grid points: they count below it",
       Lattice(4, plane),
       1,
       {{{1, 0}, {1, 1}, {1, 2}, {1, 3}}}},
      {"a hole: the triangle beside it keeps its part",
       Lattice(5, [&](double x, double y) { return x == 2 && y == 2 ? nan : x; }),
       1.5,
       {{{1.5, 0}, {1.5, 1}}, {{1.5, 2.5}, {1.5, 3}, {1.5, 4}}}},
      {"a saddle whose middle is above: the low corners cut off",
       {{{0, 0, 3}, {0, 1, -1}}, {{1, 0, -1}, {1, 1, 3}}},
       0,
       {{{0.75, 0}, {1, 0.25}}, {{0.25, 1}, {0, 0.75}}}},
      {"a saddle whose middle is on the level: the high corners cut off",
       {{{0, 0, 1}, {0, 1, -1}}, {{1, 0, -1}, {1, 1, 1}}},
       0,
       {{{0.5, 0}, {0, 0.5}}, {{0.5, 1}, {1, 0.5}}}},
      {"a flat grid", Lattice(3, [](double, double) { return 0.0; }), 0, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<TPoints> got = Lines(c.Grid, c.Level);
    // Either direction of a line is the same line.
    for (TPoints& line : got)
      if (line.front() > line.back()) std::reverse(line.begin(), line.end());
    std::vector<TPoints> want = c.Lines;
    for (TPoints& line : want)
      if (line.front() > line.back()) std::reverse(line.begin(), line.end());
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
  }
}

TEST(Contours, AConeGivesOneClosedCircleThroughTheExactCrossings) {
  const auto cone = [](double x, double y) { return std::hypot(x - 2, y - 2); };
  const TGrid g = Lattice(5, cone);
  const TContours found = TraceContours(g, 4, 4, {{1.5, true}});
  ASSERT_EQ(found.Lines.size(), 1u);
  EXPECT_TRUE(found.Lines[0].Closed && found.Lines[0].Index);
  EXPECT_EQ(found.Lines[0].Count, 12u);
  for (const TGridPoint& p : found.PointsOf(found.Lines[0])) {
    // On an edge of the lattice, where the heights of its ends interpolate to the level.
    const bool alongY = p.X == std::floor(p.X);
    const double a = alongY ? std::floor(p.Y) : std::floor(p.X);
    const double t = (alongY ? p.Y : p.X) - a;
    const double za = alongY ? cone(p.X, a) : cone(a, p.Y);
    const double zb = alongY ? cone(p.X, a + 1) : cone(a + 1, p.Y);
    EXPECT_NEAR(za + t * (zb - za), 1.5, 1e-12);
  }
}

TContourSpec Spec(int32_t count, double interval = 0, double offset = 0,
                  std::vector<double> list = {}) {
  return {count, interval, offset, std::move(list)};
}

TEST(Contours, LevelsByCountIntervalOrList) {
  const auto values = [](const std::vector<TContourLevel>& levels) {
    std::vector<std::pair<double, bool>> v;
    for (const TContourLevel& l : levels) v.emplace_back(l.Value, l.Index);
    return v;
  };
  using V = std::vector<std::pair<double, bool>>;
  EXPECT_EQ(values(ContourLevels(Spec(4), -1, 1)), (V{{-0.5, false}, {0, true}, {0.5, false}}));
  EXPECT_EQ(values(ContourLevels(Spec(3), 0.05, 0.95)), (V{{0.5, false}}));
  EXPECT_EQ(ContourLevels(Spec(10), 0, 1).size(), 9u);
  EXPECT_EQ(ContourLevels(Spec(10), 3, 3).size(), 0u);
  EXPECT_EQ(values(ContourLevels(Spec(10, 0.25, 0.1), 0, 1)),
            (V{{0.1, true}, {0.35, false}, {0.6, false}, {0.85, false}}));
  EXPECT_EQ(values(ContourLevels(Spec(10, 0, 0, {0.5, 2, 0.25, 0.5}), 0, 1)),
            (V{{0.25, true}, {0.5, true}}));
  EXPECT_THROW(ContourLevels(Spec(10, 1e-9), 0, 1), std::runtime_error);
  // The viewer, given such an interval in a settings file, shows the round levels.
  TKestoState s;
  s.ContourLevels = 4, s.ContourInterval = 1e-9, s.ZMin = -1, s.ZMax = 1;
  EXPECT_EQ(values(ContourLevelsOf(s)), (V{{-0.5, false}, {0, true}, {0.5, false}}));
}

TEST(Contours, TracedInTurnsAsInOne) {
  TKestoState s;
  s.Grid = Lattice(30, [](double x, double y) { return std::sin(x / 3) * std::cos(y / 4); });
  s.GridHighI = s.GridHighJ = 29, s.ZMin = -1, s.ZMax = 1, s.ContourLevels = 10;
  TContourCache cache;
  int turns = 1;
  const TContours* lines = nullptr;
  while (!(lines = cache.For(s, [] { return false; }))) ++turns;
  const TContours whole = TraceContours(s.Grid, 29, 29, ContourLevelsOf(s));
  EXPECT_GT(turns, 29);
  ASSERT_EQ(lines->Lines.size(), whole.Lines.size());
  EXPECT_TRUE(std::equal(lines->Points.begin(), lines->Points.end(), whole.Points.begin(),
                         whole.Points.end(), [](const TGridPoint& a, const TGridPoint& b) {
                           return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
                         }));
}

TEST(Contours, WrittenLinesReadBack) {
  const TGrid g = Lattice(3, [](double x, double y) { return x + y / 8; });
  const TContours lines = TraceContours(g, 2, 2, {{0.5, false}, {1.5, true}});
  std::ostringstream out;
  WriteContours(out, lines);
  std::istringstream in(out.str());
  std::string word;
  size_t line = 0, point = 0;
  for (std::string text; std::getline(in, text);) {
    std::istringstream fields(text);
    if (text.empty()) {
      ++line, point = 0;
    } else if (fields >> word && word == "level") {
      double level = 0;
      fields >> level;
      EXPECT_EQ(level, lines.Lines.at(line).Level);
    } else {
      TGridPoint p{std::stod(word)};
      fields >> p.Y >> p.Z;
      const TGridPoint& q = lines.PointsOf(lines.Lines.at(line))[point++];
      EXPECT_EQ(std::tie(p.X, p.Y, p.Z), std::tie(q.X, q.Y, q.Z));
    }
  }
  EXPECT_EQ(line + 1, lines.Lines.size());
}

}  // namespace
