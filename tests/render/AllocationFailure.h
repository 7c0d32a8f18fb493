#pragma once

#include <cstddef>

// While one lives, every allocation through operator new of at least bytes fails with
// std::bad_alloc once skip such allocations have succeeded, on any thread: a machine
// that has run out of memory part-way through some work.
class TAllocationFailure {
 public:
  TAllocationFailure(size_t bytes, int skip);
  ~TAllocationFailure();
  TAllocationFailure(const TAllocationFailure&) = delete;
  TAllocationFailure& operator=(const TAllocationFailure&) = delete;
  // How many allocations failed.
  int Failed() const;
};
