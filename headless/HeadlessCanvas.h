// The headless drawing surface: fixed font metrics and a record of every
// drawing call with the state it was made in, so tests can check what was drawn.
//
// Metrics: a single-byte character is 8 px wide, a double-byte character 16 px;
// a UTF-16 character below U+0100 is 8 px, from U+0100 on 16 px; text is 16 px high.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace kelvane {

enum class TDrawOp : uint8_t {
  FillRect, TextOut, TextOutW, TextRect, TextRectW, DrawTextRight, MoveTo, LineTo, Polyline,
  Ellipse, Pie, Arc, PolyBezier, StretchDraw, CopyFrom,
};

struct TCanvasState {
  TFontSpec Font;
  TColor PenColor = 0;
  TPenStyle PenStyle = TPenStyle::psSolid;
  int PenWidth = 1;
  TColor BrushColor = 0xFFFFFF;
  TColor TextColor = 0;
  TColor BkColor = 0xFFFFFF;
  bool Transparent = false;
};

struct TDrawCall {
  TDrawOp Op;
  TRect Rect;                  // fill, clip or destination rectangle
  std::vector<TPoint> Points;  // positions, line ends, arc points
  std::string Text;            // code page 932 text
  std::u16string TextW;        // UTF-16 text
  TCanvasState State;
};

constexpr int kHeadlessSingleWidth = 8;
constexpr int kHeadlessDoubleWidth = 16;
constexpr int kHeadlessTextHeight = 16;

class HeadlessCanvas : public Canvas {
 public:
  // Recording can be switched off for canvases that only measure.
  bool Recording = true;
  std::vector<TDrawCall> Calls;
  const TCanvasState& State() const { return state_; }

  void SetFont(const TFontSpec& font) override { state_.Font = font; }
  const TFontSpec& Font() const override { return state_.Font; }
  void SetPen(TColor color, TPenStyle style, int width) override;
  void SetBrushColor(TColor color) override { state_.BrushColor = color; }
  void SetTextColor(TColor color) override { state_.TextColor = color; }
  void SetBkColor(TColor color) override { state_.BkColor = color; }
  void SetTransparent(bool transparent) override { state_.Transparent = transparent; }

  TSize TextExtent(std::string_view cp932) override;
  TSize TextExtentW(std::u16string_view text) override;

  void FillRect(const TRect& r) override;
  void TextOut(int x, int y, std::string_view cp932) override;
  void TextOutW(int x, int y, std::u16string_view text) override;
  void TextRect(const TRect& clip, int x, int y, std::string_view cp932) override;
  void TextRectW(const TRect& clip, int x, int y, std::u16string_view text) override;
  void DrawTextRight(const TRect& box, std::string_view cp932) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Polyline(const std::vector<TPoint>& points) override;
  void Ellipse(const TRect& r) override;
  void Pie(const TRect& r, TPoint start, TPoint end) override;
  void Arc(const TRect& r, TPoint start, TPoint end) override;
  void PolyBezier(const std::vector<TPoint>& points) override;
  void StretchDraw(const TRect& r, const Picture& picture) override;
  void CopyFrom(const TRect& dest, Bitmap& source, TPoint sourceOrigin) override;

 private:
  void Record(TDrawCall call);
  TCanvasState state_;
  TPoint penPos_;
};

class HeadlessBitmap : public Bitmap {
 public:
  Canvas& GetCanvas() override { return canvas_; }
  HeadlessCanvas& Headless() { return canvas_; }
  void SetSize(int width, int height) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }

 private:
  HeadlessCanvas canvas_;
  int width_ = 0;
  int height_ = 0;
};

// A picture read far enough to know its size (PNG, BMP, GIF); nothing is decoded.
class HeadlessPicture : public Picture {
 public:
  bool LoadFromFile(const std::string& path) override;
  void Clear() override;
  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kelvane
