// The attribute codes the scanner stores per byte in a line's Attrs and the
// painter chooses colours and marks by. The marks share bit 0x20, a character
// reference has bit 0x40; links and keywords have neither and are coloured
// through KeywordColors by their low five bits.
#pragma once

#include <cstdint>

namespace kelvane::attr {

constexpr uint8_t kPlain = 0x00;
constexpr uint8_t kLink = 0x01;          // a URL or an anchor
constexpr uint8_t kFirstKeyword = 0x02;  // keyword group 1; group g is g + 1
constexpr uint8_t kWideSpace = 0x2B;     // "+", both bytes of a full-width space
constexpr uint8_t kSpace = 0x2C;         // ",", a single half-width space
constexpr uint8_t kErrorSpace = 0x2D;    // "-", a space at the line start or in a run
constexpr uint8_t kTab = 0x2E;           // "."
constexpr uint8_t kReference = 0x40;     // every byte of a character reference

constexpr uint8_t kMarkBit = 0x20;
constexpr uint8_t kRefBit = 0x40;

}  // namespace kelvane::attr
