// The tool images and the program's image, a few GDI fills and strokes each
// on a 16-pixel grid (the program's on a 64-unit one, scaled).
#include "win32/Win32ToolImages.h"

#include <initializer_list>
#include <vector>

#include "win32/GdiCanvas.h"

namespace kelvane {

namespace {

constexpr COLORREF kInk = RGB(40, 40, 48);
constexpr COLORREF kBlue = RGB(30, 100, 200);
constexpr COLORREF kGreen = RGB(20, 140, 60);
constexpr COLORREF kFolder = RGB(230, 180, 60);
constexpr COLORREF kFolderBack = RGB(200, 156, 52);
constexpr COLORREF kDisk = RGB(60, 90, 160);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kMask = RGB(255, 0, 255);  // the transparent background

// Pen and brush for the life of one shape; a null colour draws no outline.
class TInk {
 public:
  TInk(HDC dc, COLORREF fill, COLORREF line, int width = 1)
      : dc_(dc),
        pen_(line == CLR_NONE ? static_cast<HPEN>(::GetStockObject(NULL_PEN)) : ::CreatePen(PS_SOLID, width, line)),
        brush_(fill == CLR_NONE ? static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)) : ::CreateSolidBrush(fill)),
        ownPen_(line != CLR_NONE),
        ownBrush_(fill != CLR_NONE) {
    oldPen_ = ::SelectObject(dc_, pen_);
    oldBrush_ = ::SelectObject(dc_, brush_);
  }
  ~TInk() {
    ::SelectObject(dc_, oldPen_);
    ::SelectObject(dc_, oldBrush_);
    if (ownPen_) ::DeleteObject(pen_);
    if (ownBrush_) ::DeleteObject(brush_);
  }
  TInk(const TInk&) = delete;
  TInk& operator=(const TInk&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  bool ownPen_;
  bool ownBrush_;
  HGDIOBJ oldPen_;
  HGDIOBJ oldBrush_;
};

// The bitmap of a memory context, taken out of it for the scope: the calls
// that copy a bitmap want one that no context holds.
class TDeselected {
 public:
  explicit TDeselected(HDC dc) : dc_(dc), spare_(::CreateBitmap(1, 1, 1, 1, nullptr)) {
    bitmap_ = static_cast<HBITMAP>(::SelectObject(dc_, spare_.get()));
  }
  ~TDeselected() { ::SelectObject(dc_, bitmap_); }
  TDeselected(const TDeselected&) = delete;
  TDeselected& operator=(const TDeselected&) = delete;
  HBITMAP Get() const { return bitmap_; }

 private:
  HDC dc_;
  TGdiPtr<HBITMAP> spare_;
  HBITMAP bitmap_;
};

// Points on the 16-pixel grid, mirrored left to right when asked: one
// drawing serves both directions.
std::vector<POINT> Points(std::initializer_list<POINT> points, bool mirrored) {
  std::vector<POINT> out(points);
  if (mirrored)
    for (POINT& p : out) p.x = 16 - p.x;
  return out;
}

void Polygon(HDC dc, const std::vector<POINT>& p) { ::Polygon(dc, p.data(), static_cast<int>(p.size())); }

void CurvedArrow(HDC dc, bool mirrored) {
  {
    const TInk ink(dc, CLR_NONE, kBlue, 2);
    const std::vector<POINT> arc = Points({{13, 13}, {14, 6}, {9, 4}, {5, 5}}, mirrored);
    ::PolyBezier(dc, arc.data(), 4);
  }
  const TInk ink(dc, kBlue, CLR_NONE);
  Polygon(dc, Points({{1, 6}, {7, 1}, {7, 11}}, mirrored));
}

void EndArrow(HDC dc, bool right) {
  const TInk ink(dc, kBlue, CLR_NONE);
  Polygon(dc, Points({{2, 3}, {5, 3}, {5, 13}, {2, 13}}, right));
  Polygon(dc, Points({{5, 8}, {14, 2}, {14, 14}}, right));
}

void AutoArrow(HDC dc, bool right) {
  const TInk ink(dc, kGreen, CLR_NONE);
  Polygon(dc, Points({{1, 8}, {8, 3}, {8, 13}}, right));
  Polygon(dc, Points({{8, 8}, {15, 3}, {15, 13}}, right));
}

void Disk(HDC dc) {
  {
    const TInk ink(dc, kDisk, kInk);
    ::Rectangle(dc, 1, 1, 15, 15);
  }
  const TInk ink(dc, kWhite, CLR_NONE);
  ::Rectangle(dc, 4, 2, 13, 8);
  const TInk grey(dc, RGB(200, 200, 210), CLR_NONE);
  ::Rectangle(dc, 4, 10, 13, 15);
}

void Open(HDC dc) {
  {
    const TInk ink(dc, kFolderBack, kInk);
    Polygon(dc, Points({{1, 3}, {6, 3}, {7, 5}, {13, 5}, {13, 13}, {1, 13}}, false));
  }
  const TInk ink(dc, kFolder, kInk);
  Polygon(dc, Points({{1, 13}, {4, 7}, {15, 7}, {12, 13}}, false));
}

void SaveAs(HDC dc) {
  Disk(dc);
  {
    const TInk ink(dc, CLR_NONE, RGB(200, 60, 40), 2);
    ::MoveToEx(dc, 9, 14, nullptr);
    ::LineTo(dc, 15, 8);
  }
  const TInk ink(dc, CLR_NONE, kInk, 1);
  ::MoveToEx(dc, 8, 15, nullptr);
  ::LineTo(dc, 10, 13);
}

void Info(HDC dc) {
  {
    const TInk ink(dc, kBlue, CLR_NONE);
    ::Ellipse(dc, 1, 1, 16, 16);
  }
  const TInk ink(dc, kWhite, CLR_NONE);
  ::Ellipse(dc, 7, 3, 10, 6);
  ::Rectangle(dc, 7, 7, 10, 13);
}

// The explorer's two: a gauge (the pace) and a flag on its pole (its menu).
void Gauge(HDC dc) {
  {
    const TInk ink(dc, CLR_NONE, kBlue, 2);
    ::Arc(dc, 2, 3, 15, 16, 15, 9, 2, 9);
  }
  {
    const TInk ink(dc, CLR_NONE, kInk, 2);
    ::MoveToEx(dc, 8, 9, nullptr);
    ::LineTo(dc, 12, 5);
  }
  const TInk ink(dc, kInk, CLR_NONE);
  ::Ellipse(dc, 6, 8, 11, 12);
  ::Rectangle(dc, 2, 12, 15, 15);
}

void Flag(HDC dc) {
  {
    const TInk ink(dc, kInk, CLR_NONE);
    ::Rectangle(dc, 3, 1, 5, 15);
    ::Rectangle(dc, 1, 13, 8, 16);
  }
  const TInk ink(dc, RGB(214, 60, 40), CLR_NONE);
  Polygon(dc, Points({{5, 2}, {14, 5}, {5, 9}}, false));
}

void PaintToolImage(HDC dc, int index) {
  switch (index) {
    case 0: Open(dc); break;
    case 1: CurvedArrow(dc, false); break;
    case 2: CurvedArrow(dc, true); break;
    case 3: Disk(dc); break;
    case 4: SaveAs(dc); break;
    case 5: AutoArrow(dc, false); break;
    case 6: AutoArrow(dc, true); break;
    case 7: EndArrow(dc, false); break;
    case 8: EndArrow(dc, true); break;
    case 9: Info(dc); break;
    case 10: Gauge(dc); break;
    case 11: Flag(dc); break;
    default: break;
  }
}

// The program's image on a 64-unit grid, as packaging/kelvane.svg draws it: a
// page of text with a curved arrow turning back through it.
void PaintApp(HDC dc) {
  {
    const TInk ink(dc, RGB(0xfd, 0xfd, 0xf8), RGB(0x4a, 0x5a, 0x70), 3);
    ::RoundRect(dc, 12, 6, 52, 58, 6, 6);
  }
  {
    const TInk ink(dc, CLR_NONE, RGB(0x9a, 0xa8, 0xbc), 3);
    for (const RECT& line : {RECT{19, 17, 45, 17}, RECT{19, 25, 41, 25}, RECT{19, 33, 45, 33}, RECT{19, 41, 35, 41}}) {
      ::MoveToEx(dc, line.left, line.top, nullptr);
      ::LineTo(dc, line.right, line.bottom);
    }
  }
  const COLORREF red = RGB(0xd2, 0x45, 0x2e);
  {
    const TInk ink(dc, CLR_NONE, red, 5);
    ::Arc(dc, 17, 26, 49, 58, 48, 48, 44, 30);
  }
  const TInk ink(dc, red, CLR_NONE);
  Polygon(dc, Points({{36, 28}, {47, 26}, {47, 38}}, false));
}

}  // namespace

HIMAGELIST CreateToolImages() {
  HIMAGELIST list = ::ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kToolImageCount, 0);
  GdiBitmap image;
  image.SetSize(16, 16);
  for (int i = 0; i < kToolImageCount; ++i) {
    const RECT all{0, 0, 16, 16};
    const TGdiPtr<HBRUSH> mask(::CreateSolidBrush(kMask));
    ::FillRect(image.Dc(), &all, mask.get());
    PaintToolImage(image.Dc(), i);
    ::GdiFlush();
    const TDeselected bitmap(image.Dc());
    ::ImageList_AddMasked(list, bitmap.Get(), kMask);
  }
  return list;
}

HICON CreateAppIcon(int size) {
  GdiBitmap color;
  color.SetSize(size, size);
  const RECT all{0, 0, size, size};
  const TGdiPtr<HBRUSH> mask(::CreateSolidBrush(kMask));
  ::FillRect(color.Dc(), &all, mask.get());
  ::SetMapMode(color.Dc(), MM_ANISOTROPIC);
  ::SetWindowExtEx(color.Dc(), 64, 64, nullptr);
  ::SetViewportExtEx(color.Dc(), size, size, nullptr);
  PaintApp(color.Dc());
  ::SetMapMode(color.Dc(), MM_TEXT);
  ::GdiFlush();
  // Alpha from the mask colour: opaque where the image was drawn.
  auto* pixels = const_cast<uint32_t*>(color.Pixels());
  for (int i = 0; i < size * size; ++i) pixels[i] = (pixels[i] & 0xFFFFFF) == 0xFF00FF ? 0 : pixels[i] | 0xFF000000u;
  const TDeselected bitmap(color.Dc());
  const TGdiPtr<HBITMAP> monochrome(::CreateBitmap(size, size, 1, 1, nullptr));
  ICONINFO info{TRUE, 0, 0, monochrome.get(), bitmap.Get()};
  return ::CreateIconIndirect(&info);
}

}  // namespace kelvane
