// Painting of the text rows: background, picture, grid, the text in runs of
// like attribute and selection, the marks, the line-number margin, and the
// copy of the finished rows to the window. Also the background picture's setters.
#include <algorithm>
#include <string>

#include "editor/VeskEdit.h"
#include "editor/unistrings/VeskUniStrings.h"

namespace kelvane {

namespace {

constexpr uint8_t kMarkBit = 0x20;
constexpr uint8_t kRefBit = 0x40;

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
  c.SetBrushColor(ResolveColor(Color));
  c.FillRect({0, 0, ViewWidth, ViewHeight});
  const int32_t x0 = TextLeft() - HScrollPos;
  if (!FPicture->Empty()) {
    const int32_t left = x0 + FPicturePosX;
    const int32_t top = TopMargin() + FPicturePosY - TopLine * LineHeight;
    c.StretchDraw({left, top, left + FPictureWidth, top + FPictureHeight}, *FPicture);
  }
  if (FShowGrid) DrawGrid(c);

  auto y = static_cast<int32_t>(y64);
  const int32_t y0 = y;
  SelBounds = OrderRange(SelAnchor, CaretPos);
  const int32_t count = Items.Count();
  const int32_t right = ViewWidth - RightMargin;
  const TColor selBack = ResolveColor(ColorSelBack);
  const TColor selText = ResolveColor(ColorSelText);

  // Selected runs are opaque on the selection colour down to the line height.
  auto textColours = [&](bool selected, TColor normal, int32_t x, int32_t w) {
    if (selected) {
      c.SetBrushColor(selBack);
      c.FillRect({x, y + CharHeight, x + w, y + LineHeight});
      c.SetTextColor(selText);
      c.SetBkColor(selBack);
      c.SetTransparent(false);
    } else {
      c.SetTextColor(ResolveColor(normal));
      c.SetTransparent(true);
    }
  };

  while (i <= last) {
    int32_t x = x0;
    if (i < count) {
      const TVeskItem& item = Items[i];
      const size_t n = item.Text.size();
      const TRowSelection sel(*this, i);
      bool cut = false;
      size_t j = 0;
      while (j < n) {
        const auto a = static_cast<uint8_t>(item.Attrs[j]);
        const bool s = sel.At(j);
        int32_t w = item.WidthAt(j);
        size_t next = j + 1;
        if (a & kMarkBit) {
          switch (a) {
            case '+':
              DrawSpaceMark(x, 1, s, WideSpaceWidth, y);
              next = j + 2;
              break;
            case ',':
              DrawSpaceMark(x, 0, s, SpaceWidth, y);
              break;
            case '-':
              DrawSpaceMark(x, ShowSpaceErr ? 2 : 0, s, SpaceWidth, y);
              break;
            case '.':
              DrawSpaceMark(x, 3, s, TabWidth, y);
              break;
            default:
              break;
          }
        } else if (a & kRefBit) {
          std::u16string chars(1, item.RefChars[j]);
          for (; next < n && static_cast<uint8_t>(item.Attrs[next]) == kRefBit && x + w <= right; ++next) {
            if (item.Text[next] != '&') continue;
            if (sel.At(next) != s) break;  // the next reference is selected differently
            chars.push_back(item.RefChars[next]);
            w += item.WidthAt(next);
          }
          textColours(s, ColorUniText, x, w);
          c.TextOutW(x, y, chars);
        } else {
          for (; next < n && static_cast<uint8_t>(item.Attrs[next]) == a; ++next) {
            if (item.WidthAt(next) == 0) continue;  // a trail byte goes with its lead
            if (sel.At(next) != s || x + w > right) break;
            w += item.WidthAt(next);
          }
          textColours(s, a == 0 ? ColorText : KeywordColors[a & 0x1F], x, w);
          c.TextOut(x, y, std::string_view(item.Text).substr(j, next - j));
        }
        x += w;
        j = std::min(next, n);
        if (x > right) {
          cut = true;
          break;
        }
      }
      if (!cut && ShowCR && i < count - 1) DrawCrMark(x, sel.At(n), y);
      // The last line never shows the long-line mark.
      PaintLineNo(y, n > 255 && i != count - 1, i);
    }
    if (i == count - 1) {
      if (ShowEOF) {
        c.SetTextColor(ResolveColor(ColorCrEof));
        c.SetTransparent(true);
        c.TextOut(x, y, kEofMark);
      }
    } else if (i > count) {
      c.SetBrushColor(ResolveColor(ColorMargin));
      c.FillRect({0, y, ViewWidth, y + LineHeight});
    }
    ++FPaintLog.RowsPainted;
    y += LineHeight;
    if (y > ViewHeight || i == INT32_MAX) break;
    ++i;
  }

  FHost.Surface().CopyFrom({0, y0, ViewWidth, y}, *TextBitmap, {0, y0});
  TextBitmap->SetSize(0, 0);
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
