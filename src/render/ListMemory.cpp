#include "render/ListMemory.h"

#include <algorithm>

#include "core/ColorRange.h"
#include "render/Frame.h"

namespace {

int32_t SurfaceOf(int32_t list) {
  if (list & (kList2DFill | kList3DFill)) return kSurfaceFilled;
  if (list & (kList2DMarkers | kList3DMarkers)) return kSurfaceMarkers;
  return kSurfaceMesh;
}

}  // namespace

double ListMemory(int32_t list, int64_t points, double bandedShare) {
  // Measured with the software rasteriser (bench_viewer --memory at 400² and 1000²:
  // peak address space and resident memory of each mode over the viewer before the
  // load, less the driver's part that the first large list takes once).
  if (!(list & kMaskGraphs) || (list & (kList2DCoarse | kList3DCoarse))) return 0;
  const int32_t surface = SurfaceOf(list);
  const double grid = sizeof(TGridPoint);
  const double perPoint = surface == kSurfaceMarkers  ? grid
                          : surface == kSurfaceFilled ? 90 + 66 * (bandedShare - 1)
                                                      : 130;
  return perPoint * double(points);
}

double BandedShare(const TKestoState& s, int32_t list) {
  if (SurfaceOf(list) != kSurfaceFilled || s.GridHighI < 1 || s.GridHighJ < 1) return 1;
  const TColorRange range(s);
  const std::vector<double> edges = range.Edges(s.OutOfRange == kOutOfRangeColors);
  if (edges.empty()) return 1;
  // Each triangle is cut into one piece per band it spans, and each cut adds four
  // corners: p pieces hold 4p - 1 corners where the plain cell held two for it.
  double corners = 0;
  const auto triangle = [&](double a, double b, double c) {
    const auto [lo, hi] = std::minmax({a, b, c});
    const auto first = std::upper_bound(edges.begin(), edges.end(), lo);
    const auto last = std::lower_bound(edges.begin(), edges.end(), hi);
    corners += 4.0 * double(std::max(last - first + 1, std::ptrdiff_t(1))) - 1;
  };
  for (int32_t i = 0; i < s.GridHighI; ++i)
    for (int32_t j = 0; j < s.GridHighJ; ++j) {
      const TGridRow &r0 = s.Grid[size_t(i)], &r1 = s.Grid[size_t(i) + 1];
      triangle(r0[size_t(j)].Z, r1[size_t(j)].Z, r1[size_t(j) + 1].Z);
      triangle(r0[size_t(j)].Z, r1[size_t(j) + 1].Z, r0[size_t(j) + 1].Z);
    }
  return corners / (4.0 * double(s.GridHighI) * double(s.GridHighJ));
}

std::string ListShortfall(int32_t list, int64_t columns, int64_t rows, double freed, double extra,
                          const TMemoryRoom& room, double bandedShare) {
  // A margin for what the measurements did not see.
  constexpr double kMargin = 1.15;
  const double needed = (ListMemory(list, columns * rows, bandedShare) + extra) * kMargin;
  const double toBeHad = RoomLeft(room) + freed;
  if (needed <= toBeHad) return "";
  return ShortfallMessage(columns, rows, SurfaceOf(list), needed, toBeHad);
}
