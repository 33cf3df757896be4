// Bytes as the command line's JSON prints them: lower-case hexadecimal pairs,
// and, for people reading along, the same code page 932 bytes as a UTF-8 string.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/Codepage.h"

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

// Code page 932 bytes decoded and escaped for the inside of a JSON string.
inline std::string JsonUtf8(std::string_view cp932Bytes) {
  std::string out;
  for (char c : cp932::ToUtf8(cp932Bytes)) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (b < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace kelvane
