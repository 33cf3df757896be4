// The history list: one row per record of the timeline (its index, its kind as
// the user made it, where, and an excerpt of what it added or removed), the
// record that led to the current point highlighted and the records still to
// come greyed. A search narrows the rows to the records whose added or removed
// text contains it. Model and view, so the rows of a long history are made
// only as they come into view.
#pragma once

#include <QAbstractTableModel>
#include <QLineEdit>
#include <QTableView>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/PanelText.h"
#include "history/Timeline.h"

namespace kelvane {

class QtHistoryModel : public QAbstractTableModel {
 public:
  enum TColumn : int {
    kIndex = kHistoryIndex,
    kKind = kHistoryKind,
    kPlace = kHistoryPlace,
    kText = kHistoryText,
    kColumnCount = kHistoryColumnCount
  };

  // Null: no rows. The caller keeps the timeline alive until the next call.
  void SetTimeline(const TTimeline* timeline);
  // Every record, or only those whose added or removed text contains Needle
  // (code page 932 bytes, found at character starts); none for a needle that
  // cannot occur.
  void ShowAll();
  void ShowMatching(const std::optional<std::string>& needle);
  // Records 0 … Point−1 have been applied; record Point−1 is the current one.
  void SetPoint(int64_t point);
  // Markers (point, UTF-8 label) show on the row of the record leading to their point.
  void SetMarkers(std::vector<std::pair<int64_t, std::string>> markers);

  int64_t RecordAt(int row) const { return rows_.empty() ? row : rows_[static_cast<size_t>(row)]; }
  // The row showing record K, or the nearest row before it; −1 for none.
  int RowOf(int64_t k) const;
  bool Filtered() const { return filtered_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QString Cell(int64_t k, int column) const;
  void Narrow();

  const TTimeline* timeline_ = nullptr;
  std::optional<std::string> needle_;
  bool filtered_ = false;
  std::vector<int64_t> rows_;  // filtered: the records shown; otherwise empty and row = record
  int64_t point_ = 0;
  std::vector<std::pair<int64_t, std::string>> markers_;  // by point
};

// The panel: a search field over the list. A click or Enter on a row asks for
// the point just after its record.
class QtHistoryList : public QWidget {
 public:
  explicit QtHistoryList(QWidget* parent = nullptr);

  QtHistoryModel& Model() { return model_; }
  QTableView& View() { return *view_; }
  QLineEdit& Search() { return *search_; }

  void SetTimeline(const TTimeline* timeline);
  // Highlights the current record and keeps it in view.
  void SetPoint(int64_t point);

  std::function<void(int64_t point)> OnJump;
  // The search as typed (UTF-8), once it settles; empty when cleared.
  std::function<void(const std::string& text)> OnSearch;

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void KeepInView();
  void Activated(const QModelIndex& index);
  void SearchChanged();

  QtHistoryModel model_;
  QTableView* view_ = nullptr;
  QLineEdit* search_ = nullptr;
  int64_t point_ = 0;
};

}  // namespace kelvane
