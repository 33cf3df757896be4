// Editing with history: the text, caret, records and events of each operation,
// and undo and redo giving back the text exactly (headless: 8 px a single byte).
#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

using Lines = std::vector<std::string>;
using Records = std::vector<TUndoData>;

struct Editing : EditorFixture {
  std::string events, before;
  Editing() {
    edit.OnChange = [this](TVeskEdit&) { events += 'C'; };
    edit.OnMoveCaret = [this](TVeskEdit&) { events += 'M'; };
  }
  void Start(std::string_view text, TPoint caret, TPoint anchor = {-1, -1}) {
    edit.SetText(text);
    edit.SetCaret(caret);
    before = text;
    if (anchor.X >= 0) {
      edit.SelAnchor = anchor;
      edit.Selected = true;
    }
    events.clear();
  }
  Records Pushed() {
    Records out;
    for (int32_t i = 0; i < UndoList().Count(); ++i) out.push_back(UndoList()[i]);
    return out;
  }
  // Undoes everything, checks the text and the caret the last undo leaves, and redoes it all.
  void ExpectRoundTrip(TPoint caret) {
    const std::string after = edit.GetText();
    while (edit.CanUndo()) edit.UndoStep();
    EXPECT_EQ(edit.GetText(), before);
    EXPECT_EQ(edit.CaretPos, caret);
    while (edit.CanRedo()) edit.RedoStep();
    EXPECT_EQ(edit.GetText(), after);
  }
};

TEST(Editing, InsertionRecordsWhatUndoMustRemove) {
  Editing e;
  e.Start("abcdef", {3, 0});
  e.edit.InputText("a");
  EXPECT_EQ(e.edit.CaretPos, (TPoint{4, 0}));
  EXPECT_EQ(e.Pushed(), (Records{{umInsert, {3, 0}, 1, ""}}));
  EXPECT_EQ(e.events, "CM");  // the text changes before the caret moves
  e.ExpectRoundTrip({3, 0});
  // Pasted text: CR LF counts two; a lone LF stays a byte of the line unless a CR is
  // there too, when every lone CR or LF breaks the line; a NUL ends the text.
  const std::vector<std::tuple<std::string, Lines, int32_t, TPoint>> pastes{
      {"x\r\ny", {"Xx", "yY"}, 4, {1, 1}},          {"x\r\n", {"Xx", "Y"}, 3, {0, 1}},
      {"x\ny", {"Xx\nyY"}, 3, {4, 0}},              {"a\rb\nc\r\n", {"Xa", "b", "c", "Y"}, 9, {0, 3}},
      {std::string("a\r\nb\0c", 6), {"Xa", "bY"}, 4, {1, 1}},
      {std::string("a\0\r", 3), {"XaY"}, 1, {2, 0}},  // the NUL ends it before any break
      {std::string("\0\r", 2), {"XY"}, 0, {1, 0}}};
  for (const auto& [paste, lines, count, caret] : pastes) {
    e.Start("XY", {1, 0});
    e.edit.InputText(paste);
    EXPECT_EQ(e.Lines(), lines);
    EXPECT_EQ(e.edit.CaretPos, caret);
    EXPECT_EQ(e.Pushed(), (Records{{umInsert, {1, 0}, count, ""}}));
    e.ExpectRoundTrip({1, 0});
  }
}

// The clipboard's and an input method's text end at their first NUL, on every host.
TEST(Editing, ClipboardAndInputMethodTextsEndAtTheirFirstNul) {
  Editing e;
  e.Start("hello world", {9, 0});
  e.host.Focused = true;
  e.host.Clipboard = std::string("\0\r", 2);
  e.edit.PasteCommand();
  EXPECT_EQ(e.Lines(), (Lines{"hello world"}));
  EXPECT_TRUE(e.Pushed().empty());
  e.host.Clipboard = std::string("ab\0cd\r\n", 7);
  e.edit.PasteCommand();
  e.host.ImeResult = std::string("xy\0z", 4);
  e.edit.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  EXPECT_EQ(e.Lines(), (Lines{"hello worabxyld"}));
  while (e.edit.CanUndo()) e.edit.UndoStep();
  EXPECT_EQ(e.Lines(), (Lines{"hello world"}));
}

TEST(Editing, EnterAndTab) {
  Editing e;
  e.Start("ab\r\ncd", {0, 1});
  e.edit.NewLine();
  EXPECT_EQ(e.Lines(), (Lines{"ab", "", "cd"}));
  EXPECT_EQ(e.edit.CaretPos, (TPoint{0, 2}));
  EXPECT_EQ(e.Pushed(), (Records{{umEnter, {0, 1}, 2, ""}}));
  EXPECT_EQ(e.events, "MC");
  e.ExpectRoundTrip({0, 1});
  e.edit.CaretPos = {0, 9};  // outside the lines: nothing
  e.edit.NewLine();
  e.edit.SetCaret({1, 0});
  e.edit.TabKey();
  EXPECT_EQ(e.Lines(), (Lines{"a\tb", "", "cd"}));
  e.host.KeysDown.insert(VK_CONTROL);
  e.edit.TabKey();
  EXPECT_EQ(e.host.FocusMoves, 1);
  EXPECT_EQ(e.UndoList().Count(), 2);
}

TEST(Editing, BackspaceAndDeleteTakeWholeCharactersOrJoinLines) {
  Editing e;
  e.edit.SetShowNameRef(true);
  const std::string a = Sjis("あ");
  e.Start("x" + a + "&amp;\r\nyz", {0, 1});
  e.edit.BackSpaceKey();
  EXPECT_EQ(e.edit.CaretPos, (TPoint{8, 0}));
  EXPECT_EQ(e.edit.PaintLog().LastRepaintFirst, 0);
  e.edit.BackSpaceKey();
  e.edit.BackSpaceKey();
  EXPECT_EQ(e.Lines(), (Lines{"xyz"}));
  EXPECT_EQ(e.Pushed(), (Records{{umDelete, {8, 0}, 0, "\r\n"}, {umDelete, {3, 0}, 5, "&amp;"},
                                 {umDelete, {1, 0}, 2, a}}));
  EXPECT_EQ(e.events, "MMCMMCMMC");
  e.ExpectRoundTrip({0, 1});

  e.Start(a + "b\r\ncd", {0, 0});
  e.edit.DeleteKey();
  e.edit.SetCaret({1, 0});
  e.edit.DeleteKey();
  EXPECT_EQ(e.Lines(), (Lines{"bcd"}));
  EXPECT_EQ(e.edit.CaretPos, (TPoint{1, 0}));
  EXPECT_EQ(e.Pushed(), (Records{{umDelete, {0, 0}, 2, a}, {umDelete, {1, 0}, 1, "\r\n"}}));
  e.ExpectRoundTrip({2, 0});

  e.Start("ab", {0, 0});
  e.edit.BackSpaceKey();  // at the start of the text: nothing, not even an event
  e.edit.SetCaret({2, 0});
  e.events.clear();
  e.edit.DeleteKey();  // at the end of the text: no record, but the change event
  EXPECT_EQ(e.events, "C");
  EXPECT_FALSE(e.edit.CanUndo());
}

TEST(Editing, DeletingToTheEndOrStartOfTheLine) {
  Editing e;
  e.Start("abcd\r\nef", {1, 0});
  e.edit.DeleteToEnd(0);
  e.edit.DeleteToEnd(0);  // at the end: still a record, with no text
  EXPECT_EQ(e.Lines(), (Lines{"a", "ef"}));
  EXPECT_EQ(e.Pushed(), (Records{{umDelete, {1, 0}, 0, "bcd"}, {umDelete, {1, 0}, 0, ""}}));
  e.Start("abcd", {3, 0});
  e.edit.DeleteToStart(0);
  EXPECT_EQ(e.Lines(), (Lines{"d"}));
  EXPECT_EQ(e.edit.CaretPos, (TPoint{0, 0}));
  EXPECT_EQ(e.Pushed(), (Records{{umDelete, {0, 0}, 0, "abc"}}));
  e.ExpectRoundTrip({3, 0});
}

TEST(Editing, ReplacingASelectionPushesOneChangeCountingTheLinesLeft) {
  Editing e;
  const std::string text = "l0\r\nl1xx\r\nl2\r\nyyl3\r\nl4";
  const std::string old = "l1xx\r\nl2\r\nyyl3\r\n";
  e.Start(text, {2, 3}, {2, 1});
  e.edit.InputText("Q");
  EXPECT_EQ(e.Lines(), (Lines{"l0", "l1Ql3", "l4"}));
  EXPECT_EQ(e.edit.CaretPos, (TPoint{3, 1}));
  EXPECT_EQ(e.Pushed(), (Records{{umChange, {0, 1}, 1, old}}));
  e.ExpectRoundTrip({0, 1});
  e.Start(text, {2, 1}, {2, 3});
  e.edit.NewLine();
  EXPECT_EQ(e.Lines(), (Lines{"l0", "l1", "l3", "l4"}));
  EXPECT_EQ(e.Pushed(), (Records{{umChange, {0, 1}, 2, old}}));
  e.ExpectRoundTrip({0, 1});
  for (std::string_view s : {"", "p\rq\nr", "p\nq"}) {  // nothing, lone breaks, a lone LF in the line
    e.Start(text, {2, 3}, {2, 1});
    e.edit.InputText(s);
    EXPECT_EQ(e.UndoList().Top().Count, e.edit.Items.Count() - 2) << s;
    e.ExpectRoundTrip({0, 1});
  }
}

TEST(Editing, TypingWithWholeLinesSelectedPrefixesThem) {
  Editing e;
  e.Start("a\r\nb\r\nc\r\nd", {0, 3}, {0, 1});  // ends at the start of line 3, which stays out
  e.edit.LineSelect = true;
  e.edit.PrefixLines("> ");
  EXPECT_EQ(e.Lines(), (Lines{"a", "> b", "> c", "d"}));
  EXPECT_FALSE(e.edit.LineSelect);
  EXPECT_EQ(e.Pushed(), (Records{{umChange, {0, 1}, 2, "b\r\nc\r\n"}}));
  EXPECT_EQ(e.events, "MC");
  e.ExpectRoundTrip({0, 1});
}

TEST(Editing, BoxesAreRemovedFilledAndPastedByColumns) {
  Editing e;
  const std::string text = "abcd\r\na\r\nabcd";
  const auto box = [&e, &text] {
    e.Start(text, {3, 2}, {1, 0});
    e.edit.BoxMode = true;
    e.edit.BoxLeftX = 8;
    e.edit.BoxRightX = 24;
  };
  box();
  e.edit.BackSpaceKey();
  EXPECT_EQ(e.Lines(), (Lines{"ad", "a", "ad"}));
  EXPECT_EQ(e.Pushed(), (Records{{umChange, {1, 0}, 3, text + "\r\n"}}));
  e.ExpectRoundTrip({1, 0});
  box();
  e.edit.BoxFillKind = 4;
  e.edit.BoxFillText = "x";
  e.edit.DeleteSelection();
  EXPECT_EQ(e.Lines(), (Lines{"axxd", "a", "axxd"}));
  box();
  e.edit.NewLine();  // the columns go, then the line breaks at the corner
  EXPECT_EQ(e.Lines(), (Lines{"a", "d", "a", "ad"}));
  EXPECT_EQ(e.Pushed(), (Records{{umChange, {0, 0}, 4, text + "\r\n"}}));
  e.ExpectRoundTrip({0, 0});

  e.Start("abc\r\nd", {1, 0});
  e.edit.DropBox("12\r\n34\r\n56");
  EXPECT_EQ(e.Lines(), (Lines{"a12bc", "d34", " 56"}));
  EXPECT_EQ(e.Pushed(), (Records{{umChange, {1, 0}, 3, "abc\r\nd\r\n"}}));
  e.ExpectRoundTrip({1, 0});
  e.Start("abc\r\ndef", {1, 0});
  e.edit.BoxOverwrite = true;
  e.edit.DropBox("X\nY");
  EXPECT_EQ(e.Lines(), (Lines{"aXc", "dYf"}));
}

}  // namespace
}  // namespace kelvane::test
