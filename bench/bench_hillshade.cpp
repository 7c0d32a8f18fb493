// The hillshade of every point of N x N grids, on one core: bench_hillshade [N ...]
// (default 1000 2000), the median time of 5.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "OffscreenGrid.h"
#include "core/Hillshade.h"

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int k = 1; k < argc; ++k) sizes.push_back(std::atoi(argv[k]));
  if (sizes.empty()) sizes = {1000, 2000};
  const TLight light = LightFrom(315, 45);
  for (const int n : sizes) {
    TKestoState s;
    bench::FillGrid(s, n);
    std::vector<double> times;
    double sum = 0;
    for (int k = 0; k < 5; ++k) {
      const auto t0 = bench::TClock::now();
      for (int32_t i = 0; i <= s.GridHighI; ++i)
        for (int32_t j = 0; j <= s.GridHighJ; ++j)
          sum += Hillshade(s.Grid, s.GridHighI, s.GridHighJ, i, j, light, {1, 1, 1});
      times.push_back(bench::Seconds(t0));
    }
    std::nth_element(times.begin(), times.begin() + 2, times.end());
    std::printf("%5d  hillshade %7.3f s  (mean light %.3f)\n", n, times[2],
                sum / 5 / (double(n) * n));
  }
  return 0;
}
