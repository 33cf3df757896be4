// The panels' child windows.
#include "win32/Win32PanelWindow.h"

#include "win32/WindowClass.h"

namespace kelvane {

HWND CreatePanelWindow(const wchar_t* className, WNDPROC proc, HWND parent, int id, DWORD style, void* self) {
  RegisterWindowClass({className, proc, IDC_ARROW, nullptr, CS_DBLCLKS});
  return ::CreateWindowExW(0, className, L"", WS_CHILD | WS_CLIPCHILDREN | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), self);
}

}  // namespace kelvane
