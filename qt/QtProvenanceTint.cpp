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
    : widget_(widget),
      analysis_(analysis),
      lookup_(analysis, widget.Editor(), std::move(point)),
      legend_(MakeLegend()) {
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
  widget_.Editor().SetLineTint(on ? TLineTint([this](int32_t line, std::vector<TTintRun>& runs) { lookup_.Tint(line, runs); })
                                  : TLineTint());
  widget_.setMouseTracking(on || widget_.hasMouseTracking());
}

QColor QtProvenanceTint::AgeColor(int32_t record, int64_t point) {
  return ToQColor(kelvane::AgeColor(record, point));
}

std::optional<int32_t> QtProvenanceTint::RecordAt(TPoint at) { return lookup_.RecordAt(at); }

std::optional<int32_t> QtProvenanceTint::RecordAtClient(QPoint client) {
  return lookup_.RecordAtClient(client.x(), client.y());
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
