#include "core/Contours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "core/NumberField.h"
#include "core/ViewState.h"

namespace {

// More levels than this cannot be told apart in a picture.
constexpr int64_t kMostLevels = 1000;

// 1, 2 or 5 x 10^k, the smallest not below step.
double RoundStep(double step) {
  const double decade = std::pow(10.0, std::floor(std::log10(step)));
  for (const double m : {1.0, 2.0, 5.0, 10.0})
    if (m * decade >= step) return m * decade;
  return 10 * decade;
}

// offset + k x step for the whole k that put it strictly inside low..high.
std::vector<TContourLevel> Steps(double low, double high, double step, double offset,
                                 int64_t indexEvery) {
  const double first = std::floor((low - offset) / step);
  const double last = std::ceil((high - offset) / step);
  if (last - first > double(kMostLevels) + 2)
    throw std::runtime_error("the contour interval " + ShortestText(step) + " gives more than " +
                             std::to_string(kMostLevels) + " levels between " + ShortestText(low) +
                             " and " + ShortestText(high));
  std::vector<TContourLevel> levels;
  for (auto k = int64_t(first); k <= int64_t(last); ++k) {
    const double v = offset + double(k) * step;
    if (v > low && v < high) levels.push_back({v, k % indexEvery == 0});
  }
  return levels;
}

// Where the grid's points and edges are, and each point's place among the levels.
class TTracer {
 public:
  TTracer(const TGrid& grid, int32_t highI, int32_t highJ, const std::vector<double>& levels)
      : grid_(grid), rows_(highI + 1), cols_(highJ + 1), levels_(levels) {
    band_.resize(size_t(rows_) * size_t(cols_));
    for (int32_t i = 0; i < rows_; ++i)
      for (int32_t j = 0; j < cols_; ++j) {
        const double z = grid[size_t(i)][size_t(j)].Z;
        // How many levels lie below the point: one equal to it counts as above it.
        band_[Point(i, j)] =
            std::isnan(z)
                ? kHole
                : uint16_t(std::lower_bound(levels.begin(), levels.end(), z) - levels.begin());
      }
    // Each row of cells' lowest and highest band, so that a level passes over the rows
    // it does not cross at a glance.
    rowRange_.resize(size_t(rows_ - 1));
    for (int32_t i = 0; i + 1 < rows_; ++i) {
      const auto row = band_.begin() + std::ptrdiff_t(Point(i, 0));
      const auto [lo, hi] = std::minmax_element(row, row + 2 * std::ptrdiff_t(cols_));
      rowRange_[size_t(i)] = {*lo, *hi};
    }
    owner_.assign(2 * band_.size(), -1);
  }

  void Trace(size_t level, bool index, TContours& out) {
    level_ = level;
    ends_.clear();
    at_.clear();
    const auto k = uint16_t(level);
    for (int32_t i = 0; i + 1 < rows_; ++i) {
      if (const auto [lo, hi] = rowRange_[size_t(i)]; k < lo || k >= hi) continue;
      const uint16_t* top = &band_[Point(i, 0)];
      const uint16_t* bottom = top + cols_;
      for (int32_t j = 0; j + 1 < cols_; ++j) {
        const auto [lo, hi] = std::minmax({top[j], top[j + 1], bottom[j], bottom[j + 1]});
        if (lo <= k && k < hi) CellLines(i, j, hi);
      }
    }
    Join(index, out);
  }

 private:
  static constexpr uint16_t kHole = std::numeric_limits<uint16_t>::max();
  // A segment's end: a linkable edge (>= 0) or, below 0, the diagonal of a cell, where
  // a line always ends (the other triangle of that cell has a hole).
  using TEnd = int64_t;
  enum TCorner { A, B, C, D };  // (i, j), (i + 1, j), (i + 1, j + 1), (i, j + 1)

  size_t Point(int32_t i, int32_t j) const { return size_t(i) * size_t(cols_) + size_t(j); }
  // The edge from (i, j) to (i + 1, j), and from (i, j) to (i, j + 1).
  TEnd EdgeI(int32_t i, int32_t j) const { return TEnd(Point(i, j)); }
  TEnd EdgeJ(int32_t i, int32_t j) const { return TEnd(band_.size() + Point(i, j)); }
  TEnd Diagonal(int32_t i, int32_t j) const { return -1 - TEnd(Point(i, j)); }
  bool Above(size_t point) const { return band_[point] > level_; }

  void CellLines(int32_t i, int32_t j, uint16_t highest) {
    const std::array<size_t, 4> p = {Point(i, j), Point(i + 1, j), Point(i + 1, j + 1),
                                     Point(i, j + 1)};
    if (highest == kHole) return HoleCell(i, j, p);
    // The edges in turn round the cell, each after the corner it starts from.
    const std::array<TEnd, 4> edge = {EdgeI(i, j), EdgeJ(i + 1, j), EdgeI(i, j + 1), EdgeJ(i, j)};
    const std::array<bool, 4> up = {Above(p[A]), Above(p[B]), Above(p[C]), Above(p[D])};
    if (up[A] == up[C] && up[B] == up[D]) {
      // A saddle: the corners unlike the cell's middle are each cut off on their own.
      double mean = 0;
      for (const size_t q : p) mean += Z(q) / 4;
      const bool middleUp = mean > levels_[level_];
      for (const int corner : {A, B, C, D})
        if (up[size_t(corner)] != middleUp)
          Add(edge[size_t((corner + 3) % 4)], edge[size_t(corner)]);
      return;
    }
    std::array<TEnd, 2> cut{};
    int n = 0;
    for (size_t k = 0; k < 4; ++k)
      if (up[k] != up[(k + 1) % 4]) cut[size_t(n++)] = edge[k];
    Add(cut[0], cut[1]);
  }

  // A cell with a hole: of its two triangles either side of the diagonal A-C, the one
  // without a hole still has its lines.
  void HoleCell(int32_t i, int32_t j, const std::array<size_t, 4>& p) {
    const auto hole = [&](TCorner c) { return band_[p[c]] == kHole; };
    if (hole(A) || hole(C) || (hole(B) && hole(D))) return;
    const bool lower = !hole(B);  // A B C, else A C D
    const size_t side = lower ? p[B] : p[D];
    const std::array<TEnd, 3> edge =
        lower ? std::array<TEnd, 3>{EdgeI(i, j), EdgeJ(i + 1, j), Diagonal(i, j)}
              : std::array<TEnd, 3>{Diagonal(i, j), EdgeI(i, j + 1), EdgeJ(i, j)};
    const std::array<bool, 3> up = lower
                                       ? std::array<bool, 3>{Above(p[A]), Above(side), Above(p[C])}
                                       : std::array<bool, 3>{Above(p[A]), Above(p[C]), Above(side)};
    std::array<TEnd, 2> cut{};
    int n = 0;
    for (size_t k = 0; k < 3; ++k)
      if (up[k] != up[(k + 1) % 3]) cut[size_t(n++)] = edge[k];
    if (n == 2) Add(cut[0], cut[1]);
  }

  void Add(TEnd from, TEnd to) {
    ends_.push_back({from, to});
    at_.push_back({Crossing(from), Crossing(to)});
  }

  double Z(size_t point) const { return grid_[point / size_t(cols_)][point % size_t(cols_)].Z; }

  // Where the level crosses an edge: always worked from the edge's first point, so the
  // two cells that share it give the same point. Worked out as the segments are found,
  // while their rows are at hand.
  TGridPoint Crossing(TEnd end) const {
    size_t from = 0, to = 0;
    const auto cols = size_t(cols_);
    if (end < 0) {
      from = size_t(-1 - end);
      to = from + cols + 1;
    } else if (size_t(end) < band_.size()) {
      from = size_t(end);
      to = from + cols;
    } else {
      from = size_t(end) - band_.size();
      to = from + 1;
    }
    const TGridPoint& p = grid_[from / cols][from % cols];
    const TGridPoint& q = grid_[to / cols][to % cols];
    const double level = levels_[level_];
    const double t = (level - p.Z) / (q.Z - p.Z);
    return {p.X + t * (q.X - p.X), p.Y + t * (q.Y - p.Y), level};
  }

  // The segments of this level joined end to end into lines.
  void Join(bool index, TContours& out) {
    Link();
    const size_t n = ends_.size();
    done_.assign(n, false);
    // Open lines from one of their ends, then what is left: closed ones.
    for (size_t slot = 0; slot < 2 * n; ++slot)
      if (next_[slot] < 0 && !done_[slot / 2]) Walk(slot, index, out);
    for (size_t s = 0; s < n; ++s)
      if (!done_[s]) Walk(2 * s, index, out);
  }

  // next_[2s + e]: the other segment's end on the edge where end e of segment s lies.
  void Link() {
    const size_t n = ends_.size();
    next_.assign(2 * n, -1);
    for (size_t slot = 0; slot < 2 * n; ++slot) {
      const TEnd edge = ends_[slot / 2][slot % 2];
      if (edge < 0) continue;
      int32_t& first = owner_[size_t(edge)];
      if (first < 0) {
        first = int32_t(slot);
      } else {
        next_[slot] = first;
        next_[size_t(first)] = int32_t(slot);
      }
    }
    for (const auto& segment : ends_)
      for (const TEnd edge : segment)
        if (edge >= 0) owner_[size_t(edge)] = -1;
  }

  // The line that starts at end start: segment after segment until an open end, or back
  // at the start.
  void Walk(size_t start, bool index, TContours& out) {
    TContourLine line{levels_[level_], index, false, out.Points.size(), 0};
    for (size_t slot = start;;) {
      const size_t s = slot / 2, e = slot % 2;
      done_[s] = true;
      out.Points.push_back(at_[s][e]);
      const int32_t after = next_[2 * s + 1 - e];
      if (after == int32_t(start)) {
        line.Closed = true;
        break;
      }
      if (after < 0) {
        out.Points.push_back(at_[s][1 - e]);
        break;
      }
      slot = size_t(after);
    }
    line.Count = out.Points.size() - line.First;
    out.Lines.push_back(line);
  }

  const TGrid& grid_;
  int32_t rows_, cols_;
  const std::vector<double>& levels_;
  std::vector<uint16_t> band_;
  std::vector<std::pair<uint16_t, uint16_t>> rowRange_;  // by row of cells
  std::vector<int32_t> owner_;  // by edge: the first segment end seen on it, or -1
  std::vector<std::array<TEnd, 2>> ends_;
  std::vector<std::array<TGridPoint, 2>> at_;  // where each segment's ends are
  std::vector<int32_t> next_;
  std::vector<bool> done_;
  size_t level_ = 0;
};

}  // namespace

std::vector<TContourLevel> ContourLevels(const TContourSpec& spec, double low, double high) {
  if (!(high > low)) return {};
  if (!spec.List.empty()) {
    std::vector<TContourLevel> levels;
    std::vector<double> sorted = spec.List;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (const double v : sorted)
      if (v > low && v < high) levels.push_back({v, true});
    if (levels.size() > size_t(kMostLevels)) levels.resize(size_t(kMostLevels));
    return levels;
  }
  if (spec.Interval > 0) return Steps(low, high, spec.Interval, spec.Offset, 5);
  if (spec.Count < 1) return {};
  const double count = double(std::min<int64_t>(spec.Count, kMostLevels));
  return Steps(low, high, RoundStep((high - low) / count), 0, 2);
}

TContours TraceContours(const TGrid& grid, int32_t highI, int32_t highJ,
                        const std::vector<TContourLevel>& levels) {
  TContours out;
  if (levels.empty() || highI < 1 || highJ < 1) return out;
  std::vector<double> values;
  values.reserve(levels.size());
  for (const TContourLevel& l : levels) values.push_back(l.Value);
  TTracer tracer(grid, highI, highJ, values);
  for (size_t k = 0; k < levels.size(); ++k) tracer.Trace(k, levels[k].Index, out);
  return out;
}

std::vector<TContourLevel> ContourLevelsOf(const TKestoState& s) {
  return ContourLevels(
      TContourSpec{s.ContourLevels, s.ContourInterval, s.ContourOffset, s.ContourList}, s.ZMin,
      s.ZMax);
}

const TContours& TContourCache::For(const TKestoState& s) {
  const std::vector<TContourLevel> levels = ContourLevelsOf(s);
  std::vector<double> key = {double(reinterpret_cast<uintptr_t>(s.Grid.data())),
                             double(s.GridHighI),
                             double(s.GridHighJ),
                             s.XMin,
                             s.XMax,
                             s.YMin,
                             s.YMax,
                             s.ZMin,
                             s.ZMax};
  for (int32_t k = 0; k < 64 && s.GridHighI >= 0 && s.GridHighJ >= 0; ++k) {
    const double z =
        s.Grid[size_t(s.GridHighI * k / 63)][size_t(s.GridHighJ * (k * 7 % 64) / 63)].Z;
    key.push_back(std::isnan(z) ? -1e300 : z);
  }
  for (const TContourLevel& l : levels) key.push_back(l.Value);
  if (key_ != key) {
    lines_ = TraceContours(s.Grid, s.GridHighI, s.GridHighJ, levels);
    key_ = std::move(key);
  }
  return lines_;
}

void WriteContours(std::ostream& out, const TContours& contours) {
  const auto write = [&out](const TGridPoint& p) {
    out << ShortestText(p.X) << ' ' << ShortestText(p.Y) << ' ' << ShortestText(p.Z) << '\n';
  };
  for (size_t k = 0; k < contours.Lines.size(); ++k) {
    const TContourLine& line = contours.Lines[k];
    if (k > 0) out << '\n';
    out << "level " << ShortestText(line.Level) << '\n';
    const auto points = contours.PointsOf(line);
    for (const TGridPoint& p : points) write(p);
    if (line.Closed && !points.empty()) write(points.front());
  }
}
