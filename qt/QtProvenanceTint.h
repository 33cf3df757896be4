// Who typed it when: each character's background tinted by the age of the
// record that typed it (the text the history starts from stays untinted), a
// small legend, the record named when the mouse rests on a character, and
// Ctrl+click going to the point just after that record.
#pragma once

#include <QObject>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "history/HistoryAnalysis.h"
#include "history/ProvenanceLookup.h"
#include "qt/QtEditWidget.h"

namespace kelvane {

class QtProvenanceTint : public QObject {
 public:
  // Point tells where the player's history stands now.
  QtProvenanceTint(QtEditWidget& widget, THistoryAnalysis& analysis, std::function<int64_t()> point);
  ~QtProvenanceTint() override;
  QtProvenanceTint(const QtProvenanceTint&) = delete;
  QtProvenanceTint& operator=(const QtProvenanceTint&) = delete;

  void SetOn(bool on);
  bool On() const { return on_; }
  QWidget& Legend() { return *legend_; }

  // The record that typed the character at caret position P of the text as it
  // stands: −1 for the text the history starts from, none outside the text or
  // when the history cannot reach the current point.
  std::optional<int32_t> RecordAt(TPoint p);
  // The record under a point of the editor widget, as the mouse finds it.
  std::optional<int32_t> RecordAtClient(QPoint client);
  // The tint of record R's characters at point P (R < P): the newest deepest.
  static QColor AgeColor(int32_t record, int64_t point);

  std::function<void(int64_t point)> OnJump;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ShowRecord(QPoint client, QPoint global);

  QtEditWidget& widget_;
  THistoryAnalysis& analysis_;
  TProvenanceLookup lookup_;
  bool on_ = false;
  QWidget* legend_ = nullptr;
};

}  // namespace kelvane
