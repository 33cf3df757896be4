// Painting of the text rows: background, picture, grid, the text in runs of
// like attribute and selection, the marks, the line-number margin, and the
// copy of the finished rows to the window. Also the background picture's setters.
#include <algorithm>
#include <string>

#include "editor/Attributes.h"
#include "editor/VeskEdit.h"
#include "editor/unistrings/VeskUniStrings.h"

namespace kelvane {

namespace {

// Which columns of one line are selected, answered per column so that painting
// a long line costs no more than the part of it that is in view.
class TRowSelection {
 public:
  TRowSelection(const TVeskEdit& e, int32_t line) {
    if (!e.Selected) return;
    const TVeskItem& item = e.Items[line];
    const size_t n = item.Text.size();
    const TVeskEdit::TOrderedRange r = TVeskEdit::OrderRange(e.SelAnchor, e.CaretPos);
    if (line < r.Top || line > r.Bottom) return;
    if (!e.BoxMode) {
      lo_ = line > r.Top ? 0 : std::max<int64_t>(r.Left, 0);
      hi_ = line < r.Bottom ? static_cast<int64_t>(n) + 1 : r.Right;
      return;
    }
    // Box: a column is in when the middle of its character lies in the box.
    box_.assign(n + 1, '1');
    int64_t cum = 0;
    for (size_t k = 0; k < n; ++k) {
      const int64_t x = cum + (k + 1 < n ? item.WidthAt(k) / 2 : 0);
      if (x >= e.BoxLeftX && x < e.BoxRightX) box_[k] = '2';
      cum += item.WidthAt(k);
    }
    if (cum >= e.BoxLeftX && cum < e.BoxRightX) box_[n] = '2';
  }
  bool At(size_t k) const {
    if (!box_.empty()) return box_[k] == '2';
    return static_cast<int64_t>(k) >= lo_ && static_cast<int64_t>(k) < hi_;
  }

 private:
  int64_t lo_ = 0;
  int64_t hi_ = 0;
  std::string box_;
};

// The text of one row from left to right, in runs: characters of one attribute
// and one selection state go out in one call, a mark is drawn in its cell, and
// a character reference shows the character it names. A selected run is opaque
// on the selection colour down to the line height.
class TTextRunPainter {
 public:
  TTextRunPainter(TVeskEdit& e, Canvas& c, const TVeskItem& item, const TRowSelection& sel, int32_t y)
      : e_(e), c_(c), item_(item), sel_(sel), y_(y), right_(e.ViewWidth - e.RightMargin),
        selBack_(e.ResolveColor(e.ColorSelBack)), selText_(e.ResolveColor(e.ColorSelText)) {}

  struct TEnd {
    int32_t X;  // where the text ends
    bool Cut;   // it ran past the right edge: the row shows no line-end mark
  };

  TEnd Paint(int32_t x) {
    const size_t n = item_.Text.size();
    size_t j = 0;
    while (j < n) {
      const auto a = item_.AttrAt(j);
      const bool selected = sel_.At(j);
      int32_t w = item_.WidthAt(j);
      size_t next;
      if (a & attr::kMarkBit) {
        next = Mark(a, j, x, selected);
      } else if (a & attr::kRefBit) {
        next = References(j, x, selected, w);
      } else {
        next = Characters(a, j, x, selected, w);
      }
      x += w;
      j = std::min(next, n);
      if (x > right_) return {x, true};
    }
    return {x, false};
  }

 private:
  size_t Mark(uint8_t a, size_t j, int32_t x, bool selected) {
    switch (a) {
      case attr::kWideSpace:
        e_.DrawSpaceMark(x, 1, selected, e_.WideSpaceWidth, y_);
        return j + 2;
      case attr::kSpace:
        e_.DrawSpaceMark(x, 0, selected, e_.SpaceWidth, y_);
        break;
      case attr::kErrorSpace:
        e_.DrawSpaceMark(x, e_.ShowSpaceErr ? 2 : 0, selected, e_.SpaceWidth, y_);
        break;
      case attr::kTab:
        e_.DrawSpaceMark(x, 3, selected, e_.TabWidth, y_);
        break;
      default:
        break;
    }
    return j + 1;
  }

  // Consecutive references selected alike go out as one UTF-16 run.
  size_t References(size_t j, int32_t x, bool selected, int32_t& w) {
    const size_t n = item_.Text.size();
    std::u16string chars(1, item_.RefCharAt(j));
    size_t next = j + 1;
    for (; next < n && item_.AttrAt(next) == attr::kReference && x + w <= right_; ++next) {
      if (item_.Text[next] != '&') continue;
      if (sel_.At(next) != selected) break;  // the next reference is selected differently
      chars.push_back(item_.RefCharAt(next));
      w += item_.WidthAt(next);
    }
    Colours(selected, e_.ColorUniText, x, w);
    c_.TextOutW(x, y_, chars);
    return next;
  }

  // Characters of one attribute, up to a change of selection or the right edge.
  size_t Characters(uint8_t a, size_t j, int32_t x, bool selected, int32_t& w) {
    const size_t n = item_.Text.size();
    size_t next = j + 1;
    for (; next < n && item_.AttrAt(next) == a; ++next) {
      if (item_.WidthAt(next) == 0) continue;  // a trail byte goes with its lead
      if (sel_.At(next) != selected || x + w > right_) break;
      w += item_.WidthAt(next);
    }
    Colours(selected, a == attr::kPlain ? e_.ColorText : e_.KeywordColors[a & 0x1F], x, w);
    c_.TextOut(x, y_, std::string_view(item_.Text).substr(j, next - j));
    return next;
  }

  void Colours(bool selected, TColor normal, int32_t x, int32_t w) {
    if (selected) {
      c_.SetBrushColor(selBack_);
      c_.FillRect({x, y_ + e_.CharHeight, x + w, y_ + e_.LineHeight});
      c_.SetTextColor(selText_);
      c_.SetBkColor(selBack_);
      c_.SetTransparent(false);
    } else {
      c_.SetTextColor(e_.ResolveColor(normal));
      c_.SetTransparent(true);
    }
  }

  TVeskEdit& e_;
  Canvas& c_;
  const TVeskItem& item_;
  const TRowSelection& sel_;
  const int32_t y_;
  const int32_t right_;
  const TColor selBack_;
  const TColor selText_;
};

}  // namespace

TColor TVeskEdit::ResolveColor(TColor c) const {
  return IsSysColor(c) ? FHost.GetSysColor(static_cast<int>(c & 0xFF)) : c;
}

std::string TVeskEdit::SelectionMap(int32_t line) const {
  const TRowSelection sel(*this, line);
  const size_t n = Items[line].Text.size();
  std::string map(n + 1, '1');
  for (size_t k = 0; k <= n; ++k) {
    if (sel.At(k)) map[k] = '2';
  }
  return map;
}

void TVeskEdit::Invalidate() {
  ++FPaintLog.Invalidations;
  FHost.Invalidate();
}

void TVeskEdit::Paint() {
  DrawRulerStrip();
  RepaintLines(TopLine, TopLine + VisibleLines);  // one more row for the partly shown one
  FHost.UpdateNow();
  UpdateHScrollBar();
  UpdateVScrollBar(true);
}

// Rows First … Last, composed on the text bitmap and copied to the window in
// one go, phase by phase: the background (colour, picture, grid), then for each
// row any tint laid under it and change tint, its text runs with their marks and selection, the
// line-end mark, any removal bars, the line-number cell, and after the last
// line the end-of-text mark.
void TVeskEdit::RepaintLines(int32_t first, int32_t last) {
  ++FPaintLog.RepaintRequests;
  FPaintLog.LastRepaintFirst = first;
  FPaintLog.LastRepaintLast = last;
  // Every edit and history step comes here: a frozen window, or rows out of
  // view, must cost nothing, as nothing of them would reach the screen.
  if (!FHost.RedrawEnabled() || ViewWidth <= 0 || ViewHeight <= 0 || LineHeight <= 0) return;
  int32_t i = TopLine;
  int64_t y64 = TopMargin();
  if (first > TopLine) {
    i = first;
    y64 += (int64_t{first} - TopLine) * LineHeight;
  }
  if (i > last || y64 > ViewHeight) return;

  TextBitmap->SetSize(ViewWidth, ViewHeight);
  Canvas& c = TextBitmap->GetCanvas();
  PaintBackground(c);
  SelBounds = OrderRange(SelAnchor, CaretPos);
  auto y = static_cast<int32_t>(y64);
  const int32_t y0 = y;
  while (i <= last) {
    PaintRow(c, i, y);
    ++FPaintLog.RowsPainted;
    y += LineHeight;
    if (y > ViewHeight || i == INT32_MAX) break;
    ++i;
  }
  FHost.Surface().CopyFrom({0, y0, ViewWidth, y}, *TextBitmap, {0, y0});
  TextBitmap->SetSize(0, 0);
}

void TVeskEdit::PaintBackground(Canvas& c) {
  c.SetBrushColor(ResolveColor(Color));
  c.FillRect({0, 0, ViewWidth, ViewHeight});
  if (!FPicture->Empty()) {
    const int32_t left = TextLeft() - HScrollPos + FPicturePosX;
    const int32_t top = TopMargin() + FPicturePosY - TopLine * LineHeight;
    c.StretchDraw({left, top, left + FPictureWidth, top + FPictureHeight}, *FPicture);
  }
  if (FShowGrid) DrawGrid(c);
}

// Row I at pixel row Y: a line of the text, or the margin colour below its end.
void TVeskEdit::PaintRow(Canvas& c, int32_t i, int32_t y) {
  const int32_t count = Items.Count();
  int32_t x = TextLeft() - HScrollPos;
  if (i < count) {
    const TVeskItem& item = Items[i];
    const size_t n = item.Text.size();
    const TRowSelection sel(*this, i);
    const bool marked = !FChangeMarks.Empty();
    if (FLineTint) PaintLineTint(c, i, x, y);
    if (marked) PaintChangeTint(c, i, x, y);
    const int32_t x0 = x;
    const TTextRunPainter::TEnd end = TTextRunPainter(*this, c, item, sel, y).Paint(x);
    x = end.X;
    if (!end.Cut && ShowCR && i < count - 1) DrawCrMark(x, sel.At(n), y);
    if (marked) PaintRemovalMarks(c, i, x0, y);
    if (i < count - 1) PaintLineNo(y, n > 255, i);
  }
  if (i == count - 1) {
    // The mark stands where the text stopped, scrolled or not; the margin
    // cell comes after it and covers what of it lies left of the text edge.
    // The last line never shows the long-line mark.
    PaintEndOfText(c, x, y);
    PaintLineNo(y, false, i);
  } else if (i > count) {
    c.SetBrushColor(ResolveColor(ColorMargin));
    c.FillRect({0, y, ViewWidth, y + LineHeight});
  }
}

void TVeskEdit::PaintEndOfText(Canvas& c, int32_t x, int32_t y) {
  if (!ShowEOF) return;
  c.SetTextColor(ResolveColor(ColorCrEof));
  c.SetTransparent(true);
  c.TextOut(x, y, kEofMark);
}

void TVeskEdit::DrawSpaceMark(int32_t x, int kind, bool selected, int32_t w, int32_t y) {
  Canvas& c = TextBitmap->GetCanvas();
  if (selected) {
    c.SetBrushColor(ResolveColor(ColorSelBack));
    c.FillRect({x, y, x + w, y + LineHeight});
  }
  if (kind == 3) {
    if (!FShowTab) return;
    // On a selected cell the fill above is already the glyph's background.
    c.SetTextColor(ResolveColor(selected ? ColorSelCr : ColorCrEof));
    c.SetTransparent(true);
    c.TextOutW(x, y, std::u16string_view(&TabMarkChar, 1));
    return;
  }
  if ((kind == 0 && !ShowSpaceSgl) || (kind == 1 && !ShowSpaceDbl)) return;
  static constexpr TColor TVeskProperties::*kPens[] = {&TVeskProperties::ColorSpaceSgl,
                                                        &TVeskProperties::ColorSpaceDbl,
                                                        &TVeskProperties::ColorSpaceErr};
  c.SetPen(ResolveColor(selected ? ColorSelSpace : this->*kPens[kind]), TPenStyle::psSolid, 1);
  const int32_t ch = CharHeight;
  switch (kind == 1 ? SpaceDblStyle : SpaceSglStyle) {
    case sdsLineA:
      c.Polyline({{x, y + ch - 2}, {x + w - 1, y + ch - 2}});
      break;
    case sdsLineB:
      c.Polyline({{x, y + ch - 4}, {x, y + ch - 2}, {x + w - 2, y + ch - 2}, {x + w - 2, y + ch - 5}});
      break;
    case sdsFrameRect:
      c.Polyline({{x + 1, y + 2}, {x + 1, y + ch - 2}, {x + w - 2, y + ch - 2}, {x + w - 2, y + 2}, {x + 1, y + 2}});
      break;
  }
}

void TVeskEdit::DrawCrMark(int32_t x, bool selected, int32_t y) {
  Canvas& c = TextBitmap->GetCanvas();
  const TRect cell{x, y, x + CrMarkWidth, y + LineHeight};
  if (selected) {
    c.SetBrushColor(ResolveColor(ColorSelBack));
    c.FillRect(cell);
  }
  c.SetTextColor(ResolveColor(selected ? ColorSelCr : ColorCrEof));
  c.SetTransparent(true);
  c.TextRectW(cell, x, y, std::u16string_view(&CrMarkChar, 1));
}

void TVeskEdit::PaintLineNo(int32_t y, bool star, int32_t line) {
  Canvas& c = TextBitmap->GetCanvas();
  const TRect cell{0, y, TextLeft(), y + LineHeight};
  c.SetBrushColor(ResolveColor(ColorMargin));
  c.FillRect(cell);  // the left margin, also without line numbers
  if (!FShowLineNo) return;
  c.SetTextColor(ResolveColor(ColorText));
  c.SetTransparent(true);
  c.DrawTextRight(cell, std::to_string(int64_t{line} + 1) + " ");
  c.SetPen(ResolveColor(ColorRuler), TPenStyle::psSolid, 1);
  c.MoveTo(TextLeft() - 2, y);
  c.LineTo(TextLeft() - 2, y + LineHeight);
  if (star) c.TextOut(LeftMargin, y, "*");
}

// ---- the background picture ----------------------------------------------------

bool TVeskEdit::SetPicture(const std::string& path) {
  std::unique_ptr<Picture> loaded = FHost.CreatePicture();
  const bool ok = loaded->LoadFromFile(path) && loaded->Width() > 0 && loaded->Height() > 0;
  if (ok) {
    FPicture = std::move(loaded);
  } else {
    FPicture->Clear();
  }
  ApplyPicture();
  return ok;
}

void TVeskEdit::ClearPicture() {
  FPicture->Clear();
  ApplyPicture();
}

void TVeskEdit::ApplyPicture() {
  if (FPicture->Empty()) {
    FPictureWidth = FPictureHeight = 0;
  } else {
    FPictureWidth = static_cast<int32_t>(int64_t{FPicture->Width()} * FPictureZoom / 100);
    FPictureHeight = static_cast<int32_t>(int64_t{FPicture->Height()} * FPictureZoom / 100);
  }
  Invalidate();
}

void TVeskEdit::SetPicturePosX(int32_t value) {
  FPicturePosX = value;
  ApplyPicture();
}

void TVeskEdit::SetPicturePosY(int32_t value) {
  FPicturePosY = value;
  ApplyPicture();
}

// Takes effect at the next paint; it does not repaint by itself.
void TVeskEdit::SetPictureZoom(int32_t value) {
  if (value <= 0) return;
  FPictureZoom = value;
  if (FPicture->Empty()) return;
  FPictureWidth = static_cast<int32_t>(int64_t{FPicture->Width()} * FPictureZoom / 100);
  FPictureHeight = static_cast<int32_t>(int64_t{FPicture->Height()} * FPictureZoom / 100);
}

}  // namespace kelvane
