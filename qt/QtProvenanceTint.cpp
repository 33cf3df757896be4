// The provenance tint over the editor widget.
#include "qt/QtProvenanceTint.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "history/PanelColors.h"
#include "history/PanelText.h"
#include "qt/QtCanvas.h"

namespace kelvane {

namespace {

// The gradient with its two ends named, and a word for the untinted text.
class TLegendBar : public QWidget {
 public:
  using QWidget::QWidget;
  QSize sizeHint() const override { return {96, fontMetrics().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(rect().topLeft(), rect().topRight());
    g.setColorAt(0, ToQColor(kTintOldest));
    g.setColorAt(1, ToQColor(kTintNewest));
    p.fillRect(rect().adjusted(0, 2, 0, -2), g);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 2, -1, -3));
  }
};

QWidget* MakeLegend() {
  auto legend = std::make_unique<QWidget>();
  auto row = std::make_unique<QHBoxLayout>();
  row->setContentsMargins(4, 0, 4, 0);
  row->setSpacing(4);
  row->addWidget(std::make_unique<QLabel>(QString::fromUtf8(kTintOlder)).release());
  row->addWidget(std::make_unique<TLegendBar>().release());
  row->addWidget(std::make_unique<QLabel>(QString::fromUtf8(kTintNewer)).release());
  legend->setLayout(row.release());
  legend->setToolTip(QString::fromUtf8(kTintLegendTip));
  return legend.release();
}

}  // namespace

QtProvenanceTint::QtProvenanceTint(QtEditWidget& widget, THistoryAnalysis& analysis, std::function<int64_t()> point)
    : widget_(widget), analysis_(analysis), point_(std::move(point)), legend_(MakeLegend()) {
  widget_.installEventFilter(this);
}

QtProvenanceTint::~QtProvenanceTint() {
  widget_.removeEventFilter(this);
  widget_.Editor().SetLineTint({});
  delete legend_;  // a status bar may hold it; it leaves its parent as it goes
}

void QtProvenanceTint::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  widget_.Editor().SetLineTint(on ? TLineTint([this](int32_t line, std::vector<TTintRun>& runs) { Tint(line, runs); })
                                  : TLineTint());
  widget_.setMouseTracking(on || widget_.hasMouseTracking());
}

QColor QtProvenanceTint::AgeColor(int32_t record, int64_t point) {
  return ToQColor(kelvane::AgeColor(record, point));
}

// The provenance of the text the editor holds, or none where the analysis
// cannot tell (a point past a record that does not fit, lines that differ).
const TProvenance* QtProvenanceTint::Current() {
  const int64_t point = point_();
  if (!analysis_.Timeline().Reaches(point)) return nullptr;
  const TProvenance& p = analysis_.Blame(point);
  if (p.Point() != point || p.LineCount() != widget_.Editor().Items.Count()) return nullptr;
  return &p;
}

void QtProvenanceTint::Tint(int32_t line, std::vector<TTintRun>& runs) {
  const TProvenance* p = Current();
  if (!p || line >= p->LineCount()) return;
  const int64_t point = p->Point();
  for (const TTagSpan& s : p->Spans(line)) {
    if (s.Record >= 0) runs.push_back({s.Begin, s.End, kelvane::AgeColor(s.Record, point)});
  }
}

std::optional<int32_t> QtProvenanceTint::RecordAt(TPoint at) {
  const TProvenance* p = Current();
  if (!p || at.Y < 0 || at.Y >= p->LineCount() || at.X < 0 || at.X >= p->LineLength(at.Y)) return std::nullopt;
  for (const TTagSpan& s : p->Spans(at.Y)) {
    if (at.X >= s.Begin && at.X < s.End) return s.Record;
  }
  return std::nullopt;
}

// The character whose cell holds the point: the caret column nearest to it,
// or the one before when the point lies left of that column's edge.
std::optional<int32_t> QtProvenanceTint::RecordAtClient(QPoint client) {
  TVeskEdit& e = widget_.Editor();
  if (client.x() < e.TextLeft()) return std::nullopt;
  const TPoint doc = e.DocPointAtClient(client.x(), client.y());
  const int32_t lastRow = e.TopLine + (client.y() - e.TopMargin()) / std::max(e.LineHeight, 1);
  if (doc.Y != lastRow) return std::nullopt;  // below the last line
  TPoint pos = e.PosAtDocPoint(doc.X, doc.Y);
  if (pos.X > 0 && doc.X < e.Items[pos.Y].PrefixWidth(static_cast<size_t>(pos.X))) --pos.X;
  return RecordAt(pos);
}

void QtProvenanceTint::ShowRecord(QPoint client, QPoint global) {
  const std::optional<int32_t> record = RecordAtClient(client);
  if (!record) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(global, QString::fromStdString(TintTip(analysis_.Timeline(), *record)), &widget_);
}

bool QtProvenanceTint::eventFilter(QObject* watched, QEvent* e) {
  if (!on_ || watched != &widget_) return QObject::eventFilter(watched, e);
  if (e->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(e);
    ShowRecord(help->pos(), help->globalPos());
    return true;
  }
  if (e->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(e);
    if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier) &&
        !(mouse->modifiers() & Qt::AltModifier)) {  // Ctrl+Alt is the editor's box selection
      const std::optional<int32_t> record = RecordAtClient(mouse->position().toPoint());
      if (record && *record >= 0 && OnJump) OnJump(int64_t{*record} + 1);
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace kelvane
