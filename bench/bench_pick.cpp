// Times finding the grid point under the pointer: bench_pick [N ...] (default 1000
// 2000). For each N x N grid of hills, the boxes' making once, then the look-ups at
// 4800 pointer places over a 640 x 480 window in several views; the median of the
// look-ups that found a point and the slowest of all.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/SurfacePick.h"

namespace {

using TClock = std::chrono::steady_clock;

double Ms(TClock::time_point from) {
  return std::chrono::duration<double, std::milli>(TClock::now() - from).count();
}

void Hills(TKestoState& s, int n) {
  s.Grid.assign(size_t(n), TGridRow(size_t(n)));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double x = 10.0 * i / n, y = 10.0 * j / n;
      s.Grid[size_t(i)][size_t(j)] = {x, y, std::sin(x) * std::cos(y) + 0.1 * std::sin(7 * x * y)};
    }
  s.GridHighI = s.GridHighJ = n - 1;
  ApplyRanges(s, ComputeRanges(s.Grid, s.GridHighI, s.GridHighJ));
  s.NormalizeView();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 2000};
  struct TView {
    const char* Name;
    int32_t DrawMode, SurfaceMode;
    double Tilt;
  };
  const TView views[] = {{"3-D cells", 1, 0, 45},
                         {"3-D cells, low", 1, 0, 85},
                         {"2-D cells", 0, 0, 45},
                         {"3-D markers", 1, 2, 45},
                         {"2-D markers", 0, 2, 45}};
  std::printf("%-6s %-16s %10s %12s %12s %7s\n", "N", "view", "boxes ms", "median ms", "slowest ms",
              "found");
  for (const int n : sizes) {
    TKestoState s;
    Hills(s, n);
    const auto made = TClock::now();
    const TSurfacePicker picker(s);
    const double making = Ms(made);
    for (const TView& v : views) {
      s.DrawMode = v.DrawMode, s.SurfaceMode = v.SurfaceMode, s.Angle2 = v.Tilt;
      const TViewCamera camera(s, 640, 480);
      std::vector<double> hits;
      double slowest = 0;
      for (int x = 0; x < 640; x += 8) {
        for (int y = 0; y < 480; y += 8) {
          const auto t0 = TClock::now();
          const auto at = v.SurfaceMode == kSurfaceMarkers
                              ? picker.Marker(s, camera, x + 0.5, y + 0.5, 6)
                              : picker.CellCorner(s, camera, x + 0.5, y + 0.5);
          const double ms = Ms(t0);
          slowest = std::max(slowest, ms);
          if (at) hits.push_back(ms);
        }
      }
      std::sort(hits.begin(), hits.end());
      std::printf("%-6d %-16s %10.1f %12.4f %12.4f %7zu\n", n, v.Name, making,
                  hits.empty() ? 0.0 : hits[hits.size() / 2], slowest, hits.size());
    }
  }
}
