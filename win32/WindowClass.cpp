// Registering the program's window classes.
#include "win32/WindowClass.h"

namespace kelvane {

void RegisterWindowClass(const TWindowClass& c) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(instance, c.Name, &wc)) return;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  wc.style = c.Style;
  wc.lpfnWndProc = c.Proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, c.Cursor);
  wc.hbrBackground = c.Background;
  wc.lpszClassName = c.Name;
  ::RegisterClassExW(&wc);
}

}  // namespace kelvane
