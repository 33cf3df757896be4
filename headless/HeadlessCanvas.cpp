// The headless drawing surface, bitmap and picture.
#include "headless/HeadlessCanvas.h"

#include "platform/Codepage.h"
#include "platform/FileSystem.h"

namespace kelvane {

void HeadlessCanvas::SetPen(TColor color, TPenStyle style, int width) {
  state_.PenColor = color;
  state_.PenStyle = style;
  state_.PenWidth = width;
}

TSize HeadlessCanvas::TextExtent(std::string_view cp932) {
  int width = 0;
  for (size_t i = 0; i < cp932.size(); ++i) {
    if (cp932::IsLeadByte(static_cast<unsigned char>(cp932[i]))) {
      width += kHeadlessDoubleWidth;
      ++i;
    } else {
      width += kHeadlessSingleWidth;
    }
  }
  return {width, kHeadlessTextHeight};
}

TSize HeadlessCanvas::TextExtentW(std::u16string_view text) {
  int width = 0;
  for (char16_t c : text) width += c < 0x100 ? kHeadlessSingleWidth : kHeadlessDoubleWidth;
  return {width, kHeadlessTextHeight};
}

void HeadlessCanvas::Record(TDrawCall call) {
  if (!Recording) return;
  call.State = state_;
  Calls.push_back(std::move(call));
}

void HeadlessCanvas::FillRect(const TRect& r) { Record({TDrawOp::FillRect, r, {}, {}, {}, {}}); }

void HeadlessCanvas::TextOut(int x, int y, std::string_view cp932) {
  Record({TDrawOp::TextOut, {}, {{x, y}}, std::string(cp932), {}, {}});
}

void HeadlessCanvas::TextOutW(int x, int y, std::u16string_view text) {
  Record({TDrawOp::TextOutW, {}, {{x, y}}, {}, std::u16string(text), {}});
}

void HeadlessCanvas::TextRect(const TRect& clip, int x, int y, std::string_view cp932) {
  Record({TDrawOp::TextRect, clip, {{x, y}}, std::string(cp932), {}, {}});
}

void HeadlessCanvas::TextRectW(const TRect& clip, int x, int y, std::u16string_view text) {
  Record({TDrawOp::TextRectW, clip, {{x, y}}, {}, std::u16string(text), {}});
}

void HeadlessCanvas::DrawTextRight(const TRect& box, std::string_view cp932) {
  Record({TDrawOp::DrawTextRight, box, {}, std::string(cp932), {}, {}});
}

void HeadlessCanvas::MoveTo(int x, int y) {
  penPos_ = {x, y};
  Record({TDrawOp::MoveTo, {}, {penPos_}, {}, {}, {}});
}

void HeadlessCanvas::LineTo(int x, int y) {
  Record({TDrawOp::LineTo, {}, {penPos_, {x, y}}, {}, {}, {}});
  penPos_ = {x, y};
}

void HeadlessCanvas::Polyline(const std::vector<TPoint>& points) {
  Record({TDrawOp::Polyline, {}, points, {}, {}, {}});
}

void HeadlessCanvas::Ellipse(const TRect& r) { Record({TDrawOp::Ellipse, r, {}, {}, {}, {}}); }

void HeadlessCanvas::Pie(const TRect& r, TPoint start, TPoint end) {
  Record({TDrawOp::Pie, r, {start, end}, {}, {}, {}});
}

void HeadlessCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
  Record({TDrawOp::Arc, r, {start, end}, {}, {}, {}});
}

void HeadlessCanvas::PolyBezier(const std::vector<TPoint>& points) {
  Record({TDrawOp::PolyBezier, {}, points, {}, {}, {}});
}

void HeadlessCanvas::StretchDraw(const TRect& r, const Picture& picture) {
  Record({TDrawOp::StretchDraw, r, {{picture.Width(), picture.Height()}}, {}, {}, {}});
}

void HeadlessCanvas::CopyFrom(const TRect& dest, Bitmap& /*source*/, TPoint sourceOrigin) {
  Record({TDrawOp::CopyFrom, dest, {sourceOrigin}, {}, {}, {}});
}

void HeadlessBitmap::SetSize(int width, int height) {
  width_ = width < 0 ? 0 : width;
  height_ = height < 0 ? 0 : height;
}

namespace {

uint32_t BigEndian32(const std::string& b, size_t at) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

uint32_t LittleEndian(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(i)]);
  return v;
}

}  // namespace

bool HeadlessPicture::LoadFromFile(const std::string& path) {
  std::string head;
  if (!ReadFileStart(path, 32, head) || head.size() < 32) return false;
  int64_t w = 0, h = 0;
  if (head.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
    w = BigEndian32(head, 16);
    h = BigEndian32(head, 20);
  } else if (head.compare(0, 2, "BM") == 0) {
    w = static_cast<int32_t>(LittleEndian(head, 18, 4));
    h = static_cast<int32_t>(LittleEndian(head, 22, 4));
    if (h < 0) h = -h;
  } else if (head.compare(0, 4, "GIF8") == 0) {
    w = LittleEndian(head, 6, 2);
    h = LittleEndian(head, 8, 2);
  } else {
    return false;
  }
  if (w <= 0 || h <= 0 || w > 1 << 20 || h > 1 << 20) return false;
  path_ = path;
  width_ = static_cast<int>(w);
  height_ = static_cast<int>(h);
  return true;
}

void HeadlessPicture::Clear() {
  path_.clear();
  width_ = height_ = 0;
}

}  // namespace kelvane
