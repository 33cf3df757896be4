// A vector with a movable gap: inserting or erasing next to the previous edit
// costs O(1) however long the vector is, which keeps line operations of the
// history cheap on large texts.
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

namespace kelvane {

// Invariant: the elements are buf_[0, gapStart_) followed by buf_[gapEnd_, buf_.size());
// the slots inside the gap hold moved-from (default) values.
template <typename T>
class GapVector {
 public:
  size_t size() const { return buf_.size() - (gapEnd_ - gapStart_); }
  bool empty() const { return size() == 0; }

  T& operator[](size_t i) { return buf_[Slot(i)]; }
  const T& operator[](size_t i) const { return buf_[Slot(i)]; }

  void insert(size_t i, T value) {
    assert(i <= size());
    if (gapStart_ == gapEnd_) Grow();
    MoveGapTo(i);
    buf_[gapStart_++] = std::move(value);
  }
  void push_back(T value) { insert(size(), std::move(value)); }

  // Removes element i and returns it.
  T take(size_t i) {
    assert(i < size());
    MoveGapTo(i);
    return std::exchange(buf_[gapEnd_++], T{});
  }
  void erase(size_t i) { (void)take(i); }

  void clear() {
    buf_.clear();
    gapStart_ = gapEnd_ = 0;
  }

 private:
  size_t Slot(size_t i) const {
    assert(i < size());
    return i < gapStart_ ? i : i + (gapEnd_ - gapStart_);
  }

  void MoveGapTo(size_t i) {
    if (i < gapStart_) {
      std::move_backward(buf_.begin() + i, buf_.begin() + gapStart_, buf_.begin() + gapEnd_);
      gapEnd_ -= gapStart_ - i;
      gapStart_ = i;
    } else if (i > gapStart_) {
      size_t n = i - gapStart_;
      std::move(buf_.begin() + gapEnd_, buf_.begin() + gapEnd_ + n, buf_.begin() + gapStart_);
      gapStart_ += n;
      gapEnd_ += n;
    }
  }

  void Grow() {
    size_t oldSize = buf_.size();
    size_t tail = oldSize - gapEnd_;
    size_t newSize = std::max<size_t>(16, oldSize * 2);
    buf_.resize(newSize);
    std::move_backward(buf_.begin() + gapEnd_, buf_.begin() + oldSize, buf_.end());
    gapEnd_ = newSize - tail;
  }

  std::vector<T> buf_;
  size_t gapStart_ = 0;
  size_t gapEnd_ = 0;
};

}  // namespace kelvane
