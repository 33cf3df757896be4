// A sequence kept as a list of blocks of at most 2 × kBlock elements: inserting
// or erasing anywhere costs O(kBlock + blocks), and indexing O(log blocks) (O(1)
// next to the last access), so a line added far from the previous edit costs no
// more than one close by, however long the text.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

namespace kelvane {

// Invariants: blocks_ is never empty; only a sole block may be empty;
// starts_[b] is the number of elements in the blocks before b.
template <typename T, size_t kBlock = 128>
class BlockVector {
 public:
  BlockVector() { clear(); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T& operator[](size_t i) {
    const size_t b = Locate(i);
    return blocks_[b][i - starts_[b]];
  }
  const T& operator[](size_t i) const { return const_cast<BlockVector*>(this)->operator[](i); }

  void insert(size_t i, T value) {
    assert(i <= size_);
    const size_t b = i == size_ ? blocks_.size() - 1 : Locate(i);
    std::vector<T>& block = blocks_[b];
    block.insert(block.begin() + static_cast<ptrdiff_t>(i - starts_[b]), std::move(value));
    ++size_;
    for (size_t k = b + 1; k < starts_.size(); ++k) ++starts_[k];
    if (block.size() > 2 * kBlock) Split(b);
  }
  void push_back(T value) { insert(size_, std::move(value)); }

  // Removes element i and returns it.
  T take(size_t i) {
    assert(i < size_);
    const size_t b = Locate(i);
    std::vector<T>& block = blocks_[b];
    auto at = block.begin() + static_cast<ptrdiff_t>(i - starts_[b]);
    T value = std::move(*at);
    block.erase(at);
    --size_;
    for (size_t k = b + 1; k < starts_.size(); ++k) --starts_[k];
    if (block.empty() && blocks_.size() > 1) {
      blocks_.erase(blocks_.begin() + static_cast<ptrdiff_t>(b));
      starts_.erase(starts_.begin() + static_cast<ptrdiff_t>(b));
      last_ = 0;
    }
    return value;
  }
  void erase(size_t i) { (void)take(i); }

  void clear() {
    blocks_.clear();
    blocks_.emplace_back();
    starts_.assign(1, 0);
    size_ = 0;
    last_ = 0;
  }

 private:
  size_t Locate(size_t i) {
    assert(i < size_);
    if (last_ < blocks_.size() && i >= starts_[last_] && i - starts_[last_] < blocks_[last_].size()) return last_;
    last_ = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), i) - starts_.begin()) - 1;
    // Empty blocks share their start with the next block; step past them.
    while (i - starts_[last_] >= blocks_[last_].size()) ++last_;
    return last_;
  }

  void Split(size_t b) {
    std::vector<T>& block = blocks_[b];
    std::vector<T> tail(std::make_move_iterator(block.begin() + kBlock), std::make_move_iterator(block.end()));
    block.resize(kBlock);
    blocks_.insert(blocks_.begin() + static_cast<ptrdiff_t>(b) + 1, std::move(tail));
    starts_.insert(starts_.begin() + static_cast<ptrdiff_t>(b) + 1, starts_[b] + kBlock);
  }

  std::vector<std::vector<T>> blocks_;
  std::vector<size_t> starts_;
  size_t size_ = 0;
  size_t last_ = 0;  // the block of the last access
};

}  // namespace kelvane
