// Win32PlayerWindow: the player's main window on Windows, and the PlayerHost
// of its TFormKelvane: the tool bar (comctl32) with its images, tool tips and
// the status label, the history scroll bar, the editor window, the actions and
// their accelerators, the auto-play timer, message boxes, the common file
// dialogs and dropped files.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "player/UnitMain.h"
#include "win32/Win32Explorer.h"
#include "win32/Win32EditWindow.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32HistoryPanels;

class Win32PlayerWindow : public PlayerHost {
 public:
  // Client area Width × Height (the designed 457 × 295 by default); hidden until Show.
  explicit Win32PlayerWindow(int width = 457, int height = 295);
  ~Win32PlayerWindow() override;
  Win32PlayerWindow(const Win32PlayerWindow&) = delete;
  Win32PlayerWindow& operator=(const Win32PlayerWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND ToolBar() const { return tools_; }
  HWND StatusLabel() const { return label_; }
  HWND HistoryBar() const { return bar_; }
  HACCEL Accelerators() const { return accelerators_; }
  TFormKelvane& Form() { return *form_; }
  Win32EditWindow& EditWindow() { return *edit_; }
  Win32Explorer& Explorer() { return *explorer_; }
  HFONT UiFont() const { return font_; }
  // What a command of the window does, as its tool tip says ("" for none of its own).
  static std::string CommandText(int command);
  // The auto-play timer's interval, running or not.
  void SetTimerInterval(int ms);
  int TimerInterval() const { return interval_; }
  Win32HistoryPanels& Panels() { return *panels_; }
  void Show(int how);

  // Runs the message loop until the window is closed; the exit code.
  int Run();
  // Runs one handler as the window's messages do: exceptions become a message.
  void Guard(const std::function<void()>& body);
  // Handles what is queued now, and refreshes the actions as idle time does.
  void ProcessPending();
  // The window with everything in it, as the screen shows it, into a PNG.
  bool SaveScreenshot(const std::wstring& path);

  // Boxes and dialogs are shown unless Quiet is set (the screenshot mode):
  // messages then go to the debug output and questions answer Cancel.
  bool Quiet = false;
  // When set, messages and questions go here instead (tests answer them).
  std::function<void(const std::string& text)> MessageBoxHook;
  std::function<bool(const std::string& title, const std::string& text)> QuestionBoxHook;

  // PlayerHost.
  void SetCaption(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void SetHistoryMax(int max) override;
  int GetHistoryMax() const override;
  void SetHistoryPos(int pos) override;
  void SetHistoryEnabled(bool enabled) override { ::EnableWindow(bar_, enabled); }
  void SetActionEnabled(TPlayerAction action, bool enabled) override;
  void SetActionChecked(TPlayerAction action, bool checked) override;
  bool ActionChecked(TPlayerAction action) const override { return checked_[static_cast<size_t>(action)]; }
  void SetTimerEnabled(bool enabled) override;
  bool TimerEnabled() const override { return timer_; }
  void ShowMessage(const std::string& text) override;
  bool AskOkCancel(const std::string& title, const std::string& text) override;
  void SetDialogFolder(const std::string& folder) override { folder_ = folder; }
  std::optional<std::string> RunOpenDialog() override;
  std::optional<std::string> RunSaveDialog(const std::string& title, const std::string& fileName) override;
  bool FileExists(const std::string& path) const override;
  std::string ProgramFolder() const override;
  void AcceptDroppedFiles(bool accept) override { ::DragAcceptFiles(hwnd_, accept); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void BuildToolBar();
  void BuildAccelerators();
  void Layout();
  void FitStatusLabel();
  void OnCommand(int id);
  void OnHistoryScroll(WPARAM wParam);
  void OnDropFiles(HDROP drop);

  HWND hwnd_ = nullptr;
  HWND tools_ = nullptr;
  HWND label_ = nullptr;
  HWND bar_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT font_ = nullptr;
  HICON iconBig_ = nullptr;
  HICON iconSmall_ = nullptr;
  std::unique_ptr<Win32EditWindow> edit_;
  std::array<bool, kPlayerActionCount> enabled_{};
  std::array<bool, kPlayerActionCount> checked_{};
  bool timer_ = false;
  int interval_ = 100;
  std::string folder_;
  std::unique_ptr<TFormKelvane> form_;
  std::unique_ptr<Win32Explorer> explorer_;  // goes before the form
  std::unique_ptr<Win32HistoryPanels> panels_;
};

}  // namespace kelvane
