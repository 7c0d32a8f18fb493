#pragma once

#include <cstdint>

// How much more memory this process may take: what its address-space limit
// (ulimit -v) leaves, and what the system reports available. UINT64_MAX: no limit.
struct TMemoryRoom {
  uint64_t AddressSpaceLimit = UINT64_MAX;  // the whole limit
  uint64_t AddressSpaceUsed = 0;
  uint64_t Available = UINT64_MAX;  // MemAvailable, and what this process holds
};

TMemoryRoom CurrentMemoryRoom();
