// A sequence kept as a list of blocks of at most 2 × kBlock elements, with the
// block sizes in a Fenwick tree: inserting or erasing anywhere costs O(kBlock +
// log blocks), indexing O(log blocks) (O(1) in the block of the last access),
// erasing a run of n elements O(n + blocks). So a line added far from the
// previous edit costs no more than one close by, however long the text, and a
// history step costs the same on 200,000 lines as on 2,000.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <iterator>
#include <utility>
#include <vector>

namespace kelvane {

// Invariants: blocks_ is never empty; only a sole block may be empty;
// tree_ is the Fenwick tree (1-based) of the block sizes; when last_ is a
// block, lastStart_ is the number of elements before it.
template <typename T, size_t kBlock = 128>
class BlockVector {
 public:
  BlockVector() { clear(); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  T& operator[](size_t i) {
    const size_t b = Locate(i);
    return blocks_[b][i - lastStart_];
  }
  const T& operator[](size_t i) const { return const_cast<BlockVector*>(this)->operator[](i); }

  void insert(size_t i, T value) {
    assert(i <= size_);
    size_t b;
    size_t at;
    if (i == size_) {
      b = blocks_.size() - 1;
      at = blocks_[b].size();
    } else {
      b = Locate(i);
      at = i - lastStart_;
    }
    std::vector<T>& block = blocks_[b];
    block.insert(block.begin() + static_cast<ptrdiff_t>(at), std::move(value));
    ++size_;
    Changed(b, 1);
    if (block.size() > 2 * kBlock) Split(b);
  }
  void push_back(T value) { insert(size_, std::move(value)); }

  // Inserts Values before element i at once, in O(n + blocks): a block change
  // that adds a million lines must not split a block a million times.
  void insert(size_t i, std::vector<T> values) {
    assert(i <= size_);
    if (values.size() <= kBlock) {
      for (T& v : values) insert(i++, std::move(v));
      return;
    }
    size_t b = blocks_.size() - 1;
    size_t at = blocks_[b].size();
    if (i < size_) {
      b = Locate(i);
      at = i - lastStart_;
    }
    std::vector<std::vector<T>> fresh;
    for (size_t k = 0; k < values.size(); k += kBlock) {
      const auto from = values.begin() + static_cast<ptrdiff_t>(k);
      const auto to = values.begin() + static_cast<ptrdiff_t>(std::min(values.size(), k + kBlock));
      fresh.emplace_back(std::make_move_iterator(from), std::make_move_iterator(to));
    }
    std::vector<T>& block = blocks_[b];
    fresh.emplace_back(std::make_move_iterator(block.begin() + static_cast<ptrdiff_t>(at)),
                       std::make_move_iterator(block.end()));  // the block's tail follows the new run
    block.resize(at);
    size_ += values.size();
    blocks_.insert(blocks_.begin() + static_cast<ptrdiff_t>(b) + 1, std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    DropEmptyBlocks();
  }

  // Removes element i and returns it.
  T take(size_t i) {
    assert(i < size_);
    const size_t b = Locate(i);
    std::vector<T>& block = blocks_[b];
    auto at = block.begin() + static_cast<ptrdiff_t>(i - lastStart_);
    T value = std::move(*at);
    block.erase(at);
    --size_;
    Changed(b, -1);
    if (block.empty() && blocks_.size() > 1) {
      blocks_.erase(blocks_.begin() + static_cast<ptrdiff_t>(b));
      Rebuild();
    }
    return value;
  }
  void erase(size_t i) { (void)take(i); }

  // Removes elements First … First+Count−1 at once.
  void erase(size_t first, size_t count) {
    assert(first + count <= size_);
    if (count == 0) return;
    size_t b = Locate(first);
    size_t at = first - lastStart_;
    if (at + count < blocks_[b].size()) {  // inside one block, which keeps elements: the usual case
      std::vector<T>& block = blocks_[b];
      block.erase(block.begin() + static_cast<ptrdiff_t>(at), block.begin() + static_cast<ptrdiff_t>(at + count));
      size_ -= count;
      Changed(b, -static_cast<ptrdiff_t>(count));
      return;
    }
    size_t left = count;
    while (left > 0) {
      std::vector<T>& block = blocks_[b];
      const size_t n = std::min(left, block.size() - at);
      block.erase(block.begin() + static_cast<ptrdiff_t>(at), block.begin() + static_cast<ptrdiff_t>(at + n));
      left -= n;
      at = 0;
      ++b;
    }
    size_ -= count;
    DropEmptyBlocks();
  }

  void clear() {
    blocks_.clear();
    blocks_.emplace_back();
    size_ = 0;
    Rebuild();
  }

 private:
  // Empty blocks go, but one block always stays; the tree is built again.
  void DropEmptyBlocks() {
    blocks_.erase(std::remove_if(blocks_.begin(), blocks_.end(), [](const std::vector<T>& v) { return v.empty(); }),
                  blocks_.end());
    if (blocks_.empty()) blocks_.emplace_back();
    Rebuild();
  }

  size_t Locate(size_t i) {
    assert(i < size_);
    if (last_ < blocks_.size() && i >= lastStart_ && i - lastStart_ < blocks_[last_].size()) return last_;
    // Descend the Fenwick tree: the largest block prefix not past i.
    size_t b = 0;
    size_t before = 0;
    for (size_t step = HighestBit(tree_.size() - 1); step > 0; step >>= 1) {
      const size_t next = b + step;
      if (next < tree_.size() && before + tree_[next] <= i) {
        b = next;
        before += tree_[next];
      }
    }
    last_ = b;  // b blocks come before the element: it is in block b
    lastStart_ = before;
    return last_;
  }

  // Block B grew or shrank by Delta elements.
  void Changed(size_t b, ptrdiff_t delta) {
    for (size_t k = b + 1; k < tree_.size(); k += k & (~k + 1)) tree_[k] = static_cast<size_t>(tree_[k] + delta);
    if (last_ < blocks_.size() && b < last_) lastStart_ = static_cast<size_t>(lastStart_ + delta);
  }

  void Split(size_t b) {
    std::vector<T>& block = blocks_[b];
    std::vector<T> tail(std::make_move_iterator(block.begin() + kBlock), std::make_move_iterator(block.end()));
    block.resize(kBlock);
    const bool atEnd = b + 1 == blocks_.size();
    blocks_.insert(blocks_.begin() + static_cast<ptrdiff_t>(b) + 1, std::move(tail));
    if (!atEnd) {
      Rebuild();
      return;
    }
    // Appending a block keeps the tree: only the new node is computed.
    Changed(b, -static_cast<ptrdiff_t>(blocks_.back().size()));
    const size_t k = blocks_.size();
    tree_.push_back(blocks_.back().size() + Prefix(k - 1) - Prefix(k - (k & (~k + 1))));
  }

  // Elements in blocks 0 … k−1.
  size_t Prefix(size_t k) const {
    size_t sum = 0;
    for (; k > 0; k -= k & (~k + 1)) sum += tree_[k];
    return sum;
  }

  void Rebuild() {
    tree_.assign(blocks_.size() + 1, 0);
    for (size_t k = 1; k < tree_.size(); ++k) {
      tree_[k] += blocks_[k - 1].size();
      const size_t parent = k + (k & (~k + 1));
      if (parent < tree_.size()) tree_[parent] += tree_[k];
    }
    last_ = blocks_.size();  // no cached block
    lastStart_ = 0;
  }

  static size_t HighestBit(size_t n) {
    size_t bit = 1;
    while (bit <= n / 2) bit <<= 1;
    return n == 0 ? 0 : bit;
  }

  std::vector<std::vector<T>> blocks_;
  std::vector<size_t> tree_;
  size_t size_ = 0;
  size_t last_ = 0;       // the block of the last access, or blocks_.size() for none
  size_t lastStart_ = 0;  // elements before it
};

}  // namespace kelvane
