#include "core/Contours.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>

#include "core/LargePages.h"
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

// A cell's edges in turn round it, edge e from corner e to the next: A (i, j) to
// B (i + 1, j), B to C (i + 1, j + 1), C to D (i, j + 1), D to A; and its diagonal
// from A to C, where a line ends (the triangle on the other side has a hole).
constexpr int kDiagonal = 4;
constexpr int kSaddle = 5;

// A cell as the level sees it: which of its corners are above the level (a bit each,
// A first), and which part of it has lines (0 all of it, 1 the triangle A B C, 2 the
// triangle A C D, 3 none: a hole where no triangle is whole), as part x 16 + corners.
using TCell = uint32_t;
constexpr bool Crossed(TCell c, int e) { return ((c >> e) ^ (c >> ((e + 1) % 4))) & 1; }
constexpr bool Lined(TCell c, int e) {
  switch (c / 16) {
    case 0:
      return Crossed(c, e);
    case 1:
      return e < 2 && Crossed(c, e);
    case 2:
      return e >= 2 && Crossed(c, e);
    default:
      return false;
  }
}
// Which edges a line of each kind of cell crosses, as bits, and where a line that comes in
// over one of them leaves it: another edge, the diagonal, or, in a saddle, as its
// middle decides.
constexpr std::array<uint8_t, 64> kLined = [] {
  std::array<uint8_t, 64> t{};
  for (TCell c = 0; c < 64; ++c)
    for (int e = 0; e < 4; ++e) t[c] |= uint8_t(Lined(c, e) << e);
  return t;
}();
constexpr std::array<std::array<uint8_t, 4>, 64> kExit = [] {
  std::array<std::array<uint8_t, 4>, 64> t{};
  for (TCell c = 0; c < 64; ++c)
    for (int e = 0; e < 4; ++e) {
      t[c][size_t(e)] = (c == 0b0101 || c == 0b1010) ? kSaddle : kDiagonal;
      for (int k = 0; k < 4 && t[c][size_t(e)] == kDiagonal; ++k)
        if (k != e && Lined(c, k)) t[c][size_t(e)] = uint8_t(k);
    }
  return t;
}();

}  // namespace

// Where the grid's points and edges are, each point's place among the levels, and
// where the tracing has got to.
class TContourTracer {
 public:
  TContourTracer(const TGrid& grid, int32_t highI, int32_t highJ, std::vector<TContourLevel> levels)
      : grid_(grid),
        // A grid without a whole cell has no lines.
        rows_(highI >= 1 && highJ >= 1 ? highI + 1 : 0),
        cols_(rows_ > 0 ? highJ + 1 : 0),
        levels_(std::move(levels)) {
    FindBands();
    CountCrossings();
  }

  // Traces on until every level is done (true), or until more says stop after a row of
  // cells (false): the next call goes on from there.
  bool Run(TContours& out, const std::function<bool()>& more) {
    if (level_ == 0 && row_ == 0) {
      out.Points.reserve(out.Points.size() + crossings_);
      AdviseLargePages(out.Points.data(), out.Points.capacity() * sizeof(TGridPoint));
    }
    for (; level_ < levels_.size(); ++level_, row_ = 0) {
      if (row_ == 0) visited_.assign(band_.size() / 32 + 1, 0);
      while (row_ + 1 < rows_) {
        if (const auto [lo, hi] = rowRange_[size_t(row_)]; level_ < lo || level_ >= hi) {
          ++row_;
          continue;
        }
        ScanRow(row_++, out);
        if (!more()) return false;
      }
    }
    return true;
  }

 private:
  static constexpr uint16_t kHole = std::numeric_limits<uint16_t>::max();
  // Each edge's points, the first the one its crossing is worked from, so that the two
  // cells beside an edge give the same point.
  static constexpr std::array<int32_t, 5> kFromI = {0, 1, 0, 0, 0}, kFromJ = {0, 0, 1, 0, 0};
  static constexpr std::array<int32_t, 5> kToI = {1, 1, 1, 0, 1}, kToJ = {0, 1, 1, 1, 1};
  // The cell on the other side of each edge.
  static constexpr std::array<int32_t, 4> kAcrossI = {0, 1, 0, -1}, kAcrossJ = {-1, 0, 1, 0};

  // Each point's place among the levels, and each row of cells' lowest and highest.
  void FindBands() {
    band_.resize(size_t(rows_) * size_t(cols_));
    for (int32_t i = 0; i < rows_; ++i)
      for (int32_t j = 0; j < cols_; ++j) {
        const double z = grid_[size_t(i)][size_t(j)].Z;
        // How many levels lie below the point: one equal to it counts as above it.
        band_[Point(i, j)] = std::isnan(z)
                                 ? kHole
                                 : uint16_t(std::lower_bound(levels_.begin(), levels_.end(), z,
                                                             [](const TContourLevel& l, double v) {
                                                               return l.Value < v;
                                                             }) -
                                            levels_.begin());
      }
    // Each row of cells' lowest and highest band, so that a level passes over the rows
    // it does not cross at a glance.
    rowRange_.resize(size_t(std::max(rows_ - 1, 0)));
    for (int32_t i = 0; i + 1 < rows_; ++i) {
      const auto row = band_.begin() + std::ptrdiff_t(Point(i, 0));
      const auto [lo, hi] = std::minmax_element(row, row + 2 * std::ptrdiff_t(cols_));
      rowRange_[size_t(i)] = {*lo, *hi};
    }
  }

  // An edge is crossed by as many levels as lie between its ends, and a diagonal where
  // a line ends by as many: room for every point is made at once, since a noisy grid's
  // points would otherwise be copied and their memory found anew as they grow.
  void CountCrossings() {
    const auto between = [](uint16_t a, uint16_t b) {
      return a == kHole || b == kHole ? 0 : size_t(std::abs(int(a) - int(b)));
    };
    for (int32_t i = 0; i < rows_; ++i) {
      const uint16_t* row = &band_[Point(i, 0)];
      for (int32_t j = 0; j + 1 < cols_; ++j) crossings_ += between(row[j], row[j + 1]);
      if (i + 1 == rows_) break;
      const uint16_t* next = row + cols_;
      for (int32_t j = 0; j < cols_; ++j) crossings_ += between(row[j], next[j]);
      for (int32_t j = 0; j + 1 < cols_; ++j)
        if (next[j] == kHole || row[j + 1] == kHole) crossings_ += between(row[j], next[j + 1]);
    }
  }

  size_t Point(int32_t i, int32_t j) const { return size_t(i) * size_t(cols_) + size_t(j); }
  bool InGrid(int32_t i, int32_t j) const {
    return i >= 0 && j >= 0 && i + 1 < rows_ && j + 1 < cols_;
  }
  // Each edge once, the two from a point together: from it along i, and along j.
  size_t EdgeId(int32_t i, int32_t j, int e) const {
    return 2 * Point(i + kFromI[size_t(e)], j + kFromJ[size_t(e)]) + size_t(e % 2);
  }
  bool Visited(size_t edge) const { return (visited_[edge / 64] >> (edge % 64)) & 1; }
  void Visit(size_t edge) { visited_[edge / 64] |= uint64_t(1) << (edge % 64); }

  TCell CellAt(int32_t i, int32_t j) const {
    const size_t p = Point(i, j);
    const uint16_t a = band_[p], b = band_[p + size_t(cols_)], c = band_[p + size_t(cols_) + 1],
                   d = band_[p + 1];
    const auto k = uint16_t(level_);
    const TCell up = TCell(a > k) | TCell(b > k) << 1 | TCell(c > k) << 2 | TCell(d > k) << 3;
    if (a != kHole && b != kHole && c != kHole && d != kHole) return up;
    if (a == kHole || c == kHole || (b == kHole && d == kHole)) return 3 * 16 + up;
    return (b == kHole ? 2 : 1) * 16 + up;
  }

  // Where the line that comes into cell (i, j) over edge e leaves it.
  int Exit(TCell c, int32_t i, int32_t j, int e) const {
    const int exit = kExit[c][size_t(e)];
    if (exit != kSaddle) return exit;
    // A saddle: the corners unlike the cell's middle are each cut off on their own.
    const double mean = Z(i, j) / 4 + Z(i + 1, j) / 4 + Z(i + 1, j + 1) / 4 + Z(i, j + 1) / 4;
    const bool middleUp = mean > levels_[level_].Value;
    return bool((c >> e) & 1) != middleUp ? (e + 3) % 4 : (e + 1) % 4;
  }

  double Z(int32_t i, int32_t j) const { return grid_[size_t(i)][size_t(j)].Z; }

  // Where the level crosses edge e of cell (i, j), or its diagonal.
  TGridPoint Crossing(int32_t i, int32_t j, int e) const {
    const int32_t pi = i + kFromI[size_t(e)], pj = j + kFromJ[size_t(e)];
    const int32_t qi = i + kToI[size_t(e)], qj = j + kToJ[size_t(e)];
    const TGridPoint& p = grid_[size_t(pi)][size_t(pj)];
    const TGridPoint& q = grid_[size_t(qi)][size_t(qj)];
    const double level = levels_[level_].Value;
    const double t = (level - p.Z) / (q.Z - p.Z);
    return {p.X + t * (q.X - p.X), p.Y + t * (q.Y - p.Y), level};
  }

  void ScanRow(int32_t i, TContours& out) {
    const uint16_t* top = &band_[Point(i, 0)];
    const uint16_t* bottom = top + cols_;
    for (int32_t j = 0; j + 1 < cols_; ++j) {
      // Most cells lie wholly above or below a level: passed over at a glance.
      const auto [lo, hi] = std::minmax({top[j], top[j + 1], bottom[j], bottom[j + 1]});
      if (level_ < lo || level_ >= hi) continue;
      const TCell c = CellAt(i, j);
      for (uint8_t edges = kLined[c]; edges != 0; edges &= uint8_t(edges - 1)) {
        const int e = std::countr_zero(edges);
        if (!Visited(EdgeId(i, j, e))) Line(i, j, e, c, out);
      }
    }
  }

  // The line through edge e of cell (i, j): followed first away from the cell, then,
  // unless it came back closed, turned round and followed through the cell to its
  // other end.
  void Line(int32_t i, int32_t j, int e, TCell c, TContours& out) {
    const size_t start = EdgeId(i, j, e);
    TContourLine line{levels_[level_].Value, levels_[level_].Index, false, out.Points.size(), 0};
    Visit(start);
    out.Points.push_back(Crossing(i, j, e));
    const int32_t bi = i + kAcrossI[size_t(e)], bj = j + kAcrossJ[size_t(e)];
    if (InGrid(bi, bj)) {
      const TCell back = CellAt(bi, bj);
      if (Lined(back, (e + 2) % 4)) line.Closed = Follow(bi, bj, (e + 2) % 4, back, start, out);
    }
    if (!line.Closed) {
      std::reverse(out.Points.begin() + std::ptrdiff_t(line.First), out.Points.end());
      Follow(i, j, e, c, start, out);
    }
    line.Count = out.Points.size() - line.First;
    out.Lines.push_back(line);
  }

  // From cell (i, j), come into over edge e, on until the line ends (false) or comes
  // back to edge start (true).
  bool Follow(int32_t i, int32_t j, int e, TCell c, size_t start, TContours& out) {
    for (;;) {
      const int exit = Exit(c, i, j, e);
      if (exit == kDiagonal) {
        out.Points.push_back(Crossing(i, j, kDiagonal));
        return false;
      }
      const size_t edge = EdgeId(i, j, exit);
      if (edge == start) return true;
      // Every edge has one line through it: one already seen cannot be reached again.
      if (Visited(edge)) return false;
      Visit(edge);
      out.Points.push_back(Crossing(i, j, exit));
      i += kAcrossI[size_t(exit)];
      j += kAcrossJ[size_t(exit)];
      e = (exit + 2) % 4;
      if (!InGrid(i, j)) return false;
      c = CellAt(i, j);
      if (!((kLined[c] >> e) & 1)) return false;
    }
  }

  const TGrid& grid_;
  int32_t rows_, cols_;
  std::vector<TContourLevel> levels_;
  std::vector<uint16_t> band_;
  std::vector<std::pair<uint16_t, uint16_t>> rowRange_;  // by row of cells
  std::vector<uint64_t> visited_;                        // by edge, for the level in hand
  size_t crossings_ = 0;                                 // at least the points of all the lines
  size_t level_ = 0;
  int32_t row_ = 0;
};

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
  TContourTracer(grid, highI, highJ, levels).Run(out, [] { return true; });
  return out;
}

TContourSpec ContourSpecOf(const TKestoState& s) {
  return {s.ContourLevels, s.ContourInterval, s.ContourOffset, s.ContourList};
}

std::vector<TContourLevel> ContourLevelsOf(const TKestoState& s) {
  TContourSpec spec = ContourSpecOf(s);
  try {
    return ContourLevels(spec, s.ZMin, s.ZMax);
  } catch (const std::runtime_error&) {
    spec.Interval = 0;
    return ContourLevels(spec, s.ZMin, s.ZMax);
  }
}

TContourCache::TContourCache() = default;
TContourCache::~TContourCache() = default;

const TContours* TContourCache::For(const TKestoState& s, const std::function<bool()>& more) {
  std::vector<TContourLevel> levels = ContourLevelsOf(s);
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
  for (const TContourLevel& l : levels) {
    key.push_back(l.Value);
    key.push_back(l.Index);
  }
  if (key_ != key) {
    lines_ = {};
    tracer_ = std::make_unique<TContourTracer>(s.Grid, s.GridHighI, s.GridHighJ, std::move(levels));
    key_ = std::move(key);
  }
  if (tracer_) {
    if (!tracer_->Run(lines_, more)) return nullptr;
    tracer_.reset();
  }
  return &lines_;
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
