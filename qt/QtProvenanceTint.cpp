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

#include "platform/Codepage.h"

namespace kelvane {

namespace {

// From long ago to just now: a pale blue that barely shows to a warm orange.
const QColor kOldest(222, 234, 250);
const QColor kNewest(255, 184, 112);

QColor Mix(const QColor& a, const QColor& b, double t) {
  const auto mix = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
  return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

TColor ToTColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// The gradient with its two ends named, and a word for the untinted text.
class TLegendBar : public QWidget {
 public:
  using QWidget::QWidget;
  QSize sizeHint() const override { return {96, fontMetrics().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(rect().topLeft(), rect().topRight());
    g.setColorAt(0, kOldest);
    g.setColorAt(1, kNewest);
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
  row->addWidget(std::make_unique<QLabel>("入力時期: 古い").release());
  row->addWidget(std::make_unique<TLegendBar>().release());
  row->addWidget(std::make_unique<QLabel>("新しい（色なし: 最初からある文）").release());
  legend->setLayout(row.release());
  legend->setToolTip("文字の背景はそれを入力した記録の古さです。文字の上で止めると記録を、Ctrl+クリックでその直後へ移動します。");
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
  const double age = point <= 1 ? 1.0 : static_cast<double>(record) / static_cast<double>(point - 1);
  return Mix(kOldest, kNewest, std::clamp(age, 0.0, 1.0));
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
    if (s.Record >= 0) runs.push_back({s.Begin, s.End, ToTColor(AgeColor(s.Record, point))});
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
  if (*record < 0) {
    QToolTip::showText(global, "最初からある文", &widget_);
    return;
  }
  const TTimelineEdit edit = analysis_.Timeline().Edit(*record);
  QString added = QString::fromStdString(cp932::ToUtf8Marked(edit.Added.substr(0, 120)));
  added.replace("\r\n", "↵");
  QToolTip::showText(global,
                     QString("記録 %1（位置 %2 の直前）で入力: %3\nCtrl+クリックでその直後へ")
                         .arg(*record)
                         .arg(*record + 1)
                         .arg(added),
                     &widget_);
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
