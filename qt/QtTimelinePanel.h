// QtTimelinePanel: the history as a strip, point 0 at the left and T at the
// right: the text's length and a dot per record at the line it edited, the
// unreached part shaded, and over that the current point, the markers along
// the top and the search ranges along the bottom. A click jumps and a drag
// scrubs as the history bar's thumb does; the panel reports the points and
// leaves the stepping to whoever owns the form.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "history/HistorySearch.h"
#include "history/Timeline.h"
#include "qt/QtTimelineLayer.h"

namespace kelvane {

class QtTimelinePanel : public QWidget {
 public:
  explicit QtTimelinePanel(QWidget* parent = nullptr);

  // Null: nothing to draw. The caller keeps it alive until it is replaced,
  // and passes it again once it was rebuilt.
  void SetTimeline(const TTimeline* timeline);
  void SetPoint(int64_t point);
  int64_t Point() const { return point_; }
  void SetMarkers(std::vector<std::pair<int64_t, std::string>> markers);  // point, UTF-8 label
  void SetRanges(std::vector<TPointRange> ranges);

  int64_t PointAt(int x) const { return Geometry().PointAt(x); }  // clamped to 0 … T
  int XOf(int64_t point) const { return Geometry().XOf(point); }
  QString ToolTipAt(QPoint pos) const;
  // How often the static layer was drawn: once per timeline, size and ratio.
  int LayerBuilds() const { return layerBuilds_; }

  QSize sizeHint() const override { return {480, 80}; }
  QSize minimumSizeHint() const override { return {64, 40}; }

  // While the button is held: on the press, then whenever the point under
  // the mouse changes. Then once when it is let go, with the final point.
  // A key calls both at once.
  std::function<void(int64_t point)> OnTrack;
  std::function<void(int64_t point)> OnRelease;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TTimelineGeometry Geometry() const;
  int64_t Total() const { return timeline_ ? timeline_->Records() : 0; }
  const QImage& Layer();
  void Track(int64_t point);
  void Release(int64_t point);
  void UpdateColumn(int64_t point);
  void PaintRanges(QPainter& p, const TTimelineGeometry& g) const;
  void PaintMarkers(QPainter& p, const TTimelineGeometry& g) const;
  void PaintPoint(QPainter& p, const TTimelineGeometry& g) const;
  const std::pair<int64_t, std::string>* MarkerNear(int x) const;

  const TTimeline* timeline_ = nullptr;
  int64_t point_ = 0;
  std::vector<std::pair<int64_t, std::string>> markers_;
  std::vector<TPointRange> ranges_;
  QImage layer_;
  bool layerStale_ = true;
  int layerBuilds_ = 0;
  bool dragging_ = false;
  int64_t tracked_ = -1;  // the last point reported while dragging
};

}  // namespace kelvane
