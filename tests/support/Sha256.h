// SHA-256 of byte strings, so the tests can compare texts against the digests
// the real-history manifests hold without keeping the texts themselves.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane::test {

class TSha256 {
 public:
  TSha256();
  void Update(std::string_view bytes);
  // The digest as 64 lower-case hex digits. Finishes the hash: call it once.
  std::string HexDigest();

 private:
  void Compress(const uint8_t* block);

  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> buffer_{};
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes hashed so far
};

// The hex digest of Bytes in one call.
std::string Sha256Hex(std::string_view bytes);

}  // namespace kelvane::test
