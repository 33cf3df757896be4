// Who typed it when, over the Win32 editor window: each character's
// background tinted by the age of the record that typed it (through the
// editor's own line tint), the record named in a tool tip when the mouse
// rests on a character, and Ctrl+click going to the point just after it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "history/HistoryAnalysis.h"
#include "history/ProvenanceLookup.h"
#include "win32/Win32EditWindow.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32ProvenanceTint {
 public:
  // Point tells where the player's history stands now.
  Win32ProvenanceTint(Win32EditWindow& window, THistoryAnalysis& analysis, std::function<int64_t()> point);
  ~Win32ProvenanceTint();
  Win32ProvenanceTint(const Win32ProvenanceTint&) = delete;
  Win32ProvenanceTint& operator=(const Win32ProvenanceTint&) = delete;

  void SetOn(bool on);
  bool On() const { return on_; }
  TProvenanceLookup& Lookup() { return lookup_; }
  HWND ToolTip() const { return tip_; }
  // What the tool tip says over a client point of the editor; empty for none.
  std::wstring TipAt(int x, int y);

  std::function<void(int64_t point)> OnJump;

 private:
  static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  bool Filter(UINT msg, WPARAM wParam, LPARAM lParam);
  void ShowTip(int x, int y);
  void HideTip();

  Win32EditWindow& window_;
  THistoryAnalysis& analysis_;
  TProvenanceLookup lookup_;
  bool on_ = false;
  HWND tip_ = nullptr;
  std::wstring tipText_;
  bool tracking_ = false;  // hover and leave are asked for
};

}  // namespace kelvane
