// The player's main window on Qt.
#include "qt/QtPlayerWindow.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QSysInfo>
#include <QProxyStyle>
#include <QStyleOptionComplex>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "platform/FileSystem.h"
#include "qt/QtExplorer.h"
#include "qt/QtFonts.h"
#include "qt/QtHistoryPanels.h"
#include "qt/QtIcons.h"
#include "qt/QtMessageBox.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

struct TActionDef {
  TPlayerAction Id;
  const char* Caption;
  const char* Hint;  // empty: none
  QKeySequence Shortcut;
  int Image;  // -1: none
};

const std::array<TActionDef, kPlayerActionCount>& ActionDefs() {
  static const std::array<TActionDef, kPlayerActionCount> defs{{
      {TPlayerAction::fileOpen, "fileOpen", "開く", QKeySequence(Qt::CTRL | Qt::Key_O), 0},
      {TPlayerAction::fileSave, "fileSave", "上書保存", QKeySequence(Qt::CTRL | Qt::Key_S), 3},
      {TPlayerAction::fileSaveAs, "fileSaveAs", "名前を付けて保存", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), 4},
      {TPlayerAction::helpVersion, "Version", "", QKeySequence(Qt::Key_F2), -1},
      {TPlayerAction::textUndo, "Undo", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), 1},
      {TPlayerAction::textRedo, "Redo", "Redo", QKeySequence(Qt::CTRL | Qt::Key_R), 2},
      {TPlayerAction::textUndoFirst, "textUndoFirst", "先頭へ", QKeySequence(), 7},
      {TPlayerAction::textUndoLast, "textUndoLast", "最後へ", QKeySequence(), 8},
      {TPlayerAction::textUndoAuto, "textUndoAuto", "AutoUndo", QKeySequence(), 5},
      {TPlayerAction::textRedoAuto, "textRedoAuto", "AutoRedo", QKeySequence(), 6},
      {TPlayerAction::undoInfo, "undoInfo", "Info", QKeySequence(), 9},
  }};
  return defs;
}

bool IsAuto(TPlayerAction a) { return a == TPlayerAction::textUndoAuto || a == TPlayerAction::textRedoAuto; }

QWidget* Divider(QWidget* parent) {
  auto line = std::make_unique<QFrame>(parent);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedWidth(8);
  return line.release();  // the tool bar takes it
}

// The history bar is the player's chief control, but the default style draws
// its thumb light on a light track. This style draws the thumb over the
// style's own in a plain grey, darker while it is held.
class THistoryBarStyle : public QProxyStyle {
 public:
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar || !(option->subControls & SC_ScrollBarSlider)) return;
    if (!(option->state & State_Enabled)) return;
    const QRect thumb = subControlRect(control, option, SC_ScrollBarSlider, widget).adjusted(1, 2, -1, -2);
    if (thumb.width() <= 0 || thumb.height() <= 0) return;
    const bool held = (option->activeSubControls & SC_ScrollBarSlider) && (option->state & State_Sunken);
    painter->save();
    painter->setPen(QColor(72, 72, 72));
    painter->setBrush(held ? QColor(96, 96, 96) : QColor(128, 128, 128));
    painter->drawRect(thumb.adjusted(0, 0, -1, -1));
    painter->restore();
  }
};

}  // namespace

QtPlayerWindow::QtPlayerWindow(QWidget* parent) : QMainWindow(parent) {
  MessageBox = [this](const std::string& text) { QtMessageDialog(this, Q(kAppTitle), Q(text)).exec(); };
  QuestionBox = [this](const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::Question, Q(title), Q(text), QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Ok;
  };
  OpenDialog = [this](const std::string& folder) -> std::optional<std::string> {
    QFileDialog dialog(this, QString(), Q(folder), "UndoFile(*.eud)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("eud");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };
  SaveDialog = [this](const std::string& title, const std::string& folder,
                      const std::string& fileName) -> std::optional<std::string> {
    QFileDialog dialog(this, Q(title), Q(folder), "UndoFile(*.eud)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog asks before a file that exists is saved over; "memo" is taken
    // as "memo.eud" there already, so the question names the file written.
    dialog.setDefaultSuffix("eud");
    if (!fileName.empty()) dialog.selectFile(Q(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };

  setFont(ToQFont(TFontSpec{"ＭＳ Ｐゴシック", 12}));
  setWindowIcon(AppIcon());

  auto central = std::make_unique<QWidget>();
  auto layout = std::make_unique<QVBoxLayout>();
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  bar_ = std::make_unique<QScrollBar>(Qt::Horizontal, central.get()).release();  // the parent owns it
  bar_->setFixedHeight(22);
  bar_->setRange(0, 0);
  bar_->setSingleStep(1);
  bar_->setPageStep(1);
  bar_->setFocusPolicy(Qt::ClickFocus);  // out of the Tab order
  // Left is one step back, on the keys too: Qt's scroll bars turn their keys
  // round by default. The wheel is the window's own (a notch is a line step).
  bar_->setInvertedControls(false);
  bar_->installEventFilter(this);
  QStyle* barStyle = std::make_unique<THistoryBarStyle>().release();
  barStyle->setParent(bar_);  // goes with the bar, after it
  bar_->setStyle(barStyle);
  edit_ = std::make_unique<QtEditWidget>(central.get()).release();  // the parent owns it
  edit_->setFocusPolicy(Qt::ClickFocus);
  edit_->OnError = [this](const std::string& message) { ShowMessage(message); };
  edit_->installEventFilter(this);
  layout->addWidget(bar_);
  layout->addWidget(edit_, 1);
  central->setLayout(layout.release());
  setCentralWidget(central.release());

  form_ = std::make_unique<TFormKelvane>(*this, edit_->Editor());

  BuildActions();
  BuildToolBar();

  auto_.setInterval(100);
  explorer_ = std::make_unique<QtExplorer>(*this, *tools_);
  panels_ = std::make_unique<QtHistoryPanels>(*this);
  explorer_->AddActions(panels_->Actions());
  // Ticks at the explorer's pace; one record a tick is the form's own tick.
  QObject::connect(&auto_, &QTimer::timeout, this, [this] { Guard([this] { explorer_->Logic().Tick(); }); });
  idle_.setInterval(0);
  idle_.setSingleShot(true);
  QObject::connect(&idle_, &QTimer::timeout, this, [this] {
    try {
      form_->UpdateActions();
      explorer_->UpdateActions();
      panels_->Update();
    } catch (const std::exception& ex) {
      ShowMessage(ex.what());
    }
  });
  QObject::connect(bar_, &QAbstractSlider::actionTriggered, this,
                   [this](int action) { Guard([this, action] { OnBarAction(action); }); });
  QObject::connect(bar_, &QAbstractSlider::sliderReleased, this, [this] {
    Guard([this] {
      form_->ScrollBarUndoScroll(TScrollCode::scPosition, bar_->sliderPosition());
      form_->ScrollBarUndoScroll(TScrollCode::scEndScroll, bar_->sliderPosition());
    });
  });

  move(207, 152);  // the designed place, where the window system lets it
  resize(457, 295);
  edit_->setFocus();
  ScheduleUpdate();
}

// The form goes first: its editor belongs to the editor widget.
QtPlayerWindow::~QtPlayerWindow() {
  panels_.reset();    // it hooks into the form in front of the explorer
  explorer_.reset();  // it hooks into the form
  form_.reset();
}

void QtPlayerWindow::BuildActions() {
  for (const TActionDef& def : ActionDefs()) {
    QAction* action = std::make_unique<QAction>(def.Caption, this).release();  // the window owns it
    if (*def.Hint) action->setToolTip(QString::fromUtf8(def.Hint));
    if (!def.Shortcut.isEmpty()) action->setShortcut(def.Shortcut);
    if (def.Image >= 0) action->setIcon(ToolIcon(def.Image));
    // Checkable for the pressed look, but the form decides the check mark.
    action->setCheckable(IsAuto(def.Id));
    const TPlayerAction id = def.Id;
    QObject::connect(action, &QAction::triggered, this, [this, id, action] {
      if (action->isCheckable()) {
        const QSignalBlocker block(action);
        action->setChecked(!action->isChecked());  // undo Qt's own toggle
      }
      Guard([this, id] { form_->Execute(id); });
    });
    addAction(action);  // shortcuts work without a button (F2)
    actions_[static_cast<size_t>(id)] = action;
  }
}

void QtPlayerWindow::BuildToolBar() {
  QToolBar* tools = addToolBar("ToolBar1");
  tools->setMovable(false);
  tools->setFloatable(false);
  tools->setIconSize(QSize(16, 16));
  tools->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tools->toggleViewAction()->setVisible(false);
  tools->addAction(&Action(TPlayerAction::fileOpen));
  tools->addWidget(Divider(tools));
  tools->addAction(&Action(TPlayerAction::fileSave));
  tools->addAction(&Action(TPlayerAction::fileSaveAs));
  tools->addWidget(Divider(tools));
  for (TPlayerAction a : {TPlayerAction::undoInfo, TPlayerAction::textUndoFirst, TPlayerAction::textUndoLast,
                          TPlayerAction::textUndo, TPlayerAction::textRedo, TPlayerAction::textUndoAuto,
                          TPlayerAction::textRedoAuto})
    tools->addAction(&Action(a));
  tools->addWidget(Divider(tools));
  // Buttons of 23 × 22 with no gaps, as designed: the style's roomier ones
  // would push the status label off a window of the designed width.
  tools->setContentsMargins(0, 0, 0, 0);
  tools->layout()->setContentsMargins(0, 1, 0, 1);  // 24 high in all
  tools->layout()->setSpacing(0);
  for (QAction* action : tools->actions()) {
    if (QWidget* button = tools->widgetForAction(action); button && !action->isSeparator()) {
      if (qobject_cast<QToolButton*>(button)) button->setFixedSize(23, 22);
    }
  }
  label_ = std::make_unique<QLabel>(tools).release();  // the tool bar owns it
  // 182 wide as designed, wider when the counts need it: a cut-off number
  // would read as a believable wrong one.
  label_->setMinimumWidth(182);
  label_->setFixedHeight(22);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  tools->addWidget(label_);
  tools_ = tools;
}

void QtPlayerWindow::Guard(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& ex) {
    ShowMessage(ex.what());
  } catch (...) {
    ShowMessage("unknown exception");
  }
  ScheduleUpdate();
}

void QtPlayerWindow::OnBarAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: form_->ScrollBarUndoScroll(TScrollCode::scLineUp, 0); break;
    case QAbstractSlider::SliderSingleStepAdd: form_->ScrollBarUndoScroll(TScrollCode::scLineDown, 0); break;
    case QAbstractSlider::SliderPageStepSub: form_->ScrollBarUndoScroll(TScrollCode::scPageUp, 0); break;
    case QAbstractSlider::SliderPageStepAdd: form_->ScrollBarUndoScroll(TScrollCode::scPageDown, 0); break;
    case QAbstractSlider::SliderMove:
      form_->ScrollBarUndoScroll(TScrollCode::scTrack, bar_->sliderPosition());
      return;  // the thumb stays where it is dragged
    case QAbstractSlider::SliderToMinimum: form_->ScrollBarUndoScroll(TScrollCode::scTop, 0); break;
    case QAbstractSlider::SliderToMaximum: form_->ScrollBarUndoScroll(TScrollCode::scBottom, 0); break;
    default: return;
  }
  // Clicks and keys end at once; the bar shows where the history is, not
  // where Qt would have moved it.
  form_->ScrollBarUndoScroll(TScrollCode::scEndScroll, 0);
  bar_->setSliderPosition(form_->FUndoPos);
}

// A wheel notch over the history bar is a line step, up or to the left one
// step back, with the status updated as for any line step. A fine-grained
// wheel's parts add up to notches.
void QtPlayerWindow::OnBarWheel(const QWheelEvent& e) {
  const QPoint delta = e.angleDelta();
  wheelRest_ += delta.y() != 0 ? delta.y() : delta.x();
  while (std::abs(wheelRest_) >= 120) {
    const bool back = wheelRest_ > 0;
    wheelRest_ -= back ? 120 : -120;
    Guard([this, back] {
      form_->ScrollBarUndoScroll(back ? TScrollCode::scLineUp : TScrollCode::scLineDown, 0);
      form_->ScrollBarUndoScroll(TScrollCode::scEndScroll, 0);
      bar_->setSliderPosition(form_->FUndoPos);
    });
  }
}

// The local paths a drop names. Qt reads text/uri-list into URLs; where it
// gives none, the list is read here, comments and blank lines skipped. A file
// URL naming this machine by "localhost" or its host name is a local path.
QStringList DroppedPaths(const QMimeData& mime) {
  QList<QUrl> urls = mime.urls();
  if (urls.isEmpty() && mime.hasFormat(QStringLiteral("text/uri-list"))) {
    const QString list = QString::fromUtf8(mime.data(QStringLiteral("text/uri-list")));
    for (const QString& line : list.split(QLatin1Char('\n'))) {
      const QString entry = line.trimmed();
      if (!entry.isEmpty() && !entry.startsWith(QLatin1Char('#'))) urls.push_back(QUrl(entry));
    }
  }
  QStringList paths;
  for (const QUrl& url : urls) {
    if (url.scheme() != QLatin1String("file")) continue;
    const QString host = url.host();
    if (host.isEmpty() || host == QLatin1String("localhost") || host == QSysInfo::machineHostName()) {
      paths.push_back(url.path(QUrl::FullyDecoded));
    } else {
      paths.push_back(url.toLocalFile());  // another machine's share
    }
  }
  return paths;
}

void QtPlayerWindow::DropPaths(const QStringList& paths) {
  std::vector<std::string> files;
  for (const QString& path : paths) files.push_back(path.toStdString());
  Guard([this, &files] { form_->WMDropFiles(files); });
}

void QtPlayerWindow::DropUrls(const QList<QUrl>& urls) {
  QMimeData mime;
  mime.setUrls(urls);
  DropPaths(DroppedPaths(mime));
}

void QtPlayerWindow::dragEnterEvent(QDragEnterEvent* e) {
  if (!DroppedPaths(*e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void QtPlayerWindow::dragMoveEvent(QDragMoveEvent* e) {
  if (!DroppedPaths(*e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void QtPlayerWindow::dropEvent(QDropEvent* e) {
  const QStringList paths = DroppedPaths(*e->mimeData());
  if (paths.isEmpty()) return;
  e->acceptProposedAction();
  DropPaths(paths);
}

bool QtPlayerWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == bar_ && e->type() == QEvent::Wheel) {
    OnBarWheel(*static_cast<QWheelEvent*>(e));
    return true;
  }
  if (watched == edit_) {
    if (e->type() == QEvent::KeyRelease) {
      Guard([this] { form_->EditorKeyUp(); });
    } else if (e->type() == QEvent::MouseButtonRelease) {
      ScheduleUpdate();
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

// ---- PlayerHost ----------------------------------------------------------------

void QtPlayerWindow::SetCaption(const std::string& text) { setWindowTitle(Q(text)); }
void QtPlayerWindow::SetStatusText(const std::string& text) {
  label_->setText(Q(text));
  // The tool bar hides what does not fit behind its extension button: the
  // window grows instead, so the whole status shows.
  label_->setMinimumWidth(std::max(182, label_->sizeHint().width()));
  tools_->layout()->invalidate();
  // The tool bar's hint leaves out the frame the style draws round it.
  const int frame = 2 * tools_->style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, tools_);
  setMinimumWidth(std::max(minimumWidth(), tools_->sizeHint().width() + frame));
}
void QtPlayerWindow::SetHistoryMax(int max) { bar_->setMaximum(max); }
void QtPlayerWindow::SetHistoryPos(int pos) { bar_->setSliderPosition(pos); }
void QtPlayerWindow::SetHistoryEnabled(bool enabled) { bar_->setEnabled(enabled); }

void QtPlayerWindow::SetActionEnabled(TPlayerAction action, bool enabled) { Action(action).setEnabled(enabled); }

void QtPlayerWindow::SetActionChecked(TPlayerAction action, bool checked) {
  QAction& a = Action(action);
  const QSignalBlocker block(&a);
  a.setChecked(checked);
}

bool QtPlayerWindow::ActionChecked(TPlayerAction action) const {
  return actions_[static_cast<size_t>(action)]->isChecked();
}

void QtPlayerWindow::SetTimerEnabled(bool enabled) {
  if (!enabled) {
    auto_.stop();
  } else if (!auto_.isActive()) {
    auto_.start();
  }
}

void QtPlayerWindow::ShowMessage(const std::string& text) {
  if (MessageBox) MessageBox(text);
}

bool QtPlayerWindow::AskOkCancel(const std::string& title, const std::string& text) {
  return QuestionBox && QuestionBox(title, text);
}

std::optional<std::string> QtPlayerWindow::RunOpenDialog() {
  if (!OpenDialog) return std::nullopt;
  return OpenDialog(folder_);
}

std::optional<std::string> QtPlayerWindow::RunSaveDialog(const std::string& title, const std::string& fileName) {
  if (!SaveDialog) return std::nullopt;
  return SaveDialog(title, folder_, fileName);
}

bool QtPlayerWindow::FileExists(const std::string& path) const { return !path.empty() && kelvane::FileExists(path); }

std::string QtPlayerWindow::ProgramFolder() const { return kelvane::ProgramFolder(); }

// ---- starting ------------------------------------------------------------------

std::optional<TWindowOptions> ParseWindowArgs(const QStringList& args) {
  TWindowOptions options;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] != "--at") {
      options.FormArgs.push_back(args[i].toStdString());
      continue;
    }
    if (i + 1 >= args.size()) return std::nullopt;
    bool ok = false;
    options.At = args[++i].toLongLong(&ok);
    if (!ok) return std::nullopt;
  }
  return options;
}

void StartWindow(QtPlayerWindow& window, const TWindowOptions& options) {
  window.Guard([&] {
    window.Form().FormCreate(options.FormArgs);
    if (options.At) window.Explorer().Logic().GoTo(*options.At);
  });
}

// ---- the screenshot mode ---------------------------------------------------------

std::optional<TScreenshotOptions> ParseScreenshotArgs(const QStringList& args) {
  TScreenshotOptions options;
  bool haveOutput = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--screenshot") {
      if (!hasValue || haveOutput) return std::nullopt;
      options.Output = args[++i];
      haveOutput = true;
    } else if (arg == "--size") {
      if (!hasValue) return std::nullopt;
      const QStringList parts = args[++i].toLower().split('x');
      bool okW = false;
      bool okH = false;
      if (parts.size() != 2) return std::nullopt;
      options.Width = parts[0].toInt(&okW);
      options.Height = parts[1].toInt(&okH);
      if (!okW || !okH || options.Width <= 0 || options.Height <= 0 || options.Width > 16384 ||
          options.Height > 16384)
        return std::nullopt;
    } else if (arg == "--at") {
      if (!hasValue) return std::nullopt;
      bool ok = false;
      options.At = args[++i].toInt(&ok);
      if (!ok) return std::nullopt;
    } else if (arg == "--panels") {
      if (!hasValue) return std::nullopt;
      options.Panels = args[++i].split(',', Qt::SkipEmptyParts);
      for (const QString& name : options.Panels) {
        if (name != "history" && name != "timeline" && name != "diff" && name != "tint") return std::nullopt;
      }
    } else if (arg == "--diff-from") {
      if (!hasValue) return std::nullopt;
      bool ok = false;
      options.DiffFrom = args[++i].toInt(&ok);
      if (!ok) return std::nullopt;
    } else if (arg.startsWith("--") || !options.File.isEmpty()) {
      return std::nullopt;
    } else {
      options.File = arg;
    }
  }
  if (!haveOutput || options.Output.isEmpty()) return std::nullopt;
  return options;
}

int RunScreenshot(const TScreenshotOptions& options) {
  QtPlayerWindow window;
  window.MessageBox = [](const std::string& text) { qWarning("%s", text.c_str()); };
  window.QuestionBox = [](const std::string&, const std::string&) { return false; };
  window.OpenDialog = [](const std::string&) { return std::nullopt; };
  window.SaveDialog = [](const std::string&, const std::string&, const std::string&) { return std::nullopt; };
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.resize(options.Width, options.Height);
  window.show();
  TFormKelvane& form = window.Form();
  form.FormCreate({});
  if (!options.File.isEmpty()) {
    const std::string path = options.File.toStdString();
    if (LowerAscii(ExtractFileExt(path)) != kUndoFileExt || !form.LoadUndoFile(path)) return 1;
  }
  if (options.At) {
    const int32_t max = window.HistoryBar().maximum();
    const int32_t at = std::clamp<int32_t>(*options.At, 0, max);
    try {
      form.StepHistory(at - form.FUndoPos, false);
    } catch (const std::exception& ex) {
      qWarning("%s", ex.what());
      return 1;
    }
  }
  QtHistoryPanels& panels = window.Panels();
  if (options.DiffFrom) panels.SetDiffFrom(std::clamp<int64_t>(*options.DiffFrom, 0, window.HistoryBar().maximum()));
  for (const auto& [name, panel] : {std::pair{"history", TPanel::history}, std::pair{"timeline", TPanel::timeline},
                                    std::pair{"diff", TPanel::diff}}) {
    if (options.Panels.contains(name) || (panel == TPanel::diff && options.DiffFrom)) panels.Show(panel, true);
  }
  if (options.Panels.contains("tint")) panels.Action(TPanelAction::provenance).trigger();
  form.UpdateActions();
  QCoreApplication::processEvents();
  window.Explorer().UpdateActions();
  panels.Update();
  panels.FlushDiff();
  QCoreApplication::processEvents();
  const QPixmap shot = window.grab();
  return shot.save(options.Output, "PNG") ? 0 : 1;
}

}  // namespace kelvane
