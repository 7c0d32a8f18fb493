#include "AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> failFrom{0};  // 0: nothing fails
std::atomic<int> toSkip{0};
std::atomic<int> failed{0};

void* Allocate(size_t n) {
  const size_t from = failFrom.load(std::memory_order_relaxed);
  if (from != 0 && n >= from && toSkip.fetch_sub(1) <= 0) {
    ++failed;
    return nullptr;
  }
  return std::malloc(n == 0 ? 1 : n);
}

void* AllocateOrThrow(size_t n) {
  if (void* p = Allocate(n)) return p;
  throw std::bad_alloc();
}

}  // namespace

TAllocationFailure::TAllocationFailure(size_t bytes, int skip) {
  failed = 0;
  toSkip = skip;
  failFrom = bytes;
}

TAllocationFailure::~TAllocationFailure() { failFrom = 0; }

int TAllocationFailure::Failed() const { return failed; }

// Every form of operator new and delete that does not take an alignment, so that each
// allocation is freed by the allocator that made it, under the sanitizers too.
void* operator new(size_t n) { return AllocateOrThrow(n); }
void* operator new[](size_t n) { return AllocateOrThrow(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
