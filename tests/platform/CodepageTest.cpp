#include "platform/Codepage.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace cp = kelvane::cp932;

namespace {

// Order in which Windows prefers duplicate codes for one character.
int Rank(int code) {
  const int lead = code >> 8;
  if (code < 0x100) return 0;
  if ((lead >= 0x81 && lead <= 0x84) || (lead >= 0x88 && lead <= 0x9F) ||
      (lead >= 0xE0 && lead <= 0xEA))
    return 1;  // JIS X 0208
  if (lead == 0x87) return 2;                  // NEC row 13
  if (lead >= 0xFA && lead <= 0xFC) return 3;  // IBM extension
  return 4;                                    // NEC-selected IBM extension, user area
}

char16_t DecodeCode(int code) {
  return code < 0x100 ? cp::DecodeSingle(static_cast<unsigned char>(code))
                      : cp::DecodeDouble(static_cast<unsigned char>(code >> 8),
                                         static_cast<unsigned char>(code & 0xFF));
}

}  // namespace

TEST(Cp932Table, EveryCodeRoundTripsToTheWindowsChoice) {
  std::map<int, char16_t> codes;  // every code with a character
  for (int code = 0; code < 0x10000; ++code)
    if (char16_t u = DecodeCode(code); u != cp::kUnmapped) codes[code] = u;

  std::map<char16_t, int> preferred;
  int doubles = 0;
  for (const auto& [code, u] : codes) {
    auto [it, fresh] = preferred.emplace(u, code);
    if (!fresh && Rank(code) < Rank(it->second)) it->second = code;
    if (code < 0x100) {
      EXPECT_FALSE(cp::IsLeadByte(static_cast<unsigned char>(code))) << std::hex << code;
    } else {
      ++doubles;
      EXPECT_TRUE(cp::IsLeadByte(static_cast<unsigned char>(code >> 8))) << std::hex << code;
      EXPECT_TRUE(cp::IsTrailByte(static_cast<unsigned char>(code & 0xFF))) << std::hex << code;
    }
  }
  EXPECT_EQ(codes.size() - doubles, 256u - 60u);
  EXPECT_EQ(doubles, 9604);
  EXPECT_EQ(cp::DecodeDouble(0xF0, 0x40), u'\uE000');  // user-defined area
  EXPECT_EQ(cp::DecodeDouble(0xF9, 0xFC), u'\uE757');

  for (const auto& [code, u] : codes) {
    const int back = cp::EncodeChar(u);
    ASSERT_GE(back, 0) << std::hex << code;
    EXPECT_EQ(DecodeCode(back), u) << std::hex << code;
    if (preferred[u] == code) {
      EXPECT_EQ(back, code) << std::hex << "U+" << int(u);
    }
  }

  // The same through the string functions, both ways and both encodings.
  std::string all;
  for (const auto& [u, code] : preferred) {
    if (code >= 0x100) all += static_cast<char>(code >> 8);
    all += static_cast<char>(code & 0xFF);
  }
  EXPECT_EQ(cp::ToUtf16(all).size(), preferred.size());
  EXPECT_EQ(cp::FromUtf16(cp::ToUtf16(all)), all);
  EXPECT_EQ(cp::FromUtf8(cp::ToUtf8(all)), all);
}

TEST(Cp932Encode, DuplicatesPickWhatWindowsPicks) {
  EXPECT_EQ(cp::EncodeChar(U'\u2170'), 0xFA40);  // not EEEF
  EXPECT_EQ(cp::EncodeChar(U'\u7E8A'), 0xFA5C);  // not ED40
  EXPECT_EQ(cp::EncodeChar(U'\uFFE2'), 0x81CA);  // not EEF9 or FA54
  EXPECT_EQ(cp::EncodeChar(U'\u2235'), 0x81E6);  // not 879A or FA5B
  EXPECT_EQ(cp::EncodeChar(U'\u2160'), 0x8754);  // not FA4A
  EXPECT_EQ(cp::EncodeChar(U'\uFFE4'), 0xFA55);  // not EEFA
  EXPECT_EQ(cp::FromUtf8("\u2170\u7E8A"), "\xFA\x40\xFA\x5C");
}

TEST(Cp932Decode, SingleBytes) {
  EXPECT_EQ(cp::ToUtf16("\x80\xA0\xFD\xFE\xFF"), u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
  EXPECT_EQ(cp::ToUtf16("\xA1\xB1\xDF"), u"\uFF61\uFF71\uFF9F");  // half-width katakana
  EXPECT_EQ(cp::ToUtf8("\x80\xB1"), "\xC2\x80\uFF71");
  EXPECT_EQ(cp::FromUtf16(u"\u0080\uF8F0\uF8F1\uFF61"), "\x80\xA0\xFD\xA1");
  const std::string ascii = "\\~ \t\r\nAz09\x7F" + std::string(1, '\0');
  EXPECT_EQ(cp::ToUtf8(ascii), ascii);
  EXPECT_EQ(cp::FromUtf8(ascii), ascii);
  EXPECT_EQ(cp::ToUtf8(""), "");
  EXPECT_EQ(cp::FromUtf8(""), "");
}

TEST(Cp932Decode, BrokenInputUsesTheDefaultCharacter) {
  EXPECT_EQ(cp::ToUtf16("A\x82"), u"A\u30FB");             // lead byte at the end
  EXPECT_EQ(cp::ToUtf16("\x82\r\nB"), u"\u30FB\r\nB");      // line break survives
  EXPECT_EQ(cp::ToUtf16("\x82\x7F"), u"\u30FB\x7F");        // 0x7F is no trail byte
  EXPECT_EQ(cp::ToUtf16("\x82\xFD"), u"\u30FB\uF8F1");      // nor is 0xFD
  EXPECT_EQ(cp::ToUtf16("\x82\xA0\x82"), u"\u3042\u30FB");  // pair, then stray lead
  EXPECT_EQ(cp::ToUtf16("\x85\x40Z"), u"\u30FBZ");          // unmapped pair: one character
  EXPECT_EQ(cp::ToUtf16("\x82\xF2"), u"\u30FB");
  EXPECT_EQ(cp::ToUtf16("\x81\x81\x40"), u"\uFF1D@");  // a lead byte can be a trail
  EXPECT_EQ(cp::ToUtf8("\x82\n\x85\x40"), "\u30FB\n\u30FB");
  EXPECT_EQ(cp::DecodeDouble(0x85, 0x40), cp::kUnmapped);
}

TEST(Cp932Encode, UnmappableBecomesQuestionMark) {
  EXPECT_EQ(cp::FromUtf8("caf\u00E9"), "caf?");
  EXPECT_EQ(cp::FromUtf8("a\U0001F600b"), "a?b");  // one "?" for one emoji
  EXPECT_EQ(cp::FromUtf16(u"a\U0001F600b"), "a?b");
  EXPECT_EQ(cp::FromUtf16(u"x\xD800y\xDC00z\xD83D"), "x?y?z?");  // lone surrogates
  EXPECT_EQ(cp::FromUtf16(u"\xDC00\xD800"), "??");                // pair in the wrong order
  EXPECT_EQ(cp::EncodeChar(U'\u00E9'), -1);  // no guessing a letter without its accent
  EXPECT_EQ(cp::EncodeChar(0xD800), -1);
  EXPECT_EQ(cp::EncodeChar(0xFFFF), -1);
  EXPECT_EQ(cp::EncodeChar(0x10000), -1);
}

// What other programs decode from these codes comes back to them; the codes
// still decode as Windows decodes them.
TEST(Cp932Encode, OtherDecodersFormsComeBackToTheirCodes) {
  EXPECT_EQ(cp::FromUtf8("〜‖−¢£¬—¥¦‾¯"),
            "\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x5C\x5C\xFA\x55\x7E\x81\x50");
  EXPECT_EQ(cp::ToUtf8("\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x5C\x5C\xFA\x55"), "～∥－￠―\\￤");
}

TEST(Cp932Encode, MalformedUtf8) {
  // One "?" for each longest prefix that could still have become valid.
  const struct {
    std::string in, out;
  } cases[] = {
      {"a\xBF\x80z", "a??z"},                      // stray continuations
      {"\xC0\xAF", "??"},                          // overlong "/" (C0 is never valid)
      {"\xE0\x80\xAF", "???"},                     // overlong three-byte form
      {"\xF0\x80\x80\xAF", "????"},                // overlong four-byte form
      {"\xED\xA0\x80", "???"},                     // encoded surrogate
      {"\xF4\x90\x80\x80", "????"},                // above U+10FFFF
      {"\xF5\x80\xFF\xFE", "????"},                // impossible leads
      {"\xE3\x81", "?"},                           // truncated at the end
      {"\xE3\x81" "A\xE3\x81\x82", "?A\x82\xA0"},  // truncated, then valid
      {"\xF0\x9F\x98", "?"},
      {"\xC3", "?"},
  };
  for (const auto& c : cases) EXPECT_EQ(cp::FromUtf8(c.in), c.out) << testing::PrintToString(c.in);
  EXPECT_EQ(cp::FromUtf8("\xF4\x8F\xBF\xBF"), "?");  // U+10FFFF: valid, just unmappable
}

TEST(Cp932, JapaneseTextRoundTrips) {
  const std::string utf8 = "\u3000あいうえお、漢字とｶﾀｶﾅ。①Ⅰ㈱～∥－￢ 東京都";
  const std::string sjis = cp::FromUtf8(utf8);
  EXPECT_EQ(sjis.substr(0, 6), "\x81\x40\x82\xA0\x82\xA2");
  EXPECT_NE(sjis.find("\x8A\xBF\x8E\x9A"), std::string::npos);  // 漢字
  EXPECT_NE(sjis.find("\xB6\xC0\xB6\xC5\x81\x42"), std::string::npos);
  EXPECT_EQ(sjis.find('?'), std::string::npos);
  EXPECT_EQ(cp::ToUtf8(sjis), utf8);
  EXPECT_EQ(cp::FromUtf16(cp::ToUtf16(sjis)), sjis);
}

namespace kelvane {
namespace {

// Paths and captions cross to a UTF-16 system and back unchanged; what is
// not Unicode becomes one U+FFFD each way, never a crash or a lost neighbour.
TEST(Unicode, Utf8AndUtf16) {
  const std::string text = "春.eud a\xC3\xA9\xF0\x9F\x8C\xB8";  // 春, é, and a character outside the BMP
  const std::u16string wide = unicode::Utf8ToUtf16(text);
  EXPECT_EQ(wide, u"春.eud aé\U0001F338");
  EXPECT_EQ(wide.size(), 10u);
  EXPECT_EQ(unicode::Utf16ToUtf8(wide), text);
  EXPECT_EQ(unicode::Utf8ToUtf16("a\xFF" "b\xE6\x98"), u"a\uFFFDb\uFFFD");
  EXPECT_EQ(unicode::Utf16ToUtf8(std::u16string(u"x") + char16_t(0xD800) + u"y" + char16_t(0xDC00)),
            "x\xEF\xBF\xBDy\xEF\xBF\xBD");
  EXPECT_EQ(unicode::Utf8ToUtf16(""), u"");
  EXPECT_EQ(unicode::Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

}  // namespace
}  // namespace kelvane
