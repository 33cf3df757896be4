// Caret moves, the view following the caret, auto-scroll steps, scroll bars,
// scroll messages and the wheel (headless metrics: 8/16 px characters, line
// height 16 + 2, line numbers 40 px wide, so the text starts at x 50).
#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

struct Caret : EditorFixture {
  void Size(int w, int h) {
    edit.Perform(WM_SIZE, 0, MakeLParam(static_cast<uint32_t>(w), static_cast<uint32_t>(h)));
    host.Outer = {w, h};
  }
  void Lines(int n, const std::string& each) {
    std::string text;
    for (int i = 0; i < n; ++i) text += (i ? "\r\n" : "") + each;
    edit.SetText(text);
  }
};

TEST(Caret, EveryMoveOnAnEmptyTextStaysAtTheOrigin) {
  Caret c;
  for (auto move : {&TVeskEdit::CaretLineUp, &TVeskEdit::CaretLineDown, &TVeskEdit::CaretCharLeft,
                    &TVeskEdit::CaretCharRight, &TVeskEdit::CaretLineStart, &TVeskEdit::CaretLineEnd,
                    &TVeskEdit::CaretTextStart, &TVeskEdit::CaretTextEnd}) {
    (c.edit.*move)();
    EXPECT_EQ(c.edit.CaretPos, (TPoint{0, 0}));
    EXPECT_EQ(c.edit.TopLine, 0);
  }
}

TEST(Caret, CharacterStepsOverDoubleBytesReferencesAndLineEnds) {
  Caret c;
  c.edit.SetShowNameRef(true);
  c.edit.SetText("a" + Sjis("あ") + "&amp;b\r\nxy");
  c.edit.CaretCharRight();
  c.edit.CaretCharRight();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{3, 0}));
  c.edit.CaretCharRight();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{8, 0}));
  c.edit.CaretCharLeft();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{3, 0}));
  c.edit.CaretCharLeft();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{1, 0}));
  c.edit.CaretLineEnd();
  c.edit.CaretCharRight();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{0, 1}));
  c.edit.CaretCharLeft();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{9, 0}));
  c.edit.CaretTextEnd();
  c.edit.CaretCharRight();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{2, 1}));
}

TEST(Caret, VerticalMovesKeepTheGoalColumn) {
  Caret c;
  c.edit.SetText("abcdefgh\r\nab\r\n" + Sjis("あいうえ"));
  c.edit.SetCaret({5, 0});  // x 40
  c.edit.CaretLineDown();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{2, 1}));
  c.edit.CaretLineDown();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{6, 2}));  // x 48 is nearest 40 among 32 and 48 at the middle rule
  EXPECT_EQ(c.edit.GoalX, 40);
  c.edit.CaretLineDown();  // the last line: stays on it, at the goal
  EXPECT_EQ(c.edit.CaretPos, (TPoint{6, 2}));
  c.edit.CaretTextStart();
  c.edit.CaretLineUp();
  EXPECT_EQ(c.edit.CaretPos, (TPoint{0, 0}));
}

TEST(Caret, ViewFollowsHorizontally) {
  Caret c;
  c.Size(400, 300);
  c.Lines(1, std::string(125, 'a'));
  ASSERT_EQ(c.edit.TextLeft(), 50);
  c.edit.SetCaret({125, 0});
  EXPECT_EQ(c.edit.HScrollPos, 800);
  EXPECT_EQ(c.host.Bars[0].Pos, 800);
  EXPECT_EQ(c.host.Bars[0].Max, 7000);
  EXPECT_EQ(c.host.Bars[0].Page, 400 - 10 - 40);
  c.edit.CaretLineStart();
  EXPECT_EQ(c.edit.HScrollPos, 0);
}

TEST(Caret, NoHorizontalFollowBeforeTheWindowHasAWidth) {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  edit.SetShowRuler(true);
  edit.CreateWnd();
  EXPECT_EQ(edit.HScrollPos, 0);
}

TEST(Caret, AutoScrollWhileTheMouseIsHeld) {
  Caret c;
  c.Size(400, 364);  // 20 visible lines
  c.Lines(200, std::string(200, 'a'));
  c.edit.MouseDown = true;
  c.host.Mouse = {405, 100};
  c.edit.ScrollToCaretH(false);
  EXPECT_EQ(c.edit.HScrollPos, 2);
  c.host.Mouse = {470, 100};
  c.edit.ScrollToCaretH(false);
  EXPECT_EQ(c.edit.HScrollPos, 4902);
  c.edit.TopLine = 50;
  c.host.Mouse = {10, 367};
  c.edit.ScrollToCaretV(false);
  EXPECT_EQ(c.edit.TopLine, 50);
  c.host.Mouse = {10, 376};
  c.edit.ScrollToCaretV(false);
  EXPECT_EQ(c.edit.TopLine, 52);
  c.host.Mouse = {10, -15};
  c.edit.ScrollToCaretV(false);
  EXPECT_EQ(c.edit.TopLine, 49);
  EXPECT_EQ(TVeskEdit::AutoScrollStep(15), 6);
  EXPECT_EQ(TVeskEdit::AutoScrollStep(25), 12);
  EXPECT_EQ(TVeskEdit::AutoScrollStep(59), 50);
}

TEST(Caret, PagingScrollBarsAndWheel) {
  Caret c;
  c.Size(400, 364);
  ASSERT_EQ(c.edit.VisibleLines, 20);
  c.Lines(10, "x");
  c.edit.PageDown();
  EXPECT_EQ(c.edit.TopLine, 0);  // fewer lines than fit
  c.edit.UpdateVScrollBar(true);
  EXPECT_EQ(c.host.Bars[1].Max, 19);
  EXPECT_EQ(c.host.Bars[1].Page, 20);

  c.Lines(100, "x");
  c.edit.PageDown();
  EXPECT_EQ(c.edit.TopLine, 20);
  EXPECT_EQ(c.edit.CaretPos, (TPoint{0, 0}));  // paging leaves the caret
  c.edit.Perform(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(c.edit.TopLine, 23);
  c.edit.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLParam(0, 0)));  // delta 0 counts as up
  EXPECT_EQ(c.edit.TopLine, 20);
  c.edit.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLParam(0, static_cast<uint16_t>(-120))));
  EXPECT_EQ(c.edit.TopLine, 23);
  c.edit.WheelPageScroll = true;
  c.edit.Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLParam(0, static_cast<uint16_t>(-120))));
  EXPECT_EQ(c.edit.TopLine, 43);
  c.host.Bars[1].TrackPos = 95;
  c.edit.Perform(WM_VSCROLL, SB_THUMBTRACK);
  EXPECT_EQ(c.edit.TopLine, 80);
  c.edit.Perform(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(c.edit.CaretPos, (TPoint{1, 99}));
  c.edit.Perform(WM_HSCROLL, SB_PAGERIGHT);
  EXPECT_EQ(c.edit.HScrollPos, 400 - 50 - 10);
  c.edit.Perform(WM_HSCROLL, SB_RIGHT);
  EXPECT_EQ(c.edit.HScrollPos, 7000);
  c.edit.Perform(WM_HSCROLL, SB_LINERIGHT);
  EXPECT_EQ(c.edit.HScrollPos, 7000);
}

TEST(Caret, SwitchingTheCaretOnCentresTheView) {
  Caret c;
  c.Size(400, 364);
  c.Lines(200, "x");
  c.edit.ScrollToLine(40);
  c.edit.SetConfCaretVisible(true);
  EXPECT_EQ(c.edit.CaretPos, (TPoint{0, 40}));
  EXPECT_EQ(c.edit.TopLine, 30);
}

TEST(Caret, ClientPoints) {
  Caret c;
  c.Size(400, 364);
  c.Lines(100, "ab" + Sjis("あ"));
  c.edit.ScrollToLine(10);
  EXPECT_EQ(c.edit.ClientPointOfPos(2, 12), (TPoint{66, 2 * 18 + 4}));
  EXPECT_EQ(c.edit.DocPointAtClient(66, 40), (TPoint{16, 12}));
  EXPECT_EQ(c.edit.DocPointAtClient(0, 0).Y, 9);  // just above the text: the line before
  EXPECT_EQ(c.edit.DocPointAtClient(0, 400).Y, 10 + 20 + 1 + 1);
  EXPECT_EQ(c.edit.PosAtDocPoint(20, 5), (TPoint{2, 5}));
  EXPECT_EQ(c.edit.PosAtDocPoint(25, 500), (TPoint{4, 99}));
}

}  // namespace
}  // namespace kelvane::test
