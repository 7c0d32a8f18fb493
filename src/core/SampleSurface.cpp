#include "core/SampleSurface.h"

#include <cmath>

#include "core/Angles.h"

void MakeSampleData(TGridData& d) {
  constexpr int32_t kHigh = 49;
  d.GridHighI = kHigh;
  d.GridHighJ = kHigh;
  d.Grid.assign(kHigh + 1, TGridRow{});
  for (int32_t i = 0; i <= kHigh; ++i) {
    TGridRow& row = d.Grid[i];
    row.resize(kHigh + 1);
    for (int32_t j = 0; j <= kHigh; ++j) {
      // The division comes first.
      const long double si = std::sin(static_cast<long double>(i) / 20 * kPiExtended);
      const long double sj = std::sin(static_cast<long double>(j) / 20 * kPiExtended);
      row[j] = TGridPoint{static_cast<double>(i), static_cast<double>(j),
                          static_cast<double>(i * si * sj)};
    }
  }
  ApplyRanges(d, ComputeRanges(d.Grid, d.GridHighI, d.GridHighJ));
}
