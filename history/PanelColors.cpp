// The panels' colours.
#include "history/PanelColors.h"

#include <algorithm>

namespace kelvane {

TColor KindColor(TEditKind kind) {
  switch (kind) {
    case TEditKind::Insert: return RGB(34, 150, 64);
    case TEditKind::Delete: return RGB(212, 52, 40);
    case TEditKind::Enter: return RGB(132, 64, 196);
    case TEditKind::Change: return RGB(226, 138, 0);
    case TEditKind::Unknown: break;
  }
  return RGB(110, 110, 110);
}

TColor MixColor(TColor a, TColor b, double t) {
  const auto mix = [t](TColor x, TColor y, int shift) {
    const double from = (x >> shift) & 0xFF, to = (y >> shift) & 0xFF;
    return static_cast<TColor>(from + (to - from) * t + 0.5) << shift;
  };
  return mix(a, b, 0) | mix(a, b, 8) | mix(a, b, 16);
}

TColor AgeColor(int32_t record, int64_t point) {
  const double age = point <= 1 ? 1.0 : static_cast<double>(record) / static_cast<double>(point - 1);
  return MixColor(kTintOldest, kTintNewest, std::clamp(age, 0.0, 1.0));
}

}  // namespace kelvane
