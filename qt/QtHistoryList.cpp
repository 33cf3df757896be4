// The history list and its search.
#include "qt/QtHistoryList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "history/PanelText.h"

namespace kelvane {

// ---- the model ------------------------------------------------------------------

void QtHistoryModel::SetTimeline(const TTimeline* timeline) {
  beginResetModel();
  timeline_ = timeline;
  Narrow();
  endResetModel();
}

void QtHistoryModel::ShowAll() {
  beginResetModel();
  filtered_ = false;
  needle_.reset();
  Narrow();
  endResetModel();
}

void QtHistoryModel::ShowMatching(const std::optional<std::string>& needle) {
  beginResetModel();
  filtered_ = true;
  needle_ = needle;
  Narrow();
  endResetModel();
}

void QtHistoryModel::Narrow() {
  rows_.clear();
  if (filtered_ && timeline_ && needle_) rows_ = MatchingRecords(*timeline_, *needle_);
}

void QtHistoryModel::SetPoint(int64_t point) {
  if (point == point_) return;
  const int before = RowOf(point_ - 1);
  const int after = RowOf(point - 1);
  point_ = point;
  // Rows between the two change from done to to-come or back.
  const int first = std::max(0, std::min(before, after));
  const int last = std::max(before, after);
  if (last >= 0) emit dataChanged(index(first, 0), index(last, kColumnCount - 1));
}

void QtHistoryModel::SetMarkers(std::vector<std::pair<int64_t, std::string>> markers) {
  std::stable_sort(markers.begin(), markers.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  if (markers == markers_) return;
  markers_ = std::move(markers);
  if (rowCount() > 0) emit dataChanged(index(0, kText), index(rowCount() - 1, kText));
}


int QtHistoryModel::RowOf(int64_t k) const {
  if (!timeline_ || k < 0) return -1;
  if (!filtered_) return static_cast<int>(std::min(k, timeline_->Records() - 1));
  const auto it = std::upper_bound(rows_.begin(), rows_.end(), k);
  return static_cast<int>(it - rows_.begin()) - 1;
}

int QtHistoryModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !timeline_) return 0;
  return static_cast<int>(filtered_ ? rows_.size() : static_cast<size_t>(timeline_->Records()));
}

int QtHistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString QtHistoryModel::Cell(int64_t k, int column) const {
  return QString::fromStdString(HistoryCell(*timeline_, k, column));
}

QVariant QtHistoryModel::data(const QModelIndex& index, int role) const {
  if (!timeline_ || !index.isValid() || index.row() >= rowCount()) return {};
  const int64_t k = RecordAt(index.row());
  switch (role) {
    case Qt::DisplayRole:
      if (index.column() != kText) return Cell(k, index.column());
      return QString::fromStdString(MarkedCell(kelvane::MarkerLabels(markers_, k), Cell(k, kText).toStdString()));
    case Qt::ToolTipRole:
      return QString::fromStdString(MarkedTip(kelvane::MarkerLabels(markers_, k), HistoryTip(*timeline_, k)));
    case Qt::TextAlignmentRole:
      return index.column() == kIndex || index.column() == kPlace ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
      if (k == point_ - 1) return QColor(255, 226, 140);  // the step marks' tint: where the history stands
      if (!timeline_->Edit(k).Known) return QColor(232, 232, 232);
      return {};
    case Qt::ForegroundRole:
      return k >= point_ ? QVariant(QColor(128, 128, 128)) : QVariant();  // still to come
    default: return {};
  }
}

QVariant QtHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromUtf8(kHistoryHeaders[static_cast<size_t>(section)]);
}

// ---- the panel ------------------------------------------------------------------

QtHistoryList::QtHistoryList(QWidget* parent) : QWidget(parent) {
  auto layout = std::make_unique<QVBoxLayout>();
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  search_ = std::make_unique<QLineEdit>(this).release();  // the panel owns it
  search_->setPlaceholderText(QString::fromUtf8(kHistorySearchHint));
  search_->setClearButtonEnabled(true);
  view_ = std::make_unique<QTableView>(this).release();
  view_->setModel(&model_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setWordWrap(false);
  view_->setShowGrid(false);
  view_->verticalHeader()->hide();
  // Rows of one height: the view then never measures rows it does not show.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->horizontalHeader()->setStretchLastSection(true);
  const int digit = view_->fontMetrics().horizontalAdvance('0');
  view_->setColumnWidth(QtHistoryModel::kIndex, digit * 7);
  view_->setColumnWidth(QtHistoryModel::kKind, view_->fontMetrics().horizontalAdvance("行の置換") + digit * 2);
  view_->setColumnWidth(QtHistoryModel::kPlace, digit * 9);
  layout->addWidget(search_);
  layout->addWidget(view_, 1);
  setLayout(layout.release());

  auto settle = std::make_unique<QTimer>(this).release();
  settle->setSingleShot(true);
  settle->setInterval(250);  // a search of a long history waits for a pause in typing
  QObject::connect(search_, &QLineEdit::textChanged, settle, qOverload<>(&QTimer::start));
  QObject::connect(settle, &QTimer::timeout, this, [this] { SearchChanged(); });
  QObject::connect(search_, &QLineEdit::returnPressed, this, [this, settle] {
    settle->stop();
    SearchChanged();
  });
  QObject::connect(view_, &QAbstractItemView::activated, this, [this](const QModelIndex& i) { Activated(i); });
  QObject::connect(view_, &QAbstractItemView::clicked, this, [this](const QModelIndex& i) { Activated(i); });
}

void QtHistoryList::SetTimeline(const TTimeline* timeline) {
  model_.SetTimeline(timeline);
  const int64_t shown = point_;
  point_ = -1;  // scroll to it anew
  SetPoint(shown);
}

void QtHistoryList::SetPoint(int64_t point) {
  model_.SetPoint(point);
  if (point == point_) return;
  point_ = point;
  const int row = model_.RowOf(point - 1);
  if (row < 0) {
    view_->scrollToTop();
    view_->clearSelection();
    return;
  }
  view_->selectionModel()->setCurrentIndex(model_.index(row, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  KeepInView();
}

void QtHistoryList::KeepInView() {
  const QModelIndex at = view_->currentIndex();
  if (at.isValid()) view_->scrollTo(at);
}

// A panel opened or made taller shows the current record, wherever the view
// scrolled to while it had no room.
void QtHistoryList::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  KeepInView();
}

void QtHistoryList::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  KeepInView();
}

void QtHistoryList::Activated(const QModelIndex& index) {
  if (index.isValid() && OnJump) OnJump(model_.RecordAt(index.row()) + 1);
}

void QtHistoryList::SearchChanged() {
  const std::string text = search_->text().toStdString();
  if (text.empty()) model_.ShowAll();
  else model_.ShowMatching(SearchBytes(text));
  const int64_t shown = point_;
  point_ = -1;
  SetPoint(shown);
  if (OnSearch) OnSearch(text);
}

}  // namespace kelvane
