// The timeline's columns.
#include "history/TimelineColumns.h"

#include <algorithm>
#include <cstdlib>

namespace kelvane {

namespace {

constexpr int kInset = 4;  // room for the point's line and a marker's flag at either end
constexpr int kFlagBand = 10;
constexpr int kRangeBand = 7;

void GatherBytes(const TTimeline& t, const TTimelineGeometry& g, TTimelineColumns& out) {
  out.Bytes.assign(static_cast<size_t>(g.Right - g.Left + 1), TColumnBytes{});
  for (int64_t p = t.First(); p <= t.Last(); ++p) {
    TColumnBytes& c = out.Bytes[static_cast<size_t>(g.XOf(p) - g.Left)];
    const int64_t bytes = t.Bytes(p);
    c.Min = std::min(c.Min, bytes);
    c.Max = std::max(c.Max, bytes);
    out.MostBytes = std::max(out.MostBytes, bytes);
  }
}

int32_t MostLines(const TTimeline& t) {
  int32_t most = 1;
  for (int64_t p = t.First(); p <= t.Last(); ++p) most = std::max(most, t.LineCount(p));
  return most;
}

void GatherDots(const TTimeline& t, const TTimelineGeometry& g, TTimelineColumns& out) {
  const int rows = g.Plot.Height;
  if (rows <= 0 || t.Records() == 0) return;
  out.Rows = rows;
  const int64_t lastLine = MostLines(t) - 1;
  out.Dots.assign(static_cast<size_t>(g.Right - g.Left + 1) * static_cast<size_t>(rows), 0);
  for (int64_t k = 0; k < t.Records(); ++k) {
    const TTimelineEdit e = t.Edit(k);
    const int64_t line = std::clamp<int64_t>(e.Pos.Y, 0, lastLine);
    const int64_t row = lastLine > 0 ? line * (rows - 1) / lastLine : rows / 2;
    out.Dots[static_cast<size_t>(g.XOf(k + 1) - g.Left) * rows + static_cast<size_t>(row)] =
        static_cast<uint8_t>(static_cast<int>(e.Kind) + 1);
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

TTimelineGeometry TimelineGeometry(int width, int height, int64_t total) {
  TTimelineGeometry g;
  g.Total = std::max<int64_t>(total, 0);
  g.Width = width;
  g.Height = height;
  g.Left = std::min(kInset, std::max(0, (width - 1) / 2));
  g.Right = std::max(g.Left, width - 1 - kInset);
  g.Flags = {0, kFlagBand};
  g.Ranges = {height - kRangeBand, kRangeBand};
  g.Plot = {kFlagBand, std::max(0, height - kFlagBand - kRangeBand)};
  return g;
}

TTimelineColumns TimelineColumns(const TTimeline& t, const TTimelineGeometry& g) {
  TTimelineColumns out;
  GatherBytes(t, g, out);
  GatherDots(t, g, out);
  out.ShadeBefore = t.First() > 0 ? g.XOf(t.First()) : 0;
  out.ShadeFrom = t.Last() < t.Records() ? g.XOf(t.Last()) + 1 : g.Width;
  return out;
}

const std::pair<int64_t, std::string>* MarkerNear(const TTimelineGeometry& g,
                                                  const std::vector<std::pair<int64_t, std::string>>& markers, int x) {
  const std::pair<int64_t, std::string>* nearest = nullptr;
  int distance = kMarkerReach + 1;
  for (const auto& marker : markers) {
    const int d = std::abs(g.XOf(marker.first) - x);
    if (d < distance) {
      distance = d;
      nearest = &marker;
    }
  }
  return nearest;
}

}  // namespace kelvane
