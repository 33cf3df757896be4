// QtHistoryPanels: the explorer's views of the whole history beside the seed
// window — the history list with its search, the timeline, the diff pane from
// a marked point, the provenance tint — and the notice of a history that
// cannot be walked to its ends. They share one analysis of the player's
// editor, on replay editors of its own, and follow the player when the window
// is idle: a panel that is closed costs nothing, and the diff waits for the
// hand to rest while the history is being dragged.
#pragma once

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QObject>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryAnalysis.h"
#include "history/HistorySearch.h"
#include "history/PanelFollower.h"
#include "player/ExplorerKeys.h"

namespace kelvane {

class QtPlayerWindow;
class QtHistoryList;
class QtTimelinePanel;
class QtDiffPane;
class QtProvenanceTint;

enum class TPanelAction : uint8_t { historyList, findInHistory, timeline, diffPane, markDiffFrom, provenance };

enum class TPanel : uint8_t { history, timeline, diff };

class QtHistoryPanels : public QObject {
 public:
  explicit QtHistoryPanels(QtPlayerWindow& window);
  ~QtHistoryPanels() override;
  QtHistoryPanels(const QtHistoryPanels&) = delete;
  QtHistoryPanels& operator=(const QtHistoryPanels&) = delete;

  QAction& Action(TPanelAction a) { return *actions_[static_cast<size_t>(a)]; }
  std::vector<QAction*> Actions() const { return {actions_.begin(), actions_.end()}; }
  QDockWidget& Dock(TPanel p) { return *docks_[static_cast<size_t>(p)]; }
  QtHistoryList& List() { return *list_; }
  QtTimelinePanel& Timeline() { return *timeline_; }
  QtDiffPane& Diff() { return *diff_; }
  QtProvenanceTint& Tint() { return *tint_; }
  QLabel& Notice() { return *notice_; }
  THistoryAnalysis& Analysis() { return analysis_; }

  void Show(TPanel p, bool shown);
  // Point A of the diff; none: the pane asks for one.
  void SetDiffFrom(std::optional<int64_t> point);
  std::optional<int64_t> DiffFrom() const { return follower_.DiffFrom(); }
  const std::vector<TPointRange>& SearchRanges() const { return ranges_; }

  // Brings every open view up to the history as it stands; the window calls
  // it when idle. Cheap when nothing moved.
  void Update();
  // Runs a diff waiting for the hand to rest at once (the screenshot, tests).
  void FlushDiff();

 private:
  void BuildActions();
  void BuildDocks();
  QDockWidget* AddDock(const char* title, const char* name, QWidget* body, Qt::DockWidgetArea area);
  void Run(TPanelAction a);
  void Loaded();
  void Search(const std::string& text);
  void JumpTo(int64_t point);
  void Track(int64_t point);
  void Release(int64_t point);
  void UpdateDiff();
  void UpdateMarkers();
  bool AnyViewOpen() const;

  QtPlayerWindow& window_;
  THistoryAnalysis analysis_;
  TPanelFollower follower_;
  std::array<QAction*, kPanelActionCount> actions_{};
  std::array<QDockWidget*, 3> docks_{};
  QtHistoryList* list_ = nullptr;
  QtTimelinePanel* timeline_ = nullptr;
  QtDiffPane* diff_ = nullptr;
  std::unique_ptr<QtProvenanceTint> tint_;
  QLabel* notice_ = nullptr;
  QToolButton* noticeClose_ = nullptr;
  std::function<void()> formLoaded_;  // the hook this one goes in front of

  std::string search_;  // UTF-8, as typed
  std::vector<TPointRange> ranges_;
  QTimer diffRest_;        // the diff waits for the drag to pause
};

}  // namespace kelvane
