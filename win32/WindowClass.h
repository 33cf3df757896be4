// The program's window classes, each registered once, on first use.
#pragma once

#include "win32/WinApi.h"

namespace kelvane {

struct TWindowClass {
  const wchar_t* Name = nullptr;
  WNDPROC Proc = DefWindowProcW;  // the window's own procedure is set when it is made
  LPCWSTR Cursor = IDC_ARROW;
  HBRUSH Background = nullptr;  // none: the window paints every pixel
  UINT Style = 0;
};

// The system's brush of the dialog and button face, as a class background.
inline HBRUSH ButtonFaceBrush() { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)); }

// Registers the class unless it is registered already.
void RegisterWindowClass(const TWindowClass& c);

}  // namespace kelvane
