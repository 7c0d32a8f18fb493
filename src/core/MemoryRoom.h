#pragma once

#include <cstdint>

// How much memory this process may have: its address-space limit (ulimit -v), and
// what the system reports available plus what the process holds. UINT64_MAX: no limit.
struct TMemoryRoom {
  uint64_t AddressSpaceLimit = UINT64_MAX;
  uint64_t Available = UINT64_MAX;
};

TMemoryRoom CurrentMemoryRoom();
