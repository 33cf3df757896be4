// Character starts in code page 932 text, and common ends in whole characters.
#include "history/CharBounds.h"

#include <algorithm>

namespace kelvane {

namespace {

bool IsLeadAt(std::string_view text, size_t i) { return cp932::IsLeadByte(static_cast<unsigned char>(text[i])); }

// Offsets of the character starts of Text from From (a start) to its end, the end included.
void CollectStarts(std::string_view text, size_t from, std::vector<size_t>& starts) {
  starts.clear();
  for (size_t i = from; i < text.size(); i += CharLength(text, i)) starts.push_back(i);
  starts.push_back(text.size());
}

}  // namespace

bool IsCharStart(std::string_view text, size_t i) {
  if (i == 0 || i >= text.size()) return true;
  if (IsLineBreakAt(text, i)) return true;
  size_t run = 0;
  for (size_t j = i; j > 0 && IsLeadAt(text, j - 1) && !IsLineBreakAt(text, j); --j) ++run;
  return run % 2 == 0;
}

size_t CharStartAtOrBefore(std::string_view text, size_t i) {
  i = std::min(i, text.size());
  return IsCharStart(text, i) ? i : i - 1;  // a byte that begins nothing ends a pair
}

TCommonEnds CommonEnds(std::string_view a, std::string_view b) {
  TCommonEnds ends;
  size_t& p = ends.Prefix;
  while (p < a.size() && p < b.size()) {
    const size_t n = CharLength(a, p);
    if (n != CharLength(b, p) || a.compare(p, n, b, p, n) != 0) break;
    p += n;
  }
  std::vector<size_t> startsA, startsB;
  CollectStarts(a, p, startsA);
  CollectStarts(b, p, startsB);
  size_t ia = startsA.size() - 1, ib = startsB.size() - 1;  // at the ends
  while (ia > 0 && ib > 0) {
    const size_t na = startsA[ia] - startsA[ia - 1];
    const size_t nb = startsB[ib] - startsB[ib - 1];
    if (na != nb || a.compare(startsA[ia - 1], na, b, startsB[ib - 1], nb) != 0) break;
    --ia;
    --ib;
  }
  ends.Suffix = a.size() - startsA[ia];
  return ends;
}

}  // namespace kelvane
