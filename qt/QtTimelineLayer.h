// The timeline strip's geometry and its static layer. The geometry says which
// column shows which point and where the strip's bands lie; the layer is what
// changes only with the timeline or the size: the text's length, a dot for
// each record at the line it edited, and the part of the history the timeline
// does not reach. The panel draws it once and lays the point, the markers and
// the search ranges over it at every repaint.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>

#include "history/Timeline.h"

namespace kelvane {

struct TTimelineGeometry {
  int64_t Total = 0;  // the last point, T
  int Left = 0;       // the column of point 0
  int Right = 0;      // the column of point T
  QRect Flags;        // the markers' band along the top
  QRect Plot;         // the series
  QRect Ranges;       // the search ranges' band along the bottom

  // The point a column shows, clamped to 0 … T; with more points than
  // columns, the nearest of those the column gathers.
  int64_t PointAt(int x) const;
  int XOf(int64_t point) const;
};

TTimelineGeometry TimelineGeometry(QSize size, int64_t total);

// The colour the strip shows an edit of that kind in.
QColor KindColor(TEditKind kind);

// The static layer of a strip of Size logical pixels at the device pixel
// Ratio; a bare background when there is no timeline.
QImage BuildTimelineLayer(const TTimeline* timeline, const TTimelineGeometry& g, QSize size, qreal ratio);

}  // namespace kelvane
