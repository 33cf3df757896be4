// The explorer's panels in the Qt window, offscreen: the list and its search
// agree with the analysis after steps, jumps and typing, and jump where
// clicked; the timeline's drag moves the player as the history bar does; the
// provenance tint names who typed a character and paints nothing when off;
// a history that cannot be walked says where on opening.
#include <gtest/gtest.h>

#include <QStatusBar>
#include <QTest>

#include "qt/QtDiffPane.h"
#include "qt/QtHistoryList.h"
#include "qt/QtProvenanceTint.h"
#include "qt/QtTimelinePanel.h"
#include "tests/qt/QtTestWindow.h"
#include "tests/support/TempFolder.h"

namespace kelvane {
namespace {

using test::DigitsFile;
using test::TExplorerWindow;

// Five digits typed, then a record on the redo stack for a line that is not there.
std::string UnwalkableFile() {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  THistoryBuilder b(edit);
  for (int i = 0; i < 5; ++i) b.Insert({i, 0}, std::to_string(i));
  AddUndoData(edit.Undo->FRedoList, umInsert, {0, 5}, "", 1);
  return BuildUndoFile(edit);
}

class QtHistoryPanelsTest : public testing::Test {
 protected:
  QtHistoryPanels& P() { return t.w.Panels(); }
  QtHistoryModel& Model() { return P().List().Model(); }
  int CurrentRow() { return P().List().View().currentIndex().row(); }
  void ClickRow(int row) {
    QTableView& v = P().List().View();
    QTest::mouseClick(v.viewport(), Qt::LeftButton, {}, v.visualRect(Model().index(row, 0)).center());
    t.Idle();
  }
  void Search(const QString& text) {
    P().List().Search().setText(text);
    QTest::keyClick(&P().List().Search(), Qt::Key_Return);
    t.Idle();
  }
  QString Cell(int row, int column) { return Model().data(Model().index(row, column), Qt::DisplayRole).toString(); }

  test::TTempFolder dir;
  TExplorerWindow t{dir.Write("digits.eud", DigitsFile())};
};

TEST_F(QtHistoryPanelsTest, TheListFollowsTheHistoryAndJumpsWhereClicked) {
  P().Show(TPanel::history, true);
  t.Idle();
  ASSERT_EQ(Model().rowCount(), P().Analysis().Timeline().Records());
  EXPECT_EQ(Cell(4, QtHistoryModel::kText), "＋4");
  EXPECT_EQ(Cell(4, QtHistoryModel::kPlace), "1:5");
  EXPECT_EQ(CurrentRow(), 4);  // point 5: record 4 is the last applied

  t.Key(Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(CurrentRow(), 3);
  EXPECT_EQ(P().Timeline().Point(), 4);
  EXPECT_TRUE(Model().data(Model().index(4, 0), Qt::ForegroundRole).isValid());  // to come: greyed
  EXPECT_FALSE(Model().data(Model().index(2, 0), Qt::ForegroundRole).isValid());

  t.label = "節目";
  t.Key(Qt::Key_M, Qt::ControlModifier);  // a marker at point 4 shows on record 3's row
  EXPECT_EQ(Cell(3, QtHistoryModel::kText), "◆節目  ＋3");

  ClickRow(6);
  EXPECT_EQ(t.Status(), " Undo:7 Redo:0 Total:7");
  P().List().View().setFocus();
  P().List().View().setCurrentIndex(Model().index(1, 0));
  t.Key(Qt::Key_Return);
  EXPECT_EQ(t.Text(), "01");

  // A typed edit throws the records to come away: the list has what is left.
  t.w.EditWidget().setFocus();
  t.Key(Qt::Key_End);
  t.Key(Qt::Key_X);
  ASSERT_EQ(Model().rowCount(), 3);
  EXPECT_EQ(Cell(2, QtHistoryModel::kText), "＋x");
  EXPECT_EQ(CurrentRow(), 2);
  EXPECT_EQ(P().Timeline().Point(), 3);

  // No key of the panels is the window's, the explorer's or another panel's.
  QList<QKeySequence> keys;
  for (int i = 0; i < kPlayerActionCount; ++i) keys << t.w.Action(TPlayerAction(i)).shortcuts();
  for (size_t i = 0; i < kExplorerActionCount; ++i) keys << t.X().Action(TExplorerAction(i)).shortcuts();
  for (const QAction* a : P().Actions()) keys << a->shortcuts();
  for (qsizetype i = 0; i < keys.size(); ++i) EXPECT_EQ(keys.count(keys[i]), 1) << keys[i].toString().toStdString();
}

TEST_F(QtHistoryPanelsTest, SearchNarrowsTheListAndFindsThePointsThatHoldIt) {
  t.Key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(P().Dock(TPanel::history).isVisible());
  ASSERT_TRUE(P().List().Search().hasFocus());
  QTest::keyClicks(&P().List().Search(), "34");
  t.Key(Qt::Key_Return);
  EXPECT_EQ(Model().rowCount(), 0);  // no one record typed "34"
  EXPECT_EQ(P().SearchRanges(), (std::vector<TPointRange>{{5, 8}}));

  Search("3");
  ASSERT_EQ(Model().rowCount(), 1);
  EXPECT_EQ(Model().RecordAt(0), 3);
  EXPECT_EQ(CurrentRow(), 0);  // record 3 is the newest match at or before point 5
  ClickRow(0);
  EXPECT_EQ(t.Text(), "0123");

  Search("😀");  // no code page 932 form: found nowhere
  EXPECT_EQ(Model().rowCount(), 0);
  EXPECT_TRUE(P().SearchRanges().empty());
  Search("");
  EXPECT_EQ(Model().rowCount(), 7);
}

TEST_F(QtHistoryPanelsTest, TheTimelineIsDraggedAsTheHistoryBarIs) {
  P().Show(TPanel::timeline, true);
  t.Idle();
  P().Timeline().OnTrack(2);
  EXPECT_EQ(t.Text(), "01");
  P().Timeline().OnTrack(6);
  P().Timeline().OnRelease(6);
  t.Idle();
  EXPECT_EQ(t.Status(), " Undo:6 Redo:1 Total:7");
  EXPECT_EQ(t.w.HistoryBar().value(), 6);
}

TEST_F(QtHistoryPanelsTest, TheDiffFollowsFromPointAAndWaitsWhileTheTimelineIsDragged) {
  EXPECT_EQ(P().Diff().Message().isEmpty(), false);  // no point A yet: a hint
  t.Key(Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(P().DiffFrom(), 5);
  ASSERT_TRUE(P().Dock(TPanel::diff).isVisible());
  t.Key(Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(P().Diff().HeaderText().startsWith("位置 5 → 位置 4")) << P().Diff().HeaderText().toStdString();
  EXPECT_EQ(P().Diff().RemovedLines(), 1);
  EXPECT_EQ(P().Diff().AddedLines(), 1);

  P().Timeline().OnTrack(2);
  t.Idle();
  EXPECT_TRUE(P().Diff().HeaderText().startsWith("位置 5 → 位置 4"));  // still being dragged
  P().Timeline().OnRelease(2);
  t.Idle();
  EXPECT_TRUE(P().Diff().HeaderText().startsWith("位置 5 → 位置 2"));
}

TEST_F(QtHistoryPanelsTest, TheTintNamesWhoTypedACharacterAndPaintsNothingWhenOff) {
  QtEditWidget& widget = t.w.EditWidget();
  const QImage seed = widget.grab().toImage();
  t.Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(P().Tint().On());
  EXPECT_TRUE(t.w.statusBar()->isVisible());  // the legend
  EXPECT_EQ(P().Tint().RecordAt({3, 0}), 3);
  EXPECT_EQ(P().Tint().RecordAt({5, 0}), std::nullopt);  // the line's end

  TVeskEdit& e = widget.Editor();
  const TPoint newest = e.ClientPointOfPos(4, 0);  // the left edge of "4"
  const QPoint inside(newest.X + 2, newest.Y + e.LineHeight / 2);
  widget.repaint();
  EXPECT_EQ(widget.grab().toImage().pixelColor(inside.x() + 1, inside.y() + e.LineHeight / 2 - 1),
            QtProvenanceTint::AgeColor(4, 5));
  EXPECT_EQ(P().Tint().RecordAtClient(inside), 4);
  t.Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(P().Tint().On());
  QCoreApplication::processEvents();  // the legend's bar is gone: the editor has its height back
  widget.repaint();
  EXPECT_EQ(widget.grab().toImage(), seed);

  t.Key(Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
  t.Key(Qt::Key_End, Qt::AltModifier);
  QTest::mouseClick(&widget, Qt::LeftButton, Qt::ControlModifier, inside);
  t.Idle();
  EXPECT_EQ(t.Text(), "01234");  // just after record 4
  EXPECT_EQ(P().Tint().RecordAt({4, 0}), 4);
}

TEST(QtHistoryCheck, AHistoryThatCannotBeWalkedSaysWhereOnOpening) {
  test::TTempFolder dir;
  TExplorerWindow t(dir.Write("broken.eud", UnwalkableFile()));
  QtHistoryPanels& p = t.w.Panels();
  ASSERT_FALSE(p.Analysis().Timeline().Complete());
  ASSERT_TRUE(t.w.statusBar()->isVisible());
  EXPECT_TRUE(p.Notice().text().contains("位置 5 から先へは進めません")) << p.Notice().text().toStdString();
  EXPECT_TRUE(t.messages.empty());  // told beside the text, not in a box

  TExplorerWindow fine(dir.Write("digits.eud", DigitsFile()));
  EXPECT_FALSE(fine.w.statusBar()->isVisible());
}

TEST(QtScreenshotArgs, PanelsAndPointA) {
  const auto o = ParseScreenshotArgs({"--screenshot", "x.png", "--panels", "history,diff", "--diff-from", "3", "f.eud"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->Panels, (QStringList{"history", "diff"}));
  EXPECT_EQ(o->DiffFrom, 3);
  EXPECT_FALSE(ParseScreenshotArgs({"--screenshot", "x.png", "--panels", "history,charts"}));
  EXPECT_FALSE(ParseScreenshotArgs({"--screenshot", "x.png", "--diff-from", "a"}));
}

}  // namespace
}  // namespace kelvane
