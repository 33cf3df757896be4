// Scanning a line: the per-byte attribute, reference, width and class strings
// that caret placement, hit testing and painting read.
#include <cassert>

#include "editor/VeskEdit.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

using cp932::IsLeadByte;

char ClassOfDouble(unsigned code) {
  if (code == 0x8140) return ':';
  if ((code >= 0x8260 && code <= 0x8279) || (code >= 0x8281 && code <= 0x829A)) return '4';
  if ((code >= 0x829F && code <= 0x82F1) || (code >= 0x8340 && code <= 0x8396)) return '5';
  if ((code >= 0x839F && code <= 0x83B6) || (code >= 0x83BF && code <= 0x83D6) ||
      (code >= 0x8440 && code <= 0x8460) || (code >= 0x8470 && code <= 0x8491))
    return '6';
  if (code >= 0x849F && code <= 0x84BE) return '7';
  if (code >= 0x8140 && code <= 0x81FC) return '8';
  return ';';
}

char ClassOfSingle(unsigned char b) {
  if (b == ' ') return ':';
  if (b >= '0' && b <= '9') return '0';
  if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return '1';
  if ((b >= 0x21 && b <= 0x2F) || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) ||
      (b >= 0x7B && b <= 0x7E))
    return '2';
  return '3';
}

// The WidthCache cell of the character starting with c (and t for a double-byte one).
size_t WidthCell(unsigned char c, unsigned char t) {
  if (c <= 0x80) return c;
  if (c <= 0x9F) return 129 + (c - 0x81) * 256u + t;
  if (c <= 0xDF) return 8065 + (c - 0xA0);
  if (c <= 0xFC) return 8129 + (c - 0xE0) * 256u + t;
  return 15553 + (c - 0xFD);
}

}  // namespace

// Classes: both bytes of a double-byte character get one code; a lead byte in
// the last position is classified as if its trail byte were 0.
void ClassifyLine(const std::string& text, const std::string& attrs, std::string& classes) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (static_cast<unsigned char>(attrs[i]) == 0x40) {
      classes[i++] = '9';
    } else if (IsLeadByte(b)) {
      const unsigned t = i + 1 < n ? static_cast<unsigned char>(text[i + 1]) : 0;
      const char c = ClassOfDouble(b * 256u + t);
      classes[i++] = c;
      if (i < n) classes[i++] = c;
    } else {
      classes[i++] = ClassOfSingle(b);
    }
  }
}

uint8_t TVeskEdit::CharWidth(std::string_view text, size_t i) {
  const auto c = static_cast<unsigned char>(text[i]);
  const bool dbcs = IsLeadByte(c);
  const unsigned char t = dbcs && i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
  uint8_t& cell = WidthCache[WidthCell(c, t)];
  if (cell == 0) {
    const char bytes[2] = {static_cast<char>(c), static_cast<char>(t)};
    cell = static_cast<uint8_t>(MeasureCanvas().TextExtent(std::string_view(bytes, dbcs ? 2 : 1)).cx);
  }
  return cell;
}

// A character start must never have width 0 (the caret could not stand before
// it), so a glyph that measures 0, or whose width wraps to 0 in one byte, gets 1.
char StoredWidth(unsigned w) { return static_cast<char>(w % 256 == 0 ? 1 : w % 256); }

void MeasureLine(TVeskItem& item) {
  TVeskEdit& edit = *item.Owner;
  const std::string& text = item.Text;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (static_cast<unsigned char>(item.Attrs[i]) == 0x40) {
      if (b == '&') {
        const char16_t ref = item.RefChars[i];
        item.Widths[i] = StoredWidth(edit.MeasureCanvas().TextExtentW(std::u16string_view(&ref, 1)).cx);
      }
      ++i;
    } else if (b == '\t') {
      item.Widths[i++] = StoredWidth(edit.TabWidth);
    } else {
      item.Widths[i] = StoredWidth(edit.CharWidth(text, i));
      i += IsLeadByte(b) ? 2 : 1;
    }
  }
}

void TVeskItem::Scan() {
  const size_t n = Text.size();
  Attrs.assign(n, '\0');
  RefChars.assign(n, u'\0');
  Classes.assign(n, '\0');
  Widths.assign(n, '\0');
  if (n == 0) return;
  ClassifyLine(Text, Attrs, Classes);
  if (Owner) MeasureLine(*this);
  CheckInvariants();
}

}  // namespace kelvane
