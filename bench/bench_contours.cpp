// Contour lines of N x N grids at 10 round levels, on one core: bench_contours [N ...]
// (default 1000 2000). A smooth surface, then random heights (millions of short lines):
// the median time of 5, the lines and points found, and the peak memory.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "OffscreenGrid.h"
#include "core/Contours.h"

namespace {

void Measure(const char* name, const TKestoState& s) {
  const auto levels = ContourLevels(TContourSpec{}, s.ZMin, s.ZMax);
  std::vector<double> times;
  size_t lines = 0, points = 0;
  for (int k = 0; k < 5; ++k) {
    const auto t0 = bench::TClock::now();
    const auto found = TraceContours(s.Grid, s.GridHighI, s.GridHighJ, levels);
    times.push_back(bench::Seconds(t0));
    lines = found.Lines.size();
    points = found.Points.size();
  }
  std::nth_element(times.begin(), times.begin() + 2, times.end());
  std::printf("%-6d %-7s %9.3fs %10zu %11zu %8ld MiB\n", s.GridHighI + 1, name, times[2], lines,
              points, bench::PeakRssMiB());
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 2000};
  std::printf("%-6s %-7s %10s %10s %11s %12s\n", "grid", "surface", "time", "lines", "points",
              "peak");
  for (int n : sizes) {
    TKestoState s;
    bench::FillGrid(s, n);
    Measure("smooth", s);
    std::mt19937 random(1);
    std::uniform_real_distribution<double> height(0, 1);
    for (TGridRow& row : s.Grid)
      for (TGridPoint& p : row) p.Z = height(random);
    ApplyRanges(s, ComputeRanges(s.Grid, s.GridHighI, s.GridHighJ));
    Measure("noisy", s);
  }
  return 0;
}
