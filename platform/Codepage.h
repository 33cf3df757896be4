#pragma once
// Code page 932 (Shift-JIS as Windows writes it) <-> Unicode.
//
// Decoding matches Windows byte for byte, including its handling of broken
// input. Encoding picks the code Windows picks where a character has several;
// the characters other decoders give for a code (U+301C for 0x8160, U+00A5 for
// 0x5C, ...) go back to that code; anything else without a code becomes "?".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane::cp932 {

// Lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char b) noexcept {
  // Unsigned wrap-around makes each range one comparison.
  return static_cast<unsigned char>(b - 0x81) <= 0x9F - 0x81 || static_cast<unsigned char>(b - 0xE0) <= 0xFC - 0xE0;
}

// Bytes that may follow a lead byte in a mapped character: 0x40-0x7E, 0x80-0xFC.
constexpr bool IsTrailByte(unsigned char b) noexcept {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// What Windows shows for a lead byte with no valid character behind it.
inline constexpr char16_t kDefaultChar = u'\u30FB';
// Returned by DecodeSingle/DecodeDouble for bytes that are no character.
inline constexpr char16_t kUnmapped = u'\uFFFF';

// Decoding (code page 932 bytes -> Unicode). Never fails: unmapped pairs and
// stray lead bytes become kDefaultChar; a stray lead byte never swallows the
// byte after it unless that byte is a trail byte.
std::u16string ToUtf16(std::string_view bytes);
std::string ToUtf8(std::string_view bytes);
// As ToUtf8, but every byte that begins no valid character (a lead byte without
// a trail byte making a mapped pair) becomes U+FFFD: what a reader can tell
// from a real "・".
std::string ToUtf8Marked(std::string_view bytes);
// The offset of the first byte at or after From that begins no valid
// character, or npos when the bytes from there on are all valid.
std::size_t FindInvalid(std::string_view bytes, std::size_t from = 0) noexcept;

// One character: the Unicode value of a single byte, or of lead+trail;
// kUnmapped when unmapped (a lead byte alone is unmapped).
char16_t DecodeSingle(unsigned char b) noexcept;
char16_t DecodeDouble(unsigned char lead, unsigned char trail) noexcept;

// Encoding (Unicode -> code page 932 bytes); characters outside the code page,
// lone surrogates and malformed UTF-8 each become one "?".
std::string FromUtf16(std::u16string_view text);
std::string FromUtf8(std::string_view text);

// One character: the code (0x00-0xFF single byte, or lead*256+trail), or -1
// when unmappable.
int EncodeChar(char32_t c) noexcept;

namespace detail {
// Generated tables (Cp932Table.cpp, by tools/gen_cp932.py).
inline constexpr std::size_t kLeadCount = 60;    // 0x81-0x9F, 0xE0-0xFC
inline constexpr std::size_t kTrailCount = 189;  // 0x40-0xFC
inline constexpr std::size_t kEncodeCount = 9402;
extern const char16_t kSingle[256];
extern const char16_t kDouble[kLeadCount * kTrailCount];
extern const char16_t kEncodeChar[kEncodeCount];
extern const std::uint16_t kEncodeCode[kEncodeCount];
extern const std::uint16_t kEncodePage[257];
}  // namespace detail

}  // namespace kelvane::cp932

// UTF-8 <-> UTF-16, for paths and captions at a system that speaks UTF-16.
// Malformed UTF-8 and lone surrogates each become one U+FFFD.
namespace kelvane::unicode {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace kelvane::unicode
