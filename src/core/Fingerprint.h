#pragma once

#include <cstddef>
#include <cstdint>

// FNV-1a of size bytes: what tells one table or list from another in a key, where
// keeping a copy to compare would cost more than the key.
inline uint64_t Fingerprint(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  uint64_t hash = 14695981039346656037ull;
  for (size_t b = 0; b < size; ++b) hash = (hash ^ bytes[b]) * 1099511628211ull;
  return hash;
}
