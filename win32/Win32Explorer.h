// Win32Explorer: the history explorer's face in the Win32 player window, as
// the Qt window has it: its actions on the window's accelerators and in a
// menu, the pace button and the explorer menu button after the status label,
// the marker list's tool window, the go-to and label dialogs, the key list
// and the restore question. The logic is THistoryExplorer's; this binds it
// to Win32. Its commands are 200 … 299.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "player/ExplorerKeys.h"
#include "player/HistoryExplorer.h"
#include "win32/Win32KeyList.h"
#include "win32/Win32MarkerWindow.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32PlayerWindow;

class Win32Explorer {
 public:
  static constexpr int kFirstCommand = 200;
  static constexpr int kLastCommand = 299;
  static constexpr int kPaceButton = 220;
  static constexpr int kMenuButton = 221;
  static constexpr int kIntervalBase = 230;  // + the index in kPaceIntervals
  static constexpr int kRecordsBase = 240;   // + the index in kPaceRecords
  static int CommandOf(TExplorerAction a) { return kFirstCommand + static_cast<int>(a); }
  // The actions' keys, for the window's accelerator table.
  static std::vector<ACCEL> Accelerators();

  // Adds its two buttons to the end of the window's tool bar.
  explicit Win32Explorer(Win32PlayerWindow& window);
  ~Win32Explorer();
  Win32Explorer(const Win32Explorer&) = delete;
  Win32Explorer& operator=(const Win32Explorer&) = delete;

  THistoryExplorer& Logic() { return logic_; }
  Win32MarkerWindow& MarkerWindow() { return *markers_; }
  HMENU PaceMenu() const { return paceMenu_; }
  HMENU Menu() const { return menu_; }
  bool Enabled(TExplorerAction a) const { return enabled_[static_cast<size_t>(a)]; }
  bool Checked(TExplorerAction a) const { return checked_[static_cast<size_t>(a)]; }

  // A command of kFirstCommand … kLastCommand: an action, a button or a pace.
  void OnCommand(int id);
  // The pace picked as from the pace button's menu.
  void ChoosePace(TPlaybackPace pace);
  // Runs the action states, the pace's tool tip and the marker list as the
  // history now stands; the window calls it when idle.
  void UpdateActions();
  // Every key of the window (its accelerators) and of the editor.
  TKeyList Keys() const;

  // The dialogs and the key list; tests replace them. AskPoint gets the
  // current point and the history's size, AskLabel a title and the label to
  // start from.
  std::function<std::optional<int64_t>(int32_t point, int32_t total)> AskPoint;
  std::function<std::optional<std::string>(const std::string& title, const std::string& initial)> AskLabel;
  std::function<void(const TKeyList& keys)> ShowKeys;

 private:
  void AddToolButtons();
  void BuildMenus();
  void CheckPanels();
  void PopUp(int button, HMENU menu);
  void Run(TExplorerAction a);
  void Enable(TExplorerAction a, bool on);
  void GoToAsked();
  void AddMarkerAsked();
  void OnMarkerCommand(TMarkerCommand c);
  void RestoreAsked();
  void MarkersChanged(bool written);
  void RefreshMarkerList();
  void TakeNotices();
  void SetPaceTip();

  Win32PlayerWindow& window_;
  THistoryExplorer logic_;
  std::unique_ptr<Win32MarkerWindow> markers_;
  HMENU paceMenu_ = nullptr;
  HMENU menu_ = nullptr;
  std::array<bool, kExplorerActionCount> enabled_{};
  std::array<bool, kExplorerActionCount> checked_{};
  std::wstring paceTip_;  // the tool bar reads its buttons' strings from here
  std::vector<TMarker> shownMarkers_;  // what the list shows, to redraw it only on change
  int32_t shownTotal_ = -1;
};

}  // namespace kelvane
