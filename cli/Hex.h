// Bytes as lower-case hexadecimal pairs, as the command line's JSON prints them.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

inline std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string h;
  h.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    h.push_back(kDigits[b >> 4]);
    h.push_back(kDigits[b & 15]);
  }
  return h;
}

}  // namespace kelvane
