// The timeline strip's geometry and its static layer. The geometry says which
// column shows which point and where the strip's bands lie; the layer is what
// changes only with the timeline or the size: the text's length, a dot for
// each record at the line it edited, and the part of the history the timeline
// does not reach. The panel draws it once and lays the point, the markers and
// the search ranges over it at every repaint.
#pragma once

#include <QImage>
#include <QSize>
#include <cstdint>

#include "history/Timeline.h"
#include "history/TimelineColumns.h"

namespace kelvane {

inline TTimelineGeometry TimelineGeometry(QSize size, int64_t total) {
  return TimelineGeometry(size.width(), size.height(), total);
}

// The static layer of a strip of Size logical pixels at the device pixel
// Ratio; a bare background when there is no timeline.
QImage BuildTimelineLayer(const TTimeline* timeline, const TTimelineGeometry& g, QSize size, qreal ratio);

}  // namespace kelvane
