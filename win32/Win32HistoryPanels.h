// Win32HistoryPanels: the explorer's views of the whole history in the Win32
// window — the history list with its search and the diff pane from a marked
// point on the right, the timeline along the bottom, the provenance tint over
// the editor — and the notice of a history that cannot be walked to its ends.
// They share one analysis of the player's editor, on replay editors of their
// own, and follow the player when the window is idle: a closed panel costs
// nothing, and the diff waits for the hand to rest while the timeline is
// being dragged. Commands 300 … 399 are theirs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/HistoryAnalysis.h"
#include "history/HistorySearch.h"
#include "history/PanelFollower.h"
#include "win32/GdiCanvas.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32PlayerWindow;
class Win32HistoryList;
class Win32TimelinePanel;
class Win32DiffPane;
class Win32ProvenanceTint;
class Win32NoticeBar;

enum TPanelCommand : int {
  kPanelHistoryList = 300,
  kPanelFindInHistory,
  kPanelTimeline,
  kPanelDiff,
  kPanelMarkDiffFrom,
  kPanelProvenance,
  kPanelCommandLast = 399,
};

enum class TPanelId : uint8_t { history, timeline, diff };

class Win32HistoryPanels {
 public:
  explicit Win32HistoryPanels(Win32PlayerWindow& window);
  ~Win32HistoryPanels();
  Win32HistoryPanels(const Win32HistoryPanels&) = delete;
  Win32HistoryPanels& operator=(const Win32HistoryPanels&) = delete;

  static bool IsCommand(int id) { return id >= kPanelHistoryList && id <= kPanelCommandLast; }
  // Ctrl letters the editor does not read (it reads A, C, R, V, X and Z) and
  // the seed window does not hold (O, S, Z, R).
  static std::vector<ACCEL> Accelerators();
  void OnCommand(int id);
  // Places the panels that are open in Area of the window's client area and
  // gives back what is left for the editor.
  RECT Layout(const RECT& area);

  void Show(TPanelId p, bool shown);
  bool Shown(TPanelId p) const { return shown_[static_cast<size_t>(p)]; }
  // Point A of the diff; none: the pane asks for one.
  void SetDiffFrom(std::optional<int64_t> point);
  std::optional<int64_t> DiffFrom() const { return follower_.DiffFrom(); }
  void SetTint(bool on);
  const std::vector<TPointRange>& SearchRanges() const { return ranges_; }

  // Brings every open view up to the history as it stands; the window calls
  // it when idle. Cheap when nothing moved.
  void Update();
  // Runs a diff waiting for the hand to rest at once (the screenshot, tests).
  void FlushDiff();

  // The explorer's markers (point, UTF-8 label), where a window has them.
  std::function<std::vector<std::pair<int64_t, std::string>>()> Markers;

  Win32HistoryList& List() { return *list_; }
  Win32TimelinePanel& Timeline() { return *timeline_; }
  Win32DiffPane& Diff() { return *diff_; }
  Win32ProvenanceTint& Tint() { return *tint_; }
  Win32NoticeBar& Notice() { return *notice_; }
  THistoryAnalysis& Analysis() { return analysis_; }

 private:
  int64_t Point() const;
  bool AnyViewOpen() const;
  void Relayout();
  void Loaded();
  void Search(const std::string& text);
  void JumpTo(int64_t point);
  void Track(int64_t point);
  void Release(int64_t point);
  void UpdateDiff();
  void UpdateMarkers();

  Win32PlayerWindow& window_;
  THistoryAnalysis analysis_;
  TPanelFollower follower_;
  TGdiPtr<HFONT> font_;
  std::unique_ptr<Win32HistoryList> list_;
  std::unique_ptr<Win32TimelinePanel> timeline_;
  std::unique_ptr<Win32DiffPane> diff_;
  std::unique_ptr<Win32ProvenanceTint> tint_;
  std::unique_ptr<Win32NoticeBar> notice_;
  std::function<void()> formLoaded_;  // the hook this one goes in front of
  std::array<bool, 3> shown_{};

  std::string search_;  // UTF-8, as typed
  std::vector<TPointRange> ranges_;
  int64_t diffWaitsFor_ = -1;  // the point the diff's rest began at
  TFontSpec diffFont_;
};

}  // namespace kelvane
