#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// A sequence that grows without ever copying what it holds: items go into chunks
// that grow up to 16 MiB, and Take moves them into one vector of exactly the right
// size, freeing each chunk as soon as it is moved. Building a large vector this way
// needs its final size plus one chunk, not the two or three times its size that
// growing one vector takes.
template <class T>
class TChunkedVector {
 public:
  void push_back(T item) {
    if (chunks_.empty() || chunks_.back().size() == chunks_.back().capacity()) {
      const size_t next = chunks_.empty() ? kFirst : std::min(2 * chunks_.back().size(), kLargest);
      chunks_.emplace_back().reserve(next);
    }
    chunks_.back().push_back(std::move(item));
    ++size_;
  }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Hands every item to each in order, freeing each chunk once it is handed over.
  template <class Each>
  void Drain(Each each) {
    for (std::vector<T>& chunk : chunks_) {
      for (T& item : chunk) each(std::move(item));
      std::vector<T>().swap(chunk);
    }
    chunks_.clear();
    size_ = 0;
  }

  std::vector<T> Take() {
    std::vector<T> all;
    all.reserve(size_);
    Drain([&](T&& item) { all.push_back(std::move(item)); });
    return all;
  }

 private:
  static constexpr size_t kFirst = 256;
  static constexpr size_t kLargest = std::max<size_t>(kFirst, (16 << 20) / sizeof(T));
  std::vector<std::vector<T>> chunks_;
  size_t size_ = 0;
};
