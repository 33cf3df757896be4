// The player window on Qt, offscreen: its actions, scroll bar, status label,
// timer, boxes and drops reach the form, and the screenshot mode writes a PNG.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFileDialog>
#include <QImage>
#include <QLibraryInfo>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "editor/VeskEdit.h"
#include "headless/HeadlessEditHost.h"
#include "qt/QtIcons.h"
#include "qt/QtMessageBox.h"
#include "qt/QtTranslations.h"
#include "qt/QtPlayerWindow.h"
#include "player/UndoFile.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"

namespace kelvane {
namespace {

// An undo file with 5 records on the undo stack and 2 on the redo stack.
std::string SmallUndoFile() {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  edit.CreateWnd();
  edit.Perform(WM_SIZE, 0, MakeLParam(640, 480));
  THistoryBuilder b(edit);
  for (int i = 0; i < 7; ++i) b.Insert({i, 0}, std::to_string(i));
  b.UndoNewest(2);
  return BuildUndoFile(edit);
}

class QtPlayerWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    file = dir.Write("story.eud", SmallUndoFile());
    w.MessageBox = [this](const std::string& text) { messages.push_back(text); };
    w.QuestionBox = [](const std::string&, const std::string&) { return true; };
    w.OpenDialog = [](const std::string&) { return std::nullopt; };
    w.SaveDialog = [this](const std::string& title, const std::string&, const std::string&) {
      saveTitles.push_back(title);
      return saveAnswer;
    };
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));  // shortcuts need an active window
  }
  void Open() { w.Guard([this] { w.Form().FormCreate({file}); }); }
  void Trigger(TPlayerAction a) {
    w.Action(a).trigger();
    w.Form().UpdateActions();
  }
  std::string Status() { return w.StatusLabel().text().toStdString(); }

  test::TTempFolder dir;
  std::string file;
  QtPlayerWindow w;
  std::vector<std::string> messages;
  std::vector<std::string> saveTitles;
  std::optional<std::string> saveAnswer;
};

TEST_F(QtPlayerWindowTest, StartsEmptyAndOpensTheFileFromTheCommandLine) {
  w.Guard([this] { w.Form().FormCreate({}); });
  EXPECT_EQ(Status(), " Undo:0 Redo:0 Total:0");
  EXPECT_FALSE(w.HistoryBar().isEnabled());
  w.Form().UpdateActions();
  EXPECT_FALSE(w.Action(TPlayerAction::textUndo).isEnabled());
  EXPECT_FALSE(w.Action(TPlayerAction::textRedoAuto).isEnabled());
  EXPECT_TRUE(w.acceptDrops());

  Open();
  EXPECT_EQ(w.windowTitle().toStdString(), std::string(kAppTitle) + " - story.eud");
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
  EXPECT_TRUE(w.HistoryBar().isEnabled());
  EXPECT_EQ(w.HistoryBar().maximum(), 7);
  EXPECT_EQ(w.HistoryBar().value(), 5);
  EXPECT_EQ(w.Form().Editor, &w.EditWidget().Editor());  // one editor, the widget's
  EXPECT_EQ(w.EditWidget().Editor().GetText(), "01234");
}

TEST_F(QtPlayerWindowTest, ActionsAndShortcutsStepTheHistory) {
  Open();
  Trigger(TPlayerAction::textUndo);
  EXPECT_EQ(Status(), " Undo:4 Redo:3 Total:7");
  EXPECT_EQ(w.HistoryBar().value(), 4);
  QTest::keyClick(&w.EditWidget(), Qt::Key_R, Qt::ControlModifier);  // Redo by its shortcut
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");

  Trigger(TPlayerAction::textUndoFirst);
  EXPECT_EQ(w.HistoryBar().value(), 0);
  EXPECT_EQ(w.EditWidget().Editor().GetText(), "");
  EXPECT_FALSE(w.Action(TPlayerAction::textUndo).isEnabled());
  EXPECT_TRUE(w.EditWidget().isEnabled());  // thawed after the jump
  Trigger(TPlayerAction::textUndoLast);
  EXPECT_EQ(Status(), " Undo:7 Redo:0 Total:7");
  EXPECT_EQ(w.EditWidget().Editor().GetText(), "0123456");
  EXPECT_FALSE(w.Action(TPlayerAction::textRedo).isEnabled());
}

TEST_F(QtPlayerWindowTest, ScrollBarClicksStepAndDraggingFollowsTheThumb) {
  Open();
  QScrollBar& bar = w.HistoryBar();
  bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(Status(), " Undo:4 Redo:3 Total:7");
  EXPECT_EQ(bar.value(), 4);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(bar.value(), 5);
  // Home does nothing: the bar stays where the history is.
  bar.triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(bar.value(), 5);
  EXPECT_EQ(w.EditWidget().Editor().GetText(), "01234");

  // Dragging to 2 undoes while dragging; the label waits for the release.
  bar.setSliderDown(true);
  bar.setSliderPosition(2);
  EXPECT_EQ(w.EditWidget().Editor().GetText(), "01");
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
  bar.setSliderDown(false);
  EXPECT_EQ(Status(), " Undo:2 Redo:5 Total:7");
  EXPECT_EQ(bar.value(), 2);
}

TEST_F(QtPlayerWindowTest, HistoryBarKeysAndWheelStepLikeItsArrows) {
  Open();
  QScrollBar& bar = w.HistoryBar();
  bar.setFocus();
  QTest::keyClick(&bar, Qt::Key_Left);  // one step back
  EXPECT_EQ(Status(), " Undo:4 Redo:3 Total:7");
  QTest::keyClick(&bar, Qt::Key_Right);
  QTest::keyClick(&bar, Qt::Key_Right);
  EXPECT_EQ(Status(), " Undo:6 Redo:1 Total:7");
  EXPECT_EQ(bar.value(), 6);

  const auto wheel = [&bar](int delta) {
    const QPointF at(20, 10);
    QWheelEvent e(at, bar.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(&bar, &e);
  };
  wheel(120);  // up, towards the left: one step back, and the status follows
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
  EXPECT_EQ(w.Form().FUndoPos, 5);
  wheel(-60);
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
  wheel(-60);  // a notch made of two halves
  EXPECT_EQ(Status(), " Undo:6 Redo:1 Total:7");
  EXPECT_EQ(bar.value(), 6);
}

// The thumb stands out from its track in the default style.
TEST_F(QtPlayerWindowTest, HistoryBarThumbIsPlainlyVisible) {
  Open();
  QScrollBar& bar = w.HistoryBar();
  QStyleOptionSlider option;
  option.initFrom(&bar);
  option.orientation = Qt::Horizontal;
  option.minimum = bar.minimum();
  option.maximum = bar.maximum();
  option.sliderPosition = option.sliderValue = bar.value();
  option.pageStep = bar.pageStep();
  option.singleStep = bar.singleStep();
  option.subControls = QStyle::SC_All;
  const QRect thumb = bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
  ASSERT_GT(thumb.width(), 4);
  const QImage image = bar.grab().toImage();
  const auto grey = [&image](QPoint p) { return qGray(image.pixel(p)); };
  const QPoint inThumb = thumb.center();
  const QPoint inTrack(thumb.left() > bar.width() / 2 ? thumb.left() / 2 : (thumb.right() + bar.width()) / 2,
                       thumb.center().y());
  EXPECT_GT(std::abs(grey(inThumb) - grey(inTrack)), 60) << grey(inThumb) << " " << grey(inTrack);
}

TEST_F(QtPlayerWindowTest, StatusLabelShowsBigCountsWhole) {
  Open();
  w.SetStatusText(" Undo:36864 Redo:4096 Total:40960");
  QApplication::processEvents();
  QLabel& label = w.StatusLabel();
  EXPECT_TRUE(label.isVisible());
  EXPECT_GE(label.width(), label.fontMetrics().horizontalAdvance(label.text()));
  EXPECT_LE(label.mapTo(&w, QPoint(label.width(), 0)).x(), w.width());
}

TEST_F(QtPlayerWindowTest, TypingUpdatesTheStatusOnKeyRelease) {
  Open();
  Trigger(TPlayerAction::textUndo);
  w.EditWidget().setFocus();
  QTest::keyClick(&w.EditWidget(), Qt::Key_X);
  EXPECT_EQ(Status(), " Undo:5 Redo:0 Total:5");
  EXPECT_EQ(w.HistoryBar().maximum(), 5);
}

TEST_F(QtPlayerWindowTest, AutoPlayRunsOnTheTimerAndReverses) {
  Open();
  Trigger(TPlayerAction::textUndoAuto);
  EXPECT_TRUE(w.Action(TPlayerAction::textUndoAuto).isChecked());  // toggled once, by the form
  EXPECT_TRUE(w.AutoTimer().isActive());
  EXPECT_EQ(w.AutoTimer().interval(), 100);
  w.Guard([this] { w.Form().TimerAutoTimer(); });  // one tick
  EXPECT_EQ(Status(), " Undo:4 Redo:3 Total:7");

  Trigger(TPlayerAction::textRedoAuto);
  EXPECT_FALSE(w.Action(TPlayerAction::textUndoAuto).isChecked());
  EXPECT_TRUE(w.AutoTimer().isActive());
  // Waits on the real timer until the redo stack runs empty.
  ASSERT_TRUE(QTest::qWaitFor([this] { return !w.AutoTimer().isActive(); }, 3000));
  EXPECT_EQ(Status(), " Undo:7 Redo:0 Total:7");
  EXPECT_FALSE(w.Action(TPlayerAction::textRedoAuto).isChecked());

  // A click on the running action stops it.
  Trigger(TPlayerAction::textUndoAuto);
  Trigger(TPlayerAction::textUndoAuto);
  EXPECT_FALSE(w.AutoTimer().isActive());
  EXPECT_FALSE(w.Action(TPlayerAction::textUndoAuto).isChecked());
}

TEST_F(QtPlayerWindowTest, SaveAsFailureNamesTheCurrentFile) {
  Open();
  saveAnswer = dir.Path("other.txt");
  QTest::keyClick(&w.EditWidget(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  ASSERT_EQ(saveTitles.size(), 1u);
  EXPECT_EQ(saveTitles[0], "名前を付けて保存（´д｀）");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "SaveErr(`々´)!!! story.eud");

  saveAnswer = dir.Path("copy");
  Trigger(TPlayerAction::fileSaveAs);
  EXPECT_EQ(w.windowTitle().toStdString(), std::string(kAppTitle) + " - copy.eud");
  EXPECT_EQ(test::ReadBytes(dir.Path("copy.eud")), test::ReadBytes(file));
}

TEST_F(QtPlayerWindowTest, DropsOpenUndoFilesWhateverTheCaseOfTheExtension) {
  w.Guard([this] { w.Form().FormCreate({}); });
  const std::string other = dir.Write("notes.txt", SmallUndoFile());
  w.DropUrls({QUrl::fromLocalFile(QString::fromStdString(other))});
  EXPECT_EQ(Status(), " Undo:0 Redo:0 Total:0");
  const std::string capital = dir.Write("LOUD.EUD", SmallUndoFile());
  w.DropUrls({QUrl("https://example.invalid/x.eud"), QUrl::fromLocalFile(QString::fromStdString(capital))});
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
  EXPECT_EQ(w.Form().FFileName, capital);
}

// As file managers offer them: a URI list with CR LF, percent-encoded
// Japanese names and spaces, the host named, and a comment.
TEST_F(QtPlayerWindowTest, UriListsOfFileManagersGiveTheirLocalPaths) {
  const std::string spaced = dir.Write("春の 日.eud", SmallUndoFile());
  const QString encoded = QUrl::fromLocalFile(QString::fromStdString(spaced)).toEncoded();
  ASSERT_TRUE(encoded.contains("%20"));
  QMimeData mime;
  mime.setData("text/uri-list", ("# dropped\r\n" + encoded + "\r\nfile://localhost" +
                                 QUrl::fromLocalFile(QString::fromStdString(file)).toEncoded().mid(7) +
                                 "\r\nsftp://elsewhere/x.eud\r\n")
                                    .toUtf8());
  EXPECT_EQ(DroppedPaths(mime), (QStringList{QString::fromStdString(spaced), QString::fromStdString(file)}));

  w.Guard([this] { w.Form().FormCreate({}); });
  const QPoint centre = w.rect().center();
  QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  EXPECT_EQ(w.Form().FFileName, file);  // each opened in turn; the last stays
}

TEST_F(QtPlayerWindowTest, FilesDraggedOntoTheWindowAreAcceptedAndOpened) {
  w.Guard([this] { w.Form().FormCreate({}); });
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  const QPoint centre = w.rect().center();
  QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
  EXPECT_EQ(w.Form().FFileName, file);

  QMimeData text;
  text.setText("story.eud");
  QDragEnterEvent plain(centre, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  plain.ignore();
  QApplication::sendEvent(&w, &plain);
  EXPECT_FALSE(plain.isAccepted());
}

TEST_F(QtPlayerWindowTest, F2ShowsTheVersionAndErrorsLeaveTheWindowUsable) {
  QTest::keyClick(&w.EditWidget(), Qt::Key_F2);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::string(kAppTitle) + "\t" + kVersionText);

  w.Guard([] { throw std::runtime_error("boom"); });
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "boom");
  Open();
  EXPECT_EQ(Status(), " Undo:5 Redo:2 Total:7");
}

TEST(QtPlayerLayout, ToolBarAndIcons) {
  QtPlayerWindow w;
  EXPECT_EQ(w.size(), QSize(457, 295));
  EXPECT_EQ(w.pos(), QPoint(207, 152));
  EXPECT_EQ(w.StatusLabel().size(), QSize(182, 22));
  EXPECT_EQ(w.HistoryBar().height(), 22);
  // At the designed width the whole tool bar fits: no label hidden behind an extension button.
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_TRUE(w.StatusLabel().isVisible());
  EXPECT_EQ(w.findChild<QToolBar*>()->height(), 24);
  EXPECT_EQ(w.HistoryBar().mapTo(&w, QPoint(0, 0)).y(), 24);
  EXPECT_LE(w.StatusLabel().mapTo(&w, QPoint(182, 0)).x(), w.width());
  EXPECT_EQ(w.Action(TPlayerAction::fileOpen).toolTip().toStdString(), "開く");
  EXPECT_EQ(w.Action(TPlayerAction::fileSaveAs).shortcut(), QKeySequence("Ctrl+Alt+S"));
  EXPECT_TRUE(w.Action(TPlayerAction::helpVersion).icon().isNull());
  EXPECT_FALSE(w.windowIcon().isNull());
  // Every image draws something at 16 px and sharper at twice the ratio.
  for (int i = 0; i <= kToolImageCount; ++i) {
    const QIcon icon = i < kToolImageCount ? ToolIcon(i) : AppIcon();
    const QPixmap small = icon.pixmap(QSize(16, 16), 1.0);
    const QPixmap big = icon.pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(small.size(), QSize(16, 16)) << i;
    EXPECT_EQ(big.size(), QSize(32, 32)) << i;
    const QImage img = small.toImage();
    int inked = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) inked += qAlpha(img.pixel(x, y)) > 0 ? 1 : 0;
    EXPECT_GT(inked, 20) << i;
  }
}

// Acts on the modal box or dialog as soon as it is up (it runs its own loop).
void WhenModal(const std::function<void(QWidget&)>& act) {
  QTimer::singleShot(5, [act] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      act(*modal);
    } else {
      WhenModal(act);
    }
  });
}

TEST(QtPlayerDialogs, BoxesAndFileDialogsCarryTheirCaptionsButtonsFiltersAndFolders) {
  test::TTempFolder dir;
  const std::string file = dir.Write("story.eud", SmallUndoFile());
  QtPlayerWindow w;
  w.show();

  WhenModal([](QWidget& m) {
    auto& box = dynamic_cast<QtMessageDialog&>(m);
    EXPECT_EQ(box.windowTitle().toStdString(), kAppTitle);
    EXPECT_EQ(box.Text().Text(), "Kelvane 1.0\t(c)");
    const QList<QPushButton*> buttons = box.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    buttons.front()->click();
  });
  w.ShowMessage("Kelvane 1.0\t(c)");

  for (const bool ok : {false, true}) {
    WhenModal([ok](QWidget& m) {
      auto& box = dynamic_cast<QMessageBox&>(m);
      EXPECT_EQ(box.windowTitle().toStdString(), "上書確認");
      EXPECT_EQ(box.icon(), QMessageBox::Question);
      EXPECT_EQ(box.standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
      box.button(ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
    });
    EXPECT_EQ(w.AskOkCancel("上書確認", "story.eudを上書しますか（´д｀）？"), ok);
  }

  w.SetDialogFolder(dir.Path(""));
  WhenModal([&](QWidget& m) {
    auto& dialog = dynamic_cast<QFileDialog&>(m);
    EXPECT_EQ(dialog.nameFilters(), QStringList{"UndoFile(*.eud)"});
    EXPECT_EQ(dialog.directory().absolutePath().toStdString() + "/", dir.Path(""));
    EXPECT_EQ(dialog.defaultSuffix(), "eud");
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    dialog.selectFile(QString::fromStdString(file));
    static_cast<QDialog&>(dialog).accept();  // as the dialog's own button does
  });
  EXPECT_EQ(w.RunOpenDialog(), file);

  WhenModal([&](QWidget& m) {
    auto& dialog = dynamic_cast<QFileDialog&>(m);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "名前を付けて保存（´д｀）");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), "eud");
    EXPECT_EQ(dialog.selectedFiles(), QStringList{QString::fromStdString(file)});
    WhenModal([](QWidget& question) {  // the dialog's usual question over an existing file
      dynamic_cast<QMessageBox&>(question).button(QMessageBox::Yes)->click();
    });
    static_cast<QDialog&>(dialog).accept();  // as the dialog's own button does
  });
  EXPECT_EQ(w.RunSaveDialog("名前を付けて保存（´д｀）", file), file);

  WhenModal([](QWidget& m) { dynamic_cast<QFileDialog&>(m).reject(); });
  EXPECT_EQ(w.RunSaveDialog("名前を付けて保存（´д｀）", ""), std::nullopt);
}

// Tabs in a message stand at stops in pixels, so columns line up in a
// proportional font whatever the widths of the words before them.
TEST(QtPlayerDialogs, MessageTabsStopAtPixelColumns) {
  const auto rightmostInk = [](const QString& text) {
    QtTabbedText widget(text);
    widget.resize(widget.sizeHint());
    const QImage image = widget.grab().toImage();
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 128) right = std::max(right, x);
    return right;
  };
  EXPECT_EQ(rightmostInk("i\tW"), rightmostInk("WWW\tW"));
  const QFontMetrics metrics(QtTabbedText("x").font());
  EXPECT_EQ(MessageTabStop(metrics), 8 * metrics.averageCharWidth());
}

// The dialogs' and boxes' buttons in the user's language; the program's own
// texts stay its own.
TEST(QtPlayerDialogs, QtsOwnTextsFollowTheLocale) {
  if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm"))
    GTEST_SKIP() << "Qt's Japanese translations are not installed";
  QTranslator* japanese = InstallQtTranslations(QLocale(QLocale::Japanese, QLocale::Japan));
  ASSERT_NE(japanese, nullptr);
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"));
  QCoreApplication::removeTranslator(japanese);
  delete japanese;
  EXPECT_EQ(InstallQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates)), nullptr);
}

TEST(QtPlayerScreenshot, ParsesItsArgumentsAndWritesAPngOfTheSize) {
  test::TTempFolder dir;
  const std::string file = dir.Write("shot.eud", SmallUndoFile());
  EXPECT_FALSE(ParseScreenshotArgs({"--size", "10x10"}));
  EXPECT_FALSE(ParseScreenshotArgs({"--screenshot", "a.png", "--size", "10"}));
  EXPECT_FALSE(ParseScreenshotArgs({"--screenshot", "a.png", "x.eud", "y.eud"}));

  const QString out = QString::fromStdString(dir.Path("out.png"));
  const std::optional<TScreenshotOptions> o = ParseScreenshotArgs(
      {"--screenshot", out, "--size", "500x320", "--at", "99", QString::fromStdString(file)});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->At, 99);
  EXPECT_EQ(RunScreenshot(*o), 0);
  const QImage shot(out);
  EXPECT_EQ(shot.size(), QSize(500, 320));

  TScreenshotOptions missing = *o;
  missing.File = QString::fromStdString(dir.Path("gone.eud"));
  EXPECT_EQ(RunScreenshot(missing), 1);
  TScreenshotOptions unwritable = *o;
  unwritable.Output = QString::fromStdString(dir.Path("no/such/folder.png"));
  EXPECT_EQ(RunScreenshot(unwritable), 1);
}

}  // namespace
}  // namespace kelvane
