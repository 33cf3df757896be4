// What one editor control needs from the window it lives in. The control holds
// a reference to its host and asks for nothing else.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "platform/Canvas.h"
#include "platform/Messages.h"
#include "platform/Types.h"

namespace kelvane {

enum class TCursorShape : uint8_t { Arrow, IBeam, Drag, NoDrop };

struct TScrollInfo {
  int32_t Min = 0;
  int32_t Max = 0;
  int32_t Page = 0;
  int32_t Pos = 0;
  int32_t TrackPos = 0;

  // What a scroll bar keeps of a new range and position: the position is
  // clamped into the range, and the tracking position follows it.
  void Assign(const TScrollInfo& info) {
    Min = info.Min;
    Max = info.Max;
    Page = info.Page;
    SetPos(info.Pos);
  }
  void SetPos(int32_t pos) {
    Pos = std::clamp(pos, Min, std::max(Min, Max));
    TrackPos = Pos;
  }
};

class EditHost {
 public:
  virtual ~EditHost() = default;

  // The window.
  virtual bool HasWindow() const = 0;
  virtual bool HasFocus() const = 0;
  virtual TSize OuterSize() const = 0;  // the control's size including its frame and bars
  virtual Canvas& Surface() = 0;        // rows and the ruler strip are copied here
  virtual void Invalidate() = 0;        // repaint the whole client area later
  virtual void InvalidateRect(const TRect& r) = 0;
  virtual void UpdateNow() = 0;         // handle pending repaints at once
  virtual void SetRedraw(bool on) = 0;     // WM_SETREDRAW: a frozen window draws nothing
  virtual bool RedrawEnabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;

  // The system caret.
  virtual void CreateCaret(int width, int height) = 0;
  virtual void DestroyCaret() = 0;
  virtual void ShowCaret() = 0;
  virtual void HideCaret() = 0;
  virtual void SetCaretPos(int x, int y) = 0;

  // The two scroll bars.
  virtual void SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool redraw) = 0;
  virtual void SetScrollPos(ScrollBarKind bar, int pos, bool redraw) = 0;
  virtual TScrollInfo GetScrollInfo(ScrollBarKind bar) const = 0;
  virtual void ShowScrollBar(ScrollBarKind bar, bool show) = 0;

  // The input method: composition window placement (false without an input
  // context), the result string of the last composition (code page 932), and
  // whether the platform queues a result again as character messages.
  virtual bool SetImeCompositionWindow(int x, int y, const TFontSpec* font) = 0;
  virtual std::string ImeResultString() = 0;
  virtual bool ImeEchoesResultAsChars() const = 0;

  // The clipboard, plain text in code page 932 with CR LF line breaks.
  virtual bool SetClipboardText(const std::string& cp932) = 0;
  virtual std::optional<std::string> GetClipboardText() = 0;

  // Input state: whether a key is held now (virtual-key code), and a look at the
  // next queued WM_CHAR (removed from the queue when remove is true).
  virtual bool IsKeyDown(uint32_t vk) const = 0;
  virtual std::optional<uint32_t> PeekChar(bool remove) = 0;

  // Focus, mouse capture, cursor, mouse position in client coordinates.
  virtual void SetFocus() = 0;
  virtual void FocusNextControl(bool forward) = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual void SetCursor(TCursorShape shape) = 0;
  virtual TPoint MousePos() const = 0;

  // System colours by index (an undefined index answers 0, black).
  virtual TColor GetSysColor(int index) const = 0;

  // Factories for off-screen surfaces and pictures.
  virtual std::unique_ptr<Bitmap> CreateBitmap() = 0;
  virtual std::unique_ptr<Picture> CreatePicture() = 0;
};

}  // namespace kelvane
