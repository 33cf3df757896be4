// The timeline strip as a widget. Scrubbing repaints it at every tracking
// step, so a repaint is the cached layer and three thin overlays; the layer
// is drawn again only for a new timeline, size or pixel ratio.
#include "qt/QtTimelinePanel.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>
#include <algorithm>

#include "history/PanelText.h"

namespace kelvane {

namespace {

const QColor kPointColor(200, 24, 24);
const QColor kPointHalo(255, 255, 255, 150);
const QColor kRangeColor(240, 168, 0, 150);
const QColor kPoleColor(40, 40, 48);
const QColor kFlagColor(214, 60, 40);  // the explorer's flag

int MouseX(const QMouseEvent& e) { return e.position().toPoint().x(); }

}  // namespace

QtTimelinePanel::QtTimelinePanel(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);  // the layer covers every pixel
}

void QtTimelinePanel::SetTimeline(const TTimeline* timeline) {
  timeline_ = timeline;
  layerStale_ = true;
  update();
}

void QtTimelinePanel::SetPoint(int64_t point) {
  if (point == point_) return;
  UpdateColumn(point_);
  point_ = point;
  UpdateColumn(point_);
}

void QtTimelinePanel::SetMarkers(std::vector<std::pair<int64_t, std::string>> markers) {
  if (markers == markers_) return;
  markers_ = std::move(markers);
  update();
}

void QtTimelinePanel::SetRanges(std::vector<TPointRange> ranges) {
  if (ranges == ranges_) return;
  ranges_ = std::move(ranges);
  update();
}

TTimelineGeometry QtTimelinePanel::Geometry() const { return TimelineGeometry(size(), Total()); }

// The point's line with its halo, and nothing else, is all a new point repaints.
void QtTimelinePanel::UpdateColumn(int64_t point) { update(XOf(point) - 1, 0, 3, height()); }

const QImage& QtTimelinePanel::Layer() {
  const qreal ratio = devicePixelRatioF();
  if (layerStale_ || layer_.size() != size() * ratio || layer_.devicePixelRatio() != ratio) {
    layer_ = BuildTimelineLayer(timeline_, Geometry(), size(), ratio);
    layerStale_ = false;
    ++layerBuilds_;
  }
  return layer_;
}

void QtTimelinePanel::paintEvent(QPaintEvent*) {
  const TTimelineGeometry g = Geometry();
  QPainter p(this);
  p.drawImage(QPoint(0, 0), Layer());
  PaintRanges(p, g);
  PaintMarkers(p, g);
  PaintPoint(p, g);
  if (hasFocus()) {
    p.setPen(palette().color(QPalette::Highlight));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

// Ranges next to each other on the screen are filled as one, so that the
// translucent band keeps one shade however many ranges a column holds.
void QtTimelinePanel::PaintRanges(QPainter& p, const TTimelineGeometry& g) const {
  int from = 0, to = -1;
  const auto fill = [&] {
    if (to >= from) p.fillRect(QRect(from, g.Ranges.Top, to - from + 1, g.Ranges.Height), kRangeColor);
  };
  for (const TPointRange& r : ranges_) {
    if (r.To <= r.From) continue;
    const int x0 = g.XOf(r.From), x1 = g.XOf(r.To - 1);
    if (x0 > to + 1) {
      fill();
      from = x0;
    }
    to = std::max(to, x1);
  }
  fill();
}

void QtTimelinePanel::PaintMarkers(QPainter& p, const TTimelineGeometry& g) const {
  for (const auto& marker : markers_) {
    const int x = g.XOf(marker.first);
    p.fillRect(QRect(x, 0, 1, g.Flags.Height), kPoleColor);
    p.setPen(Qt::NoPen);
    p.setBrush(kFlagColor);
    p.drawPolygon(QPolygon({QPoint(x + 1, 0), QPoint(x + 6, 2), QPoint(x + 1, 5)}));
  }
}

void QtTimelinePanel::PaintPoint(QPainter& p, const TTimelineGeometry& g) const {
  if (!timeline_) return;
  const int x = g.XOf(point_);
  p.fillRect(QRect(x - 1, 0, 3, height()), kPointHalo);
  p.fillRect(QRect(x, 0, 1, height()), kPointColor);
}

const std::pair<int64_t, std::string>* QtTimelinePanel::MarkerNear(int x) const {
  return kelvane::MarkerNear(Geometry(), markers_, x);
}

QString QtTimelinePanel::ToolTipAt(QPoint pos) const {
  if (!timeline_) return {};
  const auto* marker = MarkerNear(pos.x());
  return QString::fromStdString(TimelineTip(*timeline_, PointAt(pos.x()), marker ? &marker->second : nullptr));
}

bool QtTimelinePanel::event(QEvent* e) {
  if (e->type() != QEvent::ToolTip) return QWidget::event(e);
  const auto& help = static_cast<const QHelpEvent&>(*e);
  const QString text = ToolTipAt(help.pos());
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {  // shown again once the mouse leaves the point's column
    QToolTip::showText(help.globalPos(), text, this, QRect(help.pos().x() - 2, 0, 5, height()));
  }
  return true;
}

void QtTimelinePanel::Track(int64_t point) {
  tracked_ = point;
  SetPoint(point);
  if (OnTrack) OnTrack(point);
}

void QtTimelinePanel::Release(int64_t point) {
  tracked_ = -1;
  SetPoint(point);
  if (OnRelease) OnRelease(point);
}

// A press while a drag seems to go on starts it again: a box the window
// opened from OnTrack may have taken the release.
void QtTimelinePanel::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !timeline_) return QWidget::mousePressEvent(e);
  dragging_ = true;
  Track(PointAt(MouseX(*e)));
}

// As the history bar's thumb: a report only when the point under the mouse
// is another one.
void QtTimelinePanel::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_) return QWidget::mouseMoveEvent(e);
  if (const int64_t point = PointAt(MouseX(*e)); point != tracked_) Track(point);
}

void QtTimelinePanel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !dragging_) return QWidget::mouseReleaseEvent(e);
  dragging_ = false;
  Release(PointAt(MouseX(*e)));
}

// Bare keys only: with Alt they are the explorer's, with Ctrl or Shift nobody's yet.
void QtTimelinePanel::keyPressEvent(QKeyEvent* e) {
  const int64_t from = std::clamp<int64_t>(point_, 0, Total());
  int64_t to = from;
  switch (e->key()) {
    case Qt::Key_Left: to = from - 1; break;
    case Qt::Key_Right: to = from + 1; break;
    case Qt::Key_Home: to = 0; break;
    case Qt::Key_End: to = Total(); break;
    default: return QWidget::keyPressEvent(e);
  }
  if (!timeline_ || (e->modifiers() & ~Qt::KeypadModifier) != 0) return QWidget::keyPressEvent(e);
  to = std::clamp<int64_t>(to, 0, Total());
  if (to == from || dragging_) return;
  Track(to);
  Release(to);
}

}  // namespace kelvane
