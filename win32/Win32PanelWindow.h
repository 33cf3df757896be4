// A child window of the explorer's panels whose messages go to the object
// that made it: T::Handle(msg, wParam, lParam) from its creation on.
#pragma once

#include "win32/WinApi.h"

namespace kelvane {

template <class T>
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<T*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(msg, wParam, lParam) : ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Registers the class once (arrow cursor, no background: each panel paints
// every pixel) and makes a hidden child of Parent.
HWND CreatePanelWindow(const wchar_t* className, WNDPROC proc, HWND parent, int id, DWORD style, void* self);

}  // namespace kelvane
