#pragma once

#include <cstddef>

// Asks that the memory from data on, size bytes, be given in large pages where the
// system does so on request: memory filled at once by the million points is otherwise
// found a small page at a time, which costs as much as the work that fills it.
void AdviseLargePages(void* data, size_t size);
