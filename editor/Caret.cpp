// Caret, coordinates and scrolling: where the caret stands, which part of the
// text is in view, and how the view follows the caret.
#include <algorithm>

#include "editor/VeskEdit.h"

namespace kelvane {

// (x inside the line without margins or scrolling, clamped line).
TPoint TVeskEdit::DocPointOfPos(TPoint p) const {
  const int32_t line = std::clamp(p.Y, 0, Items.Count() - 1);
  const TVeskItem& item = Items[line];
  const int64_t x = item.PrefixWidth(ClampToSize(p.X, item.Text.size()));  // may pass 32 bits on a huge line
  return {static_cast<int32_t>(std::min<int64_t>(x, INT32_MAX)), line};
}

void TVeskEdit::SetCaret(TPoint p, TCaretOptions options) {
  const int32_t oldTop = TopLine;
  CaretPos = NormalizePos(p);
  const TPoint doc = DocPointOfPos(CaretPos);
  CaretDocX = doc.X;
  CaretDocLine = doc.Y;
  if (!options.KeepGoal) GoalX = CaretDocX;
  if (!options.NoVScroll) ScrollToCaretV(options.VCenter);
  if (!options.NoHScroll) ScrollToCaretH(options.HForce);
  DrawRulerStrip();
  if (TopLine != oldTop) {
    BoxTop = SelAnchor.Y;
    BoxLineSpan = CaretPos.Y - SelAnchor.Y;
  }
  RepaintAfterCaretMove(oldTop, true);
  LastCaretLine = CaretPos.Y;
  PlaceCaretAtDocPoint();
  if (OnMoveCaret) OnMoveCaret(*this);
}

// What a caret move repaints: every row when the view scrolled, otherwise the
// rows whose selection the move changed (in stream mode only when it moved).
void TVeskEdit::RepaintAfterCaretMove(int32_t oldTop, bool caretMoved) {
  if (TopLine != oldTop) {
    RefreshRuler();
    RepaintLines(TopLine, TopLine + VisibleLines);
    UpdateVScrollBar(true);
  } else if (Selected && BoxMode) {
    RepaintLines(std::min({LastCaretLine, CaretPos.Y, SelAnchor.Y}), std::max({LastCaretLine, CaretPos.Y, SelAnchor.Y}));
  } else if (Selected && caretMoved) {
    RepaintLines(std::min(LastCaretLine, CaretPos.Y), std::max(LastCaretLine, CaretPos.Y));
  }
}

void TVeskEdit::PlaceCaret() {
  const TPoint doc = DocPointOfPos(CaretPos);
  CaretDocX = doc.X;
  CaretDocLine = doc.Y;
  PlaceCaretAtDocPoint();
}

// PlaceCaret once CaretDocX and CaretDocLine are known to match CaretPos. A
// frozen window places it once, when it thaws: nothing shows it before, and a
// jump through the history would place it once for every record.
void TVeskEdit::PlaceCaretAtDocPoint() {
  if (DefersScan()) {
    FCaretStale = true;
    return;
  }
  CaretClientX = TextLeft() + CaretDocX - HScrollPos;
  CaretClientY = (CaretDocLine - TopLine) * LineHeight + TopMargin();
  FHost.SetCaretPos(CaretClientX, CaretClientY);
  SetImePos(&FFont, CaretClientX, CaretClientY);
  if (FShowRuler) DrawRulerStrip();
  if (CaretShown) FHost.ShowCaret();
}

bool TVeskEdit::SetImePos(const TFontSpec* font, int32_t x, int32_t y) {
  if (!FHost.HasWindow()) return false;
  return FHost.SetImeCompositionWindow(x, y, font);
}

void TVeskEdit::SetCaretShown(bool on) {
  CaretShown = on && FConfCaretVisible;
  if (CaretShown) {
    if (FHost.HasFocus()) {
      Perform(WM_KILLFOCUS);
      Perform(WM_SETFOCUS);
    }
    PlaceCaret();
  } else {
    FHost.HideCaret();
  }
}

void TVeskEdit::ScrollToCaretV(bool vCenter) {
  const int32_t count = Items.Count();
  const int32_t v = VisibleLines;
  if (count < v) {
    TopLine = 0;
  } else if (vCenter) {
    TopLine = CaretPos.Y - v / 2;
  } else if (MouseDown) {
    const int32_t y = FHost.MousePos().Y;
    const int32_t height = FHost.OuterSize().cy;
    if (y < -10) {
      TopLine -= (-y) / 5;
    } else if (y < TopMargin()) {
      TopLine -= 1;
    } else if (y > height) {
      TopLine += (y - height) / 5;
    } else if (y > TopMargin() + v * LineHeight) {
      TopLine += 1;
    }
  } else if (CaretPos.Y > TopLine + v - 1) {
    TopLine = CaretPos.Y - v + 1;
  } else if (CaretPos.Y < TopLine) {
    TopLine = CaretPos.Y;
  }
  if (count < v) {
    TopLine = 0;
  } else if (TopLine + v > count) {
    TopLine = count - v;
  }
  TopLine = std::min(std::max(0, TopLine), count - 1);
}

void TVeskEdit::ScrollToCaretH(bool hForce) {
  // Without a client width (before the first size message) there is no right
  // edge to follow the caret to; scrolling by it would leave the view 200 px off.
  if (LineSelect || ViewWidth <= 0) return;
  const int32_t w = ViewWidth;
  const int32_t t = TextLeft();
  if (hForce || !MouseDown) {
    const int32_t d = CaretDocX - HScrollPos;
    if (d < 0) {
      HScrollPos = CaretDocX;
    } else if (d > w - (t + 20)) {
      HScrollPos = CaretDocX - (w - t) + 150;
    } else {
      return;
    }
  } else {
    const int32_t x = FHost.MousePos().X;
    if (HScrollPos > 0 && x < t) {
      HScrollPos -= AutoScrollStep(std::abs(x - t));
    } else if (HScrollPos >= FHScrollMax || x <= w) {
      return;
    } else {
      HScrollPos += AutoScrollStep(x - w);
    }
  }
  HScrollPos = std::max(0, std::min(HScrollPos, FHScrollMax));
  SetHScrollPos(HScrollPos);
  UpdateHScrollBar();
}

int32_t TVeskEdit::AutoScrollStep(int32_t d) {
  if (d < 10) return 2;
  if (d < 20) return 6;
  if (d < 30) return 12;
  if (d < 60) return 50;
  return static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(d) * d, INT32_MAX / 2));
}

void TVeskEdit::ScrollLines(int32_t n) {
  const int32_t count = Items.Count();
  const int64_t top = int64_t{TopLine} + n;
  if (count < VisibleLines || top < 0) {
    TopLine = 0;
  } else {
    TopLine = static_cast<int32_t>(std::min<int64_t>(top, count - VisibleLines));
  }
  PlaceCaret();
  Invalidate();
}

void TVeskEdit::SetHScrollPos(int32_t v) {
  HScrollPos = v;
  RefreshRuler();
  BuildRuler();
  FHost.SetScrollPos(ScrollBarKind::Horz, v, false);
  Invalidate();
}

void TVeskEdit::HScrollTo(int32_t v) {
  SetHScrollPos(std::clamp(v, 0, std::max(0, FHScrollMax)));
  PlaceCaret();
}

void TVeskEdit::UpdateVScrollBar(bool redraw) {
  TScrollInfo info;
  info.Max = std::max(VisibleLines - 1, Items.Count() - 1);
  info.Page = VisibleLines;
  info.Pos = TopLine;
  FHost.SetScrollInfo(ScrollBarKind::Vert, info, redraw);
}

void TVeskEdit::UpdateHScrollBar() {
  if (ViewWidth <= 0) return;
  TScrollInfo info;
  info.Max = FHScrollMax;
  info.Page = FHost.OuterSize().cx - LeftMargin - LineNoWidth;
  info.Pos = HScrollPos;
  FHost.SetScrollInfo(ScrollBarKind::Horz, info, true);
}

}  // namespace kelvane
