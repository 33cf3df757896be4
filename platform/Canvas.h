// The drawing surface the editor paints through: a small device-context-like
// interface, implemented once per platform (headless records, Qt paints).
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace kelvane {

class Picture;
class Bitmap;

class Canvas {
 public:
  virtual ~Canvas() = default;

  // State.
  virtual void SetFont(const TFontSpec& font) = 0;
  virtual const TFontSpec& Font() const = 0;
  virtual void SetPen(TColor color, TPenStyle style, int width) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual void SetTextColor(TColor color) = 0;
  virtual void SetBkColor(TColor color) = 0;
  virtual void SetTransparent(bool transparent) = 0;  // text background left as it is

  // Measuring: the extent of single-byte (code page 932) or UTF-16 text.
  virtual TSize TextExtent(std::string_view cp932) = 0;
  virtual TSize TextExtentW(std::u16string_view text) = 0;

  // Drawing. Text positions are the top-left corner of the text cell.
  virtual void FillRect(const TRect& r) = 0;  // with the brush colour
  virtual void TextOut(int x, int y, std::string_view cp932) = 0;
  virtual void TextOutW(int x, int y, std::u16string_view text) = 0;
  virtual void TextRect(const TRect& clip, int x, int y, std::string_view cp932) = 0;
  virtual void TextRectW(const TRect& clip, int x, int y, std::u16string_view text) = 0;
  virtual void DrawTextRight(const TRect& box, std::string_view cp932) = 0;  // right-aligned, one line
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(const std::vector<TPoint>& points) = 0;  // the last point left out
  virtual void Ellipse(const TRect& r) = 0;
  virtual void Pie(const TRect& r, TPoint start, TPoint end) = 0;
  virtual void Arc(const TRect& r, TPoint start, TPoint end) = 0;
  virtual void PolyBezier(const std::vector<TPoint>& points) = 0;
  virtual void StretchDraw(const TRect& r, const Picture& picture) = 0;
  virtual void CopyFrom(const TRect& dest, Bitmap& source, TPoint sourceOrigin) = 0;
};

// A resizable off-screen surface with its own canvas.
class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual Canvas& GetCanvas() = 0;
  virtual void SetSize(int width, int height) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// A background picture in any format the platform reads.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual bool LoadFromFile(const std::string& path) = 0;  // UTF-8 path
  virtual void Clear() = 0;
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

}  // namespace kelvane
