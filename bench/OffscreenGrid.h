#pragma once

#include <sys/resource.h>

#include <chrono>
#include <cmath>

#include "core/ViewState.h"

// What the off-screen benchmarks share: their clock, their peak memory and their grid.
namespace bench {

using TClock = std::chrono::steady_clock;

inline double Seconds(TClock::time_point since) {
  return std::chrono::duration<double>(TClock::now() - since).count();
}

inline long PeakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

// A smooth surface of n x n points over the unit square.
inline void FillGrid(TKestoState& s, int n) {
  s.Grid.assign(n, TGridRow(n));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const double x = i / double(n - 1), y = j / double(n - 1);
      s.Grid[i][j] = {x, y, std::sin(6 * x) * std::cos(4 * y)};
    }
  s.GridHighI = s.GridHighJ = n - 1;
  ApplyRanges(s, ComputeRanges(s.Grid, s.GridHighI, s.GridHighJ));
}

}  // namespace bench
