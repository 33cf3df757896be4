// Win32EditWindow: the editor control's window on Windows. It owns a
// TVeskEdit and hands it the window's messages as they are (the control's
// numbers are Windows' own), converting only what a Unicode window receives
// in UTF-16 (characters, input-method results, reconversion) to code page 932.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/VeskEdit.h"
#include "win32/GdiCanvas.h"
#include "win32/WinApi.h"

namespace kelvane {

class Win32EditWindow : public EditHost {
 public:
  // A child window of Parent with the given control id.
  Win32EditWindow(HWND parent, int id);
  ~Win32EditWindow() override;
  Win32EditWindow(const Win32EditWindow&) = delete;
  Win32EditWindow& operator=(const Win32EditWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  TVeskEdit& Editor() { return *editor_; }
  // The window surface as last composed (client-sized).
  GdiBitmap& SurfaceBitmap() { return surface_; }

  // Exceptions caught at the message boundary land here.
  std::function<void(const std::string&)> OnError;
  // Called on every key release, after the control has had it.
  std::function<void()> OnKeyUp;

  // EditHost.
  bool HasWindow() const override { return hwnd_ != nullptr; }
  bool HasFocus() const override { return ::GetFocus() == hwnd_; }
  TSize OuterSize() const override;
  Canvas& Surface() override { return surface_.GetCanvas(); }
  void Invalidate() override;
  void InvalidateRect(const TRect& r) override;
  void UpdateNow() override;
  void SetRedraw(bool on) override;
  bool RedrawEnabled() const override { return redraw_; }
  void SetEnabled(bool enabled) override { ::EnableWindow(hwnd_, enabled); }

  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void ShowCaret() override { ::ShowCaret(hwnd_); }
  void HideCaret() override { ::HideCaret(hwnd_); }
  void SetCaretPos(int x, int y) override { ::SetCaretPos(x, y); }

  void SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool redraw) override;
  void SetScrollPos(ScrollBarKind bar, int pos, bool redraw) override;
  TScrollInfo GetScrollInfo(ScrollBarKind bar) const override { return info_[Index(bar)]; }
  void ShowScrollBar(ScrollBarKind bar, bool show) override;

  bool SetImeCompositionWindow(int x, int y, const TFontSpec* font) override;
  std::string ImeResultString() override { return imeResult_; }
  // The result is taken from WM_IME_COMPOSITION and not passed on, so the
  // system queues no characters for it.
  bool ImeEchoesResultAsChars() const override { return false; }

  bool SetClipboardText(const std::string& cp932) override;
  std::optional<std::string> GetClipboardText() override;

  bool IsKeyDown(uint32_t vk) const override { return (::GetKeyState(static_cast<int>(vk)) & 0x8000) != 0; }
  std::optional<uint32_t> PeekChar(bool remove) override;

  void SetFocus() override { ::SetFocus(hwnd_); }
  void FocusNextControl(bool forward) override;
  void SetCapture() override { ::SetCapture(hwnd_); }
  void ReleaseCapture() override;
  void SetCursor(TCursorShape shape) override;
  TPoint MousePos() const override;

  TColor GetSysColor(int index) const override { return ::GetSysColor(index); }

  std::unique_ptr<Bitmap> CreateBitmap() override { return std::make_unique<GdiBitmap>(); }
  std::unique_ptr<Picture> CreatePicture() override { return std::make_unique<WicPicture>(); }

  // Draws the client area into DC as the screen shows it (WM_PAINT, WM_PRINTCLIENT).
  void PaintTo(HDC dc);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  static size_t Index(ScrollBarKind bar) { return static_cast<size_t>(bar); }

  LRESULT Send(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT Guard(const std::function<LRESULT()>& body);
  void QueueChar(wchar_t unit);
  void PumpChars();
  void Resize();
  void SyncBar(size_t i);
  LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnWheel(WPARAM wParam, LPARAM lParam);
  LRESULT OnScroll(ScrollBarKind bar, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnImeComposition(WPARAM wParam, LPARAM lParam);
  LRESULT OnImeRequest(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  GdiBitmap surface_;
  std::array<TScrollInfo, 2> info_{};
  std::array<bool, 2> barStale_{false, false};  // changed while frozen, shown on thaw
  bool redraw_ = true;
  bool fullPaint_ = true;
  bool painting_ = false;
  bool created_ = false;
  std::deque<uint32_t> chars_;  // code page 932 bytes still to hand over
  wchar_t highSurrogate_ = 0;
  std::string imeResult_;
  struct TImePlace {
    int X = 0;
    int Y = 0;
    std::optional<TFontSpec> Font;
  };
  std::optional<TImePlace> imePending_;  // asked for while frozen
  bool ctrlTab_ = false;                 // the last key was Ctrl+Tab, its character given
  int wheelRest_ = 0;                    // wheel units short of one notch
  HCURSOR cursor_ = nullptr;
  std::unique_ptr<TVeskEdit> editor_;  // last: it talks to everything above
};

}  // namespace kelvane
