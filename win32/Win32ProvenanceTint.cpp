// The provenance tint over the Win32 editor window.
#include "win32/Win32ProvenanceTint.h"

#include "history/PanelText.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kTipWidth = 480;  // long records wrap rather than cross the screen

}  // namespace

Win32ProvenanceTint::Win32ProvenanceTint(Win32EditWindow& window, THistoryAnalysis& analysis,
                                         std::function<int64_t()> point)
    : window_(window), analysis_(analysis), lookup_(analysis, window.Editor(), std::move(point)) {
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                           window_.Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
  tool.hwnd = window_.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(window_.Handle());
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
  ::SetWindowSubclass(window_.Handle(), &EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

Win32ProvenanceTint::~Win32ProvenanceTint() {
  ::RemoveWindowSubclass(window_.Handle(), &EditProc, kSubclassId);
  window_.Editor().SetLineTint({});
  if (tip_) ::DestroyWindow(tip_);
}

void Win32ProvenanceTint::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  window_.Editor().SetLineTint(
      on ? TLineTint([this](int32_t line, std::vector<TTintRun>& runs) { lookup_.Tint(line, runs); }) : TLineTint());
  if (!on) HideTip();
}

std::wstring Win32ProvenanceTint::TipAt(int x, int y) {
  const std::optional<int32_t> record = lookup_.RecordAtClient(x, y);
  return record ? ToWide(TintTip(analysis_.Timeline(), *record)) : std::wstring();
}

void Win32ProvenanceTint::ShowTip(int x, int y) {
  tipText_ = TipAt(x, y);
  if (tipText_.empty()) return HideTip();
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(window_.Handle());
  tool.lpszText = tipText_.data();
  ::SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  POINT at{x + 12, y + 18};  // below the pointer, clear of it
  ::ClientToScreen(window_.Handle(), &at);
  ::SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
  ::SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void Win32ProvenanceTint::HideTip() {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = window_.Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(window_.Handle());
  ::SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// True when the message is the tint's own and the editor must not see it.
bool Win32ProvenanceTint::Filter(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (msg) {
    case WM_MOUSEMOVE:
      HideTip();  // shown again once the mouse rests
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, window_.Handle(), HOVER_DEFAULT};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
      }
      return false;
    case WM_MOUSEHOVER:
      tracking_ = false;
      ShowTip(x, y);
      return true;
    case WM_MOUSELEAVE:
      tracking_ = false;
      HideTip();
      return true;
    case WM_LBUTTONDOWN: {
      // Ctrl+Alt is the editor's box selection.
      if (!(wParam & MK_CONTROL) || ::GetKeyState(VK_MENU) < 0) return false;
      const std::optional<int32_t> record = lookup_.RecordAtClient(x, y);
      if (record && *record >= 0 && OnJump) OnJump(int64_t{*record} + 1);
      return true;
    }
    default: return false;
  }
}

LRESULT CALLBACK Win32ProvenanceTint::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR self) {
  auto* tint = reinterpret_cast<Win32ProvenanceTint*>(self);
  if (tint->on_ && tint->Filter(msg, wParam, lParam)) return 0;
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace kelvane
