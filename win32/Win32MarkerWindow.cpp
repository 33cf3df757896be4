// The marker list's tool window.
#include "win32/Win32MarkerWindow.h"

#include <algorithm>

#include "win32/WinText.h"
#include "win32/WindowClass.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneMarkers";
constexpr int kListId = 250;
constexpr int kButtonBase = 251;  // + the command
constexpr int kNoticeId = 255;
constexpr int kWidth = 200;
constexpr int kHeight = 260;
constexpr int kButtonHeight = 24;
constexpr int kNoticeHeight = 48;
constexpr int kPad = 2;
constexpr std::array<const wchar_t*, 4> kButtonTexts{L"追加", L"名前変更", L"削除", L"移動"};

void RegisterClassOnce() { RegisterWindowClass({kClassName, DefWindowProcW, IDC_ARROW, ButtonFaceBrush()}); }

HWND Child(HWND parent, const wchar_t* klass, const wchar_t* text, DWORD style, int id, HFONT font,
           DWORD exStyle = 0) {
  const HWND w = ::CreateWindowExW(exStyle, klass, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                   nullptr);
  ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return w;
}

}  // namespace

Win32MarkerWindow::Win32MarkerWindow(HWND owner, HFONT font) : owner_(owner) {
  RegisterClassOnce();
  hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"マーカー",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, 0, 0, kWidth,
                            kHeight, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  list_ = Child(hwnd_, L"LISTBOX", L"",
                WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT, kListId, font,
                WS_EX_CLIENTEDGE);
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i] = Child(hwnd_, L"BUTTON", kButtonTexts[i], BS_PUSHBUTTON | WS_TABSTOP,
                        kButtonBase + static_cast<int>(i), font);
  notice_ = Child(hwnd_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, kNoticeId, font);
  ::ShowWindow(notice_, SW_HIDE);
  Layout();
}

Win32MarkerWindow::~Win32MarkerWindow() {
  if (::IsWindow(hwnd_)) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void Win32MarkerWindow::Show(bool shown) {
  if (shown && !placed_) {
    RECT frame{};
    ::GetWindowRect(owner_, &frame);
    ::SetWindowPos(hwnd_, nullptr, frame.right, frame.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    placed_ = true;
  }
  ::ShowWindow(hwnd_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void Win32MarkerWindow::SetRows(const std::vector<std::string>& rows) {
  const int selected = Selected();
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const std::string& row : rows)
    ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(row).c_str()));
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  Select(std::min(selected, static_cast<int>(rows.size()) - 1));
  ::InvalidateRect(list_, nullptr, TRUE);
}

int Win32MarkerWindow::Selected() const {
  const LRESULT i = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void Win32MarkerWindow::Select(int row) { ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0); }

void Win32MarkerWindow::SetNotice(const std::string& text) {
  ::SetWindowTextW(notice_, ToWide(text).c_str());
  noticeShown_ = !text.empty();
  ::ShowWindow(notice_, noticeShown_ ? SW_SHOW : SW_HIDE);
  Layout();
}

LRESULT CALLBACK Win32MarkerWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32MarkerWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT Win32MarkerWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_CLOSE:
      Show(false);
      if (OnClosed) OnClosed();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= kButtonBase && id < kButtonBase + 4) Report(static_cast<TMarkerCommand>(id - kButtonBase));
      if (id == kListId && HIWORD(wParam) == LBN_DBLCLK) Report(TMarkerCommand::goTo);
      return 0;
    }
    case WM_VKEYTOITEM:  // the list's keys: Enter goes there, the rest as the list does them
      if (LOWORD(wParam) == VK_RETURN) {
        Report(TMarkerCommand::goTo);
        return -2;
      }
      return -1;
    default: break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void Win32MarkerWindow::Report(TMarkerCommand c) {
  if (OnCommand) OnCommand(c);
}

// The list over everything, the buttons two by two under it (the window
// stays narrow), the notice at the bottom while it has something to say.
void Win32MarkerWindow::Layout() {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const int width = client.right - 2 * kPad;
  const int notice = noticeShown_ ? kNoticeHeight : 0;
  const int buttonsTop = client.bottom - notice - 2 * kButtonHeight - kPad;
  ::MoveWindow(list_, kPad, kPad, width, std::max(0, buttonsTop - 2 * kPad), TRUE);
  const int half = width / 2;
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const int column = static_cast<int>(i % 2);
    const int row = static_cast<int>(i / 2);
    ::MoveWindow(buttons_[i], kPad + column * half, buttonsTop + row * kButtonHeight, half, kButtonHeight, TRUE);
  }
  ::MoveWindow(notice_, kPad, client.bottom - notice, width, notice, TRUE);
}

}  // namespace kelvane
