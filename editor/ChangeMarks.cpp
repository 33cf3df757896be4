// The change marks: setting and dropping them, and their two painting phases
// within a row (the tint behind the text, the bars after it).
#include <algorithm>

#include "editor/VeskEdit.h"

namespace kelvane {

void TVeskEdit::SetChangeMarks(TChangeMarks marks) {
  const bool repaint = !marks.Empty() || !FChangeMarks.Empty();
  FChangeMarks = std::move(marks);
  if (repaint) Invalidate();
}

void TVeskEdit::ClearChangeMarks() { SetChangeMarks({}); }

void TVeskEdit::SetLineTint(TLineTint tint) {
  const bool repaint = tint || FLineTint;
  FLineTint = std::move(tint);
  if (repaint) Invalidate();
}

void TVeskEdit::PaintLineTint(Canvas& c, int32_t i, int32_t x0, int32_t y) {
  FTintRuns.clear();
  FLineTint(i, FTintRuns);
  const TVeskItem& item = Items[i];
  const int64_t n = static_cast<int64_t>(item.Text.size());
  const int64_t breakCell = i < Items.Count() - 1 ? CrMarkWidth : 0;
  for (const TTintRun& r : FTintRuns) {
    const int64_t from = std::clamp<int64_t>(r.Begin, 0, n);
    const int64_t to = std::clamp<int64_t>(r.End, 0, n);
    const int64_t left = std::max<int64_t>(x0 + item.PrefixWidth(static_cast<size_t>(from)), TextLeft());
    const int64_t right =
        std::min<int64_t>(x0 + item.PrefixWidth(static_cast<size_t>(to)) + (r.End > n ? breakCell : 0), ViewWidth);
    if (right <= left) continue;
    c.SetBrushColor(r.Color);
    c.FillRect({static_cast<int32_t>(left), y, static_cast<int32_t>(right), y + LineHeight});
  }
}

// Row I's share of each tinted span: from the span's first column (or the
// line's start) to its last (or the line's end and its line-break cell, where
// the span runs on to a later line).
void TVeskEdit::PaintChangeTint(Canvas& c, int32_t i, int32_t x0, int32_t y) {
  const TVeskItem& item = Items[i];
  const int64_t n = static_cast<int64_t>(item.Text.size());
  const bool hasBreak = i < Items.Count() - 1;
  for (const TChangeMarks::TSpan& s : FChangeMarks.Tinted) {
    if (i < s.From.Y || i > s.To.Y) continue;
    const bool runsOn = i < s.To.Y;
    const int64_t from = i == s.From.Y ? std::clamp<int64_t>(s.From.X, 0, n) : 0;
    const int64_t to = runsOn ? n : std::clamp<int64_t>(s.To.X, 0, n);
    const int64_t left = std::max<int64_t>(x0 + item.PrefixWidth(static_cast<size_t>(from)), TextLeft());
    const int64_t right = std::min<int64_t>(
        x0 + item.PrefixWidth(static_cast<size_t>(to)) + (runsOn && hasBreak ? CrMarkWidth : 0), ViewWidth);
    if (right <= left) continue;
    c.SetBrushColor(FChangeMarks.TintColor);
    c.FillRect({static_cast<int32_t>(left), y, static_cast<int32_t>(right), y + LineHeight});
  }
}

// Two pixels wide, just left of the character the removed text stood before;
// at the text's left edge both pixels go right of it, where they show.
void TVeskEdit::PaintRemovalMarks(Canvas& c, int32_t i, int32_t x0, int32_t y) {
  const TVeskItem& item = Items[i];
  const int64_t n = static_cast<int64_t>(item.Text.size());
  for (const TPoint& p : FChangeMarks.Removed) {
    if (p.Y != i) continue;
    int64_t x = x0 + item.PrefixWidth(static_cast<size_t>(std::clamp<int64_t>(p.X, 0, n))) - 1;
    x = std::max<int64_t>(x, TextLeft());
    if (x >= ViewWidth) continue;
    c.SetBrushColor(FChangeMarks.RemovedColor);
    c.FillRect({static_cast<int32_t>(x), y, static_cast<int32_t>(x + 2), y + LineHeight});
  }
}

}  // namespace kelvane
