#include "platform/Codepage.h"

#include <algorithm>
#include <iterator>

namespace kelvane::cp932 {
namespace {

using detail::kTrailCount;

constexpr unsigned char kTrailFirst = 0x40;
constexpr unsigned char kTrailLast = 0xFC;

// Decodes the character at p and advances past it. A lead byte only takes the
// next byte along when that byte is a trail byte, so line breaks survive.
inline char16_t DecodeNext(const unsigned char*& p, const unsigned char* end) noexcept {
  const unsigned char b = *p;
  if (!IsLeadByte(b)) {
    ++p;
    return detail::kSingle[b];
  }
  if (end - p > 1 && IsTrailByte(p[1])) {
    const char16_t u = DecodeDouble(b, p[1]);
    p += 2;
    return u == kUnmapped ? kDefaultChar : u;
  }
  ++p;
  return kDefaultChar;
}

inline const unsigned char* Bytes(std::string_view s) noexcept {
  return reinterpret_cast<const unsigned char*>(s.data());
}

inline void PutCode(char*& out, int code) noexcept {
  if (code < 0) {
    *out++ = '?';
  } else if (code < 0x100) {
    *out++ = static_cast<char>(code);
  } else {
    *out++ = static_cast<char>(code >> 8);
    *out++ = static_cast<char>(code & 0xFF);
  }
}

struct Utf8Step {
  std::size_t length;  // bytes consumed, at least 1
  char32_t value;      // meaningful only when ok
  bool ok;
};

// Reads one UTF-8 sequence at p. A malformed one consumes only its longest
// valid prefix (at least one byte), which becomes one "?": the usual Unicode
// substitution, and it never reads past end.
inline Utf8Step NextUtf8(const unsigned char* p, const unsigned char* end) noexcept {
  const unsigned char b = *p;
  if (b < 0x80) return {1, b, true};
  std::size_t need;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
  char32_t value;
  if (b >= 0xC2 && b <= 0xDF) {
    need = 1;
    value = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 2;
    value = b & 0x0F;
    if (b == 0xE0) lo = 0xA0;  // overlong
    if (b == 0xED) hi = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 3;
    value = b & 0x07;
    if (b == 0xF0) lo = 0x90;  // overlong
    if (b == 0xF4) hi = 0x8F;  // above U+10FFFF
  } else {
    return {1, 0, false};  // continuation byte, C0/C1 overlong leads, F5-FF
  }
  for (std::size_t len = 1; len <= need; ++len) {
    if (end - p <= static_cast<std::ptrdiff_t>(len)) return {len, 0, false};
    const unsigned char c = p[len];
    if (c < (len == 1 ? lo : 0x80) || c > (len == 1 ? hi : 0xBF)) return {len, 0, false};
    value = (value << 6) | (c & 0x3F);
  }
  return {need + 1, value, true};
}

}  // namespace

char16_t DecodeSingle(unsigned char b) noexcept { return detail::kSingle[b]; }

char16_t DecodeDouble(unsigned char lead, unsigned char trail) noexcept {
  if (!IsLeadByte(lead) || trail < kTrailFirst || trail > kTrailLast) return kUnmapped;
  const std::size_t row = lead <= 0x9F ? lead - 0x81u : lead - 0xE0u + 31u;
  return detail::kDouble[row * kTrailCount + (trail - kTrailFirst)];
}

std::u16string ToUtf16(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');  // never more units than bytes
  const unsigned char* p = Bytes(bytes);
  const unsigned char* const end = p + bytes.size();
  std::size_t n = 0;
  while (p != end) out[n++] = DecodeNext(p, end);
  out.resize(n);
  return out;
}

namespace {

inline void PutUtf8(char*& o, char16_t u) noexcept {
  if (u < 0x80) {
    *o++ = static_cast<char>(u);
  } else if (u < 0x800) {
    *o++ = static_cast<char>(0xC0 | (u >> 6));
    *o++ = static_cast<char>(0x80 | (u & 0x3F));
  } else {
    *o++ = static_cast<char>(0xE0 | (u >> 12));
    *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    *o++ = static_cast<char>(0x80 | (u & 0x3F));
  }
}

// The length of the valid character at p (1 or 2), or 0 when the bytes there
// are none: a lead byte without a trail byte that makes a mapped pair.
inline std::size_t ValidLength(const unsigned char* p, const unsigned char* end) noexcept {
  if (!IsLeadByte(*p)) return 1;
  return end - p > 1 && DecodeDouble(p[0], p[1]) != kUnmapped ? 2 : 0;
}

}  // namespace

std::string ToUtf8(std::string_view bytes) {
  std::string out(bytes.size() * 3, '\0');  // one byte can become three
  const unsigned char* p = Bytes(bytes);
  const unsigned char* const end = p + bytes.size();
  char* o = out.data();
  while (p != end) {
    if (*p < 0x80) {
      *o++ = static_cast<char>(*p++);
      continue;
    }
    PutUtf8(o, DecodeNext(p, end));
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string ToUtf8Marked(std::string_view bytes) {
  std::string out(bytes.size() * 3, '\0');
  const unsigned char* p = Bytes(bytes);
  const unsigned char* const end = p + bytes.size();
  char* o = out.data();
  while (p != end) {
    const std::size_t n = ValidLength(p, end);
    if (n == 0) {
      PutUtf8(o, u'\uFFFD');
      ++p;  // the next byte may begin a character of its own
    } else {
      PutUtf8(o, n == 1 ? detail::kSingle[*p] : DecodeDouble(p[0], p[1]));
      p += n;
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::size_t FindInvalid(std::string_view bytes, std::size_t from) noexcept {
  const unsigned char* const begin = Bytes(bytes);
  const unsigned char* const end = begin + bytes.size();
  for (const unsigned char* p = begin + std::min(from, bytes.size()); p != end;) {
    const std::size_t n = ValidLength(p, end);
    if (n == 0) return static_cast<std::size_t>(p - begin);
    p += n;
  }
  return std::string_view::npos;
}

namespace {

// Characters that other programs decode from these codes: decoders that follow
// the JIS tables rather than Windows' (most on Linux and macOS) give U+301C for
// 0x8160 where Windows gives U+FF5E, and so on. Text pasted from them must come
// back to the same codes, as Windows' best-fit conversion does for several of
// them, not become "?". Sorted by character; decoding never yields these.
struct TBestFit {
  char16_t Char;
  uint16_t Code;
};
constexpr TBestFit kBestFit[] = {
    {0x00A2, 0x8191},  // cent sign (0x8191 decodes as U+FFE0)
    {0x00A3, 0x8192},  // pound sign (U+FFE1)
    {0x00A5, 0x005C},  // yen sign: the JIS Roman byte 0x5C
    {0x00A6, 0xFA55},  // broken bar (U+FFE4)
    {0x00AC, 0x81CA},  // not sign (U+FFE2)
    {0x00AF, 0x8150},  // macron (U+FFE3)
    {0x2014, 0x815C},  // em dash (U+2015)
    {0x2016, 0x8161},  // double vertical line (U+2225)
    {0x203E, 0x007E},  // overline: the JIS Roman byte 0x7E
    {0x2212, 0x817C},  // minus sign (U+FF0D)
    {0x301C, 0x8160},  // wave dash (U+FF5E)
};

int BestFit(char32_t c) noexcept {
  const auto* const it = std::lower_bound(std::begin(kBestFit), std::end(kBestFit), c,
                                          [](const TBestFit& f, char32_t v) { return f.Char < v; });
  return it != std::end(kBestFit) && it->Char == c ? it->Code : -1;
}

}  // namespace

int EncodeChar(char32_t c) noexcept {
  if (c < 0x80) return static_cast<int>(c);
  if (c > 0xFFFF) return -1;
  const char16_t* const first = detail::kEncodeChar + detail::kEncodePage[c >> 8];
  const char16_t* const last = detail::kEncodeChar + detail::kEncodePage[(c >> 8) + 1];
  const char16_t* const it = std::lower_bound(first, last, static_cast<char16_t>(c));
  if (it == last || *it != c) return BestFit(c);
  return detail::kEncodeCode[it - detail::kEncodeChar];
}

std::string FromUtf16(std::u16string_view text) {
  std::string out(text.size() * 2, '\0');  // at most two bytes per unit
  char* o = out.data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u < 0x80) {
      *o++ = static_cast<char>(u);
      continue;
    }
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;  // a pair is one character, and none outside the BMP has a code
      *o++ = '?';
      continue;
    }
    PutCode(o, EncodeChar(u));
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string FromUtf8(std::string_view text) {
  std::string out(text.size(), '\0');  // a code never takes more bytes than the UTF-8
  const unsigned char* p = Bytes(text);
  const unsigned char* const end = p + text.size();
  char* o = out.data();
  while (p != end) {
    if (*p < 0x80) {
      *o++ = static_cast<char>(*p++);
      continue;
    }
    const Utf8Step step = NextUtf8(p, end);
    p += step.length;
    PutCode(o, step.ok ? EncodeChar(step.value) : -1);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

}  // namespace kelvane::cp932

namespace kelvane::unicode {

namespace {

void PutUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  const unsigned char* p = cp932::Bytes(text);
  const unsigned char* const end = p + text.size();
  while (p != end) {
    const cp932::Utf8Step step = cp932::NextUtf8(p, end);
    p += step.length;
    const char32_t c = step.ok ? step.value : kReplacement;
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      PutUtf8(out, 0x10000 + ((char32_t{u} - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else {
      PutUtf8(out, u >= 0xD800 && u <= 0xDFFF ? kReplacement : u);
    }
  }
  return out;
}

}  // namespace kelvane::unicode
