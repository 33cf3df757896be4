// QtExplorer: the history explorer's face in the player window, beside the
// seed window's own controls: its actions and keys, the playback-pace button
// and the explorer menu button at the end of the tool bar, the markers dock,
// the go-to and label dialogs and the shortcut overlay. The logic is
// THistoryExplorer's; this binds it to Qt.
#pragma once

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QObject>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/ExplorerKeys.h"
#include "player/HistoryExplorer.h"

namespace kelvane {

class QtPlayerWindow;
class QtHelpOverlay;

class QtExplorer : public QObject {
 public:
  QtExplorer(QtPlayerWindow& window, QToolBar& tools);
  ~QtExplorer() override;
  QtExplorer(const QtExplorer&) = delete;
  QtExplorer& operator=(const QtExplorer&) = delete;

  THistoryExplorer& Logic() { return logic_; }
  QAction& Action(TExplorerAction a) { return *actions_[static_cast<size_t>(a)]; }
  QToolButton& PaceButton() { return *paceButton_; }
  QToolButton& MenuButton() { return *menuButton_; }
  QDockWidget& MarkerDock() { return *dock_; }
  QListWidget& MarkerList() { return *list_; }
  QLabel& MarkerNotice() { return *notice_; }
  QtHelpOverlay& Help() { return *help_; }

  // The pace picked as from the pace button's menu.
  void ChoosePace(TPlaybackPace pace);
  // Runs the action states, the pace's tool tip and the markers dock as the
  // history now stands; the window calls it when idle.
  void UpdateActions();

  // More of the window's actions in the explorer's menu and the key list.
  void AddActions(const std::vector<QAction*>& actions);

  // The dialogs; tests replace them. AskPoint gets the current point and the
  // history's size, AskLabel a title and the label to start from.
  std::function<std::optional<int64_t>(int32_t point, int32_t total)> AskPoint;
  std::function<std::optional<std::string>(const std::string& title, const std::string& initial)> AskLabel;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildActions();
  void BuildToolButtons(QToolBar& tools);
  void BuildDock();
  void Run(TExplorerAction a);
  void GoToAsked();
  void AddMarkerAsked();
  void RenameSelected();
  void RemoveSelected();
  void GoToSelected();
  void RestoreAsked();
  void MarkersChanged(bool written);
  void RefreshMarkerList();
  std::string HelpText() const;

  QtPlayerWindow& window_;
  THistoryExplorer logic_;
  std::array<QAction*, kExplorerActionCount> actions_{};
  std::vector<QAction*> moreActions_;
  std::vector<QAction*> intervalActions_;
  std::vector<QAction*> recordActions_;
  QToolButton* paceButton_ = nullptr;
  QToolButton* menuButton_ = nullptr;
  QDockWidget* dock_ = nullptr;
  QListWidget* list_ = nullptr;
  QLabel* notice_ = nullptr;
  QtHelpOverlay* help_ = nullptr;
  std::vector<TMarker> shownMarkers_;  // what the list shows, to redraw it only on change
  int32_t shownTotal_ = -1;
};

// The shortcut list over the window: shown with F1 (or "?" where it types
// nothing), gone at the next key or click.
class QtHelpOverlay : public QWidget {
 public:
  explicit QtHelpOverlay(QWidget& window);
  void Toggle(const QString& html);
  QLabel& Text() { return *text_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  QWidget& window_;
  QLabel* text_ = nullptr;
};

}  // namespace kelvane
