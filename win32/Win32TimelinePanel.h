// The timeline strip on Win32: the shared columns drawn once into a cached
// DIB (the text's length, a dot per record, the unreached part hatched), and
// over it at each paint the search ranges, the markers and the current
// point. A click jumps and a drag scrubs as the history bar's thumb does;
// the panel reports the points and leaves the stepping to its owner. Resting
// the mouse names the point, the record that led there and a marker near it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "history/HistorySearch.h"
#include "history/Timeline.h"
#include "history/TimelineColumns.h"
#include "win32/GdiCanvas.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32TimelinePanel {
 public:
  Win32TimelinePanel(HWND parent, int id);
  ~Win32TimelinePanel();
  Win32TimelinePanel(const Win32TimelinePanel&) = delete;
  Win32TimelinePanel& operator=(const Win32TimelinePanel&) = delete;

  HWND Handle() const { return hwnd_; }
  // Null: nothing to draw. Passed again once the timeline was rebuilt.
  void SetTimeline(const TTimeline* timeline);
  void SetPoint(int64_t point);
  int64_t Point() const { return point_; }
  void SetMarkers(std::vector<std::pair<int64_t, std::string>> markers);  // point, UTF-8 label
  void SetRanges(std::vector<TPointRange> ranges);

  TTimelineGeometry Geometry() const;
  HWND ToolTip() const { return tip_; }
  // How often the static layer was drawn: once per timeline and size.
  int LayerBuilds() const { return layerBuilds_; }

  // While the button is held: on the press, then whenever the point under
  // the mouse changes; then once when it is let go. A key calls both.
  std::function<void(int64_t point)> OnTrack;
  std::function<void(int64_t point)> OnRelease;

 private:
  template <class T>
  friend LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  int64_t Total() const { return timeline_ ? timeline_->Records() : 0; }
  void BuildLayer(const TTimelineGeometry& g);
  void Paint(HDC dc);
  void PaintOverlays(HDC dc, const TTimelineGeometry& g) const;
  void Track(int64_t point);
  void Release(int64_t point);
  void OnKey(WPARAM key);
  void BuildToolTip();
  LRESULT OnNotify(NMHDR& n);
  const std::pair<int64_t, std::string>* MarkerNear(int x) const;

  HWND hwnd_ = nullptr;
  const TTimeline* timeline_ = nullptr;
  int64_t point_ = 0;
  std::vector<std::pair<int64_t, std::string>> markers_;
  std::vector<TPointRange> ranges_;
  GdiBitmap layer_;
  GdiBitmap frame_;  // the layer with the overlays, copied to the screen in one go
  bool layerStale_ = true;
  int layerBuilds_ = 0;
  bool dragging_ = false;
  int64_t tracked_ = -1;  // the last point reported while dragging
  HWND tip_ = nullptr;
  int tipX_ = 0;          // where the mouse was when the tip was asked for
  int64_t tipPoint_ = -1;  // the point the tip shows
  std::wstring tipText_;
};

}  // namespace kelvane
