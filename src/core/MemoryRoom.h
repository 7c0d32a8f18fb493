#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// How much memory this process may have: its address-space limit (ulimit -v), and
// what the system reports available plus what the process holds; and what it holds
// now. UINT64_MAX: no limit.
struct TMemoryRoom {
  uint64_t AddressSpaceLimit = UINT64_MAX;
  uint64_t Available = UINT64_MAX;
  uint64_t Size = 0, Resident = 0;
};

TMemoryRoom CurrentMemoryRoom();

// What the process may still take, in bytes: the smaller of what its address-space
// limit and the system's available memory leave; 1e300 with neither.
double RoomLeft(const TMemoryRoom& room);

// How many points of perPoint bytes each fit in bytes; INT64_MAX for room without limit.
int64_t PointsThatFit(double bytes, double perPoint);

// Drawing was refused before it started: the driver does not survive an allocation
// that fails.
struct TShortOfMemory : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "not enough memory to draw a 3000 × 3000 grid as markers: about 9.0 GB needed,
// 0.7 GB to be had"
std::string ShortfallMessage(int64_t columns, int64_t rows, int32_t surface, double needed,
                             double toBeHad);
