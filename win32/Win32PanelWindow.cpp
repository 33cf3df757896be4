// The panels' child windows.
#include "win32/Win32PanelWindow.h"

namespace kelvane {

HWND CreatePanelWindow(const wchar_t* className, WNDPROC proc, HWND parent, int id, DWORD style, void* self) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    ::RegisterClassExW(&wc);
  }
  return ::CreateWindowExW(0, className, L"", WS_CHILD | WS_CLIPCHILDREN | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), self);
}

}  // namespace kelvane
