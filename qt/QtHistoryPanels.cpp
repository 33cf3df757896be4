// The explorer's panels and their shared analysis.
#include "qt/QtHistoryPanels.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QStatusBar>
#include <algorithm>

#include "headless/HeadlessEditHost.h"
#include "history/PanelText.h"
#include "qt/QtDiffPane.h"
#include "qt/QtExplorer.h"
#include "qt/QtFonts.h"
#include "qt/QtHistoryList.h"
#include "qt/QtPlayerWindow.h"
#include "qt/QtProvenanceTint.h"
#include "qt/QtTimelinePanel.h"

namespace kelvane {

namespace {

struct TPanelActionDef {
  TPanelAction Id;
  QKeySequence Key;
  bool Checkable;
};

// Ctrl letters the editor does not read (it reads A, C, R, V, X and Z) and the
// seed window does not hold (O, S, Z, R). The captions are kPanelActionTexts.
const std::array<TPanelActionDef, kPanelActionCount>& PanelActionDefs() {
  using K = QKeySequence;
  static const std::array<TPanelActionDef, kPanelActionCount> defs{{
      {TPanelAction::historyList, K(Qt::CTRL | Qt::Key_L), true},
      {TPanelAction::findInHistory, K(Qt::CTRL | Qt::Key_F), false},
      {TPanelAction::timeline, K(Qt::CTRL | Qt::Key_T), true},
      {TPanelAction::diffPane, K(Qt::CTRL | Qt::Key_D), true},
      {TPanelAction::markDiffFrom, K(Qt::CTRL | Qt::SHIFT | Qt::Key_D), false},
      {TPanelAction::provenance, K(Qt::CTRL | Qt::SHIFT | Qt::Key_B), true},
  }};
  return defs;
}

}  // namespace

QtHistoryPanels::QtHistoryPanels(QtPlayerWindow& window)
    : window_(window),
      analysis_(window.EditWidget().Editor(), [] { return std::make_unique<HeadlessEditHost>(); }),
      follower_(window.Form(), analysis_) {
  BuildActions();
  BuildDocks();
  tint_ = std::make_unique<QtProvenanceTint>(window_.EditWidget(), analysis_,
                                             [this] { return int64_t{window_.Form().History().Position()}; });
  tint_->OnJump = [this](int64_t point) { JumpTo(point); };

  auto notice = std::make_unique<QWidget>();
  auto row = std::make_unique<QHBoxLayout>();
  row->setContentsMargins(4, 0, 0, 0);
  notice_ = std::make_unique<QLabel>(notice.get()).release();
  notice_->setTextFormat(Qt::PlainText);
  notice_->setWordWrap(true);
  notice_->setStyleSheet("color: #8a4b00;");
  noticeClose_ = std::make_unique<QToolButton>(notice.get()).release();
  noticeClose_->setText("×");
  noticeClose_->setAutoRaise(true);
  noticeClose_->setToolTip("閉じる");
  row->addWidget(notice_, 1);
  row->addWidget(noticeClose_);
  notice->setLayout(row.release());
  notice->hide();
  QStatusBar* status = window_.statusBar();
  status->setSizeGripEnabled(false);
  status->addWidget(notice.release(), 1);
  status->addPermanentWidget(&tint_->Legend());
  tint_->Legend().hide();
  status->hide();  // the seed window has none: shown only while it has something to say
  QObject::connect(noticeClose_, &QToolButton::clicked, this, [this] {
    noticeClose_->parentWidget()->hide();
    if (!tint_->On()) window_.statusBar()->hide();
  });

  diffRest_.setSingleShot(true);
  diffRest_.setInterval(120);
  QObject::connect(&diffRest_, &QTimer::timeout, this, [this] { window_.Guard([this] { UpdateDiff(); }); });

  TFormKelvane& form = window_.Form();
  formLoaded_ = form.OnLoaded;
  form.OnLoaded = [this] { Loaded(); };
}

QtHistoryPanels::~QtHistoryPanels() {
  window_.Form().OnLoaded = formLoaded_;
  tint_.reset();  // it leaves the editor's painting as it found it
}

void QtHistoryPanels::BuildActions() {
  for (const TPanelActionDef& def : PanelActionDefs()) {
    const QString text = QString::fromUtf8(kPanelActionTexts[static_cast<size_t>(def.Id)]);
    QAction* action = std::make_unique<QAction>(text, &window_).release();  // the window owns it
    action->setShortcut(def.Key);
    action->setShortcutVisibleInContextMenu(true);
    action->setCheckable(def.Checkable);
    action->setToolTip(action->text() + " (" + def.Key.toString(QKeySequence::NativeText) + ")");
    const TPanelAction id = def.Id;
    QObject::connect(action, &QAction::triggered, this, [this, id] { window_.Guard([this, id] { Run(id); }); });
    window_.addAction(action);
    actions_[static_cast<size_t>(id)] = action;
  }
}

QDockWidget* QtHistoryPanels::AddDock(const char* title, const char* name, QWidget* body, Qt::DockWidgetArea area) {
  auto dock = std::make_unique<QDockWidget>(QString::fromUtf8(title), &window_);
  dock->setObjectName(name);
  dock->setWidget(body);
  dock->hide();
  window_.addDockWidget(area, dock.get());
  return dock.release();  // the window owns it
}

void QtHistoryPanels::BuildDocks() {
  list_ = std::make_unique<QtHistoryList>().release();  // its dock owns it
  list_->OnJump = [this](int64_t point) { JumpTo(point); };
  list_->OnSearch = [this](const std::string& text) { window_.Guard([this, text] { Search(text); }); };
  timeline_ = std::make_unique<QtTimelinePanel>().release();
  timeline_->OnTrack = [this](int64_t point) { Track(point); };
  timeline_->OnRelease = [this](int64_t point) { Release(point); };
  diff_ = std::make_unique<QtDiffPane>().release();
  diff_->Clear();
  docks_[static_cast<size_t>(TPanel::history)] = AddDock("履歴一覧", "history", list_, Qt::RightDockWidgetArea);
  docks_[static_cast<size_t>(TPanel::timeline)] = AddDock("タイムライン", "timeline", timeline_, Qt::BottomDockWidgetArea);
  docks_[static_cast<size_t>(TPanel::diff)] = AddDock("差分", "diff", diff_, Qt::RightDockWidgetArea);
  const std::array<std::pair<TPanel, TPanelAction>, 3> toggles{{{TPanel::history, TPanelAction::historyList},
                                                                {TPanel::timeline, TPanelAction::timeline},
                                                                {TPanel::diff, TPanelAction::diffPane}}};
  for (const auto& [panel, action] : toggles) {
    QAction* a = &Action(action);
    QObject::connect(&Dock(panel), &QDockWidget::visibilityChanged, this, [this, a](bool shown) {
      a->setChecked(shown);
      if (shown) QTimer::singleShot(0, this, [this] { window_.Guard([this] { Update(); }); });
    });
  }
}

void QtHistoryPanels::Show(TPanel p, bool shown) {
  QDockWidget& dock = Dock(p);
  dock.setVisible(shown);
  if (!shown) return;
  // Room for the panel, while the editor keeps most of the window.
  if (p == TPanel::timeline) {
    window_.resizeDocks({&dock}, {std::max(80, window_.height() / 4)}, Qt::Vertical);
  } else {
    window_.resizeDocks({&dock}, {std::max(220, window_.width() * 2 / 5)}, Qt::Horizontal);
    QDockWidget& list = Dock(TPanel::history);
    QDockWidget& diff = Dock(TPanel::diff);
    if (list.isVisible() && diff.isVisible()) window_.resizeDocks({&list, &diff}, {1, 1}, Qt::Vertical);  // halves
  }
  Update();
}

void QtHistoryPanels::Run(TPanelAction a) {
  switch (a) {
    case TPanelAction::historyList: Show(TPanel::history, Action(a).isChecked()); break;
    case TPanelAction::findInHistory:
      Show(TPanel::history, true);
      list_->Search().setFocus();
      list_->Search().selectAll();
      break;
    case TPanelAction::timeline: Show(TPanel::timeline, Action(a).isChecked()); break;
    case TPanelAction::diffPane: Show(TPanel::diff, Action(a).isChecked()); break;
    case TPanelAction::markDiffFrom:
      SetDiffFrom(follower_.Point());
      Show(TPanel::diff, true);
      break;
    case TPanelAction::provenance:
      tint_->SetOn(Action(a).isChecked());
      follower_.TintedEveryRow();
      tint_->Legend().setVisible(tint_->On());
      window_.statusBar()->setVisible(tint_->On() || !noticeClose_->parentWidget()->isHidden());
      break;
  }
}

// ---- following the player -------------------------------------------------------

bool QtHistoryPanels::AnyViewOpen() const {
  return std::any_of(docks_.begin(), docks_.end(), [](const QDockWidget* d) { return d->isVisible(); });
}

void QtHistoryPanels::Update() {
  if (follower_.TintAged(tint_->On())) window_.EditWidget().Editor().Invalidate();
  if (!AnyViewOpen()) return;
  if (follower_.NewTimeline()) {
    const TTimeline& t = analysis_.Timeline();
    list_->SetTimeline(&t);
    timeline_->SetTimeline(&t);
    if (!search_.empty()) Search(search_);
  }
  if (follower_.NewPoint()) {
    list_->SetPoint(follower_.Point());
    timeline_->SetPoint(follower_.Point());
  }
  UpdateMarkers();
  switch (follower_.DiffNeed(Dock(TPanel::diff).isVisible(), window_.HistoryBar().isSliderDown())) {
    case TPanelFollower::TDiffNeed::now: UpdateDiff(); break;
    case TPanelFollower::TDiffNeed::wait: diffRest_.start(); break;  // until the hand rests
    case TPanelFollower::TDiffNeed::none: break;
  }
}

void QtHistoryPanels::UpdateMarkers() {
  std::vector<std::pair<int64_t, std::string>> markers;
  for (const TMarker& m : window_.Explorer().Logic().Markers().Items()) markers.emplace_back(m.Point, m.Label);
  if (!follower_.NewMarkers(markers)) return;
  list_->Model().SetMarkers(markers);
  timeline_->SetMarkers(std::move(markers));
}

void QtHistoryPanels::SetDiffFrom(std::optional<int64_t> point) {
  follower_.SetDiffFrom(point);
  if (!point) diff_->Clear();
  else UpdateDiff();
}

void QtHistoryPanels::UpdateDiff() {
  diffRest_.stop();
  if (!follower_.DiffFrom()) return;
  diff_->SetEditorFont(ToQFont(window_.EditWidget().Editor().Font()));
  diff_->SetDiff(follower_.TakeDiff(), *follower_.DiffFrom(), follower_.Point());
}

void QtHistoryPanels::FlushDiff() {
  if (diffRest_.isActive() || follower_.DiffNeed(true, false) != TPanelFollower::TDiffNeed::none) UpdateDiff();
}

void QtHistoryPanels::Search(const std::string& text) {
  search_ = text;
  ranges_ = SearchHistory(analysis_, text);
  timeline_->SetRanges(ranges_);
}

// ---- moving the player ----------------------------------------------------------

void QtHistoryPanels::JumpTo(int64_t point) {
  window_.Guard([this, point] { window_.Explorer().Logic().GoTo(point); });
}

void QtHistoryPanels::Track(int64_t point) {
  window_.Guard([this, point] { follower_.Track(point); });
}

void QtHistoryPanels::Release(int64_t point) {
  window_.Guard([this, point] { follower_.Release(point); });
}

// A new file: the check's notice, and no point A of a history that is gone.
void QtHistoryPanels::Loaded() {
  if (formLoaded_) formLoaded_();
  SetDiffFrom(std::nullopt);
  list_->Search().clear();  // its search settles to none, as the user's clearing would

  const TTimeline& t = analysis_.Timeline();
  QWidget* bar = noticeClose_->parentWidget();
  const std::string notice = CheckNotice(t);
  notice_->setText(QString::fromStdString(notice));
  bar->setVisible(!notice.empty());
  window_.statusBar()->setVisible(tint_->On() || !bar->isHidden());
}

}  // namespace kelvane
