// Scanning a line: the per-byte attribute, reference, width and class strings
// that caret placement, hit testing, word selection and painting read. Every
// change of a line's bytes is followed by a scan of that line.
#include <algorithm>
#include <array>
#include <cassert>

#include "editor/Attributes.h"
#include "editor/VeskEdit.h"
#include "editor/keywords/VeskKeywords.h"
#include "editor/unistrings/VeskUniStrings.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

using cp932::IsLeadByte;

inline unsigned char At(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }
inline bool IsDigit(unsigned char b) { return b >= '0' && b <= '9'; }
inline bool IsRefNameChar(unsigned char b) {
  return IsDigit(b) || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}
inline bool IsAnchorChar(unsigned char b) { return b == '-' || b == '>' || IsDigit(b); }
inline unsigned char Lower(unsigned char b) { return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + 32) : b; }

// "!#$%&*+-./0-9;=?@A-Z[\]^_`a-z{|}~": no space, control byte, quote, apostrophe,
// parentheses, comma, colon, "<", ">" or byte from 0x7F up.
bool IsUrlChar(unsigned char b) {
  if (b >= '0' && b <= '9') return true;
  if (b >= '?' && b <= '~') return b != '>';
  switch (b) {
    case '!': case '#': case '$': case '%': case '&': case '*': case '+': case '-': case '.':
    case '/': case ';': case '=':
      return true;
    default:
      return false;
  }
}

constexpr char ClassOfDoubleCode(unsigned code) {
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

// Only lead bytes 0x81 … 0x84 hold codes of their own classes; everything from
// 0x85 on is class ";".
constexpr std::array<char, 4 * 256> kDoubleClasses = [] {
  std::array<char, 4 * 256> table{};
  for (unsigned i = 0; i < table.size(); ++i) table[i] = ClassOfDoubleCode(0x8100 + i);
  return table;
}();

inline char ClassOfDouble(unsigned code) { return code < 0x8500 ? kDoubleClasses[code - 0x8100] : ';'; }

constexpr char ClassOfSingleByte(unsigned b) {
  if (b == ' ') return ':';
  if (b >= '0' && b <= '9') return '0';
  if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return '1';
  if ((b >= 0x21 && b <= 0x2F) || (b >= 0x3A && b <= 0x40) || (b >= 0x5B && b <= 0x60) || (b >= 0x7B && b <= 0x7E))
    return '2';
  return '3';
}

constexpr std::array<char, 256> kSingleClasses = [] {
  std::array<char, 256> table{};
  for (unsigned b = 0; b < 256; ++b) table[b] = ClassOfSingleByte(b);
  return table;
}();

inline char ClassOfSingle(unsigned char b) { return kSingleClasses[b]; }

// Single bytes that can start no mark: not a lead byte, space, tab, ">", or the
// first letter of a link prefix (h, t, f in either case).
constexpr std::array<bool, 256> kPlainSingle = [] {
  std::array<bool, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    const bool lead = IsLeadByte(static_cast<unsigned char>(b));
    const bool starts = b == ' ' || b == '\t' || b == '>' || b == 'h' || b == 'H' || b == 't' || b == 'T' ||
                        b == 'f' || b == 'F';
    table[b] = !lead && !starts;
  }
  return table;
}();

// The WidthCache cell of the character starting with c (and t for a double-byte one).
inline size_t WidthCell(unsigned char c, unsigned char t) {
  if (c <= 0x80) return c;
  if (c <= 0x9F) return 129 + (c - 0x81) * 256u + t;
  if (c <= 0xDF) return 8065 + (c - 0xA0);
  if (c <= 0xFC) return 8129 + (c - 0xE0) * 256u + t;
  return 15553 + (c - 0xFD);
}

// A character start must never have width 0 (the caret could not stand before
// it), so a glyph that measures 0, or whose width wraps to 0 in one byte, gets 1.
char StoredWidth(unsigned w) { return static_cast<char>(w % 256 == 0 ? 1 : w % 256); }

bool StartsWithLower(const std::string& text, size_t i, std::string_view prefix) {
  if (i + prefix.size() > text.size()) return false;
  for (size_t k = 0; k < prefix.size(); ++k) {
    if (Lower(At(text, i + k)) != static_cast<unsigned char>(prefix[k])) return false;
  }
  return true;
}

}  // namespace

// The scan of one line, step by step, into the line's derived strings (its
// attributes, the referenced characters, the widths). Positions are 0-based.
class TLineScanner {
 public:
  // Attrs: where the attribute codes go (the line's own, or a scratch string).
  TLineScanner(const TVeskItem& item, std::string& attrs)
      : item_(item), edit_(*item.Owner), text_(item.Text), attrs_(attrs), n_(item.Text.size()) {}

  void Run() {
    const bool references = edit_.ShowNumRef() || edit_.ShowNameRef();
    if (references) {
      refs_.assign(n_, u'\0');
      MarkReferences();
    }
    // Keywords stand at word boundaries, told by the classes as the references left them.
    std::string classes;
    const bool keywords = edit_.Keywords.HasWords();
    if (keywords) ClassifyLine(classes);
    MarkSpacesLinksTabs();
    if (keywords) MarkKeywords(classes);
    MeasureLine();
    // Most lines show no reference: they keep no table of them.
    if (references && std::any_of(refs_.begin(), refs_.end(), [](char16_t c) { return c != 0; }))
      item_.d_->RefChars = std::make_unique<std::u16string>(std::move(refs_));
  }

  // The class of every byte; shown references are one class of their own.
  std::string Classes() {
    attrs_.assign(n_, '\0');
    if (edit_.ShowNumRef() || edit_.ShowNameRef()) {
      refs_.assign(n_, u'\0');
      MarkReferences();
    }
    std::string classes;
    ClassifyLine(classes);
    return classes;
  }

 private:
  void SetAttrs(size_t from, size_t to, uint8_t code) {  // bytes from … to, inclusive
    std::fill(attrs_.begin() + static_cast<ptrdiff_t>(from), attrs_.begin() + static_cast<ptrdiff_t>(to) + 1, static_cast<char>(code));
  }

  void MarkReferences() {
    size_t p = 0;
    while (p < n_) {
      const size_t end = At(text_, p) == '&' && p + 2 < n_ ? ReferenceEnd(p) : 0;
      p = end ? end + 1 : p + 1;
    }
  }

  // The last byte of a recognised reference at P (marked), or 0 when there is none.
  size_t ReferenceEnd(size_t p) {
    uint32_t code = 0;
    size_t q = p;
    if (edit_.ShowNumRef() && At(text_, p + 1) == '#') {
      q = p + 1;
      uint32_t v = 0;
      while (q + 1 < n_ && IsDigit(At(text_, q + 1))) {
        v = std::min<uint32_t>(v * 10 + (At(text_, q + 1) - '0'), 0x10000);
        ++q;
      }
      if (v < 1 || v > 65535) return 0;
      code = v;
    } else if (edit_.ShowNameRef()) {
      while (q + 1 < n_ && IsRefNameChar(At(text_, q + 1))) ++q;
      if (q - p < 2) return 0;
      code = FindUniName(std::string_view(text_).substr(p + 1, q - p));
      if (code == 0) return 0;
    } else {
      return 0;
    }
    if (q + 1 < n_ && At(text_, q + 1) == ';') ++q;
    refs_[p] = static_cast<char16_t>(code);
    SetAttrs(p, q, attr::kReference);
    return q;
  }

  // Both bytes of a double-byte character get one class; a lead byte in the last
  // position is classified as if its trail byte were 0.
  void ClassifyLine(std::string& classes) const {
    classes.assign(n_, '\0');
    size_t i = 0;
    while (i < n_) {
      const unsigned char b = At(text_, i);
      if (static_cast<unsigned char>(attrs_[i]) == attr::kReference) {
        classes[i++] = '9';
      } else if (IsLeadByte(b)) {
        const unsigned t = i + 1 < n_ ? At(text_, i + 1) : 0;
        const char c = ClassOfDouble(b * 256u + t);
        classes[i++] = c;
        if (i < n_) classes[i++] = c;
      } else {
        classes[i++] = ClassOfSingle(b);
      }
    }
  }

  void MarkSpacesLinksTabs() {
    size_t i = 0;
    if (At(text_, 0) == ' ') {
      attrs_[0] = attr::kErrorSpace;
      i = 1;
    }
    while (i < n_) {
      const unsigned char b = At(text_, i);
      if (kPlainSingle[b]) {  // most bytes: nothing to mark, nothing to test
        ++i;
      } else if (IsLeadByte(b)) {
        if (b == 0x81 && i + 1 < n_ && At(text_, i + 1) == 0x40) SetAttrs(i, i + 1, attr::kWideSpace);
        i += 2;
      } else if (b == ' ') {
        if (At(text_, i - 1) == ' ') {
          SetAttrs(i - 1, i, attr::kErrorSpace);
        } else {
          attrs_[i] = attr::kSpace;
        }
        ++i;
      } else if (b == '>' && i + 1 < n_) {
        size_t k = 0;
        while (i + 1 + k < n_ && IsAnchorChar(At(text_, i + 1 + k))) ++k;
        if (k > 0) SetAttrs(i, i + k, attr::kLink);
        i += k + 1;
      } else if (size_t e = UrlEnd(i)) {
        SetAttrs(i, e, attr::kLink);
        i = e + 1;
      } else {
        if (b == '\t') attrs_[i] = attr::kTab;
        ++i;
      }
    }
  }

  // The last byte of a link starting at I, or 0 when none starts there.
  size_t UrlEnd(size_t i) const {
    if (i + 9 > n_) return 0;  // at least nine bytes from I to the end of the line
    const unsigned char first = Lower(At(text_, i));
    if (first != 'h' && first != 't' && first != 'f') return 0;
    static constexpr std::string_view kPrefixes[] = {"https://", "http://", "ttps://", "ttp://", "ftp://"};
    for (std::string_view prefix : kPrefixes) {
      if (!StartsWithLower(text_, i, prefix)) continue;
      size_t e = i + 5;
      while (e + 1 < n_ && IsUrlChar(At(text_, e + 1))) ++e;
      return e;
    }
    return 0;
  }

  void MarkKeywords(const std::string& classes) {
    std::string lower(text_);
    for (char& c : lower) c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    const TKeywordList& keywords = edit_.Keywords;
    for (int g = 0; g < keywords.Count(); ++g) {
      for (const std::string& w : keywords.Items(g).Words) {
        const size_t m = w.size();
        if (m == 0) continue;
        size_t p = lower.find(w);
        while (p != std::string::npos && p < n_) {
          const size_t last = p + m - 1;
          const bool matches = last < n_ && lower.compare(p, m, w) == 0 &&
                               (p == 0 || classes[p - 1] != classes[p]) &&
                               (last == n_ - 1 || classes[last] != classes[last + 1]);
          if (matches) {
            SetAttrs(p, last, static_cast<uint8_t>(attr::kFirstKeyword + g));
            p += m;
          } else {
            p += IsLeadByte(At(lower, p)) ? 2 : 1;
          }
        }
      }
    }
  }

  void MeasureLine() {
    std::string& widths = item_.d_->Widths;
    size_t i = 0;
    while (i < n_) {
      const unsigned char b = At(text_, i);
      if (static_cast<unsigned char>(attrs_[i]) == attr::kReference) {
        if (b == '&') {
          const char16_t ref = refs_[i];
          widths[i] = StoredWidth(edit_.MeasureCanvas().TextExtentW(std::u16string_view(&ref, 1)).cx);
        }
        ++i;
      } else if (b < 0x80 && b != '\t' && edit_.WidthCache[b] != 0) {  // ASCII, measured before
        widths[i++] = static_cast<char>(edit_.WidthCache[b]);
      } else if (b == '\t') {
        widths[i++] = StoredWidth(edit_.TabWidth);
      } else {
        const bool lead = IsLeadByte(b);
        const uint8_t cached = edit_.WidthCache[WidthCell(b, lead && i + 1 < n_ ? At(text_, i + 1) : 0)];
        widths[i] = StoredWidth(cached != 0 ? cached : edit_.CharWidth(text_, i));
        i += lead ? 2 : 1;
      }
    }
  }

  const TVeskItem& item_;
  TVeskEdit& edit_;
  const std::string& text_;
  std::string& attrs_;
  std::u16string refs_;
  const size_t n_;
};

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

void TVeskItem::Derive() const {
  const size_t n = Text.size();
  TDerived& d = Made();
  d.Attrs.assign(n, '\0');
  d.Widths.assign(n, '\0');
  d.RefChars.reset();
  d.AttrsStale = d.WidthsStale = false;
  d.MemoCol = 0;
  d.MemoX = 0;
  if (n == 0 || !Owner) return;
  ++Owner->LineScans;
  TLineScanner(*this, d.Attrs).Run();
  CheckInvariants();
}

void TVeskItem::MeasureWidths() const {
  TDerived& d = Made();
  d.Widths.assign(Text.size(), '\0');
  d.WidthsStale = false;
  d.MemoCol = 0;
  d.MemoX = 0;
  if (Owner) Remeasure(0, Text.size());
}

// Character by character from From (a character start) until the old widths
// are in step again: past ChangedEnd, at a byte that began a character before.
// It runs for every byte a history step puts in, so the common characters,
// measured before, come straight from the cache without a call.
void TVeskItem::Remeasure(size_t from, size_t changedEnd) const {
  const size_t n = Text.size();
  const unsigned char* text = reinterpret_cast<const unsigned char*>(Text.data());
  char* widths = d_->Widths.data();
  const std::array<uint8_t, 15556>& cache = Owner->WidthCache;
  const auto measure = [&](size_t i) -> size_t {  // the byte after the character at I
    const unsigned char b = text[i];
    if (b < 0x80 && b != '\t') {
      if (const uint8_t w = cache[b]; w != 0) {
        widths[i] = static_cast<char>(w);
        return i + 1;
      }
    }
    const bool lead = IsLeadByte(b);
    if (lead && i + 1 < n) {
      widths[i + 1] = '\0';
      if (const uint8_t w = cache[WidthCell(b, text[i + 1])]; w != 0) {
        widths[i] = static_cast<char>(w);
        return i + 2;
      }
    }
    widths[i] = static_cast<char>(Owner->StoredCharWidth(Text, i));
    return lead ? i + 2 : i + 1;
  };
  size_t i = from;
  const size_t end = std::min(changedEnd, n);
  while (i < end) i = measure(i);
  while (i < n && widths[i] == 0) i = measure(i);
}

std::string TVeskItem::Classes() const {
  if (Text.empty() || !Owner) return std::string(Text.size(), '\0');
  std::string scratch;
  return TLineScanner(*this, scratch).Classes();
}

// The stored width of the character starting at byte I, shown references aside.
uint8_t TVeskEdit::StoredCharWidth(std::string_view text, size_t i) {
  const unsigned char b = At(text, i);
  if (b < 0x80 && b != '\t' && WidthCache[b] != 0) return WidthCache[b];  // ASCII, measured before
  if (b == '\t') return static_cast<uint8_t>(StoredWidth(TabWidth));
  const bool lead = IsLeadByte(b);
  const uint8_t cached = WidthCache[WidthCell(b, lead && i + 1 < text.size() ? At(text, i + 1) : 0)];
  return static_cast<uint8_t>(StoredWidth(cached != 0 ? cached : CharWidth(text, i)));
}

}  // namespace kelvane
