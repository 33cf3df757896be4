// The timeline strip as data any port draws: which column shows which point
// and where the strip's bands lie, and, per column, what the points and
// records it gathers add up to — the shortest and longest text, a dot per
// edited line, and where the part the timeline does not reach begins.
// Tens of thousands of points share a few hundred columns, so a strip is
// drawn from these in a handful of shapes.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "history/Timeline.h"

namespace kelvane {

// Rows Top … Top+Height−1 of the strip, across its whole width.
struct TStripBand {
  int Top = 0;
  int Height = 0;
  int Bottom() const { return Top + Height - 1; }
};

struct TTimelineGeometry {
  int64_t Total = 0;  // the last point, T
  int Width = 0;
  int Height = 0;
  int Left = 0;        // the column of point 0
  int Right = 0;       // the column of point T
  TStripBand Flags;    // the markers' band along the top
  TStripBand Plot;     // the series
  TStripBand Ranges;   // the search ranges' band along the bottom

  // The point a column shows, clamped to 0 … T; with more points than
  // columns, the nearest of those the column gathers.
  int64_t PointAt(int x) const;
  int XOf(int64_t point) const;
};

TTimelineGeometry TimelineGeometry(int width, int height, int64_t total);

struct TColumnBytes {
  int64_t Min = INT64_MAX;
  int64_t Max = -1;  // none: no point of the column is reached
};

struct TTimelineColumns {
  std::vector<TColumnBytes> Bytes;  // column Left + i
  int64_t MostBytes = 1;            // the longest text, at least 1
  // A dot per record at the column of the point it leads to and the row of
  // the line it edited (line 0 at the top); records sharing a pixel share
  // one, the newest one's. Dots[(x − Left) × Rows + row] is its kind + 1, 0
  // where there is none.
  int Rows = 0;
  std::vector<uint8_t> Dots;
  // Columns 0 … ShadeBefore−1 and ShadeFrom … Width−1 show points the
  // timeline never saw.
  int ShadeBefore = 0;
  int ShadeFrom = INT_MAX;

  // The row of the plot a text of Bytes bytes reaches up to, the plot's
  // bottom edge for none.
  double YOf(const TTimelineGeometry& g, int64_t bytes) const {
    return g.Plot.Bottom() + 1 - static_cast<double>(bytes) * (g.Plot.Height - 1) / static_cast<double>(MostBytes);
  }
};

TTimelineColumns TimelineColumns(const TTimeline& timeline, const TTimelineGeometry& g);

// The marker (point, label) whose column is nearest to column X, within
// kMarkerReach pixels of it, as hovering names it; null for none.
constexpr int kMarkerReach = 3;
const std::pair<int64_t, std::string>* MarkerNear(const TTimelineGeometry& g,
                                                  const std::vector<std::pair<int64_t, std::string>>& markers, int x);

}  // namespace kelvane
