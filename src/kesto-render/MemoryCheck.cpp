#include "kesto-render/MemoryCheck.h"

#include <algorithm>

namespace {

// What drawing takes, measured with the software rasteriser (the smallest ulimit -v
// that draws, and the peak resident memory, for grids of 2500 to 4 million points): a
// fixed part for the driver and its threads, and a part per point, the grid included.
struct TNeed {
  double AddressSpaceBase, AddressSpacePerPoint, ResidentBase, ResidentPerPoint;
};

// Every surface mode streams its batches alike, markers included.
constexpr double kMB = 1 << 20;
constexpr TNeed kNeed{330 * kMB, 40, 100 * kMB, 60};

// A margin for what the measurements did not see.
constexpr double kMargin = 1.15;

}  // namespace

std::string MemoryShortfall(const TKestoState& s, const TMemoryRoom& room) {
  const double points = (double(s.GridHighI) + 1) * (double(s.GridHighJ) + 1);
  const TNeed& n = kNeed;
  const double addressSpace = (n.AddressSpaceBase + n.AddressSpacePerPoint * points) * kMargin;
  const double resident = (n.ResidentBase + n.ResidentPerPoint * points) * kMargin;
  double allowed = 0, needed = 0;
  if (addressSpace > double(room.AddressSpaceLimit)) {
    needed = addressSpace;
    allowed = double(room.AddressSpaceLimit);
  } else if (resident > double(room.Available)) {
    needed = resident;
    allowed = double(room.Available);
  } else {
    return "";
  }
  return ShortfallMessage(s.GridHighI + 1, s.GridHighJ + 1, s.SurfaceMode, needed, allowed);
}

int64_t MostPointsToDraw(const TMemoryRoom& room) {
  const auto most = [](uint64_t limit, double perPoint) {
    return limit == UINT64_MAX ? INT64_MAX : PointsThatFit(double(limit) / kMargin, perPoint);
  };
  return std::min(most(room.AddressSpaceLimit, kNeed.AddressSpacePerPoint),
                  most(room.Available, kNeed.ResidentPerPoint));
}
