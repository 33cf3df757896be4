// The strip above the text (the ruler, or the plain top margin) with the
// caret's marker, and the grid behind the text.
#include <algorithm>
#include <string>

#include "editor/VeskEdit.h"

namespace kelvane {

namespace {

constexpr int32_t kRulerHeight = 14;
constexpr int32_t kRulerFontHeight = 11;  // 8 points at 96 dots per inch
constexpr int32_t kMajorStep = 100;
constexpr int32_t kLabelRoom = 64;  // wider than any four-character label

void Line(Canvas& c, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}

// The first of the positions start + k·step (k >= 0) at or right of edge.
int64_t FirstAtOrAfter(int64_t start, int64_t step, int64_t edge) {
  if (start >= edge) return start;
  return start + (edge - start + step - 1) / step * step;
}

}  // namespace

void TVeskEdit::SetupRulerBitmap() {
  RulerBitmap->SetSize(ViewWidth, kRulerHeight);
  RulerBitmap->GetCanvas().SetPen(ResolveColor(ColorRuler), TPenStyle::psSolid, 1);
  RefreshRuler();
}

void TVeskEdit::RefreshRuler() {
  ++FPaintLog.RulerRefreshes;
  if (ViewHeight > 0 && ViewWidth > 0) BuildRuler();
}

// Lines use the bitmap's own pen, whose colour only SetupRulerBitmap sets.
void TVeskEdit::BuildRuler() {
  ++FPaintLog.RulerBuilds;
  // A jump through the history scrolls the view on each of its thousands of
  // steps while the window is frozen; only the last ruler can ever show, so it
  // is built once, when the window thaws.
  if (!FHost.RedrawEnabled()) {
    FRulerStale = true;
    return;
  }
  FRulerStale = false;
  const int32_t width = RulerBitmap->Width();
  if (width < 1) return;
  Canvas& c = RulerBitmap->GetCanvas();
  const int32_t x0 = TextLeft() - HScrollPos;
  if (!FShowRuler) {
    c.SetBrushColor(ResolveColor(Color));
    c.FillRect({0, 0, ViewWidth, TopMargin()});
    if (FShowLineNo) {
      c.SetBrushColor(ResolveColor(ColorMargin));
      c.FillRect({0, 0, TextLeft(), TopMargin()});
      Line(c, TextLeft() - 2, 0, TextLeft() - 2, 5);
    }
    return;
  }
  const TColor margin = ResolveColor(ColorMargin);
  c.SetBrushColor(margin);
  c.FillRect({0, 0, width, TopMargin()});
  TFontSpec font = c.Font();
  font.Height = kRulerFontHeight;
  font.Color = ColorRuler;
  c.SetFont(font);
  c.SetTextColor(ResolveColor(ColorRuler));
  c.SetBkColor(margin);
  c.SetTransparent(false);

  // Ticks left of the bitmap are not drawn: they would not show.
  const int64_t step = GridCol < 1 ? 50 : GridCol;
  for (int64_t x = FirstAtOrAfter(x0, step, 0); x < ViewWidth; x += step) {
    Line(c, static_cast<int32_t>(x), 5, static_cast<int32_t>(x), 10);
  }
  // A label starts right of its tick, so one whose tick is just off the left edge still shows.
  for (int64_t x = FirstAtOrAfter(x0, kMajorStep, -kLabelRoom); x < ViewWidth; x += kMajorStep) {
    const auto xi = static_cast<int32_t>(x);
    Line(c, xi, 2, xi, 10);
    c.TextOut(xi + 2, 0, std::to_string(x - x0).substr(0, 4));
  }
  Line(c, 0, 10, ViewWidth, 10);
  if (FShowLineNo) Line(c, TextLeft() - 2, 10, TextLeft() - 2, 14);
}

void TVeskEdit::DrawRulerStrip() {
  ++FPaintLog.RulerStripDraws;
  if (!FHost.RedrawEnabled() || ViewWidth <= 0) return;
  FHost.Surface().CopyFrom({0, 0, ViewWidth, TopMargin()}, *RulerBitmap, {0, 0});
  if (FShowRuler) DrawRulerMarker();
}

// A raised 7 × 8 push button over the ticks at the caret's column, drawn as
// the system draws one: face, light outer and inner top-left edges, dark
// outer and inner bottom-right edges.
void TVeskEdit::DrawRulerMarker() {
  Canvas& c = FHost.Surface();
  const int32_t l = TextLeft() - HScrollPos + CaretDocX;
  const int32_t t = 5;
  const int32_t r = l + 7;
  const int32_t b = 13;
  c.SetBrushColor(FHost.GetSysColor(COLOR_BTNFACE));
  c.FillRect({l, t, r, b});
  struct TEdge {
    int inset;
    int topLeft;
    int bottomRight;
  };
  // COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW outside; COLOR_3DLIGHT, COLOR_BTNSHADOW inside.
  for (const TEdge e : {TEdge{0, 20, 21}, TEdge{1, 22, 16}}) {
    c.SetPen(FHost.GetSysColor(e.topLeft), TPenStyle::psSolid, 1);
    c.MoveTo(l + e.inset, b - 1 - e.inset);
    c.LineTo(l + e.inset, t + e.inset);
    c.LineTo(r - 1 - e.inset, t + e.inset);
    c.SetPen(FHost.GetSysColor(e.bottomRight), TPenStyle::psSolid, 1);
    c.MoveTo(l + e.inset, b - 1 - e.inset);
    c.LineTo(r - 1 - e.inset, b - 1 - e.inset);
    c.LineTo(r - 1 - e.inset, t - 1 + e.inset);
  }
}

void TVeskEdit::DrawGrid(Canvas& canvas) {
  canvas.SetPen(ResolveColor(ColorGrid), GridLineStyle, 1);
  const int32_t x0 = TextLeft() - HScrollPos;
  if (GridType == gtGrid) {
    const int32_t width = TextBitmap->Width();
    const int32_t height = TextBitmap->Height();
    if (GridCol > 0) {
      // Lines left of the bitmap are skipped; they would not show.
      const int64_t firstX = int64_t{x0} + GridCol;
      for (int64_t x = FirstAtOrAfter(firstX, GridCol, 0); x < width; x += GridCol) {
        const auto xi = static_cast<int32_t>(x);
        // The first line starts at the top, later ones where the text's top would be.
        Line(canvas, xi, x == firstX ? 0 : -TopLine * LineHeight, xi, ViewHeight);
      }
    }
    if (GridRow > 0 && LineHeight > 0) {
      const int64_t step = int64_t{GridRow} * LineHeight;
      for (int64_t y = TopMargin() - int64_t{TopLine % GridRow} * LineHeight + step - 1; y < height; y += step) {
        Line(canvas, 0, static_cast<int32_t>(y), ViewWidth, static_cast<int32_t>(y));
      }
    }
  } else {
    GridLines.Draw(canvas, {-HScrollPos, -TopLine * LineHeight});
  }
  canvas.SetPen(ResolveColor(ColorGrid), TPenStyle::psSolid, 1);
}

}  // namespace kelvane
