// The editor's window on no display: a deterministic, in-memory implementation
// of everything the control asks of its window. The command line and the tests
// of the logic run on it; tests also script it (key states, queued characters,
// the mouse position, the clipboard) and read back what the control did.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <set>
#include <string>

#include "platform/EditHost.h"
#include "headless/HeadlessCanvas.h"

namespace kelvane {

struct THeadlessCaret {
  bool Exists = false;
  int Width = 0;
  int Height = 0;
  int ShowCount = 0;  // ShowCaret minus HideCaret calls since creation, as the system counts
  TPoint Pos;
  bool Visible() const { return Exists && ShowCount > 0; }
};

class HeadlessEditHost : public EditHost {
 public:
  HeadlessEditHost();

  // Scripted state.
  bool Window = true;
  bool Focused = false;
  TSize Outer{640, 480};
  bool ImeContext = true;
  bool ImeEchoes = true;
  std::string ImeResult;
  std::optional<std::string> Clipboard;
  std::set<uint32_t> KeysDown;
  std::deque<uint32_t> CharQueue;
  TPoint Mouse;

  // What the control did. The surface and the bitmaps record their drawing
  // calls only once a test switches Recording on.
  HeadlessCanvas SurfaceCanvas;
  int64_t Invalidations = 0;
  int64_t UpdateNowCalls = 0;
  bool Redraw = true;
  bool WindowEnabled = true;
  THeadlessCaret Caret;
  std::array<TScrollInfo, 2> Bars{};
  std::array<bool, 2> BarVisible{true, true};
  TPoint ImePos;
  std::optional<TFontSpec> ImeFont;
  bool Captured = false;
  TCursorShape Cursor = TCursorShape::IBeam;
  int FocusMoves = 0;

  bool HasWindow() const override { return Window; }
  bool HasFocus() const override { return Focused; }
  TSize OuterSize() const override { return Outer; }
  Canvas& Surface() override { return SurfaceCanvas; }
  void Invalidate() override { ++Invalidations; }
  void InvalidateRect(const TRect&) override { ++Invalidations; }
  void UpdateNow() override { ++UpdateNowCalls; }
  void SetRedraw(bool on) override { Redraw = on; }
  bool RedrawEnabled() const override { return Redraw; }
  void SetEnabled(bool enabled) override { WindowEnabled = enabled; }

  void CreateCaret(int width, int height) override;
  void DestroyCaret() override { Caret = {}; }
  void ShowCaret() override;
  void HideCaret() override;
  void SetCaretPos(int x, int y) override { Caret.Pos = {x, y}; }

  void SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool redraw) override;
  void SetScrollPos(ScrollBarKind bar, int pos, bool redraw) override;
  TScrollInfo GetScrollInfo(ScrollBarKind bar) const override { return Bars[Index(bar)]; }
  void ShowScrollBar(ScrollBarKind bar, bool show) override { BarVisible[Index(bar)] = show; }

  bool SetImeCompositionWindow(int x, int y, const TFontSpec* font) override;
  std::string ImeResultString() override { return ImeResult; }
  bool ImeEchoesResultAsChars() const override { return ImeEchoes; }

  bool SetClipboardText(const std::string& cp932) override;
  std::optional<std::string> GetClipboardText() override { return Clipboard; }

  bool IsKeyDown(uint32_t vk) const override { return KeysDown.count(vk) != 0; }
  std::optional<uint32_t> PeekChar(bool remove) override;

  void SetFocus() override { Focused = true; }
  void FocusNextControl(bool) override { ++FocusMoves; }
  void SetCapture() override { Captured = true; }
  void ReleaseCapture() override { Captured = false; }
  void SetCursor(TCursorShape shape) override { Cursor = shape; }
  TPoint MousePos() const override { return Mouse; }

  TColor GetSysColor(int index) const override;

  std::unique_ptr<Bitmap> CreateBitmap() override;
  std::unique_ptr<Picture> CreatePicture() override;

 private:
  static size_t Index(ScrollBarKind bar) { return static_cast<size_t>(bar); }
};

}  // namespace kelvane
