// The notice and legend strip.
#include "win32/Win32NoticeBar.h"

#include <algorithm>

#include "history/PanelColors.h"
#include "history/PanelText.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32PanelWindow.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneNoticeBar";
constexpr COLORREF kNoticeInk = RGB(0x8A, 0x4B, 0x00);
constexpr COLORREF kFrameInk = RGB(128, 128, 128);
constexpr int kPad = 4;
constexpr int kGradientWidth = 96;
constexpr int kGradientSteps = 48;

int Width(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void DrawLabel(HDC dc, const std::wstring& text, int& x, int height) {
  RECT r{x, 0, x + Width(dc, text), height};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  x = r.right + kPad;
}

// Old to new in even steps: no blending the system may lack.
void DrawGradient(HDC dc, int& x, int height) {
  for (int i = 0; i < kGradientSteps; ++i) {
    const RECT step{x + i * kGradientWidth / kGradientSteps, 3, x + (i + 1) * kGradientWidth / kGradientSteps,
                    height - 3};
    ::SetBkColor(dc, MixColor(kTintOldest, kTintNewest, static_cast<double>(i) / (kGradientSteps - 1)));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &step, nullptr, 0, nullptr);
  }
  const RECT frame{x, 3, x + kGradientWidth, height - 3};
  const TGdiPtr<HBRUSH> ink(::CreateSolidBrush(kFrameInk));
  ::FrameRect(dc, &frame, ink.get());
  x += kGradientWidth + kPad;
}

}  // namespace

Win32NoticeBar::Win32NoticeBar(HWND parent, int id, HFONT font) : font_(font) {
  CreatePanelWindow(kClassName, &PanelProc<Win32NoticeBar>, parent, id, 0, this);
  const HDC dc = ::GetDC(hwnd_);
  const HGDIOBJ old = ::SelectObject(dc, font_);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  lineHeight_ = tm.tmHeight;
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
}

Win32NoticeBar::~Win32NoticeBar() {
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void Win32NoticeBar::SetNotice(const std::string& text) {
  notice_ = text;
  closed_ = false;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32NoticeBar::SetLegend(bool shown) {
  legend_ = shown;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

// Two lines: a notice names both ends of the reach at most.
int Win32NoticeBar::Height() const { return (NoticeShown() ? 2 : 1) * lineHeight_ + 2 * kPad; }

int Win32NoticeBar::LegendLeft(const RECT& client) const {
  if (!legend_) return client.right;
  const HDC dc = ::GetDC(hwnd_);
  const HGDIOBJ old = ::SelectObject(dc, font_);
  const int width = Width(dc, ToWide(kTintOlder)) + Width(dc, ToWide(kTintNewer)) + kGradientWidth + 4 * kPad;
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
  return std::max(0, static_cast<int>(client.right) - width);
}

RECT Win32NoticeBar::CloseBox(const RECT& client) const {
  const int right = LegendLeft(client) - kPad;
  return {right - lineHeight_, kPad, right, kPad + lineHeight_};
}

void Win32NoticeBar::Paint(HDC dc, const RECT& client) const {
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  const HGDIOBJ old = ::SelectObject(dc, font_);
  ::SetBkMode(dc, TRANSPARENT);
  if (NoticeShown()) {
    const RECT box = CloseBox(client);
    RECT text{kPad, kPad, box.left - kPad, client.bottom - kPad};
    const std::wstring notice = ToWide(notice_);
    ::SetTextColor(dc, kNoticeInk);
    ::DrawTextW(dc, notice.c_str(), static_cast<int>(notice.size()), &text, DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    RECT close = box;
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextW(dc, L"×", 1, &close, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  if (legend_) {
    int x = LegendLeft(client) + kPad;
    const int height = std::min(static_cast<int>(client.bottom), lineHeight_ + 2 * kPad);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    DrawLabel(dc, ToWide(kTintOlder), x, height);
    DrawGradient(dc, x, height);
    ::SetBkMode(dc, TRANSPARENT);
    DrawLabel(dc, ToWide(kTintNewer), x, height);
  }
  ::SelectObject(dc, old);
}

LRESULT Win32NoticeBar::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      const HDC dc = ::BeginPaint(hwnd_, &ps);
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      Paint(dc, client);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: ::InvalidateRect(hwnd_, nullptr, FALSE); return 0;
    case WM_LBUTTONUP: {
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT box = CloseBox(client);
      if (NoticeShown() && ::PtInRect(&box, at)) {
        closed_ = true;
        if (OnChanged) OnChanged();
      }
      return 0;
    }
    default: break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace kelvane
