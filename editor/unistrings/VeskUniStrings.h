// Constant strings of the editor: the character entity references it can show
// as the character they name, and the end-of-text mark.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace kelvane {

struct TVeskUniRec {
  std::string_view Name;
  uint16_t Code;
};

extern const std::array<TVeskUniRec, 252> UniTable;

// The code point of a named reference (exact, case-sensitive), or 0 when unknown.
uint16_t FindUniName(std::string_view name);

inline constexpr std::string_view kEofMark = "[EOF]";

}  // namespace kelvane
