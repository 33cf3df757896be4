// QtDiffPane: what changed between a marked point A and the current point,
// as a unified listing: hunks with a little context, removed lines on red and
// added ones on green with their old and new line numbers, and inside each
// changed pair the characters that differ in a stronger tint. The window owns
// the analysis and hands the pane each diff; the pane lays the rows out once
// per diff and paints only those in view, in the editor's font, without
// wrapping (long lines scroll sideways).
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QLabel>
#include <QRgb>
#include <QTextOption>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "history/TextDiff.h"
#include "history/DiffRows.h"
#include "history/PanelColors.h"

namespace kelvane {

constexpr QRgb ToQRgb(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
constexpr QRgb kDiffPaper = ToQRgb(kDiffPalette.Paper);
constexpr QRgb kDiffInk = ToQRgb(kDiffPalette.Ink);
constexpr QRgb kDiffQuietInk = ToQRgb(kDiffPalette.QuietInk);
constexpr QRgb kDiffRemovedBack = ToQRgb(kDiffPalette.RemovedBack);
constexpr QRgb kDiffRemovedMark = ToQRgb(kDiffPalette.RemovedMark);
constexpr QRgb kDiffRemovedGutter = ToQRgb(kDiffPalette.RemovedGutter);
constexpr QRgb kDiffAddedBack = ToQRgb(kDiffPalette.AddedBack);
constexpr QRgb kDiffAddedMark = ToQRgb(kDiffPalette.AddedMark);
constexpr QRgb kDiffAddedGutter = ToQRgb(kDiffPalette.AddedGutter);
constexpr QRgb kDiffHunkBack = ToQRgb(kDiffPalette.HunkBack);
constexpr QRgb kDiffGutter = ToQRgb(kDiffPalette.Gutter);

class QtDiffPane : public QAbstractScrollArea {
 public:
  explicit QtDiffPane(QWidget* parent = nullptr);
  ~QtDiffPane() override;
  QtDiffPane(const QtDiffPane&) = delete;
  QtDiffPane& operator=(const QtDiffPane&) = delete;

  // The difference from point From to point To; a null diff (a point the
  // history does not reach) shows that the two cannot be compared. A new diff
  // from the same From keeps the view where it was in From's text.
  void SetDiff(std::unique_ptr<TTextDiff> diff, int64_t from, int64_t to);
  // No point A: a hint to mark one.
  void Clear();
  void SetEditorFont(const QFont& font);

  const std::vector<TDiffRow>& Rows() const { return rows_; }
  int32_t RemovedLines() const { return removed_; }
  int32_t AddedLines() const { return added_; }
  QString HeaderText() const { return header_->text(); }
  // What shows in place of rows (empty while there are rows).
  const QString& Message() const { return message_; }
  // Row I in the viewport's coordinates, empty when it is out of view.
  QRect RowRect(size_t i) const;
  int TextLeft() const { return gutterWidth_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void Show(std::unique_ptr<TTextDiff> diff, std::vector<TDiffRow> rows, const QString& header, const QString& message);
  int32_t TopOldLine() const;
  void Measure();
  void PlaceHeader();
  void UpdateScrollBars();
  int RowHeight() const { return lineHeight_; }
  void PaintMessage(QPainter& p) const;
  void PaintRow(QPainter& p, const TDiffRow& row, int top);
  void PaintText(QPainter& p, const TDiffRow& row, int top, int left);
  void PaintGutter(QPainter& p, const TDiffRow& row, int top) const;
  void Widen(int rowWidth);

  std::unique_ptr<TTextDiff> diff_;  // the bytes the rows name
  std::vector<TDiffRow> rows_;
  int32_t removed_ = 0, added_ = 0;
  std::optional<int64_t> from_;  // A of the rows shown
  QString message_;
  QLabel* header_ = nullptr;  // a child of the pane, above the viewport
  QFont font_;
  QTextOption textOption_;  // tab stops every few columns, no wrapping
  int lineHeight_ = 1;
  int ascent_ = 0;
  int digitWidth_ = 1;
  int columnWidth_ = 1;  // half a full-width character
  int numberWidth_ = 1;  // one column of line numbers
  int gutterWidth_ = 0;
  int textWidth_ = 0;  // the widest row, as far as known
};

}  // namespace kelvane
