#include "core/MemoryRoom.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/ViewState.h"

TMemoryRoom CurrentMemoryRoom() {
  TMemoryRoom room;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    room.AddressSpaceLimit = limit.rlim_cur;
  const uint64_t page = uint64_t(sysconf(_SC_PAGESIZE));
  unsigned long long size = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%llu %llu", &size, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  room.Size = size * page;
  room.Resident = resident * page;
  if (std::FILE* info = std::fopen("/proc/meminfo", "r")) {
    char line[256];
    unsigned long long kb = 0;
    while (std::fgets(line, sizeof line, info))
      if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1)
        room.Available = kb * 1024 + resident * page;
    std::fclose(info);
  }
  return room;
}

double RoomLeft(const TMemoryRoom& room) {
  const auto left = [](uint64_t limit, uint64_t used) {
    return limit == UINT64_MAX ? 1e300 : double(limit) - double(used);
  };
  return std::min(left(room.AddressSpaceLimit, room.Size), left(room.Available, room.Resident));
}

int64_t PointsThatFit(double bytes, double perPoint) {
  const double points = std::max(0.0, bytes / perPoint);
  return points >= double(INT64_MAX) ? INT64_MAX : int64_t(points);
}

std::string ShortfallMessage(int64_t columns, int64_t rows, int32_t surface, double needed,
                             double toBeHad) {
  const auto gigabytes = [](double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GB", bytes / (1 << 30));
    return std::string(text);
  };
  const char* as = surface == kSurfaceFilled    ? "filled cells"
                   : surface == kSurfaceMarkers ? "markers"
                                                : "a wire mesh";
  return "not enough memory to draw a " + std::to_string(columns) + " × " + std::to_string(rows) +
         " grid as " + as + ": about " + gigabytes(needed) + " needed, " + gigabytes(toBeHad) +
         " to be had";
}
