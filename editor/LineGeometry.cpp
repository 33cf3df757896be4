// Pixel geometry of one line: columns to x and back, the columns a pixel range
// covers, widths of runs, and the box operations that work in pixels.
#include <algorithm>

#include "editor/Attributes.h"
#include "editor/VeskEdit.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {
constexpr char kWideSpace[] = "\x81\x40";
}

int32_t TVeskItem::XOfColumn(int64_t pos, bool half) const {
  if (Text.empty() || pos < 1) return 0;
  const int64_t before = WidthBetween(1, pos);
  int64_t x = before;
  if (half && pos < static_cast<int64_t>(Text.size())) x += WidthAt(static_cast<size_t>(pos - 1)) / 2;
  return static_cast<int32_t>(std::min<int64_t>(x, INT32_MAX));
}

// The column a pixel x lands on. A click left of a character's middle lands
// before it, at or right of the middle after it (atMiddleGoesBefore: exactly at
// the middle lands before it). Never inside a double-byte character or a shown reference.
int32_t TVeskItem::ColumnWalk(int64_t x, bool atMiddleGoesBefore) const {
  const size_t n = Text.size();
  int64_t cum = 0;
  size_t i = 0;
  bool trail = false;  // byte i is the trail byte of a double-byte character
  for (; i < n; ++i) {
    const int64_t mid = cum + WidthAt(i) / 2;
    if (atMiddleGoesBefore ? mid >= x : x < mid) break;
    cum += WidthAt(i);
    trail = !trail && cp932::IsLeadByte(static_cast<unsigned char>(Text[i]));
  }
  if (i == n) return static_cast<int32_t>(n + 1);
  if (AttrAt(i) == attr::kReference && Text[i] != '&') {
    while (i < n && AttrAt(i) == attr::kReference && Text[i] != '&') ++i;
    return static_cast<int32_t>(i + 1);
  }
  return static_cast<int32_t>(trail ? i + 2 : i + 1);
}

int32_t TVeskItem::ColumnAtX(int32_t x) const {
  if (Text.empty()) return 1;
  return ColumnWalk(std::max(x, 0), false);
}

bool TVeskItem::ColumnSpan(int32_t x1, int32_t x2, int32_t& start, int32_t& end) const {
  start = Text.empty() ? 1 : ColumnWalk(x1, true);
  end = Text.empty() ? 1 : ColumnWalk(x2, true);
  return start < end;
}

int32_t TVeskItem::WidthBetween(int64_t start, int64_t end) const {
  const size_t from = ClampToSize(start - 1, Text.size());
  const size_t to = ClampToSize(end - 1, Text.size());
  if (to <= from) return 0;
  const int64_t sum = PrefixWidth(to) - PrefixWidth(from);
  return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
}

int32_t TVeskItem::LineWidth() const { return WidthBetween(1, static_cast<int64_t>(Text.size()) + 1); }

void TVeskItem::FillBox(std::string_view fill) {
  int32_t start = 0, end = 0;
  if (!Owner || !Owner->BoxMode || Text.empty()) return;
  if (!ColumnSpan(Owner->BoxLeftX, Owner->BoxRightX, start, end)) return;
  const size_t at = static_cast<size_t>(start - 1);
  const size_t count = static_cast<size_t>(end - start);
  std::string repeated;
  if (!fill.empty()) {
    const int64_t w = WidthBetween(start, end);
    TVeskItem measure(Owner, std::string(fill));
    measure.Scan();
    const int64_t a = std::max(measure.LineWidth(), 1);  // never loop on a fill that measures nothing
    int64_t times = 1;
    while (times * a + a / 2 < w) ++times;
    for (int64_t k = 0; k < times; ++k) repeated.append(fill);
  }
  Text.replace(at, count, repeated);
  TextChanged();
}

// Pads the line with full-width, then half-width spaces up to pixel x.
void TVeskItem::PadTo(int64_t x) {
  const int64_t wide = Owner->WideSpaceWidth;
  const int64_t space = Owner->SpaceWidth;
  int64_t b = LineWidth();
  while (wide > 0 && b + wide - 4 < x) {
    Text.append(kWideSpace);
    b += wide;
  }
  while (space > 0 && b + space - 2 <= x) {
    Text.push_back(' ');
    b += space;
  }
  TextChanged();
}

// The 0-based index of the character at pixel x (stepping whole characters and
// references) and the x where it starts.
std::pair<size_t, int64_t> TVeskItem::CharacterAtX(int64_t x) const {
  const size_t n = Text.size();
  int64_t cum = 0;
  size_t i = 0;
  while (i < n && cum + WidthAt(i) / 2 < x) {
    cum += WidthAt(i);
    i += cp932::IsLeadByte(static_cast<unsigned char>(Text[i])) ? 2 : 1;
  }
  i = std::min(i, n);
  while (i < n && AttrAt(i) == attr::kReference && Text[i] != '&') ++i;
  return {i, cum};
}

void TVeskItem::InsertAtX(int mode, int32_t x, std::string s) {
  TVeskEdit& edit = *Owner;
  int64_t target = x;
  if (mode == 1) {
    size_t skip = 0;
    while (true) {
      if (skip < s.size() && s[skip] == ' ') {
        target += edit.SpaceWidth;
        skip += 1;
      } else if (s.compare(skip, 2, kWideSpace) == 0) {
        target += edit.WideSpaceWidth;
        skip += 2;
      } else {
        break;
      }
    }
    s.erase(0, skip);
  }
  if (s.empty()) return;
  PadTo(target);
  const auto [at, cum] = CharacterAtX(target);
  if (cum + edit.SpaceWidth - 2 < target) {  // the stop lies inside something wide, a tab say
    InsertBytes(static_cast<int64_t>(at) + 1, " ");
  }
  TVeskItem measure(Owner, s);
  measure.Scan();
  const int64_t f = measure.LineWidth();
  int32_t start = 0, end = 0;
  ColumnSpan(static_cast<int32_t>(std::clamp<int64_t>(target, INT32_MIN, INT32_MAX)),
             static_cast<int32_t>(std::clamp<int64_t>(target + f, INT32_MIN, INT32_MAX)), start, end);
  const size_t insertAt = ClampToSize(start - 1, Text.size());
  if (mode == 1 && start < end) Text.erase(insertAt, static_cast<size_t>(end - start));
  Text.insert(insertAt, s);
  TextChanged();
}

}  // namespace kelvane
