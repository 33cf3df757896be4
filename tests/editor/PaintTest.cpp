// Painting, ruler and grid of the editor control, read back from the drawing
// calls the headless canvases record (8 px per single-byte character, 16 per
// double-byte one, 16 high: LineHeight 18, TextLeft 50, TopMargin 4, R 630).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "editor/Errors.h"
#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

constexpr int32_t kLH = 18, kTop = 4, kLeft = 50;
using Calls = std::vector<TDrawCall>;

struct PaintFixture : EditorFixture {
  PaintFixture() {
    // Distinct colours, so that every check names the one it expects.
    TColor next = 0x10;
    for (TColor TVeskProperties::*c :
         {&TVeskProperties::Color, &TVeskProperties::ColorText, &TVeskProperties::ColorUniText,
          &TVeskProperties::ColorCrEof, &TVeskProperties::ColorSpaceSgl, &TVeskProperties::ColorSpaceDbl,
          &TVeskProperties::ColorSpaceErr, &TVeskProperties::ColorSelCr, &TVeskProperties::ColorMargin,
          &TVeskProperties::ColorRuler, &TVeskProperties::ColorGrid}) {
      edit.*c = next++;
    }
    edit.KeywordColors[1] = next;
    host.SurfaceCanvas.Recording = true;
    Bmp().Recording = true;
    Ruler().Recording = true;
  }
  HeadlessCanvas& Bmp() { return dynamic_cast<HeadlessBitmap&>(*edit.TextBitmap).Headless(); }
  HeadlessCanvas& Ruler() { return dynamic_cast<HeadlessBitmap&>(*edit.RulerBitmap).Headless(); }
  Calls Rows(int32_t first, int32_t last) {
    Bmp().Calls.clear();
    host.SurfaceCanvas.Calls.clear();
    edit.RepaintLines(first, last);
    return Bmp().Calls;
  }
  Calls All() { return Rows(edit.TopLine, edit.TopLine + edit.VisibleLines); }
  TColor SelBack() const { return host.GetSysColor(COLOR_HIGHLIGHT); }
  void Select(TPoint anchor, TPoint caret) {
    edit.SelAnchor = anchor;
    edit.CaretPos = caret;
    edit.Selected = true;
  }
  void ManyLines() {
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line\r\n";
    edit.SetText(text);
  }
};

Calls Of(const Calls& calls, TDrawOp op) {
  Calls out;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(out), [&](const TDrawCall& c) { return c.Op == op; });
  return out;
}

const TDrawCall* TextAt(const Calls& calls, std::string_view text) {
  auto it = std::find_if(calls.begin(), calls.end(), [&](const TDrawCall& c) { return c.Op == TDrawOp::TextOut && c.Text == text; });
  return it == calls.end() ? nullptr : &*it;
}

bool HasFill(const Calls& calls, TRect r, TColor colour) {
  return std::any_of(calls.begin(), calls.end(), [&](const TDrawCall& c) {
    return c.Op == TDrawOp::FillRect && c.Rect == r && c.State.BrushColor == colour;
  });
}

bool HasLine(const Calls& calls, TPoint a, TPoint b) {
  return std::any_of(calls.begin(), calls.end(), [&](const TDrawCall& c) {
    return c.Op == TDrawOp::LineTo && c.Points == std::vector<TPoint>{a, b};
  });
}

TEST(Paint, SingleLineEditRepaintsOneRowAndHiddenRowsDrawNothing) {
  PaintFixture f;
  f.edit.SetText("one\r\ntwo\r\nthree\r\nfour");
  f.edit.SetCaret({1, 2});
  f.host.SurfaceCanvas.Calls.clear();
  const int64_t before = f.edit.PaintLog().RowsPainted;
  f.edit.DeleteKey();  // within the line (typing repaints the next row too)
  EXPECT_EQ(f.edit.PaintLog().RowsPainted - before, 1);
  auto copies = Of(f.host.SurfaceCanvas.Calls, TDrawOp::CopyFrom);
  std::erase_if(copies, [](const TDrawCall& c) { return c.Rect.Top == 0; });  // the top strip
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].Rect, (TRect{0, kTop + 2 * kLH, 640, kTop + 3 * kLH}));
  EXPECT_EQ(f.edit.TextBitmap->Width(), 0);  // only sized during a pass

  f.edit.Perform(WM_SETREDRAW, 0);
  EXPECT_TRUE(f.Rows(0, 3).empty());
  EXPECT_TRUE(f.host.SurfaceCanvas.Calls.empty());
  f.edit.Perform(WM_SETREDRAW, 1);
  EXPECT_TRUE(f.Rows(-5, -1).empty()) << "lines above TopLine are never painted";
  EXPECT_TRUE(f.Rows(60, 70).empty()) << "rows below the view";
}

TEST(Paint, RunsSplitAtAttributeAndSelectionChanges) {
  PaintFixture f;
  f.edit.SetText("abc def\r\nx");
  f.Select({1, 0}, {5, 0});
  const Calls calls = f.Rows(0, 0);
  std::vector<std::string> runs;
  for (const TDrawCall& c : Of(calls, TDrawOp::TextOut)) runs.push_back(c.Text);
  EXPECT_EQ(runs, (std::vector<std::string>{"a", "bc", "d", "ef"}));
  EXPECT_EQ(TextAt(calls, "ef")->Points[0], (TPoint{kLeft + 5 * 8, kTop}));
  EXPECT_TRUE(HasFill(calls, {kLeft + 24, kTop, kLeft + 32, kTop + kLH}, f.SelBack())) << "the space's cell";
  EXPECT_EQ(f.edit.SelectionMap(0), "12222111");
}

TEST(Paint, ColoursOfEachKindUnselectedAndSelected) {
  using P = TVeskProperties;
  struct Case {
    std::string line;
    TDrawOp op;
    TColor P::*normal;    // null: the keyword table's entry
    TColor P::*selected;  // null: ColorSelText, opaque on ColorSelBack
    bool pen;
  };
  const Case cases[] = {
      {"ab", TDrawOp::TextOut, &P::ColorText, nullptr, false},
      {"http://a.jp", TDrawOp::TextOut, nullptr, nullptr, false},
      {"&#12354;", TDrawOp::TextOutW, &P::ColorUniText, nullptr, false},
      {"a b", TDrawOp::Polyline, &P::ColorSpaceSgl, &P::ColorSelSpace, true},
      {"a  b", TDrawOp::Polyline, &P::ColorSpaceErr, &P::ColorSelSpace, true},
      {Sjis("　"), TDrawOp::Polyline, &P::ColorSpaceDbl, &P::ColorSelSpace, true},
      {"\t", TDrawOp::TextOutW, &P::ColorCrEof, &P::ColorSelCr, false},
      {"", TDrawOp::TextRectW, &P::ColorCrEof, &P::ColorSelCr, false},  // the line end
  };
  for (const Case& c : cases) {
    for (bool sel : {false, true}) {
      SCOPED_TRACE(c.line + (sel ? " selected" : ""));
      PaintFixture f;
      f.edit.SetShowNumRef(true);
      f.edit.SetText(c.line + "\r\n");
      if (sel) f.Select({0, 0}, {0, 1});
      const Calls drawn = Of(f.Rows(0, 0), c.op);
      ASSERT_FALSE(drawn.empty());
      const TCanvasState& s = drawn.front().State;
      const TColor got = c.pen ? s.PenColor : s.TextColor;
      if (!sel) {
        EXPECT_EQ(got, c.normal ? f.edit.*c.normal : f.edit.KeywordColors[1]);
        EXPECT_TRUE(c.pen || s.Transparent);
      } else if (c.selected) {
        // System colours are resolved; ColorSelSpace names an undefined one: black.
        EXPECT_EQ(got, c.selected == &P::ColorSelSpace ? 0u : f.edit.*c.selected);
      } else {
        EXPECT_EQ(got, f.host.GetSysColor(COLOR_HIGHLIGHTTEXT));
        EXPECT_FALSE(s.Transparent);
        EXPECT_EQ(s.BkColor, f.SelBack());
      }
    }
  }
}

TEST(Paint, RowCutAtRightLimitLineEndsAndScrolledTextUnderMargin) {
  PaintFixture f;
  f.edit.SetText(std::string(100, 'a') + "\r\nb\r\nc");
  Calls calls = f.Rows(0, 2);
  // A run grows while it ends at or before 630: the 73rd character starts at 626.
  ASSERT_NE(TextAt(calls, std::string(73, 'a')), nullptr);
  const Calls marks = Of(calls, TDrawOp::TextRectW);
  ASSERT_EQ(marks.size(), 1u) << "no mark after a cut row, none after the last line";
  EXPECT_EQ(marks[0].Rect, (TRect{kLeft + 8, kTop + kLH, kLeft + 24, kTop + 2 * kLH}));
  const TDrawCall* eof = TextAt(calls, "[EOF]");
  ASSERT_NE(eof, nullptr);
  EXPECT_EQ(eof->Points[0], (TPoint{kLeft + 8, kTop + 2 * kLH}));
  EXPECT_EQ(eof->State.TextColor, f.edit.ColorCrEof);

  f.edit.HScrollTo(100);
  calls = f.Rows(0, 0);
  const auto text = std::find_if(calls.begin(), calls.end(), [](const TDrawCall& c) { return c.Op == TDrawOp::TextOut; });
  ASSERT_NE(text, calls.end());
  EXPECT_EQ(text->Points[0].X, kLeft - 100);
  EXPECT_TRUE(HasFill(Calls(text, calls.end()), {0, kTop, kLeft, kTop + kLH}, f.edit.ColorMargin)) << "drawn after";
}

TEST(Paint, EndOfTextMarkGoesUnderTheMarginWhenScrolled) {
  PaintFixture f;
  f.edit.SetText("ab\r\nc");
  f.edit.HScrollTo(30);
  const Calls calls = f.Rows(0, 1);
  const auto eof = std::find_if(calls.begin(), calls.end(), [](const TDrawCall& c) { return c.Text == "[EOF]"; });
  ASSERT_NE(eof, calls.end());
  EXPECT_EQ(eof->Points[0].X, kLeft - 30 + 8);  // partly left of the text edge
  EXPECT_TRUE(HasFill(Calls(eof, calls.end()), {0, kTop + kLH, kLeft, kTop + 2 * kLH}, f.edit.ColorMargin));
}

TEST(Paint, RowBelowLastLineShowsBackgroundLaterRowsMargin) {
  PaintFixture f;
  f.edit.SetText("a\r\nb");
  const Calls calls = f.All();
  EXPECT_TRUE(HasFill(calls, {0, 0, 640, 480}, f.edit.Color));
  EXPECT_FALSE(HasFill(calls, {0, kTop + 2 * kLH, 640, kTop + 3 * kLH}, f.edit.ColorMargin));
  for (int row = 3; row <= f.edit.VisibleLines; ++row) {
    EXPECT_TRUE(HasFill(calls, {0, kTop + row * kLH, 640, kTop + (row + 1) * kLH}, f.edit.ColorMargin)) << row;
  }
}

TEST(Paint, LineNumbersSeparatorAndLongLineStar) {
  PaintFixture f;
  f.edit.SetText(std::string(300, 'a') + "\r\n" + std::string(300, 'b'));
  Calls calls = f.Rows(0, 1);
  const Calls numbers = Of(calls, TDrawOp::DrawTextRight);
  ASSERT_EQ(numbers.size(), 2u);
  EXPECT_EQ(numbers[1].Text, "2 ");
  EXPECT_EQ(numbers[1].Rect, (TRect{0, kTop + kLH, kLeft, kTop + 2 * kLH}));
  EXPECT_EQ(numbers[1].State.TextColor, f.edit.ColorText);
  EXPECT_TRUE(HasLine(calls, {kLeft - 2, kTop}, {kLeft - 2, kTop + kLH}));
  EXPECT_EQ(Of(calls, TDrawOp::LineTo)[0].State.PenColor, f.edit.ColorRuler);
  const TDrawCall* star = TextAt(calls, "*");
  ASSERT_NE(star, nullptr);
  EXPECT_EQ(star->Points[0], (TPoint{10, kTop})) << "the last line never shows it";
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const TDrawCall& c) { return c.Text == "*"; }), 1);

  f.edit.SetShowLineNo(false);
  calls = f.Rows(0, 1);
  EXPECT_EQ(TextAt(calls, "*"), nullptr);
  EXPECT_TRUE(Of(calls, TDrawOp::DrawTextRight).empty());
  EXPECT_TRUE(HasFill(calls, {0, kTop, 10, kTop + kLH}, f.edit.ColorMargin)) << "the left margin stays";
}

TEST(Paint, SpaceMarkStylesAndSwitches) {
  const int x = kLeft + 8, y = kTop, b = kTop + 14;  // the mark's cell starts at x, CharHeight 16
  const std::pair<TSpaceDrawStyle, std::vector<TPoint>> styles[] = {
      {sdsLineA, {{x, b}, {x + 7, b}}},
      {sdsLineB, {{x, b - 2}, {x, b}, {x + 6, b}, {x + 6, b - 3}}},
      {sdsFrameRect, {{x + 1, y + 2}, {x + 1, b}, {x + 6, b}, {x + 6, y + 2}, {x + 1, y + 2}}},
  };
  for (const auto& [style, points] : styles) {
    PaintFixture f;
    f.edit.SetText("a b");
    f.edit.SpaceSglStyle = style;
    const Calls marks = Of(f.Rows(0, 0), TDrawOp::Polyline);
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].Points, points) << int(style);
  }

  PaintFixture f;
  f.edit.SetText("a  b c\td");
  f.edit.ShowSpaceSgl = false;
  const Calls marks = Of(f.Rows(0, 0), TDrawOp::Polyline);
  ASSERT_EQ(marks.size(), 2u) << "the doubled spaces only";
  EXPECT_EQ(marks[1].State.PenColor, f.edit.ColorSpaceErr);
  f.edit.ShowSpaceErr = false;  // error spaces are then plain ones, and those are off
  EXPECT_TRUE(Of(f.Rows(0, 0), TDrawOp::Polyline).empty());

  f.edit.SetShowTab(false);
  f.Select({0, 0}, {8, 0});
  const Calls calls = f.Rows(0, 0);
  EXPECT_TRUE(Of(calls, TDrawOp::TextOutW).empty());
  const int tabX = kLeft + 6 * 8;
  EXPECT_TRUE(HasFill(calls, {tabX, kTop, tabX + f.edit.TabWidth, kTop + kLH}, f.SelBack()));
  EXPECT_EQ(TextAt(calls, "d")->Points[0].X, tabX + f.edit.TabWidth);
}

TEST(Paint, SelectionFillsCellsDownToTheLineHeight) {
  PaintFixture f;
  f.edit.SetText("ab c\r\nxyz\r\nend");
  f.Select({0, 0}, {2, 1});
  const Calls calls = f.Rows(0, 1);
  const TColor back = f.SelBack();
  EXPECT_TRUE(HasFill(calls, {kLeft, kTop + 16, kLeft + 16, kTop + kLH}, back)) << "below the text of \"ab\"";
  EXPECT_TRUE(HasFill(calls, {kLeft + 16, kTop, kLeft + 24, kTop + kLH}, back)) << "the space";
  EXPECT_TRUE(HasFill(calls, {kLeft + 32, kTop, kLeft + 48, kTop + kLH}, back)) << "the line end";
  EXPECT_TRUE(HasFill(calls, {kLeft, kTop + kLH + 16, kLeft + 16, kTop + 2 * kLH}, back)) << "\"xy\"";
  EXPECT_EQ(TextAt(calls, "z")->State.TextColor, f.edit.ColorText);
  const Calls marks = Of(calls, TDrawOp::TextRectW);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[1].State.TextColor, f.edit.ColorCrEof) << "the last selected line's end is not selected";

  f.edit.BoxMode = true;  // a box takes the characters whose middle lies inside
  f.edit.BoxLeftX = 8;
  f.edit.BoxRightX = 21;  // middles of "xyz" at 4, 12, 16 (the last byte's is its left edge)
  EXPECT_EQ(f.edit.SelectionMap(1), "1221");
  EXPECT_EQ(f.edit.SelectionMap(2), "1111");
}

std::string WriteGif(int w, int h) {
  const std::string path = testing::TempDir() + "/kelvane_paint_picture.gif";
  std::string head = "GIF89a";
  head += {char(w & 0xFF), char(w >> 8), char(h & 0xFF), char(h >> 8)};
  head.resize(32, '\0');
  std::ofstream(path, std::ios::binary) << head;
  return path;
}

TEST(Paint, PictureScrollsWithTheTextAndZooms) {
  PaintFixture f;
  f.ManyLines();
  f.edit.SetPictureZoom(50);
  ASSERT_TRUE(f.edit.SetPicture(WriteGif(201, 99)));
  EXPECT_EQ(f.edit.PictureWidth(), 100);
  EXPECT_EQ(f.edit.PictureHeight(), 49);
  for (int ignored : {0, -5}) f.edit.SetPictureZoom(ignored);
  EXPECT_EQ(f.edit.PictureZoom(), 50);
  f.edit.SetPicturePosX(7);
  f.edit.SetPicturePosY(9);
  f.edit.ScrollLines(2);
  f.edit.HScrollTo(30);
  const Calls pictures = Of(f.All(), TDrawOp::StretchDraw);
  ASSERT_EQ(pictures.size(), 1u);
  const int left = kLeft - 30 + 7, top = kTop + 9 - 2 * kLH;
  EXPECT_EQ(pictures[0].Rect, (TRect{left, top, left + 100, top + 49}));
  EXPECT_FALSE(f.edit.SetPicture(testing::TempDir() + "/no such picture.png"));
  EXPECT_TRUE(Of(f.All(), TDrawOp::StretchDraw).empty());
}

TEST(Ruler, TicksAndLabelsUnderHorizontalScrolling) {
  PaintFixture f;
  f.edit.GridCol = 0;  // minor ticks every 50 pixels then
  f.edit.SetShowRuler(true);
  f.edit.SetHScrollMax(20000);
  struct Case {
    int32_t scroll, tickX, minorX;
    const char* label;
  };
  const Case cases[] = {{0, kLeft, kLeft + 50, "0"}, {130, kLeft - 30, 20, "100"}, {130, kLeft + 70, 70, "200"},
                        {11950, 100, 150, "1200"}};  // 12000 cut to four characters
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    f.Ruler().Calls.clear();
    f.edit.HScrollTo(c.scroll);
    const Calls& calls = f.Ruler().Calls;
    const TDrawCall* label = TextAt(calls, c.label);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Points[0], (TPoint{c.tickX + 2, 0}));
    EXPECT_EQ(label->State.TextColor, f.edit.ColorRuler);
    EXPECT_TRUE(HasLine(calls, {c.tickX, 2}, {c.tickX, 10}));
    EXPECT_TRUE(HasLine(calls, {c.minorX, 5}, {c.minorX, 10}));
    EXPECT_TRUE(HasFill(calls, {0, 0, 640, 14}, f.edit.ColorMargin));
  }
}

TEST(Ruler, StripCopiedWithMarkerAndTogglingMovesTheText) {
  PaintFixture f;
  f.edit.SetText("abc");
  f.edit.SetCaret({2, 0});
  f.edit.SetShowRuler(true);
  f.Bmp().Calls.clear();
  f.host.SurfaceCanvas.Calls.clear();
  f.edit.Paint();
  const Calls& surface = f.host.SurfaceCanvas.Calls;
  ASSERT_FALSE(surface.empty());
  EXPECT_EQ(surface[0].Rect, (TRect{0, 0, 640, 14}));
  EXPECT_TRUE(HasFill(surface, {kLeft + 16, 5, kLeft + 23, 13}, f.host.GetSysColor(COLOR_BTNFACE))) << "the marker";
  EXPECT_EQ(TextAt(f.Bmp().Calls, "abc")->Points[0].Y, 14);
  f.edit.SetShowRuler(false);
  EXPECT_EQ(TextAt(f.Rows(0, 0), "abc")->Points[0].Y, 4);
  EXPECT_TRUE(HasFill(f.Ruler().Calls, {0, 0, kLeft, 4}, f.edit.ColorMargin));
}

TEST(Grid, RegularLinesOnColumnsAndEveryGridRowLine) {
  PaintFixture f;
  f.ManyLines();
  f.edit.SetShowGrid(true);
  f.edit.ScrollLines(1);
  f.edit.HScrollTo(20);
  std::vector<int> xs, ys;
  for (const TDrawCall& c : Of(f.All(), TDrawOp::LineTo)) {
    if (c.State.PenStyle != TPenStyle::psDot) continue;
    EXPECT_EQ(c.State.PenColor, f.edit.ColorGrid);
    const bool vertical = c.Points[0].X == c.Points[1].X;
    (vertical ? xs : ys).push_back(vertical ? c.Points[0].X : c.Points[0].Y);
  }
  ASSERT_GE(xs.size(), 2u);
  EXPECT_EQ(xs[0], kLeft - 20 + 50);
  EXPECT_EQ(xs[1], kLeft - 20 + 100);
  ASSERT_GE(ys.size(), 2u);
  EXPECT_EQ(ys[0], kTop + 2 * kLH - 1) << "the bottom of line number 3, the second row";
  EXPECT_EQ(ys[1], ys[0] + 3 * kLH);
  EXPECT_EQ(f.Bmp().State().PenStyle, TPenStyle::psSolid);
}

TEST(Grid, ShapesDrawByKindAndPointCount) {
  const std::tuple<char, int, std::optional<TDrawOp>> cases[] = {
      {'A', 1, {}}, {'A', 3, TDrawOp::Polyline}, {'B', 2, TDrawOp::Ellipse}, {'B', 3, {}},
      {'C', 4, TDrawOp::Pie}, {'C', 3, {}}, {'D', 4, TDrawOp::Arc}, {'E', 3, {}},
      {'E', 7, TDrawOp::PolyBezier}, {'Z', 4, {}},
  };
  PaintFixture f;
  f.ManyLines();
  f.edit.GridType = gtLines;
  f.edit.SetShowGrid(true);
  f.edit.ScrollLines(2);
  f.edit.HScrollTo(5);
  auto isShape = [](const TDrawCall& d) { return d.State.PenStyle == TPenStyle::psDot && d.Op != TDrawOp::MoveTo; };
  const Calls bare = f.All();
  EXPECT_FALSE(std::any_of(bare.begin(), bare.end(), isShape)) << "no shapes, no grid";
  for (const auto& [kind, count, op] : cases) {
    SCOPED_TRACE(std::string(1, kind) + std::to_string(count));
    f.edit.GridLines.Clear();
    std::vector<TPoint> points;
    for (int k = 0; k < count; ++k) points.push_back({100 + k, 200 + k});
    f.edit.GridLines.Add(kind, points);
    Calls shapes = f.All();
    std::erase_if(shapes, [&](const TDrawCall& d) { return !isShape(d); });
    ASSERT_EQ(shapes.size(), op ? 1u : 0u);
    if (!op) continue;
    EXPECT_EQ(shapes[0].Op, *op);
    const TPoint p1 = shapes[0].Points.empty() || op == TDrawOp::Pie || op == TDrawOp::Arc
                          ? TPoint{shapes[0].Rect.Left, shapes[0].Rect.Top}
                          : shapes[0].Points[0];
    EXPECT_EQ(p1, (TPoint{100 - 5, 200 - 2 * kLH})) << "moved with the scrolling";
  }
  EXPECT_THROW(f.edit.GridLines.Items(5), EListError);
}

}  // namespace
}  // namespace kelvane::test
