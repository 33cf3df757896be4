// Where characters begin in code page 932 text, by the editor's rule: a lead
// byte takes the byte after it along, within its line; a CR LF is a line break.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Codepage.h"

namespace kelvane {

// Whether offset I of Text begins a character (the end counts). Found from
// the run of lead-range bytes before I: each pairs with the byte after it, so
// I is a start when that run has even length. A CR before LF always begins one.
bool IsCharStart(std::string_view text, size_t i);

// The nearest character start at or before I.
size_t CharStartAtOrBefore(std::string_view text, size_t i);

inline bool IsLineBreakAt(std::string_view text, size_t i) {
  return i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n';
}

// The length of the character at I: 2 for a lead byte with a byte after it in
// its line and for a CR LF, else 1.
inline size_t CharLength(std::string_view text, size_t i) {
  if (IsLineBreakAt(text, i)) return 2;
  const bool lead = cp932::IsLeadByte(static_cast<unsigned char>(text[i]));
  return lead && i + 1 < text.size() && !IsLineBreakAt(text, i + 1) ? 2 : 1;
}

// The longest common prefix and suffix of two texts in whole characters (they
// do not overlap); a text's characters are counted from its start.
struct TCommonEnds {
  size_t Prefix = 0;
  size_t Suffix = 0;
};
TCommonEnds CommonEnds(std::string_view a, std::string_view b);

}  // namespace kelvane
