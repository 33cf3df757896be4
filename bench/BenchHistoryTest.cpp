// The benchmark history must be one the player can walk end to end: the text
// made as promised, every record fitting the text it applies to, the stacks of
// the requested sizes and mix, and the same bytes on every run.
#include <gtest/gtest.h>

#include <string_view>

#include "bench/BenchHistory.h"
#include "bench/BenchText.h"
#include "headless/HeadlessPlayer.h"
#include "platform/Codepage.h"
#include "player/UndoFile.h"
#include "tests/support/JumpVersusSteps.h"

namespace kelvane {
namespace {

TBenchHistoryShape SmallShape() {
  TBenchHistoryShape shape;
  shape.Lines = 1500;
  shape.UndoRecords = 3000;
  shape.RedoRecords = 300;
  shape.Seed = 7;
  return shape;
}

std::vector<std::string_view> SplitCrLf(std::string_view s) {
  std::vector<std::string_view> lines;
  for (size_t brk; (brk = s.find("\r\n")) != std::string_view::npos; s.remove_prefix(brk + 2)) {
    lines.push_back(s.substr(0, brk));
  }
  lines.push_back(s);
  return lines;
}

int32_t CharCount(std::string_view s) {
  int32_t n = 0;
  for (size_t i = 0; i < s.size(); i += cp932::IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1) ++n;
  return n;
}

TEST(BenchText, BaseTextIsShortLinesOfMixedShiftJis) {
  TBenchHistoryShape shape = SmallShape();
  const std::string text = BenchBaseText(shape);
  const std::vector<std::string_view> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 1500u);
  int32_t empty = 0, withTab = 0, withDouble = 0, withDigit = 0, withLetter = 0;
  for (std::string_view line : lines) {
    EXPECT_LE(line.size(), static_cast<size_t>(kBenchMaxLineBytes));
    EXPECT_EQ(line.find_first_of(std::string_view("\r\n\0\x01", 4)), std::string_view::npos);
    empty += line.empty();
    withTab += line.find('\t') != std::string_view::npos;
    withDigit += line.find_first_of("0123456789") != std::string_view::npos;
    withLetter += line.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string_view::npos;
    withDouble += CharCount(line) < static_cast<int32_t>(line.size());
  }
  // Every kind shows up, none takes over.
  for (int32_t kind : {empty, withTab, withDouble, withDigit, withLetter}) {
    EXPECT_GT(kind, 50);
    EXPECT_LT(kind, 1400);
  }
  // Whole characters only: decoding and encoding again gives the same bytes.
  EXPECT_EQ(cp932::FromUtf16(cp932::ToUtf16(text)), text);
  EXPECT_EQ(BenchBaseText(shape), text);
  shape.Seed = 8;
  EXPECT_NE(BenchBaseText(shape), text);
}

TEST(BenchText, TypedPiecesAndPastedBlocks) {
  const TBenchText words;
  TBenchRandom rnd(11);
  for (int32_t i = 0; i < 2000; ++i) {
    const std::string typed = words.Typed(rnd);
    EXPECT_GE(CharCount(typed), 1);
    EXPECT_LE(CharCount(typed), 8) << typed;
    EXPECT_EQ(typed.find_first_of("\r\n"), std::string::npos);
  }
  for (bool wholeLines : {false, true}) {
    const std::string block = words.Block(rnd, wholeLines);
    const size_t lines = SplitCrLf(block).size();
    EXPECT_GE(lines, wholeLines ? 3u : 2u);
    EXPECT_LE(lines, wholeLines ? 9u : 8u);
    EXPECT_EQ(block.ends_with("\r\n"), wholeLines);
  }
  EXPECT_EQ(FirstChars("\x93\xfa\x96\x7b" "ab", 1), "\x93\xfa");  // a whole double-byte character
  EXPECT_EQ(FirstChars("ab", 5), "ab");
}

TEST(BenchHistory, StacksHaveTheRequestedSizesAndMix) {
  HeadlessPlayer player;
  TVeskEdit& editor = player.Editor();
  const TBenchHistoryStats stats = BuildBenchHistory(editor, SmallShape());
  EXPECT_EQ(editor.Undo->FUndoList.Count(), 3000);
  EXPECT_EQ(editor.Undo->FRedoList.Count(), 300);
  EXPECT_EQ(editor.Undo->FMaxUndo, kMaxUndo);
  EXPECT_EQ(stats.LinesAtEnd, editor.Items.Count());
  const double made = 3300.0;
  EXPECT_NEAR(stats.Modes[umInsert] / made, 0.60, 0.05);
  EXPECT_NEAR(stats.Modes[umDelete] / made, 0.25, 0.05);
  EXPECT_NEAR(stats.Modes[umEnter] / made, 0.10, 0.03);
  EXPECT_NEAR(stats.Modes[umChange] / made, 0.05, 0.02);
  // The redo stack holds inverses: an undone insert waits there as a delete.
  int32_t inserts = 0;
  for (int32_t i = 0; i < editor.Undo->FUndoList.Count(); ++i) inserts += editor.Undo->FUndoList[i].Mode == umInsert;
  for (int32_t i = 0; i < editor.Undo->FRedoList.Count(); ++i) inserts += editor.Undo->FRedoList[i].Mode == umDelete;
  EXPECT_EQ(inserts, stats.Modes[umInsert]);
}

// Where removing Count bytes from At ends (a line break counts two); false when
// the range ends inside a line break or past the text.
bool RemovalEnd(const TVeskEdit& editor, TPoint at, int64_t count, TPoint& end) {
  end = at;
  while (count > editor.Items[end.Y].TextLength() - end.X) {
    count -= editor.Items[end.Y].TextLength() - end.X + 2;
    if (count < 0 || ++end.Y >= editor.Items.Count()) return false;
    end.X = 0;
  }
  end.X += static_cast<int32_t>(count);
  return true;
}

// Counts the records about to be applied that do not stand on character
// boundaries of the text as it is then: the caret, and for a removal its end
// too (a change record's column is always 0).
int32_t WalkCountingMisplaced(TVeskEdit& editor, bool undo) {
  int32_t misplaced = 0;
  TUndoList& list = undo ? editor.Undo->FUndoList : editor.Undo->FRedoList;
  while (list.Count() > 0) {
    const TUndoData& r = list.Top();
    const TPoint at = r.Mode == umChange ? TPoint{0, r.Caret.Y} : r.Caret;
    bool fits = r.Caret.Y < editor.Items.Count() && editor.NormalizePos(at) == r.Caret;
    TPoint end;
    if (fits && r.Mode == umInsert) fits = RemovalEnd(editor, at, r.Count, end) && editor.NormalizePos(end) == end;
    misplaced += !fits;
    undo ? editor.UndoStep() : editor.RedoStep();
  }
  return misplaced;
}

void ExpectReplays(const TBenchHistoryShape& shape) {
  const std::string bytes = BuildBenchHistoryFile(shape);
  HeadlessPlayer player;
  TVeskEdit& editor = player.Editor();
  ReadUndoFileInto(editor, bytes);
  ASSERT_EQ(editor.Undo->FUndoList.Count(), shape.UndoRecords);
  ASSERT_EQ(editor.Undo->FRedoList.Count(), shape.RedoRecords);
  const std::string loaded = editor.GetText();

  EXPECT_EQ(WalkCountingMisplaced(editor, true), 0);
  EXPECT_TRUE(editor.GetText() == BenchBaseText(shape)) << "point 0 is not the base text";
  EXPECT_EQ(WalkCountingMisplaced(editor, false), 0);
  for (int32_t i = 0; i < shape.RedoRecords; ++i) editor.UndoStep();
  EXPECT_TRUE(editor.GetText() == loaded) << "the loaded point is not reached again";
}

TEST(BenchHistory, SmallHistoryReplaysToItsBaseTextAndBack) { ExpectReplays(SmallShape()); }

TEST(BenchHistory, BenchmarkHistoryReplaysToItsBaseTextAndBack) { ExpectReplays(TBenchHistoryShape{}); }

// The thumb's one-frame jumps over the whole benchmark history end exactly
// where single steps do.
TEST(BenchHistory, JumpsEqualSingleSteps) { test::ExpectJumpsEqualSteps(BuildBenchHistoryFile(TBenchHistoryShape{}), 3, 4); }

// Looking at a history over the undo limit loses none of it: redoing puts a
// record back, it does not push a new one through the limit.
TEST(BenchHistory, FirstAndLastKeepEveryRecordAndSavingWritesThemAll) {
  const TBenchHistoryShape shape;
  HeadlessPlayer player;
  ReadUndoFileInto(player.Editor(), BuildBenchHistoryFile(shape));
  player.Form.UpdateStatus(true);
  const int32_t total = shape.UndoRecords + shape.RedoRecords;
  ASSERT_GT(total, kMaxUndo);
  player.Form.textUndoFirstExecute();
  player.Form.textUndoLastExecute();
  EXPECT_EQ(player.Form.History().Size(), total);
  EXPECT_EQ(player.Form.History().Position(), total);

  HeadlessPlayer reread;
  ReadUndoFileInto(reread.Editor(), BuildUndoFile(player.Editor()));
  EXPECT_EQ(reread.Form.History().Size(), total);
  EXPECT_EQ(reread.Editor().GetText(), player.Editor().GetText());
}

TEST(BenchHistory, SameShapeGivesTheSameBytes) {
  TBenchHistoryShape shape = SmallShape();
  const std::string first = BuildBenchHistoryFile(shape);
  EXPECT_TRUE(BuildBenchHistoryFile(shape) == first);
  shape.Seed = 8;
  EXPECT_FALSE(BuildBenchHistoryFile(shape) == first);
}

}  // namespace
}  // namespace kelvane
