// The drawing surface on GDI: Canvas on a device context, the Bitmap that owns
// a DIB section with its memory context, and the Picture loaded through WIC.
// Text goes to GDI as UTF-16, converted by platform/Codepage, so Japanese is
// drawn right whatever the system's ANSI code page is.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "win32/WinApi.h"

namespace kelvane {

// 0x00BBGGRR, a system colour resolved.
COLORREF ToColorRef(TColor color);

// An owned GDI object (pen, brush, font, bitmap), deleted with DeleteObject.
struct TGdiDeleter {
  void operator()(HGDIOBJ object) const {
    if (object) ::DeleteObject(object);
  }
};
template <typename T>
using TGdiPtr = std::unique_ptr<std::remove_pointer_t<T>, TGdiDeleter>;

struct TDcDeleter {
  void operator()(HDC dc) const {
    if (dc) ::DeleteDC(dc);
  }
};
using TMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, TDcDeleter>;

class GdiCanvas : public Canvas {
 public:
  explicit GdiCanvas(HDC dc);  // not owned
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;
  HDC Dc() const { return dc_; }

  void SetFont(const TFontSpec& font) override;
  const TFontSpec& Font() const override { return fontSpec_; }
  void SetPen(TColor color, TPenStyle style, int width) override;
  void SetBrushColor(TColor color) override { brush_ = ToColorRef(color); }
  void SetTextColor(TColor color) override { text_ = ToColorRef(color); }
  void SetBkColor(TColor color) override { background_ = ToColorRef(color); }
  void SetTransparent(bool transparent) override { transparent_ = transparent; }

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
  // Text as GDI gets it: UTF-16 units, and the advance of each unit.
  struct TRun {
    std::wstring Units;
    std::vector<INT> Dx;
    int Width = 0;
  };
  TRun Cp932Run(std::string_view bytes);
  TRun Utf16Run(std::u16string_view text);
  void AddChar(TRun& run, std::u16string_view unitsOfOneChar);
  void DrawRun(int x, int y, const TRun& run, const RECT* clip, bool fillClip);
  void SelectPen();
  int Height();

  HDC dc_;
  TFontSpec fontSpec_;
  TGdiPtr<HFONT> font_;
  int height_ = 0;
  std::unordered_map<std::u16string, int> advances_;  // of font_, per character
  TGdiPtr<HPEN> pen_;
  COLORREF brush_ = RGB(255, 255, 255);
  COLORREF text_ = 0;
  COLORREF background_ = RGB(255, 255, 255);
  bool transparent_ = false;
};

// A DIB section of 32-bit pixels with its own memory context; resizing keeps
// the content that fits.
class GdiBitmap : public Bitmap {
 public:
  GdiBitmap();
  Canvas& GetCanvas() override { return canvas_; }
  void SetSize(int width, int height) override;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  HDC Dc() const { return dc_.get(); }
  // The pixels, top row first, 0x00RRGGBB each; null while empty.
  const uint32_t* Pixels() const { return bits_; }

 private:
  TMemoryDc dc_;
  TGdiPtr<HBITMAP> dib_;
  HGDIOBJ original_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  GdiCanvas canvas_;
};

// Any format WIC decodes, held as premultiplied 32-bit pixels.
class WicPicture : public Picture {
 public:
  bool LoadFromFile(const std::string& path) override;  // keeps the old picture on failure
  void Clear() override { image_ = std::make_unique<GdiBitmap>(); }
  bool Empty() const override { return !image_ || image_->Width() == 0; }
  int Width() const override { return image_ ? image_->Width() : 0; }
  int Height() const override { return image_ ? image_->Height() : 0; }
  HDC Dc() const { return image_ ? image_->Dc() : nullptr; }

 private:
  std::unique_ptr<GdiBitmap> image_;
};

// Writes 32-bit pixels (top row first, 0x00RRGGBB) as a PNG through WIC.
bool WritePng(const std::wstring& path, const uint32_t* pixels, int width, int height);

// A DIB section for Width × Height 32-bit pixels, top row first.
TGdiPtr<HBITMAP> CreateDib(HDC dc, int width, int height, uint32_t** bits);

}  // namespace kelvane
