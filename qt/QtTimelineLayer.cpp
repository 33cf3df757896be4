// The timeline strip's static layer, drawn from the columns as a handful of
// polygons and one batch of dots per kind.
#include "qt/QtTimelineLayer.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <vector>

#include "history/PanelColors.h"
#include "qt/QtCanvas.h"

namespace kelvane {

namespace {

constexpr qreal kDot = 2;

const QColor kBackground(252, 252, 250);
const QColor kRule(224, 224, 220);
const QColor kAreaColor(212, 226, 242);
const QColor kBandColor(160, 188, 222);
const QColor kLineColor(74, 112, 168);
const QColor kShadeColor(214, 214, 214);
const QColor kHatchColor(166, 166, 166);

// The length as an area from the bottom of the plot up to each column's
// longest text, with the range the column's points span darker along its top.
void DrawBytes(QPainter& p, const TTimelineColumns& columns, const TTimelineGeometry& g) {
  const qreal base = g.Plot.Bottom() + 1;
  QPolygonF upper, lower;
  for (size_t c = 0; c < columns.Bytes.size(); ++c) {
    if (columns.Bytes[c].Max < 0) continue;
    const qreal x = g.Left + static_cast<qreal>(c) + 0.5;
    upper << QPointF(x, columns.YOf(g, columns.Bytes[c].Max));
    lower << QPointF(x, columns.YOf(g, columns.Bytes[c].Min));
  }
  if (upper.isEmpty()) return;
  QPolygonF area = upper;
  area.prepend(QPointF(upper.first().x(), base));
  area << QPointF(upper.last().x(), base);
  p.setPen(Qt::NoPen);
  p.setBrush(kAreaColor);
  p.drawPolygon(area);
  QPolygonF band = upper;
  for (qsizetype i = lower.size() - 1; i >= 0; --i) band << lower[i];
  p.setBrush(kBandColor);
  p.drawPolygon(band);
  p.setPen(QPen(kLineColor, 1));
  p.drawPolyline(upper);
}

void DrawEdits(QPainter& p, const TTimelineColumns& columns, const TTimelineGeometry& g) {
  const size_t rows = static_cast<size_t>(columns.Rows);
  std::array<std::vector<QRectF>, kEditKindCount> dots;
  for (size_t i = 0; i < columns.Dots.size(); ++i) {
    if (columns.Dots[i] == 0) continue;
    const qreal x = g.Left + static_cast<qreal>(i / rows), y = g.Plot.Top + static_cast<qreal>(i % rows);
    dots[columns.Dots[i] - 1u].push_back(QRectF(x - kDot / 2 + 0.5, y - kDot / 2 + 0.5, kDot, kDot));
  }
  p.setPen(Qt::NoPen);
  for (size_t kind = 0; kind < dots.size(); ++kind) {
    p.setBrush(ToQColor(KindColor(static_cast<TEditKind>(kind))));
    p.drawRects(dots[kind].data(), static_cast<int>(dots[kind].size()));
  }
}

void Shade(QPainter& p, const QRect& r) {
  if (r.width() <= 0) return;
  p.fillRect(r, kShadeColor);
  p.fillRect(r, QBrush(kHatchColor, Qt::BDiagPattern));
}

void PaintLayer(QImage& layer, const TTimeline* timeline, const TTimelineGeometry& g, QSize size) {
  QPainter p(&layer);
  p.setPen(kRule);
  p.drawLine(0, g.Plot.Top - 1, size.width(), g.Plot.Top - 1);
  p.drawLine(0, g.Ranges.Top, size.width(), g.Ranges.Top);
  if (!timeline) return;
  const TTimelineColumns columns = TimelineColumns(*timeline, g);
  Shade(p, QRect(0, 0, columns.ShadeBefore, size.height()));
  Shade(p, QRect(columns.ShadeFrom, 0, size.width() - columns.ShadeFrom, size.height()));
  DrawBytes(p, columns, g);
  DrawEdits(p, columns, g);
}

}  // namespace

QImage BuildTimelineLayer(const TTimeline* timeline, const TTimelineGeometry& g, QSize size, qreal ratio) {
  if (size.isEmpty()) return {};
  QImage layer(size * ratio, QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(ratio);
  layer.fill(kBackground);
  PaintLayer(layer, timeline, g, size);
  return layer;
}

}  // namespace kelvane
