// Caret moves by character, line and text, the conversions between text
// positions and pixels, and the scroll-bar and wheel messages.
#include <algorithm>

#include "editor/VeskEdit.h"

namespace kelvane {

namespace {
constexpr int32_t kLineEnd = INT32_MAX;  // normalising puts the caret at the line's end
}

TPoint TVeskEdit::PosAtDocPoint(int32_t x, int32_t line) const {
  const int32_t y = std::clamp(line, 0, Items.Count() - 1);
  return {Items[y].ColumnAtX(x) - 1, y};
}

TPoint TVeskEdit::ClientPointOfPos(int32_t column, int32_t line) const {
  int64_t x = int64_t{TextLeft()} - HScrollPos;
  if (line >= 0 && line < Items.Count()) x += Items[line].WidthBetween(1, int64_t{column} + 1);
  const int64_t y = (int64_t{line} - TopLine) * LineHeight + TopMargin();
  return {static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
          static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX))};
}

TPoint TVeskEdit::DocPointAtClient(int32_t cx, int32_t cy) const {
  const int64_t lineHeight = std::max(LineHeight, 1);
  const int64_t h = ViewHeight;
  int64_t line;
  if (cy < TopMargin()) {
    line = (int64_t{cy} - TopMargin()) / lineHeight + TopLine - 1;
  } else if (cy > h) {
    line = (int64_t{cy} - TopMargin() - h) / lineHeight + 1 + TopLine + VisibleLines;
  } else {
    line = (int64_t{cy} - TopMargin()) / lineHeight + TopLine;
  }
  const int64_t x = int64_t{cx} + HScrollPos - TextLeft();
  return {static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX)),
          static_cast<int32_t>(std::clamp<int64_t>(line, 0, Items.Count() - 1))};
}

void TVeskEdit::SetCaretAtX(int32_t x, int32_t line, TCaretOptions options) {
  const TPoint old = CaretPos;
  const int32_t oldTop = TopLine;
  CaretPos = PosAtDocPoint(x, line);
  const TPoint doc = DocPointOfPos(CaretPos);
  CaretDocX = doc.X;
  CaretDocLine = doc.Y;
  if (!options.KeepGoal) GoalX = x;
  if (!options.NoVScroll) ScrollToCaretV(options.VCenter);
  if (!options.NoHScroll) ScrollToCaretH(options.HForce);
  PlaceCaret();
  DrawRulerStrip();
  RepaintAfterCaretMove(oldTop, CaretPos != old);  // the box's top and span stay as they were
  LastCaretLine = CaretPos.Y;
  if (OnMoveCaret) OnMoveCaret(*this);
}

// One character back: over the zero-width bytes up to and including one byte
// of non-zero width, or from column 0 to the end of the previous line.
TPoint TVeskEdit::CharLeftOf(TPoint p) const {
  if (p.X >= 1) {
    const TVeskItem& line = Items[p.Y];
    int32_t x = std::min(p.X, line.TextLength());
    while (x > 0) {
      --x;
      if (line.WidthAt(static_cast<size_t>(x)) != 0) break;
    }
    return {x, p.Y};
  }
  if (p.Y > 0) return {Items[p.Y - 1].TextLength(), p.Y - 1};
  return p;
}

// One character forward: past one character and the zero-width bytes after it,
// or from the end of a line to the first character start of the next.
TPoint TVeskEdit::CharRightOf(TPoint p) const {
  const TVeskItem& line = Items[p.Y];
  const int32_t len = line.TextLength();
  int32_t x = p.X + 1;
  while (x < len && line.WidthAt(static_cast<size_t>(x)) == 0) ++x;
  if (x <= len) return {x, p.Y};
  if (p.Y + 1 >= Items.Count()) return {len, p.Y};
  const TVeskItem& next = Items[p.Y + 1];
  int32_t start = 0;
  while (start < next.TextLength() && next.WidthAt(static_cast<size_t>(start)) == 0) ++start;
  return {start, p.Y + 1};
}

void TVeskEdit::CaretLineUp() { SetCaretAtX(GoalX, CaretPos.Y - 1, {.KeepGoal = true, .HForce = true}); }
void TVeskEdit::CaretLineDown() { SetCaretAtX(GoalX, CaretPos.Y + 1, {.KeepGoal = true, .HForce = true}); }
void TVeskEdit::CaretCharLeft() { SetCaret(CharLeftOf(NormalizePos(CaretPos)), {.HForce = true}); }
void TVeskEdit::CaretCharRight() { SetCaret(CharRightOf(NormalizePos(CaretPos)), {.HForce = true}); }
void TVeskEdit::CaretLineStart() { SetCaret({0, CaretPos.Y}); }
void TVeskEdit::CaretLineEnd() { SetCaret({kLineEnd, CaretPos.Y}); }
void TVeskEdit::CaretTextStart() { SetCaret({0, 0}); }
void TVeskEdit::CaretTextEnd() { SetCaret({kLineEnd, Items.Count() - 1}); }

void TVeskEdit::CaretNextLineStart(int32_t line) {
  if (int64_t{line} + 1 >= Items.Count()) {
    SetCaret({kLineEnd, line});
  } else {
    SetCaret({0, line + 1});
  }
}

LRESULT TVeskEdit::WMVScroll(WPARAM wParam, LPARAM) {
  switch (LoWord(wParam)) {
    case SB_LINEUP: ScrollLines(-VScrollLines); break;
    case SB_LINEDOWN: ScrollLines(VScrollLines); break;
    case SB_PAGEUP: PageUp(); break;
    case SB_PAGEDOWN: PageDown(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollToLine(FHost.GetScrollInfo(ScrollBarKind::Vert).TrackPos); break;
    case SB_TOP: CaretTextStart(); break;
    case SB_BOTTOM: CaretTextEnd(); break;
    case SB_ENDSCROLL: UpdateVScrollBar(true); break;
    default: break;
  }
  return 0;
}

LRESULT TVeskEdit::WMHScroll(WPARAM wParam, LPARAM) {
  const int64_t page = int64_t{ViewWidth} - TextLeft() - RightMargin;
  int64_t to;
  switch (LoWord(wParam)) {
    case SB_LINELEFT: to = int64_t{HScrollPos} - 1; break;
    case SB_LINERIGHT: to = int64_t{HScrollPos} + 1; break;
    case SB_PAGELEFT: to = HScrollPos - page; break;
    case SB_PAGERIGHT: to = HScrollPos + page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: to = FHost.GetScrollInfo(ScrollBarKind::Horz).TrackPos; break;
    case SB_LEFT: to = 0; break;
    case SB_RIGHT: to = FHScrollMax; break;
    default: return 0;
  }
  HScrollTo(static_cast<int32_t>(std::clamp<int64_t>(to, INT32_MIN, INT32_MAX)));
  return 0;
}

// Each message is one step, whatever its delta; a delta of 0 counts as upward.
LRESULT TVeskEdit::WMMouseWheel(WPARAM wParam, LPARAM) {
  const auto delta = static_cast<int16_t>(HiWord(wParam));
  const bool up = delta >= 0;
  if (WheelPageScroll) {
    up ? PageUp() : PageDown();
  } else {
    ScrollLines(up ? -WheelScrollCount : WheelScrollCount);
  }
  return 1;
}

}  // namespace kelvane
