// Small value types shared by the logic and the platform layer: text and pixel
// points, rectangles, colours and font descriptions.
#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

// A text position (X = 0-based byte column, Y = 0-based line) or a pixel point.
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

// 0x00BBGGRR; a value with the top bit set names system colour (low eight bits).
using TColor = uint32_t;
constexpr TColor kSysColorFlag = 0x80000000u;
constexpr bool IsSysColor(TColor c) { return (c & kSysColorFlag) != 0; }
constexpr TColor RGB(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// System colour indexes used by the editor and the player.
enum SysColorIndex : int {
  COLOR_WINDOW = 5,
  COLOR_WINDOWTEXT = 8,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
};
constexpr TColor SysColor(int index) { return kSysColorFlag | static_cast<TColor>(index); }

enum class TFontCharset : uint8_t { Default = 1, ShiftJis = 128 };

// A font as the logic asks for it; the platform maps the name to what it has.
struct TFontSpec {
  std::string Name;          // UTF-8
  int32_t Height = 16;       // character height in pixels
  TColor Color = SysColor(COLOR_WINDOWTEXT);
  TFontCharset Charset = TFontCharset::ShiftJis;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

}  // namespace kelvane
