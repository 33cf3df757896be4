// The editor's window on no display.
#include "headless/HeadlessEditHost.h"

#include <algorithm>

namespace kelvane {

namespace {

// A classic light desktop scheme, indexes 0 … 30; other indexes answer black.
constexpr std::array<TColor, 31> kSysColors = {
    0xC8D0D4, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xD77800, 0xF0F0F0,
};

}  // namespace

HeadlessEditHost::HeadlessEditHost() { SurfaceCanvas.Recording = false; }

void HeadlessEditHost::CreateCaret(int width, int height) {
  Caret = {};
  Caret.Exists = true;
  Caret.Width = width;
  Caret.Height = height;
}

void HeadlessEditHost::ShowCaret() {
  if (Caret.Exists && Caret.ShowCount < 1) ++Caret.ShowCount;
}

void HeadlessEditHost::HideCaret() {
  if (Caret.Exists) --Caret.ShowCount;
}

void HeadlessEditHost::SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool) {
  Bars[Index(bar)].Assign(info);
}

void HeadlessEditHost::SetScrollPos(ScrollBarKind bar, int pos, bool) {
  Bars[Index(bar)].SetPos(pos);
}

bool HeadlessEditHost::SetImeCompositionWindow(int x, int y, const TFontSpec* font) {
  if (!ImeContext) return false;
  ImePos = {x, y};
  if (font) ImeFont = *font;
  return true;
}

bool HeadlessEditHost::SetClipboardText(const std::string& cp932) {
  Clipboard = cp932;
  return true;
}

std::optional<uint32_t> HeadlessEditHost::PeekChar(bool remove) {
  if (CharQueue.empty()) return std::nullopt;
  uint32_t c = CharQueue.front();
  if (remove) CharQueue.pop_front();
  return c;
}

TColor HeadlessEditHost::GetSysColor(int index) const {
  return index >= 0 && index < static_cast<int>(kSysColors.size()) ? kSysColors[static_cast<size_t>(index)] : 0;
}

// Off-screen surfaces record nothing unless a test asks them to: the command
// line and long runs would otherwise keep every call of every repaint.
std::unique_ptr<Bitmap> HeadlessEditHost::CreateBitmap() {
  auto bitmap = std::make_unique<HeadlessBitmap>();
  bitmap->Headless().Recording = false;
  return bitmap;
}

std::unique_ptr<Picture> HeadlessEditHost::CreatePicture() { return std::make_unique<HeadlessPicture>(); }

}  // namespace kelvane
