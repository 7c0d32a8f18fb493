#include "core/LargePages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

void AdviseLargePages(void* data, size_t size) {
  // Only the whole pages inside the block: the advice is for pages, not bytes.
  const auto page = size_t(sysconf(_SC_PAGESIZE));
  const size_t skip = (page - reinterpret_cast<uintptr_t>(data) % page) % page;
  if (size <= skip + page) return;
  // Advice only: where it is not taken, the memory comes as before.
  madvise(static_cast<char*>(data) + skip, (size - skip) / page * page, MADV_HUGEPAGE);
}
