// The marker list: a small tool window the player window owns, with the
// markers in a list box, four buttons under it (add, rename, remove, go
// there) and the notice of lines the side file had that could not be read.
// It shows what it is given and reports what is asked; the explorer does
// the rest.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "win32/WinApi.h"

namespace kelvane {

enum class TMarkerCommand : uint8_t { add, rename, remove, goTo };

class Win32MarkerWindow {
 public:
  Win32MarkerWindow(HWND owner, HFONT font);
  ~Win32MarkerWindow();
  Win32MarkerWindow(const Win32MarkerWindow&) = delete;
  Win32MarkerWindow& operator=(const Win32MarkerWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND List() const { return list_; }
  HWND Button(TMarkerCommand c) const { return buttons_[static_cast<size_t>(c)]; }
  HWND Notice() const { return notice_; }
  bool NoticeShown() const { return noticeShown_; }

  // Beside the owner's right edge the first time.
  void Show(bool shown);
  bool Visible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
  // The rows (UTF-8), the selection kept where it still fits.
  void SetRows(const std::vector<std::string>& rows);
  int Selected() const;  // -1: none
  void Select(int row);
  void SetNotice(const std::string& text);

  // A button, a double-click or Enter in the list (goTo).
  std::function<void(TMarkerCommand)> OnCommand;
  // The window's close box: it hides.
  std::function<void()> OnClosed;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Layout();
  void Report(TMarkerCommand c);

  HWND owner_;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  std::array<HWND, 4> buttons_{};
  HWND notice_ = nullptr;
  bool noticeShown_ = false;
  bool placed_ = false;
};

}  // namespace kelvane
