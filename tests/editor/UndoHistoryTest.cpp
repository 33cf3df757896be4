// The undo history: the four record modes applied both ways, the inverse each
// becomes, the limit, the redo rules, and records that do not fit the text.
#include <gtest/gtest.h>

#include "editor/Errors.h"
#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

using Lines = std::vector<std::string>;

struct History : EditorFixture {
  void PushUndo(uint8_t mode, TPoint caret, std::string text, int32_t count) {
    AddUndoData(UndoList(), mode, caret, std::move(text), count);
  }
  void PushRedo(uint8_t mode, TPoint caret, std::string text, int32_t count) {
    AddUndoData(RedoList(), mode, caret, std::move(text), count);
  }
  TUndoData RedoTop() { return RedoList().Top(); }
  TUndoData UndoTop() { return UndoList().Top(); }
};

TEST(UndoHistory, InsertionGoesBackAndForth) {
  History h;
  h.edit.SetText("abXYcd");
  h.PushUndo(umInsert, {2, 0}, "", 2);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"abcd"}));
  EXPECT_EQ(h.RedoTop(), (TUndoData{umDelete, {2, 0}, 2, "XY"}));
  EXPECT_EQ(h.edit.CaretPos, (TPoint{2, 0}));  // where the removed text began
  h.edit.RedoStep();
  EXPECT_EQ(h.Lines(), (Lines{"abXYcd"}));
  EXPECT_EQ(h.UndoTop(), (TUndoData{umInsert, {2, 0}, 2, "XY"}));
  EXPECT_EQ(h.edit.CaretPos, (TPoint{4, 0}));  // after the re-inserted text
  EXPECT_FALSE(h.edit.CanRedo());
}

TEST(UndoHistory, InsertionRunningPastTheEndRemovesWhatThereIs) {
  History h;
  h.edit.SetText("ab\r\ncd");
  h.PushUndo(umInsert, {1, 0}, "", 50);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"a"}));
  EXPECT_EQ(h.RedoTop().Text, "b\r\ncd");
  EXPECT_EQ(h.RedoTop().Count, 50);  // the count itself stays
}

TEST(UndoHistory, RemovalAcrossLinesHoldsTheBreaks) {
  History h;
  h.edit.SetText("one\r\ntwo\r\nthree");
  // An insertion of "e" CR LF "two" CR LF "th" made at (2, 0).
  h.PushUndo(umInsert, {2, 0}, "", 10);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"onree"}));
  EXPECT_EQ(h.RedoTop().Text, "e\r\ntwo\r\nth");
  h.edit.RedoStep();
  EXPECT_EQ(h.edit.GetText(), "one\r\ntwo\r\nthree");
  EXPECT_EQ(h.edit.CaretPos, (TPoint{2, 2}));
}

TEST(UndoHistory, UndoingAnInsertionAtTheEndOfALineJoinsTheLines) {
  History h;
  h.edit.SetText("xa\r\nby");
  h.PushUndo(umInsert, {1, 0}, "", 4);  // "a" CR LF "b" typed at the end of "x"
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"xy"}));
}

TEST(UndoHistory, LineBreakJoinsWhateverItsColumnSays) {
  History h;
  h.edit.SetText("ab\r\ncd");
  h.PushUndo(umEnter, {0, 0}, "", 2);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"abcd"}));
  EXPECT_EQ(h.edit.CaretPos, (TPoint{0, 0}));
  EXPECT_EQ(h.RedoTop(), (TUndoData{umEnter, {0, 0}, 1, ""}));
  h.edit.RedoStep();  // redoing breaks at the record's column
  EXPECT_EQ(h.Lines(), (Lines{"", "abcd"}));

  h.edit.SetText("ab\r\ncd");
  h.PushUndo(umEnter, {2, 0}, "", 2);
  h.edit.UndoStep();
  EXPECT_EQ(h.edit.CaretPos, (TPoint{2, 0}));  // at the break, inside the joined line
  h.edit.RedoStep();
  EXPECT_EQ(h.Lines(), (Lines{"ab", "cd"}));
  EXPECT_EQ(h.edit.CaretPos, (TPoint{0, 1}));
}

TEST(UndoHistory, ChangeReplacesBlocksOfLines) {
  History h;
  h.edit.SetText("a\r\nb\r\nc\r\nd");
  h.PushUndo(umChange, {1, 1}, "X\r\nY\r\nZ\r\n", 2);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"a", "X", "Y", "Z", "d"}));
  EXPECT_EQ(h.RedoTop(), (TUndoData{umChange, {1, 1}, 3, "b\r\nc\r\n"}));
  EXPECT_EQ(h.edit.CaretPos, (TPoint{1, 1}));
  h.edit.RedoStep();
  EXPECT_EQ(h.Lines(), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(h.UndoTop(), (TUndoData{umChange, {1, 1}, 2, "X\r\nY\r\nZ\r\n"}));
}

TEST(UndoHistory, ChangeWithEmptyTextDeletesLinesAndEmptyLinesSurvive) {
  History h;
  h.edit.SetText("a\r\n\r\n\r\nd");
  h.PushUndo(umChange, {0, 1}, "", 2);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"a", "d"}));
  EXPECT_EQ(h.RedoTop(), (TUndoData{umChange, {0, 1}, 0, "\r\n\r\n"}));
  for (int i = 0; i < 3; ++i) {
    h.edit.RedoStep();
    h.edit.UndoStep();
  }
  EXPECT_EQ(h.Lines(), (Lines{"a", "d"}));
  h.edit.RedoStep();
  EXPECT_EQ(h.edit.GetText(), "a\r\n\r\n\r\nd");
}

TEST(UndoHistory, ChangeNeverLeavesTheTextWithoutLines) {
  History h;
  h.edit.SetText("abc\r\ndef");
  h.PushUndo(umChange, {0, 0}, "", 2);
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{""}));
  EXPECT_EQ(h.RedoTop().Count, 1);  // the inverse covers the empty line left behind
  h.edit.RedoStep();
  EXPECT_EQ(h.edit.GetText(), "abc\r\ndef");
  h.edit.UndoStep();
  h.edit.RedoStep();
  EXPECT_EQ(h.edit.GetText(), "abc\r\ndef");
}

TEST(UndoHistory, ChangeAppendingAtTheEnd) {
  History h;
  h.edit.SetText("a");
  h.PushUndo(umChange, {0, 1}, "b\r\nc\r\n", 0);  // Y equal to the line count, no lines replaced
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"a", "b", "c"}));
  h.edit.RedoStep();
  EXPECT_EQ(h.Lines(), (Lines{"a"}));
}

// A lone LF is a byte of its line (a paste without CR puts one there); the
// deletion that took it away puts it back as that byte, not as a line break.
TEST(UndoHistory, UndoingADeletionPutsBackLoneBreaksAsBytes) {
  History h;
  h.edit.SetText("\r\n");
  h.edit.CaretPos = {0, 0};
  h.edit.InputText("\nab");  // no CR in it: the LF stays a byte of the line
  ASSERT_EQ(h.Lines(), (Lines{"\nab", ""}));
  h.edit.SelAnchor = {0, 0};
  h.edit.CaretPos = {0, 1};
  h.edit.Selected = true;
  h.edit.DeleteSelection();
  ASSERT_EQ(h.Lines(), (Lines{""}));
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"\nab", ""}));
  h.edit.UndoStep();
  EXPECT_EQ(h.Lines(), (Lines{"", ""}));
  h.edit.RedoStep();
  h.edit.RedoStep();
  EXPECT_EQ(h.Lines(), (Lines{""}));
}

TEST(UndoHistory, LimitDropsOneRecordPerNewRecord) {
  History h;
  for (int i = 0; i < kMaxUndo; ++i) h.edit.Undo->NewRecord().Count = i;
  EXPECT_EQ(h.UndoList().Count(), kMaxUndo);
  h.edit.Undo->NewRecord();
  EXPECT_EQ(h.UndoList().Count(), kMaxUndo);
  EXPECT_EQ(h.UndoList()[0].Count, 1);  // the oldest went

  for (int i = 0; i < 5; ++i) h.PushUndo(umDelete, {0, 0}, "", 0);  // a file may overfill it
  h.edit.Undo->NewRecord();
  EXPECT_EQ(h.UndoList().Count(), kMaxUndo + 5);
}

TEST(UndoHistory, NewRecordEmptiesRedoButRedoDoesNot) {
  History h;
  h.edit.SetText("abc");
  h.PushUndo(umInsert, {0, 0}, "", 1);
  h.PushUndo(umInsert, {1, 0}, "", 1);
  h.edit.UndoStep();
  h.edit.UndoStep();
  ASSERT_EQ(h.RedoList().Count(), 2);
  h.edit.RedoStep();
  EXPECT_EQ(h.RedoList().Count(), 1);
  h.edit.CaretPos = {1, 0};
  const TUndoData& fresh = h.edit.Undo->NewRecord();
  EXPECT_EQ(fresh, (TUndoData{umDelete, {1, 0}, 0, ""}));
  EXPECT_EQ(h.RedoList().Count(), 0);
}

TEST(UndoHistory, UnknownModeStaysAndDoesNothing) {
  History h;
  h.edit.SetText("abc");
  h.PushUndo(44, {0, 0}, "zz", 3);
  h.edit.UndoStep();
  h.edit.UndoStep();
  EXPECT_EQ(h.edit.GetText(), "abc");
  EXPECT_TRUE(h.edit.CanUndo());
  EXPECT_EQ(h.UndoList().Count(), 1);
}

TEST(UndoHistory, RecordsThatDoNotFitAreRefusedBeforeAnyChange) {
  struct Case {
    TUndoData record;
    bool redo;
  } cases[] = {
      {{umInsert, {0, 2}, 1, ""}, false},
      {{umDelete, {0, -1}, 0, "x"}, false},
      {{umEnter, {0, 1}, 2, ""}, false},  // no line after the last one to join
      {{umEnter, {0, 5}, 2, ""}, true},
      {{umChange, {0, 1}, 2, "x\r\n"}, false},
      {{umChange, {0, 0}, -1, "x\r\n"}, false},
      {{umChange, {0, 3}, 0, "x\r\n"}, false},  // past the end, where appending would run off
      {{umChange, {0, INT32_MAX}, INT32_MAX, ""}, false},
  };
  for (const Case& c : cases) {
    History h;
    h.edit.SetText("ab\r\ncd");
    h.edit.CaretPos = {1, 1};
    int changes = 0;
    h.edit.OnChange = [&](TVeskEdit&) { ++changes; };
    AddUndoData(c.redo ? h.RedoList() : h.UndoList(), c.record.Mode, c.record.Caret, c.record.Text,
                c.record.Count);
    EXPECT_THROW(c.redo ? h.edit.RedoStep() : h.edit.UndoStep(), EListError) << int(c.record.Mode);
    EXPECT_EQ(h.edit.GetText(), "ab\r\ncd");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ((c.redo ? h.RedoList() : h.UndoList()).Count(), 1);
    EXPECT_EQ((c.redo ? h.RedoTop() : h.UndoTop()), c.record);
    EXPECT_FALSE(h.edit.Undo->FRedoing);
    EXPECT_EQ(h.UndoList().Count() + h.RedoList().Count(), 1);
  }
}

TEST(UndoHistory, ExtremeColumnsAndCountsFromFiles) {
  History h;
  h.edit.SetText("abc\r\ndef");
  h.PushUndo(umDelete, {INT32_MAX, 0}, "x\r\ny", 0);
  h.edit.UndoStep();
  EXPECT_EQ(h.edit.GetText(), "abcx\r\ny\r\ndef");
  h.PushUndo(umInsert, {INT32_MIN, 1}, "", INT32_MAX);
  h.edit.UndoStep();
  EXPECT_EQ(h.edit.GetText(), "abcx\r\n");
  h.PushUndo(umInsert, {2, 0}, "", -7);  // a negative count removes nothing
  h.edit.UndoStep();
  EXPECT_EQ(h.edit.GetText(), "abcx\r\n");
  EXPECT_EQ(h.RedoTop(), (TUndoData{umDelete, {2, 0}, -7, ""}));
}

TEST(UndoHistory, EditorEntryPointsAndMessages) {
  History h;
  h.edit.SetText("abc");
  EXPECT_EQ(h.edit.Perform(EM_CANUNDO), 0);
  EXPECT_EQ(h.edit.Perform(WM_UNDO), 0);
  h.PushUndo(umInsert, {0, 0}, "", 1);
  EXPECT_EQ(h.edit.Perform(EM_CANUNDO), 1);
  h.edit.SetSelected(true);
  EXPECT_EQ(h.edit.Perform(WM_UNDO), 1);
  EXPECT_FALSE(h.edit.Selected);
  EXPECT_EQ(h.edit.GetText(), "bc");
  EXPECT_TRUE(h.edit.CanRedo());
}

TEST(UndoHistory, StepsFireChangeAndMoveCaretAndRepaint) {
  History h;
  h.edit.SetText("abc");
  int changes = 0, moves = 0;
  h.edit.OnChange = [&](TVeskEdit&) { ++changes; };
  h.edit.OnMoveCaret = [&](TVeskEdit&) { ++moves; };
  h.PushUndo(umInsert, {1, 0}, "", 1);
  const int64_t invalidations = h.host.Invalidations;
  h.edit.UndoStep();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(moves, 1);
  EXPECT_GT(h.host.Invalidations, invalidations);
  EXPECT_EQ(h.host.Caret.Pos, (TPoint{h.edit.TextLeft() + 8, h.edit.TopMargin()}));
}

TEST(UndoHistory, ViewFollowsTheCaret) {
  History h;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line\r\n";
  h.edit.SetText(text);
  h.PushUndo(umInsert, {0, 150}, "", 1);
  h.edit.UndoStep();
  EXPECT_LE(h.edit.TopLine, 150);
  EXPECT_GT(h.edit.TopLine + h.edit.VisibleLines, 150);
  EXPECT_EQ(h.host.Bars[1].Pos, h.edit.TopLine);
  EXPECT_EQ(h.host.Bars[1].Max, 200);
}

// Redoing a line break at the bottom of the view: the caret goes to the new
// line, the view follows it and the bar shows where, a caret move reported once.
TEST(UndoHistory, RedoneBreakBelowTheViewScrollsToTheNewLine) {
  History h;
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line\r\n";
  h.edit.SetText(text);
  const int32_t y = h.edit.VisibleLines - 1;
  int moves = 0;
  h.edit.OnMoveCaret = [&](TVeskEdit&) { ++moves; };
  h.PushRedo(umEnter, {2, y}, "", 1);
  h.edit.RedoStep();
  EXPECT_EQ(h.edit.Items[y].Text, "li");
  EXPECT_EQ(h.edit.Items[y + 1].Text, "ne");
  EXPECT_EQ(h.edit.CaretPos, (TPoint{0, y + 1}));
  EXPECT_EQ(h.edit.TopLine, 1);
  EXPECT_EQ(h.host.Bars[1].Pos, 1);
  EXPECT_EQ(h.edit.CaretDocX, 0);
  EXPECT_EQ(moves, 1);
}

}  // namespace
}  // namespace kelvane::test

namespace kelvane::test {
namespace {

// A frozen window's steps scan no line: thousands of one-byte records on one
// long line cost as many byte moves, not as many scans of the whole line.
TEST(FrozenHistory, StepsScanNoLine) {
  EditorFixture f;
  const int32_t n = 4000;
  f.edit.SetText(std::string(n, 'a'));
  for (int32_t x = 0; x < n; ++x) AddUndoData(f.UndoList(), umInsert, {x, 0}, "", 1);
  f.edit.Perform(WM_SETREDRAW, 0);
  const int64_t before = f.edit.LineScans;
  for (int32_t i = 0; i < n; ++i) f.edit.UndoStep();
  EXPECT_EQ(f.edit.LineScans, before);
  f.edit.Perform(WM_SETREDRAW, 1);
  EXPECT_EQ(f.edit.GetText(), "");
  EXPECT_EQ(f.RedoList().Count(), n);
}

}  // namespace
}  // namespace kelvane::test
