// The explorer in the Qt window, offscreen: its keys step, jump and play
// without taking the editor's own, the pace reaches the timer, a single step
// is marked and a switched-off highlight paints as the seed painter, markers
// go through their dialogs, dock and side file, the discarded history comes
// back when asked, and the overlay lists every key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include "headless/HeadlessEditHost.h"
#include "player/UndoFile.h"
#include "qt/QtExplorer.h"
#include "qt/QtPlayerWindow.h"
#include "tests/qt/QtTestWindow.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"

namespace kelvane {
namespace {

using test::DigitsFile;
using test::TExplorerWindow;

class QtExplorerTest : public testing::Test {
 protected:
  test::TTempFolder dir;
  std::string file = dir.Write("digits.eud", DigitsFile());
};

TEST_F(QtExplorerTest, KeysStepJumpAndPlayWhileTheEditorKeepsItsOwn) {
  TExplorerWindow t(file);
  t.Key(Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(t.Status(), " Undo:4 Redo:3 Total:7");
  t.Key(Qt::Key_Right, Qt::AltModifier);
  t.Key(Qt::Key_Right, Qt::AltModifier);
  EXPECT_EQ(t.Text(), "012345");
  t.Key(Qt::Key_Home, Qt::AltModifier);
  EXPECT_EQ(t.Status(), " Undo:0 Redo:7 Total:7");
  t.Key(Qt::Key_End, Qt::AltModifier);
  EXPECT_EQ(t.Status(), " Undo:7 Redo:0 Total:7");

  t.Key(Qt::Key_Left, Qt::AltModifier);
  t.Key(Qt::Key_F5);
  EXPECT_TRUE(t.w.Action(TPlayerAction::textUndoAuto).isChecked());
  EXPECT_TRUE(t.w.AutoTimer().isActive());
  t.Key(Qt::Key_F6);  // the exclusive pair: back gives way to forward
  EXPECT_FALSE(t.w.Action(TPlayerAction::textUndoAuto).isChecked());
  EXPECT_TRUE(t.w.Action(TPlayerAction::textRedoAuto).isChecked());
  t.Key(Qt::Key_Escape);
  EXPECT_FALSE(t.w.AutoTimer().isActive());
  EXPECT_FALSE(t.w.Action(TPlayerAction::textRedoAuto).isChecked());
  t.Key(Qt::Key_F5);
  t.Key(Qt::Key_F7);
  EXPECT_FALSE(t.w.AutoTimer().isActive());

  // No key of the explorer is one of the window's or another's.
  QList<QKeySequence> keys;
  for (int i = 0; i < kPlayerActionCount; ++i) keys << t.w.Action(TPlayerAction(i)).shortcuts();
  for (size_t i = 0; i < kExplorerActionCount; ++i) keys << t.X().Action(TExplorerAction(i)).shortcuts();
  for (qsizetype i = 0; i < keys.size(); ++i) EXPECT_EQ(keys.count(keys[i]), 1) << keys[i].toString().toStdString();

  // The editor's keys are still its own: caret moves, select all, typing "?".
  TVeskEdit& e = t.w.EditWidget().Editor();
  t.Key(Qt::Key_End, Qt::AltModifier);
  t.w.EditWidget().setFocus();  // a jump disables the editor, which gives its focus away
  t.Key(Qt::Key_Home);
  t.Key(Qt::Key_Right);
  EXPECT_EQ(e.CaretPos, (TPoint{1, 0}));
  t.Key(Qt::Key_PageDown);
  t.Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(e.Selected);
  t.Key(Qt::Key_Right);
  t.Key(Qt::Key_Question, Qt::ShiftModifier);
  EXPECT_EQ(t.Text(), "0123456?");
  EXPECT_FALSE(t.X().Help().isVisible());
}

TEST_F(QtExplorerTest, PaceReachesTheTimerAndABigTickIsOneJump) {
  TExplorerWindow t(file);
  QToolBar& tools = *t.w.findChild<QToolBar*>();
  const QList<QAction*> items = tools.actions();
  ASSERT_GE(items.size(), 2);  // after every seed item, the status label last of them
  EXPECT_EQ(tools.widgetForAction(items[items.size() - 2]), &t.X().PaceButton());
  EXPECT_EQ(tools.widgetForAction(items.back()), &t.X().MenuButton());
  EXPECT_TRUE(t.X().PaceButton().isVisible());
  EXPECT_LE(t.X().MenuButton().mapTo(&t.w, QPoint(23, 0)).x(), t.w.width());
  EXPECT_EQ(t.w.AutoTimer().interval(), 100);

  QMenu& menu = *t.X().PaceButton().menu();
  for (QAction* a : menu.actions()) {
    if (a->text() == "25 ms" || a->text() == "100 件") a->trigger();
  }
  EXPECT_EQ(t.w.AutoTimer().interval(), 25);
  EXPECT_EQ(t.X().Logic().Pace(), (TPlaybackPace{25, 100}));
  EXPECT_NE(t.X().PaceButton().toolTip().indexOf("25 ms × 100"), -1);

  t.Key(Qt::Key_F5);
  const int64_t rows = t.w.EditWidget().Editor().PaintLog().RowsPainted;
  ASSERT_TRUE(QTest::qWaitFor([&t] { return !t.w.AutoTimer().isActive(); }, 2000));
  EXPECT_EQ(t.Status(), " Undo:0 Redo:7 Total:7");  // one tick of at most 100 records
  EXPECT_LE(t.w.EditWidget().Editor().PaintLog().RowsPainted - rows, 2 * t.w.EditWidget().Editor().VisibleLines + 4);
  EXPECT_FALSE(t.w.Action(TPlayerAction::textUndoAuto).isChecked());
}

// Any pixel of the colour in the editor's picture.
bool Shows(const QImage& image, TColor c) {
  const QRgb want = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c >> 16));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF)) return true;
  return false;
}

QImage EditorPicture(QtPlayerWindow& w) {
  w.EditWidget().clearFocus();  // no caret in the picture
  QApplication::processEvents();
  return w.EditWidget().grab().toImage();
}

TEST_F(QtExplorerTest, ASingleStepIsMarkedAndWithTheHighlightOffPaintsAsBefore) {
  TExplorerWindow t(file);
  const TChangeMarks look;
  t.w.Action(TPlayerAction::textUndo).trigger();  // takes the "4" out
  QImage on = EditorPicture(t.w);
  EXPECT_TRUE(Shows(on, look.RemovedColor));
  t.w.Action(TPlayerAction::textRedo).trigger();  // puts it back in
  on = EditorPicture(t.w);
  EXPECT_TRUE(Shows(on, look.TintColor));
  EXPECT_FALSE(Shows(on, look.RemovedColor));
  t.w.HistoryBar().triggerAction(QAbstractSlider::SliderSingleStepSub);  // a line click is a single step
  EXPECT_FALSE(t.w.EditWidget().Editor().ChangeMarks().Empty());
  t.w.HistoryBar().setSliderDown(true);  // a drag of the thumb is a jump
  t.w.HistoryBar().setSliderPosition(2);
  t.w.HistoryBar().setSliderDown(false);
  EXPECT_TRUE(t.w.EditWidget().Editor().ChangeMarks().Empty());

  // Switched off: the same step painted as by a window stepped past the form.
  t.Key(Qt::Key_H, Qt::ControlModifier);
  EXPECT_FALSE(t.X().Logic().HighlightSteps());
  t.w.Action(TPlayerAction::textRedo).trigger();
  const QImage off = EditorPicture(t.w);
  EXPECT_FALSE(Shows(off, look.TintColor));

  TExplorerWindow seed(file);
  seed.w.resize(t.w.size());
  seed.w.Form().StepHistory(-3, false);
  seed.w.EditWidget().Editor().RedoStep();
  seed.w.Form().UpdateStatus(true);
  EXPECT_EQ(off, EditorPicture(seed.w));
}

TEST_F(QtExplorerTest, MarkersGoThroughTheirKeysDockAndSideFile) {
  {
    TExplorerWindow t(file);
    t.point = 99;
    t.Key(Qt::Key_G, Qt::ControlModifier);  // clamped to the end
    EXPECT_EQ(t.Status(), " Undo:7 Redo:0 Total:7");
    t.point = 2;
    t.Key(Qt::Key_G, Qt::ControlModifier);
    t.label = "二";
    t.Key(Qt::Key_M, Qt::ControlModifier);
    t.point = 6;
    t.Key(Qt::Key_G, Qt::ControlModifier);
    t.label.reset();  // the label offered
    t.Key(Qt::Key_M, Qt::ControlModifier);
    t.Key(Qt::Key_PageUp, Qt::AltModifier);
    EXPECT_EQ(t.w.Form().FUndoPos, 2);
    t.Key(Qt::Key_PageDown, Qt::AltModifier);
    EXPECT_EQ(t.w.Form().FUndoPos, 6);

    t.Key(Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(t.X().MarkerDock().isVisible());
    QListWidget& list = t.X().MarkerList();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(1)->text().toStdString(), "6  位置 6");
    list.setCurrentRow(1);
    t.label = "六";
    const QList<QPushButton*> buttons = t.X().MarkerDock().findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 4);
    buttons[1]->click();  // rename
    EXPECT_EQ(list.item(1)->text().toStdString(), "6  六");
    list.setCurrentRow(0);
    buttons[3]->click();  // go there
    EXPECT_EQ(t.w.Form().FUndoPos, 2);
  }
  EXPECT_EQ(test::ReadBytes(file + ".marks"),
            "{\"point\":2,\"label\":\"二\"}\n{\"point\":6,\"label\":\"六\"}\n");

  test::WriteBytes(file + ".marks", "{\"point\":2,\"label\":\"二\"}\n{oops\n{\"point\":9,\"label\":\"先\"}\n");
  TExplorerWindow again(file);
  ASSERT_EQ(again.messages.size(), 1u);
  EXPECT_NE(again.messages[0].find("digits.eud.marks line 2"), std::string::npos);
  EXPECT_TRUE(again.X().MarkerNotice().isVisibleTo(&again.X().MarkerDock()));
  ASSERT_EQ(again.X().MarkerList().count(), 2);
  EXPECT_NE(again.X().MarkerList().item(1)->text().indexOf("履歴の外"), -1);
  again.X().MarkerList().setCurrentRow(0);
  again.X().MarkerDock().findChildren<QPushButton*>()[2]->click();  // remove
  EXPECT_EQ(test::ReadBytes(file + ".marks"), "{\"point\":9,\"label\":\"先\"}\n");
}

TEST_F(QtExplorerTest, RestoreGivesBackWhatTypingThrewAwayWhenAskedAndAgreed) {
  TExplorerWindow t(file);
  t.Key(Qt::Key_Home, Qt::AltModifier);
  EXPECT_FALSE(t.X().Action(TExplorerAction::restore).isEnabled());
  t.w.EditWidget().setFocus();
  t.Key(Qt::Key_X);
  EXPECT_EQ(t.Status(), " Undo:1 Redo:0 Total:1");
  ASSERT_TRUE(t.X().Action(TExplorerAction::restore).isEnabled());
  t.answer = false;
  t.Key(Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(t.Text(), "x");
  t.answer = true;
  t.Key(Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(t.Text(), "");
  EXPECT_EQ(t.Status(), " Undo:0 Redo:7 Total:7");
  EXPECT_FALSE(t.X().Action(TExplorerAction::restore).isEnabled());
  t.Key(Qt::Key_End, Qt::AltModifier);
  EXPECT_EQ(t.Text(), "0123456");
}

TEST_F(QtExplorerTest, TheOverlayListsEveryKeyAndAnyKeyClosesIt) {
  TExplorerWindow t(file);
  t.Key(Qt::Key_F1);
  ASSERT_TRUE(t.X().Help().isVisible());
  const QString text = t.X().Help().Text().text();
  for (int i = 0; i < kPlayerActionCount; ++i)
    for (const QKeySequence& k : t.w.Action(TPlayerAction(i)).shortcuts())
      EXPECT_NE(text.indexOf(k.toString(QKeySequence::NativeText).toHtmlEscaped()), -1) << k.toString().toStdString();
  for (size_t i = 0; i < kExplorerActionCount; ++i)
    for (const QKeySequence& k : t.X().Action(TExplorerAction(i)).shortcuts())
      EXPECT_NE(text.indexOf(k.toString(QKeySequence::NativeText)), -1) << k.toString().toStdString();
  EXPECT_NE(text.indexOf("Shift+Ctrl+Delete"), -1);
  t.Key(Qt::Key_Left, Qt::AltModifier);  // closes it, and is no step
  EXPECT_FALSE(t.X().Help().isVisible());
  EXPECT_EQ(t.Status(), " Undo:5 Redo:2 Total:7");
  EXPECT_EQ(QApplication::focusWidget(), &t.w.EditWidget());

  t.w.HistoryBar().setFocus();
  t.Key(Qt::Key_Question, Qt::ShiftModifier);  // "?" outside the editor
  EXPECT_TRUE(t.X().Help().isVisible());
  t.Key(Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_FALSE(t.X().Help().isVisible());
}

TEST_F(QtExplorerTest, OpensAtThePointAskedFor) {
  EXPECT_FALSE(ParseWindowArgs({"x.eud", "--at"}));
  EXPECT_FALSE(ParseWindowArgs({"--at", "three", "x.eud"}));
  for (const auto& [at, status] : {std::pair{"3", " Undo:3 Redo:4 Total:7"}, std::pair{"99", " Undo:7 Redo:0 Total:7"},
                                   std::pair{"-4", " Undo:0 Redo:7 Total:7"}}) {
    const std::optional<TWindowOptions> o = ParseWindowArgs({"--at", at, QString::fromStdString(file)});
    ASSERT_TRUE(o);
    QtPlayerWindow w;
    w.MessageBox = [](const std::string&) {};
    StartWindow(w, *o);
    EXPECT_EQ(w.StatusLabel().text().toStdString(), status);
  }
}

}  // namespace
}  // namespace kelvane
