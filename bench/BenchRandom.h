// TBenchRandom: a small seeded generator (splitmix64) with its own ranges, so
// the benchmark history is the same bytes with every compiler and library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

class TBenchRandom {
 public:
  explicit TBenchRandom(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 … N−1; 0 when N ≤ 0.
  int32_t Below(int32_t n) { return n <= 0 ? 0 : static_cast<int32_t>(Next() % static_cast<uint64_t>(n)); }
  // Lo … Hi, both included.
  int32_t Between(int32_t lo, int32_t hi) { return lo + Below(hi - lo + 1); }
  // True P times in a hundred.
  bool Percent(int32_t p) { return Below(100) < p; }
  const std::string& Pick(const std::vector<std::string>& v) {
    return v[static_cast<size_t>(Below(static_cast<int32_t>(v.size())))];
  }

 private:
  uint64_t state_;
};

}  // namespace kelvane
