// The strip along the bottom of the Win32 window that is there only while it
// has something to say: the check's notice of a history that cannot be walked
// to its ends (with a box to close it), and the provenance tint's legend.
#pragma once

#include <functional>
#include <string>

#include "win32/WinApi.h"

namespace kelvane {

class Win32NoticeBar {
 public:
  Win32NoticeBar(HWND parent, int id, HFONT font);
  ~Win32NoticeBar();
  Win32NoticeBar(const Win32NoticeBar&) = delete;
  Win32NoticeBar& operator=(const Win32NoticeBar&) = delete;

  HWND Handle() const { return hwnd_; }
  // UTF-8; empty: no notice.
  void SetNotice(const std::string& text);
  const std::string& Notice() const { return notice_; }
  bool NoticeShown() const { return !notice_.empty() && !closed_; }
  void SetLegend(bool shown);
  bool LegendShown() const { return legend_; }
  bool Wanted() const { return NoticeShown() || legend_; }
  int Height() const;

  // The notice was closed: the window lays its panels out anew.
  std::function<void()> OnChanged;

 private:
  template <class T>
  friend LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc, const RECT& client) const;
  int LegendLeft(const RECT& client) const;
  RECT CloseBox(const RECT& client) const;

  HWND hwnd_ = nullptr;
  HFONT font_;
  int lineHeight_ = 16;
  std::string notice_;
  bool closed_ = false;
  bool legend_ = false;
};

}  // namespace kelvane
