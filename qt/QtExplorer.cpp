// The history explorer's face in the player window.
#include "qt/QtExplorer.h"

#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "qt/QtPlayerWindow.h"

namespace kelvane {

namespace {

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

struct TExplorerActionDef {
  TExplorerAction Id;
  QList<QKeySequence> Keys;
};

// Keys the editor leaves alone: it reads Alt nowhere, no F key, and no Ctrl
// letter but A, C, R, V, X and Z (with Shift or Alt too); the seed window
// holds Ctrl+O, Ctrl+S, Ctrl+Alt+S, Ctrl+Z, Ctrl+R and F2.
const std::array<TExplorerActionDef, kExplorerActionCount>& ExplorerActionDefs() {
  using K = QKeySequence;
  static const std::array<TExplorerActionDef, kExplorerActionCount> defs{{
      {TExplorerAction::stepBack, {K(Qt::ALT | Qt::Key_Left)}},
      {TExplorerAction::stepForward, {K(Qt::ALT | Qt::Key_Right)}},
      {TExplorerAction::first, {K(Qt::ALT | Qt::Key_Home)}},
      {TExplorerAction::last, {K(Qt::ALT | Qt::Key_End)}},
      {TExplorerAction::playBack, {K(Qt::Key_F5)}},
      {TExplorerAction::playForward, {K(Qt::Key_F6)}},
      {TExplorerAction::stop, {K(Qt::Key_F7), K(Qt::Key_Escape)}},
      {TExplorerAction::goTo, {K(Qt::CTRL | Qt::Key_G)}},
      {TExplorerAction::addMarker, {K(Qt::CTRL | Qt::Key_M)}},
      {TExplorerAction::previousMarker, {K(Qt::ALT | Qt::Key_PageUp)}},
      {TExplorerAction::nextMarker, {K(Qt::ALT | Qt::Key_PageDown)}},
      {TExplorerAction::markerList, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_M)}},
      {TExplorerAction::highlight, {K(Qt::CTRL | Qt::Key_H)}},
      {TExplorerAction::restore, {K(Qt::CTRL | Qt::SHIFT | Qt::Key_Y)}},
      {TExplorerAction::help, {K(Qt::Key_F1), K(Qt::SHIFT | Qt::Key_F1)}},
  }};
  return defs;
}

// The two buttons' images on the seed buttons' 16-unit grid: a gauge (the
// pace) and a flag on its pole (the explorer's menu).
QIcon ButtonIcon(bool gauge) {
  QIcon icon;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QColor ink(40, 40, 48);
    if (gauge) {
      p.setPen(QPen(QColor(30, 100, 200), 2));
      p.drawArc(QRectF(1.5, 3, 13, 13), 0, 180 * 16);
      p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 9.5), QPointF(12, 5));
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      p.drawEllipse(QPointF(8, 9.5), 1.8, 1.8);
      p.drawRect(QRectF(2, 12, 12, 2));
    } else {
      p.setPen(QPen(ink, 1.6));
      p.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 15));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(214, 60, 40));
      p.drawPolygon(QPolygonF({QPointF(4.5, 2), QPointF(14, 5), QPointF(4.5, 9)}));
      p.setBrush(ink);
      p.drawRect(QRectF(1.5, 13.5, 6, 2));
    }
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QString KeysText(const QList<QKeySequence>& keys) {
  QStringList names;
  for (const QKeySequence& k : keys) names << k.toString(QKeySequence::NativeText);
  return names.join(", ");
}

}  // namespace

QtExplorer::QtExplorer(QtPlayerWindow& window, QToolBar& tools)
    : window_(window), logic_(window.Form()) {  // the window holds it and lets it go before the form
  AskPoint = [this](int32_t point, int32_t total) -> std::optional<int64_t> {
    bool ok = false;
    const int value = QInputDialog::getInt(&window_, "指定位置へ", QString("位置（0 … %1）:").arg(total), point, 0,
                                           std::numeric_limits<int>::max(), 1, &ok);
    return ok ? std::optional<int64_t>(value) : std::nullopt;
  };
  AskLabel = [this](const std::string& title, const std::string& initial) -> std::optional<std::string> {
    bool ok = false;
    const QString label = QInputDialog::getText(&window_, Q(title), "名前:", QLineEdit::Normal, Q(initial), &ok);
    return ok ? std::optional<std::string>(label.toStdString()) : std::nullopt;
  };
  BuildActions();
  BuildToolButtons(tools);
  BuildDock();
  help_ = std::make_unique<QtHelpOverlay>(window_).release();  // the window owns it
  window_.installEventFilter(this);
  ChoosePace(logic_.Pace());
}

QtExplorer::~QtExplorer() { window_.removeEventFilter(this); }

void QtExplorer::BuildActions() {
  for (const TExplorerActionDef& def : ExplorerActionDefs()) {
    const QString text = QString::fromUtf8(ExplorerActionText(def.Id));
    QAction* action = std::make_unique<QAction>(text, &window_).release();  // the window owns it
    action->setShortcuts(def.Keys);
    action->setShortcutVisibleInContextMenu(true);  // the menu button's menu counts as one
    action->setToolTip(action->text() + " (" + KeysText(def.Keys) + ")");
    const TExplorerAction id = def.Id;
    QObject::connect(action, &QAction::triggered, this, [this, id] { window_.Guard([this, id] { Run(id); }); });
    window_.addAction(action);  // the keys work with no menu open
    actions_[static_cast<size_t>(id)] = action;
  }
  QAction& highlight = Action(TExplorerAction::highlight);
  highlight.setCheckable(true);
  highlight.setChecked(logic_.HighlightSteps());
  Action(TExplorerAction::markerList).setCheckable(true);
}

void QtExplorer::BuildToolButtons(QToolBar& tools) {
  auto paceMenu = std::make_unique<QMenu>(&window_);
  paceMenu->addSection("間隔");
  auto* intervals = std::make_unique<QActionGroup>(paceMenu.get()).release();
  for (const int32_t ms : kPaceIntervals) {
    QAction* a = paceMenu->addAction(QString("%1 ms").arg(ms));
    a->setCheckable(true);
    a->setData(ms);
    intervals->addAction(a);
    intervalActions_.push_back(a);
    QObject::connect(a, &QAction::triggered, this, [this, ms] { ChoosePace({ms, logic_.Pace().RecordsPerTick}); });
  }
  paceMenu->addSection("1回に進む件数");
  auto* records = std::make_unique<QActionGroup>(paceMenu.get()).release();
  for (const int32_t n : kPaceRecords) {
    QAction* a = paceMenu->addAction(QString("%1 件").arg(n));
    a->setCheckable(true);
    a->setData(n);
    records->addAction(a);
    recordActions_.push_back(a);
    QObject::connect(a, &QAction::triggered, this, [this, n] { ChoosePace({logic_.Pace().IntervalMs, n}); });
  }
  auto pace = std::make_unique<QToolButton>(&tools);
  pace->setMenu(paceMenu.release());  // the window owns the menu
  pace->setPopupMode(QToolButton::InstantPopup);
  pace->setIcon(ButtonIcon(true));
  pace->setIconSize(QSize(16, 16));
  pace->setFixedSize(23, 22);  // as the seed buttons: the window keeps its designed width
  pace->setAutoRaise(true);
  paceButton_ = pace.get();
  tools.addWidget(pace.release());

  auto menu = std::make_unique<QMenu>(&window_);
  using E = TExplorerAction;
  for (E a : {E::stepBack, E::stepForward, E::first, E::last}) menu->addAction(&Action(a));
  menu->addSeparator();
  for (E a : {E::playBack, E::playForward, E::stop}) menu->addAction(&Action(a));
  menu->addSeparator();
  for (E a : {E::goTo, E::addMarker, E::previousMarker, E::nextMarker, E::markerList}) menu->addAction(&Action(a));
  menu->addSeparator();
  for (E a : {E::highlight, E::restore, E::help}) menu->addAction(&Action(a));
  auto button = std::make_unique<QToolButton>(&tools);
  button->setToolTip("履歴の探索");
  button->setMenu(menu.release());
  button->setPopupMode(QToolButton::InstantPopup);
  button->setIcon(ButtonIcon(false));
  button->setIconSize(QSize(16, 16));
  button->setFixedSize(23, 22);
  button->setAutoRaise(true);
  menuButton_ = button.get();
  tools.addWidget(button.release());
}

void QtExplorer::AddActions(const std::vector<QAction*>& actions) {
  QMenu& menu = *menuButton_->menu();
  menu.addSeparator();
  for (QAction* a : actions) menu.addAction(a);
  moreActions_.insert(moreActions_.end(), actions.begin(), actions.end());
}

void QtExplorer::BuildDock() {
  auto dock = std::make_unique<QDockWidget>("マーカー", &window_);
  dock->setObjectName("markers");
  dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  auto body = std::make_unique<QWidget>();
  auto column = std::make_unique<QVBoxLayout>();
  column->setContentsMargins(2, 2, 2, 2);
  list_ = std::make_unique<QListWidget>(body.get()).release();
  notice_ = std::make_unique<QLabel>(body.get()).release();
  notice_->setWordWrap(true);
  notice_->setTextFormat(Qt::PlainText);
  notice_->hide();
  auto row = std::make_unique<QGridLayout>();  // two by two: the dock stays narrow
  const auto addButton = [&](const char* text, void (QtExplorer::*slot)()) {
    QPushButton* b = std::make_unique<QPushButton>(QString::fromUtf8(text), body.get()).release();
    b->setFocusPolicy(Qt::NoFocus);
    QObject::connect(b, &QPushButton::clicked, this, [this, slot] { window_.Guard([this, slot] { (this->*slot)(); }); });
    row->addWidget(b, row->count() / 2, row->count() % 2);
  };
  addButton("追加", &QtExplorer::AddMarkerAsked);
  addButton("名前変更", &QtExplorer::RenameSelected);
  addButton("削除", &QtExplorer::RemoveSelected);
  addButton("移動", &QtExplorer::GoToSelected);
  column->addWidget(list_, 1);
  column->addLayout(row.release());
  column->addWidget(notice_);
  body->setLayout(column.release());
  dock->setWidget(body.release());
  dock->hide();
  window_.addDockWidget(Qt::RightDockWidgetArea, dock.get());
  dock_ = dock.release();  // the window owns it
  QObject::connect(list_, &QListWidget::itemActivated, this, [this] { window_.Guard([this] { GoToSelected(); }); });
  QObject::connect(dock_, &QDockWidget::visibilityChanged, this,
                   [this](bool shown) { Action(TExplorerAction::markerList).setChecked(shown); });
}

void QtExplorer::ChoosePace(TPlaybackPace pace) {
  if (!logic_.SetPace(pace)) return;
  for (QAction* a : intervalActions_) a->setChecked(a->data().toInt() == pace.IntervalMs);
  for (QAction* a : recordActions_) a->setChecked(a->data().toInt() == pace.RecordsPerTick);
  window_.AutoTimer().setInterval(pace.IntervalMs);
  UpdateActions();
}

// ---- the actions --------------------------------------------------------------

void QtExplorer::Run(TExplorerAction a) {
  if (logic_.Move(a)) return;
  switch (a) {
    case TExplorerAction::goTo: GoToAsked(); break;
    case TExplorerAction::addMarker: AddMarkerAsked(); break;
    case TExplorerAction::markerList:
      dock_->setVisible(Action(a).isChecked());
      // A narrow column: the editor keeps most of the designed window.
      if (dock_->isVisible()) window_.resizeDocks({dock_}, {std::max(160, window_.width() / 3)}, Qt::Horizontal);
      break;
    case TExplorerAction::highlight: logic_.SetHighlightSteps(Action(a).isChecked()); break;
    case TExplorerAction::restore: RestoreAsked(); break;
    case TExplorerAction::help: help_->Toggle(Q(HelpText())); break;
    default: break;  // the player's moves, above
  }
}

void QtExplorer::GoToAsked() {
  if (const std::optional<int64_t> point = AskPoint(logic_.Point(), logic_.Total())) logic_.GoTo(*point);
}

void QtExplorer::AddMarkerAsked() {
  if (const std::optional<std::string> label = AskLabel("マーカーを追加", logic_.NewMarkerLabel())) MarkersChanged(logic_.AddMarker(*label));
}

void QtExplorer::RenameSelected() {
  const int row = list_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= logic_.Markers().Count()) return;
  const std::string& current = logic_.Markers()[static_cast<size_t>(row)].Label;
  if (const std::optional<std::string> label = AskLabel("マーカーの名前を変更", current))
    MarkersChanged(logic_.RenameMarker(static_cast<size_t>(row), *label));
}

void QtExplorer::RemoveSelected() {
  const int row = list_->currentRow();
  if (row >= 0) MarkersChanged(logic_.RemoveMarker(static_cast<size_t>(row)));
}

void QtExplorer::GoToSelected() {
  const int row = list_->currentRow();
  if (row >= 0) logic_.GoToMarker(static_cast<size_t>(row));
}

// The edits made since the history was thrown away go in its place: asked first.
void QtExplorer::RestoreAsked() {
  if (!logic_.CanRestore()) return;
  if (window_.AskOkCancel("履歴の復元", logic_.RestoreQuestion())) logic_.RestoreDiscarded();
}

void QtExplorer::MarkersChanged(bool written) {
  RefreshMarkerList();
  if (!written) window_.ShowMessage("マーカーを保存できません。\n" + logic_.MarksError());
}

// ---- states -------------------------------------------------------------------

void QtExplorer::UpdateActions() {
  TFormKelvane& form = window_.Form();
  const bool canUndo = form.Editor->CanUndo();
  const bool canRedo = form.Editor->CanRedo();
  const bool playing = window_.AutoTimer().isActive();
  using E = TExplorerAction;
  for (E a : {E::stepBack, E::first}) Action(a).setEnabled(canUndo);
  for (E a : {E::stepForward, E::last}) Action(a).setEnabled(canRedo);
  Action(E::playBack).setEnabled(canUndo || playing);
  Action(E::playForward).setEnabled(canRedo || playing);
  Action(E::stop).setEnabled(playing);
  Action(E::goTo).setEnabled(logic_.Total() > 0);
  const bool anyMarker = logic_.Markers().Count() > 0;
  Action(E::previousMarker).setEnabled(anyMarker);
  Action(E::nextMarker).setEnabled(anyMarker);
  Action(E::restore).setEnabled(logic_.CanRestore());
  paceButton_->setToolTip(Q("再生速度: " + PaceText(logic_.Pace()) + "（全 " + std::to_string(logic_.Total()) +
                            " 件で " + DurationText(PlayingTimeMs(logic_.Pace(), logic_.Total())) + "）"));
  RefreshMarkerList();
  const std::vector<std::string> notices = logic_.TakeMarksNotices();
  if (!notices.empty()) {
    std::string text;
    for (const std::string& n : notices) text += (text.empty() ? "" : "\n") + n;
    notice_->setText(Q(text));
    notice_->show();
    window_.ShowMessage("マーカーファイルの読めない行を飛ばしました。\n" + text);
  }
}

void QtExplorer::RefreshMarkerList() {
  const std::vector<TMarker>& markers = logic_.Markers().Items();
  const int32_t total = logic_.Total();
  if (markers == shownMarkers_ && total == shownTotal_) return;
  const int row = list_->currentRow();
  list_->clear();
  for (const TMarker& m : markers) {
    std::string text = std::to_string(m.Point) + "  " + m.Label;
    if (MarkerPastEnd(m, total)) text += "（履歴の外: " + std::to_string(total) + " へ）";
    list_->addItem(Q(text));
  }
  list_->setCurrentRow(std::min(row, list_->count() - 1));
  shownMarkers_ = markers;
  shownTotal_ = total;
}

// Two tables side by side, the window's keys and the editor's, so that the
// list stays about as tall as the designed window.
std::string QtExplorer::HelpText() const {
  std::string html;
  const auto row = [&html](const QString& keys, const QString& what) {
    html += "<tr><td><b>" + keys.toHtmlEscaped().toStdString() + "</b>&nbsp;&nbsp;</td><td>" +
            what.toHtmlEscaped().toStdString() + "</td></tr>";
  };
  const auto table = [&html](const char* title) {
    html += "<table cellspacing=0 cellpadding=1><tr><th colspan=2 align=left>" + std::string(title) + "</th></tr>";
  };
  html += "<table cellspacing=0 cellpadding=0><tr><td valign=top>";
  table("窓");
  for (int i = 0; i < kPlayerActionCount; ++i) {
    QAction& a = window_.Action(static_cast<TPlayerAction>(i));
    if (!a.shortcut().isEmpty()) row(KeysText(a.shortcuts()), a.toolTip().isEmpty() ? a.text() : a.toolTip());
  }
  for (const QAction* a : actions_) row(KeysText(a->shortcuts()), a->text());
  for (const QAction* a : moreActions_) row(KeysText(a->shortcuts()), a->text());
  row(QString::fromUtf8(kTintClickKey.first), QString::fromUtf8(kTintClickKey.second));
  row("?", "キー一覧（エディタの外で）");
  html += "</table></td><td>&nbsp;&nbsp;&nbsp;&nbsp;</td><td valign=top>";
  table("エディタ");
  for (const auto& [keys, what] : kEditorKeys) row(QString::fromUtf8(keys), QString::fromUtf8(what));
  return html + "</table></td></tr></table>";
}

// "?" opens the list where it types nothing: not in the editor.
bool QtExplorer::eventFilter(QObject* watched, QEvent* e) {
  if (watched == &window_ && e->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->text() == "?" && QApplication::focusWidget() != &window_.EditWidget()) {
      window_.Guard([this] { Run(TExplorerAction::help); });
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}

// ---- the shortcut overlay --------------------------------------------------------

// A popup over the window rather than a child of it: the list is taller than
// the designed window, and a popup takes every key while it is up, so no key
// that closes it reaches a shortcut.
QtHelpOverlay::QtHelpOverlay(QWidget& window) : QWidget(&window, Qt::Popup), window_(window) {
  setFont(window.font());
  auto layout = std::make_unique<QVBoxLayout>();
  layout->setContentsMargins(14, 10, 14, 10);
  text_ = std::make_unique<QLabel>(this).release();
  text_->setTextFormat(Qt::RichText);
  text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(text_);
  setLayout(layout.release());
}

void QtHelpOverlay::Toggle(const QString& html) {
  if (isVisible()) {
    hide();
    return;
  }
  text_->setText(html);
  adjustSize();
  // Centred on the window, kept on its screen.
  QRect box(QPoint(0, 0), size());
  box.moveCenter(window_.frameGeometry().center());
  if (const QScreen* screen = window_.screen()) {
    const QRect room = screen->availableGeometry();
    box.moveLeft(std::clamp(box.left(), room.left(), std::max(room.left(), room.right() - box.width())));
    box.moveTop(std::clamp(box.top(), room.top(), std::max(room.top(), room.bottom() - box.height())));
  }
  move(box.topLeft());
  show();
}

void QtHelpOverlay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(255, 255, 240));
  p.setPen(QColor(128, 128, 128));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void QtHelpOverlay::keyPressEvent(QKeyEvent* e) {
  const bool modifierOnly = e->key() == Qt::Key_Shift || e->key() == Qt::Key_Control || e->key() == Qt::Key_Alt ||
                            e->key() == Qt::Key_Meta;
  if (!modifierOnly) hide();
  e->accept();
}

void QtHelpOverlay::mousePressEvent(QMouseEvent*) { hide(); }  // a press outside closes a popup by itself

}  // namespace kelvane
