// The explorer's logic on the headless player: the auto-play pace, what a
// single step marks, markers in their side file, and giving back the history
// a typed edit discarded.
#include <gtest/gtest.h>

#include "tests/support/DigitsHistory.h"
#include "headless/HeadlessPlayer.h"
#include "player/HistoryExplorer.h"
#include "player/UndoFile.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {
namespace {

using A = TPlayerAction;
using TSpan = TChangeMarks::TSpan;

std::vector<TPoint> Bar(int32_t x, int32_t y) { return {TPoint{x, y}}; }
std::vector<TSpan> Tint(TPoint from, TPoint to) { return {TSpan{from, to}}; }

std::string DigitsFile(int undone) { return DigitsHistoryFile(undone); }

struct Explorer : HeadlessPlayer {
  TTempFolder dir;
  THistoryExplorer X{Form};
  std::string file;
  void Open(int undone = 2) {
    file = dir.Write("digits.eud", DigitsFile(undone));
    ASSERT_TRUE(Form.OpenUndoFile(file));
  }
  std::string Text() { return Editor().GetText(); }
  HeadlessPlayerHost& W() { return Window; }
  bool Checked(A a) { return Window.Action(a).Checked; }
  const TChangeMarks& Marks() { return Editor().ChangeMarks(); }
};

TEST(HistoryExplorer, PaceTakesItsChoicesAndABigTickIsOneJump) {
  Explorer p;
  p.Open(0);
  EXPECT_EQ(p.X.Pace(), (TPlaybackPace{100, 1}));
  EXPECT_FALSE(p.X.SetPace({30, 1}));
  EXPECT_FALSE(p.X.SetPace({100, 5}));
  EXPECT_EQ(PlayingTimeMs(p.X.Pace(), 40960), 4096000);  // 68 minutes at the old fixed pace
  EXPECT_EQ(DurationText(4096000), "68 分 16 秒");

  ASSERT_TRUE(p.X.SetPace({10, 1}));
  p.Form.Execute(A::textUndoAuto);
  p.X.Tick();  // one record: a single step, marked
  EXPECT_EQ(p.Text(), "012345");
  EXPECT_FALSE(p.Marks().Empty());

  ASSERT_TRUE(p.X.SetPace({10, 100}));
  const int64_t paintsBefore = p.Editor().PaintLog().RowsPainted;
  p.X.Tick();  // the rest in one frozen jump: nothing painted in between, nothing marked
  EXPECT_EQ(p.Text(), "");
  EXPECT_TRUE(p.Marks().Empty());
  EXPECT_EQ(p.Editor().PaintLog().RowsPainted, paintsBefore);
  EXPECT_FALSE(p.W().Timer);  // stopped by itself at the end
  EXPECT_FALSE(p.Checked(A::textUndoAuto));

  ASSERT_TRUE(p.X.SetPace({10, 10}));
  p.Form.Execute(A::textRedoAuto);
  p.X.Tick();
  EXPECT_EQ(p.Text(), "0123456");  // fewer left than a tick takes
  EXPECT_FALSE(p.W().Timer);
  p.X.Tick();  // stopped: nothing
  EXPECT_EQ(p.X.Point(), 7);
}

// The moves both windows leave to the logic; the rest it hands back untouched.
TEST(HistoryExplorer, MovesThePlayerAndLeavesTheWindowsActionsToThem) {
  using E = TExplorerAction;
  Explorer p;
  p.Open(2);
  ASSERT_TRUE(p.X.Move(E::first));
  EXPECT_EQ(p.X.Point(), 0);
  ASSERT_TRUE(p.X.Move(E::stepForward));
  EXPECT_EQ(p.Text(), "0");
  ASSERT_TRUE(p.X.Move(E::last));
  EXPECT_EQ(p.X.Point(), 7);
  ASSERT_TRUE(p.X.Move(E::playForward));  // nothing left to play: not started
  EXPECT_FALSE(p.Checked(A::textRedoAuto));
  ASSERT_TRUE(p.X.Move(E::playBack));
  EXPECT_TRUE(p.Checked(A::textUndoAuto));
  ASSERT_TRUE(p.X.Move(E::stop));
  EXPECT_FALSE(p.Checked(A::textUndoAuto));
  for (E a : {E::goTo, E::addMarker, E::markerList, E::highlight, E::restore, E::help}) EXPECT_FALSE(p.X.Move(a));
  EXPECT_EQ(p.X.Point(), 7);
  EXPECT_EQ(p.X.NewMarkerLabel(), "位置 7");
}

// Each kind of record, stepped back and forward.
struct MarkedSteps : Explorer {
  void Build(const std::function<void(THistoryBuilder&)>& edit) {
    Editor().SetText(Sjis("hello\r\nworld"));
    THistoryBuilder b(Editor());
    edit(b);
    Form.UpdateStatus(true);
  }
  TChangeMarks Back() {
    Form.Execute(A::textUndo);
    return Marks();
  }
  TChangeMarks Forward() {
    Form.Execute(A::textRedo);
    return Marks();
  }
};

TEST(HistoryExplorer, InsertAndDeleteMarkWhatWentInAndWhereTextWentOut) {
  MarkedSteps p;
  p.Build([](THistoryBuilder& b) { b.Insert({2, 1}, "AB\r\nC"); });
  EXPECT_EQ(p.Back().Removed, Bar(2, 1));
  EXPECT_TRUE(p.Marks().Tinted.empty());
  EXPECT_EQ(p.Forward().Tinted, Tint({2, 1}, {1, 2}));

  MarkedSteps q;
  q.Build([](THistoryBuilder& b) { b.Delete({1, 0}, 3); });
  EXPECT_EQ(q.Back().Tinted, Tint({1, 0}, {4, 0}));
  EXPECT_EQ(q.Forward().Removed, Bar(1, 0));
}

TEST(HistoryExplorer, EnterMarksTheBreakAndTheJoin) {
  MarkedSteps p;
  p.Build([](THistoryBuilder& b) { b.Enter({3, 0}); });
  ASSERT_EQ(p.Text(), "hel\r\nlo\r\nworld");
  EXPECT_EQ(p.Back().Removed, Bar(3, 0));
  EXPECT_EQ(p.Forward().Tinted, Tint({3, 0}, {0, 1}));
}

// A change marks only what differs, on whole characters: う replacing い
// shares い's lead byte, which must not split the character.
TEST(HistoryExplorer, ChangeMarksWhatDiffersOnCharacterBounds) {
  MarkedSteps p;
  p.Build([](THistoryBuilder& b) { b.Change(1, 1, Sjis("wあうd\r\n")); });
  EXPECT_EQ(p.Back().Tinted, Tint({1, 1}, {4, 1}));  // "orl" back
  EXPECT_EQ(p.Marks().Removed, Bar(1, 1));
  EXPECT_EQ(p.Forward().Tinted, Tint({1, 1}, {5, 1}));
  EXPECT_EQ(p.Marks().Removed, Bar(1, 1));

  MarkedSteps q;
  q.Build([](THistoryBuilder& b) {
    b.Change(0, 1, Sjis("あい\r\n"));
    b.Change(0, 1, Sjis("あう\r\n"));
  });
  EXPECT_EQ(q.Back().Tinted, Tint({2, 0}, {4, 0}));
}

TEST(HistoryExplorer, JumpsEditsAndTheSwitchLeaveNothingMarked) {
  Explorer p;
  p.Open();
  p.Form.Execute(A::textUndo);
  ASSERT_FALSE(p.Marks().Empty());
  p.X.GoTo(-5);  // a jump, clamped
  EXPECT_EQ(p.X.Point(), 0);
  EXPECT_TRUE(p.Marks().Empty());
  p.X.GoTo(99);
  EXPECT_EQ(p.X.Point(), 7);
  p.Form.Execute(A::textUndo);
  THistoryBuilder(p.Editor()).Insert({0, 0}, "x");  // an edit drops them
  EXPECT_TRUE(p.Marks().Empty());

  p.X.SetHighlightSteps(false);
  p.Form.Execute(A::textUndo);
  EXPECT_TRUE(p.Marks().Empty());
}

TEST(HistoryExplorer, MarkersSurviveReopeningAndLeadToTheirPoints) {
  TTempFolder dir;
  const std::string file = dir.Write("digits.eud", DigitsFile(2));
  std::string marks;
  {
    Explorer p;
    ASSERT_TRUE(p.Form.OpenUndoFile(file));
    p.X.GoTo(1);
    ASSERT_TRUE(p.X.AddMarker("冒頭 \"quoted\"\n"));
    p.X.GoTo(6);
    ASSERT_TRUE(p.X.AddMarker("late"));
    p.X.GoTo(3);
    ASSERT_TRUE(p.X.AddMarker("middle"));
    ASSERT_TRUE(p.X.RenameMarker(2, "end"));
    EXPECT_EQ(p.X.MarksPath(), file + ".marks");
    EXPECT_EQ(ReadBytes(file), DigitsFile(2));  // the undo file is never touched
    marks = ReadBytes(p.X.MarksPath());
    EXPECT_EQ(marks,
              "{\"point\":1,\"label\":\"冒頭 \\\"quoted\\\"\\n\"}\n{\"point\":3,\"label\":\"middle\"}\n"
              "{\"point\":6,\"label\":\"end\"}\n");
  }
  Explorer q;
  ASSERT_TRUE(q.Form.OpenUndoFile(file));
  ASSERT_EQ(q.X.Markers().Count(), 3u);
  EXPECT_EQ(q.X.Markers()[0].Label, "冒頭 \"quoted\"\n");
  EXPECT_TRUE(q.X.TakeMarksNotices().empty());
  q.X.GoTo(0);
  ASSERT_TRUE(q.X.GoToNextMarker());
  EXPECT_EQ(q.X.Point(), 1);
  ASSERT_TRUE(q.X.GoToNextMarker());
  EXPECT_EQ(q.X.Point(), 3);
  ASSERT_TRUE(q.X.GoToPreviousMarker());
  EXPECT_EQ(q.X.Point(), 1);
  EXPECT_FALSE(q.X.GoToPreviousMarker());
  ASSERT_TRUE(q.X.RemoveMarker(0));
  EXPECT_EQ(ReadBytes(file + ".marks"), marks.substr(marks.find('\n') + 1));
}

TEST(HistoryExplorer, AMalformedSideFileLosesOnlyItsBadLines) {
  Explorer p;
  const std::string file = p.dir.Write("digits.eud", DigitsFile(2));
  p.dir.Write("digits.eud.marks",
              "\xEF\xBB\xBF{\"point\":2,\"label\":\"good\",\"colour\":[1,{\"a\":null}]}\r\n"
              "not json\n"
              "{\"point\":-1,\"label\":\"negative\"}\n"
              "\n"
              "{\"point\":3.5,\"label\":\"fraction\"}\n"
              "{\"label\":\"no point\"}\n"
              "{\"point\":4,\"label\":\"\xFF\"}\n"
              "{\"point\":99,\"label\":\"past the end \\u3042\\ud83d\\ude00\"}\n"
              "{\"point\":5,\"label\":\"cut\"");
  ASSERT_TRUE(p.Form.OpenUndoFile(file));
  const std::vector<TMarker> expected{{2, "good"}, {99, "past the end あ😀"}};
  EXPECT_EQ(p.X.Markers().Items(), expected);
  const std::vector<std::string> notices = p.X.TakeMarksNotices();
  ASSERT_EQ(notices.size(), 6u);
  EXPECT_EQ(notices[0].rfind("digits.eud.marks line 2: ", 0), 0u) << notices[0];
  EXPECT_NE(notices[5].find("line 9"), std::string::npos);

  // Past the end of this history: flagged, and it leads to the end.
  EXPECT_TRUE(MarkerPastEnd(p.X.Markers()[1], p.X.Total()));
  p.X.GoTo(0);
  ASSERT_TRUE(p.X.GoToNextMarker());
  EXPECT_EQ(p.X.Point(), 2);
  ASSERT_TRUE(p.X.GoToNextMarker());
  EXPECT_EQ(p.X.Point(), 7);
  EXPECT_FALSE(p.X.GoToNextMarker());
}

TEST(HistoryExplorer, RestoreGivesBackTheDiscardedHistoryExactly) {
  Explorer p;
  p.Open(3);
  p.X.GoTo(1);
  const std::string text = p.Text();
  const TUndoList undo = p.Editor().Undo->FUndoList;
  const TUndoList redo = p.Editor().Undo->FRedoList;
  EXPECT_FALSE(p.X.CanRestore());

  p.Editor().SetCaret({1, 0});
  p.Editor().InputText("x");  // discards the six records ahead
  ASSERT_TRUE(p.X.CanRestore());
  EXPECT_EQ(p.X.Discarded().Records(), 7);
  p.Form.Execute(A::textUndo);
  p.Editor().InputText("y");  // a second discarding edit keeps nothing more
  EXPECT_EQ(p.X.Discarded().Records(), 7);
  p.Form.UpdateStatus(true);
  ASSERT_EQ(p.W().StatusText, " Undo:2 Redo:0 Total:2");

  ASSERT_TRUE(p.X.RestoreDiscarded());
  EXPECT_EQ(p.Text(), text);
  ASSERT_EQ(p.Editor().Undo->FUndoList.Count(), undo.Count());
  ASSERT_EQ(p.Editor().Undo->FRedoList.Count(), redo.Count());
  for (int32_t i = 0; i < undo.Count(); ++i) EXPECT_EQ(p.Editor().Undo->FUndoList[i], undo[i]);
  for (int32_t i = 0; i < redo.Count(); ++i) EXPECT_EQ(p.Editor().Undo->FRedoList[i], redo[i]);
  EXPECT_EQ(p.W().StatusText, " Undo:1 Redo:6 Total:7");
  EXPECT_FALSE(p.X.CanRestore());
  EXPECT_EQ(p.Form.History().KindCounts()[size_t(TEditKind::Insert)], 7);  // counted again
  p.X.GoTo(7);
  EXPECT_EQ(p.Text(), "0123456");

  // Opening a file forgets what was kept.
  p.X.GoTo(0);
  p.Editor().InputText("z");
  ASSERT_TRUE(p.X.CanRestore());
  p.Open();
  EXPECT_FALSE(p.X.CanRestore());
}

}  // namespace
}  // namespace kelvane::test
