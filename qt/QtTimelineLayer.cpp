// The timeline strip's geometry and static layer. Tens of thousands of points
// share a few hundred columns, so everything is gathered per column first and
// drawn as a handful of polygons and one batch of dots per kind.
#include "qt/QtTimelineLayer.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <vector>

namespace kelvane {

namespace {

constexpr int kInset = 4;  // room for the point's line and a marker's flag at either end
constexpr int kFlagBand = 10;
constexpr int kRangeBand = 7;
constexpr qreal kDot = 2;

const QColor kBackground(252, 252, 250);
const QColor kRule(224, 224, 220);
const QColor kAreaColor(212, 226, 242);
const QColor kBandColor(160, 188, 222);
const QColor kLineColor(74, 112, 168);
const QColor kShadeColor(214, 214, 214);
const QColor kHatchColor(166, 166, 166);

struct TColumnBytes {
  int64_t Min = INT64_MAX;
  int64_t Max = -1;  // none: no point of the column is reached
};

std::vector<TColumnBytes> BytesPerColumn(const TTimeline& t, const TTimelineGeometry& g) {
  std::vector<TColumnBytes> columns(static_cast<size_t>(g.Right - g.Left + 1));
  for (int64_t p = t.First(); p <= t.Last(); ++p) {
    TColumnBytes& c = columns[static_cast<size_t>(g.XOf(p) - g.Left)];
    const int64_t bytes = t.Bytes(p);
    c.Min = std::min(c.Min, bytes);
    c.Max = std::max(c.Max, bytes);
  }
  return columns;
}

// The length as an area from the bottom of the plot up to each column's
// longest text, with the range the column's points span darker along its top.
void DrawBytes(QPainter& p, const TTimeline& t, const TTimelineGeometry& g) {
  const std::vector<TColumnBytes> columns = BytesPerColumn(t, g);
  int64_t top = 1;
  for (const TColumnBytes& c : columns) top = std::max(top, c.Max);
  const qreal base = g.Plot.bottom() + 1;
  const auto yOf = [&](int64_t bytes) { return base - static_cast<qreal>(bytes) * (g.Plot.height() - 1) / top; };
  QPolygonF upper, lower;
  for (size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].Max < 0) continue;
    const qreal x = g.Left + static_cast<qreal>(c) + 0.5;
    upper << QPointF(x, yOf(columns[c].Max));
    lower << QPointF(x, yOf(columns[c].Min));
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

int32_t MostLines(const TTimeline& t) {
  int32_t most = 1;
  for (int64_t p = t.First(); p <= t.Last(); ++p) most = std::max(most, t.LineCount(p));
  return most;
}

// A dot for each record at the column of the point it leads to and the line
// it edited, line 0 at the top as in the text. Records sharing a pixel share
// one dot, the newest one's colour.
void DrawEdits(QPainter& p, const TTimeline& t, const TTimelineGeometry& g) {
  const int rows = g.Plot.height();
  if (rows <= 0 || t.Records() == 0) return;
  const int64_t lastLine = MostLines(t) - 1;
  const size_t columns = static_cast<size_t>(g.Right - g.Left + 1);
  std::vector<uint8_t> cells(columns * static_cast<size_t>(rows));  // the kind + 1
  for (int64_t k = 0; k < t.Records(); ++k) {
    const TTimelineEdit e = t.Edit(k);
    const int64_t line = std::clamp<int64_t>(e.Pos.Y, 0, lastLine);
    const int64_t row = lastLine > 0 ? line * (rows - 1) / lastLine : rows / 2;
    cells[static_cast<size_t>(g.XOf(k + 1) - g.Left) * rows + static_cast<size_t>(row)] =
        static_cast<uint8_t>(static_cast<int>(e.Kind) + 1);
  }
  std::array<std::vector<QRectF>, kEditKindCount> dots;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (cells[i] == 0) continue;
    const qreal x = g.Left + static_cast<qreal>(i / rows), y = g.Plot.top() + static_cast<qreal>(i % rows);
    dots[cells[i] - 1u].push_back(QRectF(x - kDot / 2 + 0.5, y - kDot / 2 + 0.5, kDot, kDot));
  }
  p.setPen(Qt::NoPen);
  for (size_t kind = 0; kind < dots.size(); ++kind) {
    p.setBrush(KindColor(static_cast<TEditKind>(kind)));
    p.drawRects(dots[kind].data(), static_cast<int>(dots[kind].size()));
  }
}

void Shade(QPainter& p, const QRect& r) {
  if (r.width() <= 0) return;
  p.fillRect(r, kShadeColor);
  p.fillRect(r, QBrush(kHatchColor, Qt::BDiagPattern));
}

// The points before First and after Last, whose texts the timeline never saw.
void ShadeUnreachable(QPainter& p, const TTimeline& t, const TTimelineGeometry& g, QSize size) {
  if (t.First() > 0) Shade(p, QRect(0, 0, g.XOf(t.First()), size.height()));
  if (t.Last() < t.Records()) {
    const int from = g.XOf(t.Last()) + 1;
    Shade(p, QRect(from, 0, size.width() - from, size.height()));
  }
}

}  // namespace

int64_t TTimelineGeometry::PointAt(int x) const {
  const int span = Right - Left;
  if (span == 0) return 0;
  const int64_t column = std::clamp(x, Left, Right) - Left;
  return (column * Total + span / 2) / span;
}

int TTimelineGeometry::XOf(int64_t point) const {
  if (Total == 0) return Left;
  const int64_t span = Right - Left;
  return Left + static_cast<int>((std::clamp<int64_t>(point, 0, Total) * span + Total / 2) / Total);
}

TTimelineGeometry TimelineGeometry(QSize size, int64_t total) {
  TTimelineGeometry g;
  g.Total = std::max<int64_t>(total, 0);
  g.Left = std::min(kInset, std::max(0, (size.width() - 1) / 2));
  g.Right = std::max(g.Left, size.width() - 1 - kInset);
  g.Flags = QRect(0, 0, size.width(), kFlagBand);
  g.Ranges = QRect(0, size.height() - kRangeBand, size.width(), kRangeBand);
  g.Plot = QRect(0, kFlagBand, size.width(), std::max(0, size.height() - kFlagBand - kRangeBand));
  return g;
}

QColor KindColor(TEditKind kind) {
  switch (kind) {
    case TEditKind::Insert: return {34, 150, 64};
    case TEditKind::Delete: return {212, 52, 40};
    case TEditKind::Enter: return {132, 64, 196};
    case TEditKind::Change: return {226, 138, 0};
    case TEditKind::Unknown: break;
  }
  return {110, 110, 110};
}

namespace {

void PaintLayer(QImage& layer, const TTimeline* timeline, const TTimelineGeometry& g, QSize size) {
  QPainter p(&layer);
  p.setPen(kRule);
  p.drawLine(0, g.Plot.top() - 1, size.width(), g.Plot.top() - 1);
  p.drawLine(0, g.Ranges.top(), size.width(), g.Ranges.top());
  if (!timeline) return;
  ShadeUnreachable(p, *timeline, g, size);
  DrawBytes(p, *timeline, g);
  DrawEdits(p, *timeline, g);
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
