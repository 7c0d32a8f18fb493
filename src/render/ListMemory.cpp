#include "render/ListMemory.h"

#include "core/ViewState.h"
#include "render/Frame.h"

namespace {

int32_t SurfaceOf(int32_t list) {
  if (list & (kList2DFill | kList3DFill)) return kSurfaceFilled;
  if (list & (kList2DMarkers | kList3DMarkers)) return kSurfaceMarkers;
  return kSurfaceMesh;
}

}  // namespace

double ListMemory(int32_t list, int64_t points) {
  // Measured with the software rasteriser (bench_viewer --memory at 400² and 1000²:
  // peak address space and resident memory of each mode over the viewer before the
  // load, less the driver's part that the first large list takes once).
  if (!(list & kMaskGraphs) || (list & (kList2DCoarse | kList3DCoarse))) return 0;
  const int32_t surface = SurfaceOf(list);
  const double perPoint = surface == kSurfaceMarkers ? 24 : surface == kSurfaceFilled ? 90 : 130;
  return perPoint * double(points);
}

std::string ListShortfall(int32_t list, int64_t columns, int64_t rows, double freed, double extra,
                          const TMemoryRoom& room) {
  // A margin for what the measurements did not see.
  constexpr double kMargin = 1.15;
  const double needed = (ListMemory(list, columns * rows) + extra) * kMargin;
  const double toBeHad = RoomLeft(room) + freed;
  if (needed <= toBeHad) return "";
  return ShortfallMessage(columns, rows, SurfaceOf(list), needed, toBeHad);
}
