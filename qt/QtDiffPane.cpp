// The diff pane: its messages, the rows' measures and scroll ranges, and
// painting in the phases of a row (background, marks, text, gutter).
#include "qt/QtDiffPane.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "history/PanelText.h"

namespace kelvane {

namespace {

constexpr int kRowGap = 2;     // pixels between rows, split above and below
constexpr int kPad = 6;        // around each column of the gutter and before the text
constexpr int kHeaderPad = 4;

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QString HunkTitle(const TDiffRow& row) { return QString::fromStdString(DiffHunkTitle(row)); }

struct TRowLook {
  QRgb Back, Mark, Gutter;
  const char* Sign;
};

TRowLook LookOf(TDiffRowKind kind) {
  switch (kind) {
    case TDiffRowKind::removed: return {kDiffRemovedBack, kDiffRemovedMark, kDiffRemovedGutter, "−"};
    case TDiffRowKind::added: return {kDiffAddedBack, kDiffAddedMark, kDiffAddedGutter, "+"};
    case TDiffRowKind::hunk: return {kDiffHunkBack, kDiffHunkBack, kDiffHunkBack, ""};
    default: return {kDiffPaper, kDiffPaper, kDiffGutter, ""};
  }
}

}  // namespace

QtDiffPane::QtDiffPane(QWidget* parent) : QAbstractScrollArea(parent), header_(new QLabel(this)) {
  header_->setContentsMargins(kPad, kHeaderPad, kPad, kHeaderPad);
  header_->setTextFormat(Qt::PlainText);
  viewport()->setAutoFillBackground(false);
  SetEditorFont(font());
  Clear();
}

QtDiffPane::~QtDiffPane() = default;

void QtDiffPane::SetDiff(std::unique_ptr<TTextDiff> diff, int64_t from, int64_t to) {
  if (!diff) {
    from_.reset();
    Show(nullptr, {}, QString::fromStdString(DiffPointsTitle(from, to)), Q(kDiffUnreachable));
    return;
  }
  // With A where it was, the view stays on the same place of A's text.
  const int32_t keep = from_ == from ? TopOldLine() : -1;
  from_ = from;
  std::vector<TDiffRow> rows = BuildDiffRows(*diff);
  const TDiffCounts counts = DiffCounts(*diff);
  const QString header = QString::fromStdString(DiffHeader(from, to, *diff));
  const QString message = diff->Equal() ? Q(kDiffEqual) : QString();
  Show(std::move(diff), std::move(rows), header, message);
  if (keep >= 0) verticalScrollBar()->setValue(static_cast<int>(FirstRowFrom(rows_, keep)));
  removed_ = counts.Removed;
  added_ = counts.Added;
}

void QtDiffPane::Clear() {
  from_.reset();
  Show(nullptr, {}, QString(), Q(kDiffHint));
}

void QtDiffPane::Show(std::unique_ptr<TTextDiff> diff, std::vector<TDiffRow> rows, const QString& header,
                      const QString& message) {
  rows_ = std::move(rows);  // before the diff they point into goes
  diff_ = std::move(diff);
  removed_ = added_ = 0;
  message_ = message;
  header_->setText(header);
  header_->setVisible(!header.isEmpty());
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  Measure();
  PlaceHeader();
  viewport()->update();
}

void QtDiffPane::SetEditorFont(const QFont& font) {
  font_ = font;
  const QFontMetrics fm(font_);
  lineHeight_ = fm.height() + kRowGap;
  ascent_ = fm.ascent();
  digitWidth_ = fm.horizontalAdvance(u'0');
  columnWidth_ = std::max(digitWidth_, (fm.horizontalAdvance(u'\u3042') + 1) / 2);  // half a kana
  textOption_.setWrapMode(QTextOption::NoWrap);
  textOption_.setTabStopDistance(kDiffTabColumns * columnWidth_);
  Measure();
  UpdateScrollBars();
  viewport()->update();
}

// The gutter fits the longer text's line numbers. How far the text scrolls
// sideways comes from the widest row in columns, at a column's width in this
// font: measuring every row would cost more than the rest of an update, and a
// row measured wider when it is painted widens the range then.
void QtDiffPane::Measure() {
  numberWidth_ = GutterDigits(diff_.get()) * digitWidth_;
  const QFontMetrics fm(font_);
  gutterWidth_ = 2 * numberWidth_ + fm.horizontalAdvance(Q("−")) + 4 * kPad;
  textWidth_ = 0;
  int32_t columns = 0;
  for (const TDiffRow& row : rows_) {
    if (row.Kind == TDiffRowKind::hunk) textWidth_ = std::max(textWidth_, fm.horizontalAdvance(HunkTitle(row)));
    columns = std::max(columns, ShownColumns(row.Bytes));
  }
  textWidth_ = std::max(textWidth_, columns * columnWidth_);
}

void QtDiffPane::UpdateScrollBars() {
  const int visibleRows = std::max(1, viewport()->height() / RowHeight());
  QScrollBar& v = *verticalScrollBar();
  v.setRange(0, std::max(0, static_cast<int>(rows_.size()) - visibleRows));
  v.setPageStep(visibleRows);
  v.setSingleStep(1);
  const int textArea = std::max(1, viewport()->width() - gutterWidth_);
  QScrollBar& h = *horizontalScrollBar();
  h.setRange(0, std::max(0, textWidth_ + 2 * kPad - textArea));
  h.setPageStep(textArea);
  h.setSingleStep(4 * digitWidth_);
}

void QtDiffPane::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  PlaceHeader();
}

// The header sits in the pane's top margin, above the viewport.
void QtDiffPane::PlaceHeader() {
  const int headerHeight = !header_->isHidden() ? header_->sizeHint().height() : 0;
  setViewportMargins(0, headerHeight, 0, 0);
  const int frame = frameWidth();
  header_->setGeometry(frame, frame, width() - 2 * frame, headerHeight);
  UpdateScrollBars();
}

int32_t QtDiffPane::TopOldLine() const {
  for (auto i = static_cast<size_t>(verticalScrollBar()->value()); i < rows_.size(); ++i)
    if (rows_[i].OldLine >= 0) return rows_[i].OldLine;
  return -1;
}

QRect QtDiffPane::RowRect(size_t i) const {
  const int64_t shown = static_cast<int64_t>(i) - verticalScrollBar()->value();
  const int top = static_cast<int>(shown) * RowHeight();
  if (i >= rows_.size() || shown < 0 || top >= viewport()->height()) return {};
  return {0, top, viewport()->width(), RowHeight()};
}

void QtDiffPane::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  p.fillRect(e->rect(), QColor(kDiffPaper));
  if (rows_.empty()) {
    PaintMessage(p);
    return;
  }
  p.setFont(font_);
  const int h = RowHeight();
  const int64_t first = verticalScrollBar()->value();
  const int64_t from = first + e->rect().top() / h;
  const int64_t to = std::min<int64_t>(static_cast<int64_t>(rows_.size()), first + e->rect().bottom() / h + 1);
  for (int64_t i = from; i < to; ++i) PaintRow(p, rows_[static_cast<size_t>(i)], static_cast<int>(i - first) * h);
}

void QtDiffPane::PaintMessage(QPainter& p) const {
  p.setPen(QColor(kDiffQuietInk));
  const QRect area = viewport()->rect().adjusted(3 * kPad, 3 * kPad, -3 * kPad, -3 * kPad);
  p.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, message_);
}

void QtDiffPane::PaintRow(QPainter& p, const TDiffRow& row, int top) {
  p.fillRect(QRect(gutterWidth_, top, viewport()->width() - gutterWidth_, RowHeight()), QColor(LookOf(row.Kind).Back));
  const int left = gutterWidth_ + kPad - horizontalScrollBar()->value();
  p.save();
  p.setClipRect(QRect(gutterWidth_, top, viewport()->width() - gutterWidth_, RowHeight()));
  PaintText(p, row, top, left);
  p.restore();
  PaintGutter(p, row, top);
}

void QtDiffPane::PaintText(QPainter& p, const TDiffRow& row, int top, int left) {
  if (row.Kind == TDiffRowKind::hunk || row.Kind == TDiffRowKind::noBreak) {
    p.setPen(QColor(kDiffQuietInk));
    p.drawText(left, top + kRowGap / 2 + ascent_,
               row.Kind == TDiffRowKind::hunk ? HunkTitle(row) : Q(kDiffNoBreak));
    return;
  }
  // A layout rather than drawText: tabs stop at pixel columns, and the marks
  // fall where the shaped characters are.
  QTextLayout layout(QString::fromStdU16String(ShowLine(row.Bytes).Text), font_);
  layout.setTextOption(textOption_);
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  const QColor mark(LookOf(row.Kind).Mark);
  for (const TShownRange& r : row.Changed) {
    const qreal x0 = line.cursorToX(r.Begin), x1 = line.cursorToX(r.End);
    p.fillRect(QRectF(left + x0, top, std::max(x1 - x0, 2.0), RowHeight()), mark);
  }
  p.setPen(QColor(kDiffInk));
  layout.draw(&p, QPointF(left, top + kRowGap / 2));
  Widen(static_cast<int>(std::ceil(line.naturalTextWidth())));
}

void QtDiffPane::Widen(int rowWidth) {
  if (rowWidth <= textWidth_) return;
  textWidth_ = rowWidth;
  QScrollBar& h = *horizontalScrollBar();
  h.setMaximum(std::max(h.maximum(), textWidth_ + 2 * kPad - h.pageStep()));
}

void QtDiffPane::PaintGutter(QPainter& p, const TDiffRow& row, int top) const {
  const TRowLook look = LookOf(row.Kind);
  p.fillRect(QRect(0, top, gutterWidth_, RowHeight()), QColor(look.Gutter));
  p.setPen(QColor(kDiffQuietInk));
  const int h = RowHeight();
  if (row.Kind != TDiffRowKind::hunk) {
    if (row.OldLine >= 0)
      p.drawText(QRect(kPad, top, numberWidth_, h), Qt::AlignRight | Qt::AlignVCenter,
                 QString::number(row.OldLine + 1));
    if (row.NewLine >= 0)
      p.drawText(QRect(2 * kPad + numberWidth_, top, numberWidth_, h), Qt::AlignRight | Qt::AlignVCenter,
                 QString::number(row.NewLine + 1));
  }
  p.setPen(QColor(kDiffInk));
  p.drawText(QRect(3 * kPad + 2 * numberWidth_, top, gutterWidth_ - 3 * kPad - 2 * numberWidth_, h),
             Qt::AlignLeft | Qt::AlignVCenter, Q(look.Sign));
}

}  // namespace kelvane
