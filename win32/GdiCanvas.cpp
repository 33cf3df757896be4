// The GDI drawing surface, bitmap and picture, and PNG writing.
#include "win32/GdiCanvas.h"

#include <algorithm>

#include "platform/Codepage.h"
#include "win32/ComScope.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

RECT ToRect(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

bool IsEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

int PenStyle(TPenStyle style) {
  switch (style) {
    case TPenStyle::psSolid: return PS_SOLID;
    case TPenStyle::psDash: return PS_DASH;
    case TPenStyle::psDot: return PS_DOT;
    case TPenStyle::psDashDot: return PS_DASHDOT;
    case TPenStyle::psDashDotDot: return PS_DASHDOTDOT;
    case TPenStyle::psClear: return PS_NULL;
    case TPenStyle::psInsideFrame: return PS_INSIDEFRAME;
  }
  return PS_SOLID;
}

// A fill of one colour without disturbing the selected brush.
void Fill(HDC dc, const RECT& r, COLORREF color) {
  const COLORREF old = ::SetBkColor(dc, color);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, L"", 0, nullptr);
  ::SetBkColor(dc, old);
}

// Selects a brush of the colour for the life of the scope.
class TBrushScope {
 public:
  TBrushScope(HDC dc, COLORREF color) : dc_(dc), brush_(::CreateSolidBrush(color)) {
    old_ = ::SelectObject(dc_, brush_.get());
  }
  ~TBrushScope() { ::SelectObject(dc_, old_); }
  TBrushScope(const TBrushScope&) = delete;
  TBrushScope& operator=(const TBrushScope&) = delete;

 private:
  HDC dc_;
  TGdiPtr<HBRUSH> brush_;
  HGDIOBJ old_;
};

std::vector<POINT> ToPoints(const std::vector<TPoint>& points) {
  std::vector<POINT> out;
  out.reserve(points.size());
  for (const TPoint& p : points) out.push_back({p.X, p.Y});
  return out;
}

}  // namespace

COLORREF ToColorRef(TColor color) {
  if (IsSysColor(color)) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

TGdiPtr<HBITMAP> CreateDib(HDC dc, int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  TGdiPtr<HBITMAP> dib(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  *bits = dib ? static_cast<uint32_t*>(pixels) : nullptr;
  return dib;
}

// ---- canvas ---------------------------------------------------------------------

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc) {
  SetFont(fontSpec_);
  SetPen(0, TPenStyle::psSolid, 1);
}

void GdiCanvas::SetFont(const TFontSpec& font) {
  if (font_ && font == fontSpec_) return;
  fontSpec_ = font;
  LOGFONTW log = ToLogFont(font);
  font_.reset(::CreateFontIndirectW(&log));
  ::SelectObject(dc_, font_.get());
  advances_.clear();
  TEXTMETRICW metrics{};
  height_ = ::GetTextMetricsW(dc_, &metrics) ? metrics.tmHeight : font.Height;
}

int GdiCanvas::Height() { return height_; }

void GdiCanvas::SetPen(TColor color, TPenStyle style, int width) {
  pen_.reset(::CreatePen(PenStyle(style), std::max(width, 1), ToColorRef(color)));
}

void GdiCanvas::SelectPen() { ::SelectObject(dc_, pen_.get()); }

void GdiCanvas::AddChar(TRun& run, std::u16string_view units) {
  auto found = advances_.find(std::u16string(units));
  if (found == advances_.end()) {
    SIZE size{};
    ::SelectObject(dc_, font_.get());
    const std::wstring w(units.begin(), units.end());
    ::GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &size);
    found = advances_.emplace(std::u16string(units), size.cx).first;
  }
  for (size_t i = 0; i < units.size(); ++i) {
    run.Units += static_cast<wchar_t>(units[i]);
    run.Dx.push_back(i == 0 ? found->second : 0);  // a surrogate pair is one glyph
  }
  run.Width += found->second;
}

// One character per step, as the editor measures it: each lands exactly
// where its measured advance says.
GdiCanvas::TRun GdiCanvas::Cp932Run(std::string_view bytes) {
  TRun run;
  for (size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    const size_t n = cp932::IsLeadByte(b) && i + 1 < bytes.size() &&
                             cp932::IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))
                         ? 2
                         : 1;
    std::u16string u = cp932::ToUtf16(bytes.substr(i, n));
    if (u.empty()) u = std::u16string(1, cp932::kDefaultChar);
    AddChar(run, u);
    i += n;
  }
  return run;
}

GdiCanvas::TRun GdiCanvas::Utf16Run(std::u16string_view text) {
  TRun run;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    AddChar(run, text.substr(i, pair ? 2 : 1));
    if (pair) ++i;
  }
  return run;
}

TSize GdiCanvas::TextExtent(std::string_view cp932) { return {Cp932Run(cp932).Width, Height()}; }

TSize GdiCanvas::TextExtentW(std::u16string_view text) { return {Utf16Run(text).Width, Height()}; }

void GdiCanvas::FillRect(const TRect& r) {
  if (!IsEmpty(r)) Fill(dc_, ToRect(r), brush_);
}

// TextRect fills its whole rectangle when opaque, TextOut just the text cells.
void GdiCanvas::DrawRun(int x, int y, const TRun& run, const RECT* clip, bool fillClip) {
  ::SelectObject(dc_, font_.get());
  ::SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  ::SetTextColor(dc_, text_);
  ::SetBkColor(dc_, background_);
  ::SetBkMode(dc_, transparent_ ? TRANSPARENT : OPAQUE);
  RECT cell{x, y, x + run.Width, y + Height()};
  if (!transparent_ && clip && !fillClip) {
    RECT shown{};
    if (::IntersectRect(&shown, &cell, clip)) Fill(dc_, shown, background_);
  }
  UINT options = clip ? ETO_CLIPPED : 0;
  if (!transparent_ && (fillClip || !clip)) options |= ETO_OPAQUE;
  const RECT* box = clip ? clip : &cell;
  ::ExtTextOutW(dc_, x, y, options, box, run.Units.c_str(), static_cast<UINT>(run.Units.size()),
                run.Dx.empty() ? nullptr : run.Dx.data());
}

void GdiCanvas::TextOut(int x, int y, std::string_view cp932) { DrawRun(x, y, Cp932Run(cp932), nullptr, false); }

void GdiCanvas::TextOutW(int x, int y, std::u16string_view text) { DrawRun(x, y, Utf16Run(text), nullptr, false); }

void GdiCanvas::TextRect(const TRect& clip, int x, int y, std::string_view cp932) {
  const RECT r = ToRect(clip);
  DrawRun(x, y, Cp932Run(cp932), &r, true);
}

void GdiCanvas::TextRectW(const TRect& clip, int x, int y, std::u16string_view text) {
  const RECT r = ToRect(clip);
  DrawRun(x, y, Utf16Run(text), &r, true);
}

void GdiCanvas::DrawTextRight(const TRect& box, std::string_view cp932) {
  const TRun run = Cp932Run(cp932);
  const RECT r = ToRect(box);
  DrawRun(box.Right - run.Width, box.Top, run, &r, false);
}

void GdiCanvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::LineTo(int x, int y) {
  SelectPen();
  ::LineTo(dc_, x, y);
}

void GdiCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  SelectPen();
  const std::vector<POINT> p = ToPoints(points);
  ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
}

void GdiCanvas::Ellipse(const TRect& r) {
  if (IsEmpty(r)) return;
  SelectPen();
  TBrushScope brush(dc_, brush_);
  ::Ellipse(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void GdiCanvas::Pie(const TRect& r, TPoint start, TPoint end) {
  if (IsEmpty(r)) return;
  SelectPen();
  TBrushScope brush(dc_, brush_);
  ::Pie(dc_, r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y, end.X, end.Y);
}

void GdiCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
  if (IsEmpty(r)) return;
  SelectPen();
  ::Arc(dc_, r.Left, r.Top, r.Right, r.Bottom, start.X, start.Y, end.X, end.Y);
}

void GdiCanvas::PolyBezier(const std::vector<TPoint>& points) {
  if (points.size() < 4 || (points.size() - 1) % 3 != 0) return;
  SelectPen();
  const std::vector<POINT> p = ToPoints(points);
  ::PolyBezier(dc_, p.data(), static_cast<DWORD>(p.size()));
}

// Nearest pixel, as a device context stretches by default; the picture's
// transparency is kept.
void GdiCanvas::StretchDraw(const TRect& r, const Picture& picture) {
  const auto* wic = dynamic_cast<const WicPicture*>(&picture);
  if (!wic || wic->Empty() || IsEmpty(r)) return;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(dc_, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top, wic->Dc(), 0, 0, wic->Width(),
               wic->Height(), blend);
}

void GdiCanvas::CopyFrom(const TRect& dest, Bitmap& source, TPoint sourceOrigin) {
  auto* gdi = dynamic_cast<GdiBitmap*>(&source);
  if (!gdi || IsEmpty(dest)) return;
  ::BitBlt(dc_, dest.Left, dest.Top, dest.Right - dest.Left, dest.Bottom - dest.Top, gdi->Dc(), sourceOrigin.X,
           sourceOrigin.Y, SRCCOPY);
}

// ---- bitmap ---------------------------------------------------------------------

GdiBitmap::GdiBitmap() : dc_(::CreateCompatibleDC(nullptr)), canvas_(dc_.get()) {
  original_ = ::GetCurrentObject(dc_.get(), OBJ_BITMAP);
}

void GdiBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  uint32_t* bits = nullptr;
  TGdiPtr<HBITMAP> next;
  if (width > 0 && height > 0) {
    next = CreateDib(dc_.get(), width, height, &bits);
    if (!next) {
      width = height = 0;
    } else {
      std::fill(bits, bits + static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFFu);
      for (int y = 0; y < std::min(height, height_); ++y)
        std::copy_n(bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_), std::min(width, width_),
                    bits + static_cast<size_t>(y) * static_cast<size_t>(width));
    }
  }
  ::SelectObject(dc_.get(), next ? static_cast<HGDIOBJ>(next.get()) : original_);
  dib_ = std::move(next);
  bits_ = bits;
  width_ = width;
  height_ = height;
}

// ---- picture and PNG ------------------------------------------------------------

bool WicPicture::LoadFromFile(const std::string& path) {
  TComScope com;
  IWICImagingFactory* factory = com.Factory();
  if (!factory) return false;
  TComPtr<IWICBitmapDecoder> decoder;
  TComPtr<IWICBitmapFrameDecode> frame;
  TComPtr<IWICFormatConverter> converter;
  const std::wstring wide = ToWide(path);
  UINT width = 0, height = 0;
  if (FAILED(factory->CreateDecoderFromFilename(wide.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 1 << 15 ||
      height > 1 << 15)
    return false;
  auto image = std::make_unique<GdiBitmap>();
  image->SetSize(static_cast<int>(width), static_cast<int>(height));
  if (image->Width() == 0) return false;
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                   reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image->Pixels())))))
    return false;
  image_ = std::move(image);
  return true;
}

bool WritePng(const std::wstring& path, const uint32_t* pixels, int width, int height) {
  TComScope com;
  IWICImagingFactory* factory = com.Factory();
  if (!factory || !pixels || width <= 0 || height <= 0) return false;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  const UINT stride = static_cast<UINT>(width) * 4;
  std::vector<uint32_t> opaque(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
  for (uint32_t& p : opaque) p |= 0xFF000000u;
  return SUCCEEDED(factory->CreateStream(stream.Out())) &&
         SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                      reinterpret_cast<BYTE*>(opaque.data()))) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace kelvane
