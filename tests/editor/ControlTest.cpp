// The control as an object: initial state, properties and metrics, focus and
// caret, and the answers to the non-input messages.
#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

TEST(Control, NewControl) {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  EXPECT_EQ(edit.Items.Count(), 1);
  EXPECT_EQ(edit.GetText(), "");
  EXPECT_FALSE(edit.CanUndo() || edit.CanRedo());
  EXPECT_EQ(edit.TopMargin(), 4);
  EXPECT_EQ(edit.HScrollMax(), 7000);
  EXPECT_EQ(edit.VisibleLines, 1);
  EXPECT_EQ(edit.LineHeight, 0);  // no window yet
  EXPECT_EQ(edit.ColorSelSpace, 0x80FFFFF1u);
  edit.ColorSelText = 0x123456;
  EXPECT_EQ(edit.ColorSelSpace, 0x80FFFFF1u);  // computed once
  EXPECT_EQ(edit.Keywords.Count(), 8);
  EXPECT_EQ(edit.KeywordColors[31], edit.Font().Color);
}

TEST(Control, MetricsFollowTheWindowAndTheFont) {
  EditorFixture f;
  EXPECT_EQ(f.edit.CharHeight, 16);
  EXPECT_EQ(f.edit.LineHeight, 18);
  EXPECT_EQ(f.edit.SpaceWidth, 8);
  EXPECT_EQ(f.edit.WideSpaceWidth, 16);
  EXPECT_EQ(f.edit.TabWidth, 40);
  EXPECT_EQ(f.edit.LineNoWidth, 40);
  EXPECT_EQ(f.edit.EofMarkWidth, 40);
  EXPECT_EQ(f.edit.CrMarkWidth, 16);
  EXPECT_EQ(f.edit.VisibleLines, (480 - 4) / 18);

  f.edit.SetShowRuler(true);
  EXPECT_EQ(f.edit.TopMargin(), 14);
  f.edit.Perform(WM_SIZE, 0, MakeLParam(640, 480));
  EXPECT_EQ(f.edit.VisibleLines, (480 - 14) / 18);
  f.edit.Perform(WM_SIZE, 0, MakeLParam(640, 10));
  EXPECT_EQ(f.edit.VisibleLines, 1);

  f.edit.ExternalLeading = 0;  // takes effect at the next metrics recomputation
  EXPECT_EQ(f.edit.LineHeight, 18);
  TFontSpec red = f.edit.Font();
  red.Color = 0x0000FF;
  f.edit.SetFont(red);
  EXPECT_EQ(f.edit.LineHeight, 16);
  EXPECT_EQ(f.edit.ColorText, 0x0000FFu);
  f.edit.ColorText = 0x00FF00;  // stands until the next font change
  EXPECT_EQ(f.edit.ColorText, 0x00FF00u);
}

TEST(Control, AutoWrapHidesTheHorizontalBarAtWindowCreation) {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  edit.SetAutoWrap(true);
  edit.CreateWnd();
  EXPECT_FALSE(host.BarVisible[0]);
  EXPECT_TRUE(host.BarVisible[1]);
}

TEST(Control, FocusCaretAndMessages) {
  EditorFixture f;
  f.host.Focused = true;
  f.edit.Perform(WM_SETFOCUS);
  EXPECT_TRUE(f.host.Caret.Visible());
  EXPECT_EQ(f.host.Caret.Height, 18);
  EXPECT_EQ(f.host.Caret.Width, 1);
  f.edit.Perform(WM_KILLFOCUS);
  EXPECT_FALSE(f.host.Caret.Exists);

  EXPECT_EQ(f.edit.Perform(WM_GETDLGCODE) & 0x85, 0x85);
  EXPECT_EQ(f.edit.Perform(WM_ERASEBKGND), 1);
  f.host.Focused = false;
  f.edit.Perform(WM_MOUSEACTIVATE);
  EXPECT_TRUE(f.host.Focused);  // a click on an unfocused control gives it the focus
  f.host.Focused = false;
  f.edit.Perform(WM_NCLBUTTONDOWN, 2);  // not on the client area
  EXPECT_FALSE(f.host.Focused);
  f.edit.Perform(WM_NCRBUTTONDOWN, 1);
  EXPECT_TRUE(f.host.Focused);
}

}  // namespace
}  // namespace kelvane::test
