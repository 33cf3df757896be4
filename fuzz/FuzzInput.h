// A fuzzer's input read as a stream of small decisions: bytes, bounded numbers
// and short byte strings. Past the end every read gives zeros, so a decoder
// never has to ask how much is left before it reads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane::fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit FuzzInput(std::string_view bytes)
      : FuzzInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}

  bool Empty() const { return pos_ >= size_; }
  uint8_t Byte() { return Empty() ? 0 : data_[pos_++]; }
  // A number in 0 … n−1 (n ≥ 1).
  uint32_t Below(uint32_t n) { return Byte() % n; }
  // A length byte (below MaxLen + 1) and that many bytes.
  std::string Bytes(size_t maxLen) {
    const size_t want = Byte() % (maxLen + 1);
    const size_t take = std::min(want, size_ - pos_);
    std::string out(reinterpret_cast<const char*>(data_ + pos_), take);
    pos_ += take;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace kelvane::fuzz
