#include "core/MemoryRoom.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

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
