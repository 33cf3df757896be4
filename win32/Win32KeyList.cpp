// The key list as a popup with a message loop of its own: while it is up no
// key reaches the window's accelerators, so the key that closes it is no
// command as well.
#include "win32/Win32KeyList.h"

#include <algorithm>

#include "win32/WinText.h"
#include "win32/WindowClass.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneKeyList";
constexpr COLORREF kPaper = 0x00F0FFFF;  // RGB(255, 255, 240)
constexpr int kMargin = 12;
constexpr int kGap = 12;   // between keys and what they do
constexpr int kSpace = 24; // between the two tables

struct TPopup {
  const TKeyList* List;
  HFONT Font;
  int Row;      // height of a line
  int Keys[2];  // width of each table's keys column
  int What[2];
};

void RegisterClassOnce() { RegisterWindowClass({kClassName}); }

int TextWidth(HDC dc, const std::string& text) {
  const std::wstring w = ToWide(text);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size);
  return size.cx;
}

const std::vector<TKeyRow>& Table(const TKeyList& list, int i) { return i == 0 ? list.Window : list.Editor; }

// Both tables' columns and the popup's size.
SIZE Measure(HDC dc, TPopup& p) {
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  p.Row = tm.tmHeight + 2;
  size_t rows = 0;
  for (int t = 0; t < 2; ++t) {
    p.Keys[t] = p.What[t] = 0;
    for (const TKeyRow& r : Table(*p.List, t)) {
      p.Keys[t] = std::max(p.Keys[t], TextWidth(dc, r.Keys));
      p.What[t] = std::max(p.What[t], TextWidth(dc, r.What));
    }
    rows = std::max(rows, Table(*p.List, t).size() + 1);  // and the table's title
  }
  const int width = p.Keys[0] + p.What[0] + p.Keys[1] + p.What[1] + 2 * kGap + kSpace + 2 * kMargin;
  return {width, static_cast<int>(rows) * p.Row + 2 * kMargin};
}

void Line(HDC dc, int x, int y, const std::string& text) {
  const std::wstring w = ToWide(text);
  ::TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

void Paint(HWND hwnd, const TPopup& p) {
  PAINTSTRUCT ps{};
  const HDC dc = ::BeginPaint(hwnd, &ps);
  RECT all{};
  ::GetClientRect(hwnd, &all);
  const HBRUSH paper = ::CreateSolidBrush(kPaper);
  ::FillRect(dc, &all, paper);
  ::DeleteObject(paper);
  ::FrameRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
  const HGDIOBJ old = ::SelectObject(dc, p.Font);
  ::SetBkMode(dc, TRANSPARENT);
  int x = kMargin;
  for (int t = 0; t < 2; ++t) {
    int y = kMargin;
    Line(dc, x, y, t == 0 ? "窓" : "エディタ");
    for (const TKeyRow& r : Table(*p.List, t)) {
      y += p.Row;
      Line(dc, x, y, r.Keys);
      Line(dc, x + p.Keys[t] + kGap, y, r.What);
    }
    x += p.Keys[t] + kGap + p.What[t] + kSpace;
  }
  ::SelectObject(dc, old);
  ::EndPaint(hwnd, &ps);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto* p = reinterpret_cast<const TPopup*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_PAINT && p) {
    Paint(hwnd, *p);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Centred on the owner, kept on its monitor's work area.
RECT Placement(HWND owner, SIZE size) {
  RECT frame{};
  ::GetWindowRect(owner, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& room = monitor.rcWork;
  const auto place = [](LONG centre, LONG extent, LONG low, LONG high) {
    return std::max(low, std::min(centre - extent / 2, high - extent));
  };
  const LONG left = place((frame.left + frame.right) / 2, size.cx, room.left, room.right);
  const LONG top = place((frame.top + frame.bottom) / 2, size.cy, room.top, room.bottom);
  return {left, top, left + size.cx, top + size.cy};
}

bool Closes(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return msg.wParam != VK_SHIFT && msg.wParam != VK_CONTROL && msg.wParam != VK_MENU && msg.wParam != VK_LWIN &&
             msg.wParam != VK_RWIN;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: return true;
    default: return false;
  }
}

}  // namespace

void ShowKeyList(HWND owner, HFONT font, const TKeyList& list) {
  RegisterClassOnce();
  TPopup p{&list, font, 0, {}, {}};
  SIZE size{};
  {
    const HDC dc = ::GetDC(owner);
    const HGDIOBJ old = ::SelectObject(dc, font);
    size = Measure(dc, p);
    ::SelectObject(dc, old);
    ::ReleaseDC(owner, dc);
  }
  const RECT at = Placement(owner, size);
  const HWND popup = ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, L"", WS_POPUP, at.left, at.top,
                                       size.cx, size.cy, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(popup, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&p));
  ::SetWindowLongPtrW(popup, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  ::ShowWindow(popup, SW_SHOWNOACTIVATE);
  ::UpdateWindow(popup);
  ::SetCapture(popup);  // a click anywhere comes here
  MSG msg{};
  while (::GetCapture() == popup) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop ends too
      break;
    }
    if (Closes(msg)) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (::GetCapture() == popup) ::ReleaseCapture();
  ::DestroyWindow(popup);
}

}  // namespace kelvane
