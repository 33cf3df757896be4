// The Qt editor widget, offscreen: Qt events in, the control's text, selection,
// scroll position and pixels out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTest>
#include <QTextCharFormat>
#include <QWheelEvent>

#include "platform/Codepage.h"
#include "headless/HeadlessEditHost.h"
#include "qt/QtEditWidget.h"
#include "qt/QtFonts.h"

namespace kelvane {
namespace {

std::string Sjis(const char* utf8) { return cp932::FromUtf8(utf8); }

class QtEditWidgetTest : public testing::Test {
 protected:
  void SetUp() override {
    QGuiApplication::styleHints()->setCursorFlashTime(0);  // a steady caret for the pixels
    w.Editor().SetFont(TFontSpec{"ＭＳ ゴシック", 16});
    w.Editor().Color = 0xEFEFEF;
    w.resize(400, 300);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.setFocus();
    ASSERT_TRUE(w.hasFocus());
  }
  void SendText(const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(&w, &press);
  }
  void Commit(const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(&w, &e);
  }
  void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent e(type, p, w.mapToGlobal(p), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
  }
  int RowY(int line) { return w.Editor().TopMargin() + line * w.Editor().LineHeight + w.Editor().LineHeight / 2; }

  QtEditWidget w;
};

TEST_F(QtEditWidgetTest, TypingKeysAndInputMethodEndAsCodePage932) {
  TVeskEdit& e = w.Editor();
  Commit(QString::fromUtf8("日本語"));
  ASSERT_EQ(e.Undo->FUndoList.Count(), 1);
  EXPECT_EQ(e.Undo->FUndoList[0].Mode, 0);
  EXPECT_EQ(e.Undo->FUndoList[0].Count, 6);  // bytes
  // Nothing is echoed after a result, so the next keys all arrive.
  QTest::keyClicks(&w, "ab");
  SendText(QString::fromUtf8("漢ｶ"));
  EXPECT_EQ(e.GetText(), Sjis("日本語ab漢ｶ"));

  // Composing changes nothing until committed; Ctrl keys type nothing.
  QInputMethodEvent preedit(QString::fromUtf8("かな"), {});
  QApplication::sendEvent(&w, &preedit);
  EXPECT_EQ(w.PreeditText(), QString::fromUtf8("かな"));
  QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(e.GetText(), Sjis("日本語ab漢ｶ"));
  Commit(QString::fromUtf8("仮名"));
  EXPECT_TRUE(w.PreeditText().isEmpty());
  EXPECT_EQ(e.GetText(), Sjis("日本語ab漢ｶ仮名"));
}

// Selecting text and pressing the conversion key: the input method reads the
// line and the selection, takes the selection away and commits its new form,
// recorded as any result over a selection is.
TEST_F(QtEditWidgetTest, ReconversionReplacesTheSelectionInOneRecord) {
  TVeskEdit& e = w.Editor();
  e.SetText(Sjis("日はharuの朝"));
  e.SelAnchor = {4, 0};  // "haru", after 日は (four bytes, two characters)
  e.Selected = true;
  e.SetCaret({8, 0});
  const auto query = [this](Qt::InputMethodQuery q) { return static_cast<QWidget&>(w).inputMethodQuery(q); };
  EXPECT_EQ(query(Qt::ImSurroundingText).toString(), QString::fromUtf8("日はharuの朝"));
  EXPECT_EQ(query(Qt::ImCursorPosition).toInt(), 6);
  EXPECT_EQ(query(Qt::ImAnchorPosition).toInt(), 2);
  EXPECT_EQ(query(Qt::ImCurrentSelection).toString(), QString::fromUtf8("haru"));

  // The stretch goes first, with a composition shown; the commit follows.
  QInputMethodEvent taken(QString::fromUtf8("はる"), {});
  taken.setCommitString(QString(), -4, 4);
  QApplication::sendEvent(&w, &taken);
  EXPECT_EQ(e.GetText(), Sjis("日はharuの朝")) << "nothing is lost before the commit";
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("春"));
  QApplication::sendEvent(&w, &commit);
  EXPECT_EQ(e.GetText(), Sjis("日は春の朝"));

  // The same records as an input-method result over that selection.
  HeadlessEditHost host;
  TVeskEdit direct(host);
  direct.SetText(Sjis("日はharuの朝"));
  direct.SelAnchor = {4, 0};
  direct.Selected = true;
  direct.CaretPos = {8, 0};
  direct.InputText(Sjis("春"));
  ASSERT_EQ(e.Undo->FUndoList.Count(), direct.Undo->FUndoList.Count());
  for (int32_t i = 0; i < e.Undo->FUndoList.Count(); ++i) EXPECT_EQ(e.Undo->FUndoList[i], direct.Undo->FUndoList[i]);

  // A stretch given with its commit in one event, away from any selection.
  e.SetCaret({4, 0});  // after 日は
  QInputMethodEvent word;
  word.setCommitString(QString::fromUtf8("陽"), -2, 1);  // 日
  QApplication::sendEvent(&w, &word);
  EXPECT_EQ(e.GetText(), Sjis("陽は春の朝"));
}

// The clause being converted shows as the input method formats it, the
// candidates open at the input method's cursor, and a composition at the right
// edge moves left to stay in view.
TEST_F(QtEditWidgetTest, PreeditShowsTheInputMethodsFormatsAndCursorInView) {
  TVeskEdit& e = w.Editor();
  e.SetText(std::string(200, 'x'));
  QTest::keyClick(&w, Qt::Key_End);
  const QFont font = ToQFont(e.Font());
  const QFontMetrics metrics(font);
  const QString text = QString::fromUtf8("日本語ですから大丈夫でしょう");
  QTextCharFormat clause;
  clause.setBackground(QColor(0, 0, 255));
  clause.setForeground(QColor(255, 255, 255));
  QInputMethodEvent preedit(text, {{QInputMethodEvent::TextFormat, 0, 3, clause},
                                   {QInputMethodEvent::Cursor, 3, 1, QVariant()}});
  QApplication::sendEvent(&w, &preedit);
  const QImage shown = w.grab().toImage();

  const int right = w.ClientSize().width();
  const int left = right - metrics.horizontalAdvance(text);
  ASSERT_LT(left, w.CaretRect().left() + 1);
  int blue = 0;
  for (int x = left; x < left + metrics.horizontalAdvance(text.left(3)); ++x)
    blue += shown.pixelColor(x, w.CaretRect().top() + 1) == QColor(0, 0, 255) ? 1 : 0;
  EXPECT_GT(blue, metrics.horizontalAdvance(text.left(3)) / 2);
  EXPECT_NE(shown.pixelColor(right - 2, w.CaretRect().top() + 1), QColor(0, 0, 255));

  const QRect cursor = static_cast<QWidget&>(w).inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_NEAR(cursor.left(), left + metrics.horizontalAdvance(text.left(3)), 1);
  EXPECT_EQ(cursor.top(), w.CaretRect().top());
  w.HideCaret();  // the editor's caret was not drawn over the composition
  EXPECT_EQ(w.grab().toImage(), shown);
  w.ShowCaret();
  Commit(text);
  EXPECT_EQ(static_cast<QWidget&>(w).inputMethodQuery(Qt::ImCursorRectangle).toRect(), w.CaretRect());
}

TEST_F(QtEditWidgetTest, BackspaceArrowsReturnAndTab) {
  TVeskEdit& e = w.Editor();
  QTest::keyClicks(&w, "abc");
  QTest::keyClick(&w, Qt::Key_Left);
  QTest::keyClick(&w, Qt::Key_Left);
  QTest::keyClick(&w, Qt::Key_Backspace);
  EXPECT_EQ(e.GetText(), "bc");
  QTest::keyClick(&w, Qt::Key_End);
  QTest::keyClick(&w, Qt::Key_Return);
  QTest::keyClick(&w, Qt::Key_Tab);
  QTest::keyClicks(&w, "d");
  EXPECT_EQ(e.GetText(), "bc\r\n\td");
  QTest::keyClick(&w, Qt::Key_Up);
  EXPECT_EQ(e.CaretPos.Y, 0);
  QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);  // undo the "d"
  EXPECT_EQ(e.GetText().substr(0, 2), "bc");
  EXPECT_TRUE(w.hasFocus()) << "Tab types, it does not move the focus";
}

TEST_F(QtEditWidgetTest, MouseDragSelects) {
  TVeskEdit& e = w.Editor();
  e.SetText("hello world\r\nsecond");
  const int left = e.TextLeft();
  Mouse(QEvent::MouseButtonPress, {left + 1, RowY(0)}, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, {left + 5 * e.SpaceWidth + 1, RowY(0)}, Qt::NoButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, {left + 5 * e.SpaceWidth + 1, RowY(0)}, Qt::LeftButton, Qt::NoButton);
  EXPECT_TRUE(e.Selected);
  EXPECT_EQ(e.GetSelText(), "hello");
  // A move without the button held is no drag.
  Mouse(QEvent::MouseButtonPress, {left + 1, RowY(1)}, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseButtonRelease, {left + 1, RowY(1)}, Qt::LeftButton, Qt::NoButton);
  Mouse(QEvent::MouseMove, {left + 4 * e.SpaceWidth, RowY(1)}, Qt::NoButton, Qt::NoButton);
  EXPECT_FALSE(e.Selected && !e.GetSelText().empty());
  EXPECT_EQ(e.CaretPos.Y, 1);
}

TEST_F(QtEditWidgetTest, ClipboardIsUnicodeWithLfOutsideAndCrLfInside) {
  QClipboard& clipboard = *QGuiApplication::clipboard();
  ASSERT_TRUE(w.SetClipboardText(Sjis("日本\r\nabc\r\n")));
  EXPECT_EQ(clipboard.text(), QString::fromUtf8("日本\nabc\n"));
  clipboard.setText(QString::fromUtf8("x\ny\r\nz語😀"));
  EXPECT_EQ(w.GetClipboardText(), Sjis("x\r\ny\r\nz語?"));
  clipboard.setText(QString::fromUtf8("〜−¥"));  // as most other programs write them
  EXPECT_EQ(w.GetClipboardText(), "\x81\x60\x81\x7C\x5C");

  // Through the control: copy everything, paste it at the end.
  TVeskEdit& e = w.Editor();
  e.SetText(Sjis("一行目\r\n二"));
  QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard.text(), QString::fromUtf8("一行目\n二"));
  QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(e.GetText(), Sjis("一行目\r\n二一行目\r\n二"));
}

TEST_F(QtEditWidgetTest, ScrollBarsFollowTheCaretAndDriveTheView) {
  TVeskEdit& e = w.Editor();
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  e.SetText(text);
  QScrollBar& vbar = w.Bar(ScrollBarKind::Vert);
  EXPECT_EQ(vbar.value(), 0);
  for (int i = 0; i < e.VisibleLines + 5; ++i) QTest::keyClick(&w, Qt::Key_Down);
  EXPECT_GT(e.TopLine, 0);
  EXPECT_EQ(vbar.value(), e.TopLine);
  EXPECT_EQ(w.GetScrollInfo(ScrollBarKind::Vert).Pos, e.TopLine);
  EXPECT_EQ(vbar.pageStep(), w.GetScrollInfo(ScrollBarKind::Vert).Page);

  const int top = e.TopLine;
  vbar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_GT(e.TopLine, top);
  EXPECT_EQ(vbar.value(), e.TopLine);
  vbar.triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(e.TopLine, 0);
  EXPECT_EQ(vbar.value(), 0);

  // The wheel scrolls by notches of 120: a fine-grained wheel's parts add up.
  auto wheel = [this](int delta) {
    const QPointF at(50, 50);
    QWheelEvent event(at, w.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &event);
  };
  wheel(-60);
  EXPECT_EQ(e.TopLine, 0);
  wheel(-60);
  EXPECT_EQ(e.TopLine, e.WheelScrollCount);
  wheel(-240);
  EXPECT_EQ(e.TopLine, 3 * e.WheelScrollCount);
  w.repaint();  // the bar follows the wheel at the next paint
  EXPECT_EQ(vbar.value(), e.TopLine);
  wheel(120);
  EXPECT_EQ(e.TopLine, 2 * e.WheelScrollCount);

  // The client area leaves room for the bars.
  EXPECT_EQ(e.ViewWidth, w.ClientSize().width());
  EXPECT_LT(e.ViewWidth, w.width());
}

// A jump through the history runs frozen: the screen keeps its picture and
// bars, and on thawing shows exactly what an unfrozen run would have shown.
TEST_F(QtEditWidgetTest, FrozenWindowKeepsItsPictureAndCatchesUpOnThaw) {
  TVeskEdit& e = w.Editor();
  e.SetShowRuler(true);
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(150, 'a' + i % 26) + "\r\n";
  e.SetText(text);
  w.HideCaret();  // a frozen window leaves the caret out
  const QImage before = w.grab().toImage();
  QScrollBar& vbar = w.Bar(ScrollBarKind::Vert);
  QScrollBar& hbar = w.Bar(ScrollBarKind::Horz);

  e.Perform(WM_SETREDRAW, 0);
  QTest::keyClick(&w, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_Up);
  QTest::keyClick(&w, Qt::Key_End);
  ASSERT_GT(e.TopLine, 0);
  ASSERT_GT(e.HScrollPos, 0);
  EXPECT_EQ(w.GetScrollInfo(ScrollBarKind::Vert).Pos, e.TopLine);
  EXPECT_EQ(vbar.value(), 0);
  EXPECT_EQ(hbar.value(), 0);
  EXPECT_EQ(w.grab().toImage(), before);
  w.Surface().SetBrushColor(0x0000FF);  // drawing on the surface while frozen shows nothing yet
  w.Surface().FillRect(TRect{0, 0, 50, 50});
  w.repaint();
  EXPECT_EQ(w.grab().toImage(), before);

  e.Perform(WM_SETREDRAW, 1);
  EXPECT_EQ(vbar.value(), e.TopLine);
  EXPECT_EQ(hbar.value(), e.HScrollPos);
  const QImage thawed = w.grab().toImage();
  EXPECT_NE(thawed, before);
  e.RefreshRuler();
  e.Invalidate();
  EXPECT_EQ(w.grab().toImage(), thawed);
}

TEST_F(QtEditWidgetTest, PaintsTheBackgroundAndTheCaretAtTheGlyphBoundary) {
  TVeskEdit& e = w.Editor();
  e.SetText(Sjis("ab日本"));
  QTest::keyClick(&w, Qt::Key_End);
  QApplication::processEvents();
  const QImage shown = w.grab().toImage();
  EXPECT_EQ(shown.pixelColor(w.ClientSize().width() - 20, RowY(3)), QColor(0xEF, 0xEF, 0xEF));

  w.HideCaret();
  const QImage hidden = w.grab().toImage();
  w.ShowCaret();
  const QFontMetrics metrics(ToQFont(e.Font()));
  int expected = e.TextLeft() - e.HScrollPos;
  for (QChar c : QString::fromUtf8("ab日本")) expected += metrics.horizontalAdvance(c);
  std::vector<int> columns;
  for (int x = 0; x < shown.width(); ++x) {
    if (shown.pixel(x, RowY(0)) != hidden.pixel(x, RowY(0))) columns.push_back(x);
  }
  EXPECT_EQ(columns, std::vector<int>{expected});
}

TEST(QtEditWidgetFocus, CtrlTabMovesTheFocusAndTypesNoTab) {
  QWidget window;
  auto* before = std::make_unique<QLineEdit>(&window).release();  // the window owns both
  auto* edit = std::make_unique<QtEditWidget>(&window).release();
  before->setGeometry(0, 0, 100, 20);
  edit->setGeometry(0, 20, 300, 200);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_TRUE(before->hasFocus());
  EXPECT_EQ(edit->Editor().GetText(), "");
}

}  // namespace
}  // namespace kelvane
