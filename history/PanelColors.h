// The colours the explorer's panels share across ports: an edit's kind on the
// timeline, the provenance tint's ages, the diff's rows.
#pragma once

#include <cstdint>

#include "platform/Types.h"
#include "player/HistoryView.h"

namespace kelvane {

TColor KindColor(TEditKind kind);

// From long ago to just now: a pale blue that barely shows to a warm orange.
inline constexpr TColor kTintOldest = RGB(222, 234, 250);
inline constexpr TColor kTintNewest = RGB(255, 184, 112);
// The tint of record R's characters at point P (R < P): the newest deepest.
TColor AgeColor(int32_t record, int64_t point);
// A colour T of the way from A to B (T from 0 to 1).
TColor MixColor(TColor a, TColor b, double t);

struct TDiffPalette {
  TColor Paper = RGB(0xFF, 0xFF, 0xFF);
  TColor Ink = RGB(0x1F, 0x23, 0x28);
  TColor QuietInk = RGB(0x6E, 0x77, 0x81);
  TColor RemovedBack = RGB(0xFF, 0xEB, 0xE9);
  TColor RemovedMark = RGB(0xFF, 0xB3, 0xAD);
  TColor RemovedGutter = RGB(0xFF, 0xD7, 0xD5);
  TColor AddedBack = RGB(0xE6, 0xFF, 0xEC);
  TColor AddedMark = RGB(0xA6, 0xEC, 0xB6);
  TColor AddedGutter = RGB(0xCC, 0xFF, 0xD8);
  TColor HunkBack = RGB(0xE8, 0xF0, 0xFA);
  TColor Gutter = RGB(0xF4, 0xF5, 0xF7);
};
inline constexpr TDiffPalette kDiffPalette{};

}  // namespace kelvane
