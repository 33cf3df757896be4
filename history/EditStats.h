// Statistics of the history as made: records by the kind the user made them
// (the same at every point, unlike the statistics report, which counts the
// raw modes as they stand), and the characters added and removed per script.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "history/Timeline.h"
#include "player/HistoryView.h"

namespace kelvane {

enum class TScript : uint8_t { Hiragana, Katakana, HalfWidthKatakana, Kanji, FullWidth, AsciiAlnum, Other };
constexpr size_t kScriptCount = 7;
using TScriptCounts = std::array<int64_t, kScriptCount>;  // indexed by TScript

// Hiragana U+3041–309F; katakana U+30A0–30FF but the middle dot; half-width
// katakana (single bytes 0xA1–0xDF); kanji (the unified ideographs, their
// extension A and compatibility forms, and 々〆〇); every other double-byte
// character under full-width ASCII and symbols; ASCII letters and digits;
// the rest (ASCII punctuation, blanks, control bytes, a line break, bytes
// that begin no character) under Other.
TScript ScriptOf(std::string_view text, size_t i);

// Adds the characters of Text (a CR LF is one) to Counts.
void CountScripts(std::string_view text, TScriptCounts& counts);

struct THistoryStats {
  int64_t Records = 0;
  TEditKindCounts Kinds{};
  // Over the records within the timeline's reach. A change counts what lies
  // between the common prefix and suffix of its blocks, in whole characters.
  TScriptCounts Added{};
  TScriptCounts Removed{};
};

THistoryStats ComputeStats(const TTimeline& timeline);

}  // namespace kelvane
