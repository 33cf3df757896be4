// The timeline strip as a Win32 window. Scrubbing repaints it at every
// tracking step, so a paint is the cached layer and three thin overlays; the
// layer is drawn again only for a new timeline or size.
#include "win32/Win32TimelinePanel.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "history/PanelColors.h"
#include "history/PanelText.h"
#include "win32/Win32PanelWindow.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneTimeline";
constexpr COLORREF kBackground = RGB(252, 252, 250);
constexpr COLORREF kRule = RGB(224, 224, 220);
constexpr COLORREF kAreaColor = RGB(212, 226, 242);
constexpr COLORREF kBandColor = RGB(160, 188, 222);
constexpr COLORREF kLineColor = RGB(74, 112, 168);
constexpr COLORREF kShadeColor = RGB(214, 214, 214);
constexpr COLORREF kHatchColor = RGB(166, 166, 166);
constexpr COLORREF kPointColor = RGB(200, 24, 24);
constexpr COLORREF kPointHalo = RGB(255, 255, 255);
constexpr COLORREF kRangeColor = RGB(245, 198, 98);  // the band's amber over the strip's paper
constexpr COLORREF kPoleColor = RGB(40, 40, 48);
constexpr COLORREF kFlagColor = RGB(214, 60, 40);  // the explorer's flag
constexpr int kDot = 2;

void Fill(HDC dc, int left, int top, int width, int height, COLORREF color) {
  if (width <= 0 || height <= 0) return;
  const RECT r{left, top, left + width, top + height};
  ::SetBkColor(dc, color);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);  // a solid fill without a brush
}

void Shade(HDC dc, int left, int right, int height) {
  if (right <= left) return;
  const TGdiPtr<HBRUSH> hatch(::CreateHatchBrush(HS_BDIAGONAL, kHatchColor));
  const RECT r{left, 0, right, height};
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, kShadeColor);  // the hatch's gaps
  ::FillRect(dc, &r, hatch.get());
}

void FillPolygon(HDC dc, const std::vector<POINT>& points, COLORREF color) {
  const TGdiPtr<HBRUSH> brush(::CreateSolidBrush(color));
  const HGDIOBJ oldBrush = ::SelectObject(dc, brush.get());
  const HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  ::Polygon(dc, points.data(), static_cast<int>(points.size()));
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

// The length as an area up to each column's longest text, the range its
// points span darker along the top.
void DrawBytes(HDC dc, const TTimelineColumns& columns, const TTimelineGeometry& g) {
  std::vector<POINT> upper, lower;
  for (size_t c = 0; c < columns.Bytes.size(); ++c) {
    if (columns.Bytes[c].Max < 0) continue;
    const int x = g.Left + static_cast<int>(c);
    upper.push_back({x, static_cast<int>(columns.YOf(g, columns.Bytes[c].Max))});
    lower.push_back({x, static_cast<int>(columns.YOf(g, columns.Bytes[c].Min))});
  }
  if (upper.empty()) return;
  const int base = g.Plot.Bottom() + 1;
  std::vector<POINT> area = upper;
  area.insert(area.begin(), POINT{upper.front().x, base});
  area.push_back({upper.back().x + 1, base});
  FillPolygon(dc, area, kAreaColor);
  std::vector<POINT> band = upper;
  band.insert(band.end(), lower.rbegin(), lower.rend());
  FillPolygon(dc, band, kBandColor);
  const TGdiPtr<HPEN> pen(::CreatePen(PS_SOLID, 1, kLineColor));
  const HGDIOBJ old = ::SelectObject(dc, pen.get());
  ::Polyline(dc, upper.data(), static_cast<int>(upper.size()));
  ::SelectObject(dc, old);
}

void DrawEdits(HDC dc, const TTimelineColumns& columns, const TTimelineGeometry& g) {
  const size_t rows = static_cast<size_t>(columns.Rows);
  for (size_t i = 0; i < columns.Dots.size(); ++i) {
    if (columns.Dots[i] == 0) continue;
    const int x = g.Left + static_cast<int>(i / rows), y = g.Plot.Top + static_cast<int>(i % rows);
    Fill(dc, x - kDot / 2 + 1, y - kDot / 2 + 1, kDot, kDot, KindColor(static_cast<TEditKind>(columns.Dots[i] - 1)));
  }
}

int MouseX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }

}  // namespace

Win32TimelinePanel::Win32TimelinePanel(HWND parent, int id) {
  CreatePanelWindow(kClassName, &PanelProc<Win32TimelinePanel>, parent, id, WS_TABSTOP, this);
  BuildToolTip();
}

// The tip asks for its text each time it shows; it is taken down whenever
// the point under the mouse changes, so that it shows again for the new one.
void Win32TimelinePanel::BuildToolTip() {
  tip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                           hwnd_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  ::SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
}

const std::pair<int64_t, std::string>* Win32TimelinePanel::MarkerNear(int x) const {
  return kelvane::MarkerNear(Geometry(), markers_, x);
}

LRESULT Win32TimelinePanel::OnNotify(NMHDR& n) {
  if (n.hwndFrom != tip_ || n.code != TTN_GETDISPINFOW) return 0;
  auto& info = reinterpret_cast<NMTTDISPINFOW&>(n);
  tipText_.clear();
  if (timeline_) {
    const auto* marker = MarkerNear(tipX_);
    tipText_ = ToWide(TimelineTip(*timeline_, Geometry().PointAt(tipX_), marker ? &marker->second : nullptr));
  }
  info.lpszText = tipText_.data();
  return 0;
}

Win32TimelinePanel::~Win32TimelinePanel() {
  if (tip_) ::DestroyWindow(tip_);
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void Win32TimelinePanel::SetTimeline(const TTimeline* timeline) {
  timeline_ = timeline;
  layerStale_ = true;
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32TimelinePanel::SetPoint(int64_t point) {
  if (point == point_) return;
  const TTimelineGeometry g = Geometry();
  for (const int64_t p : {point_, point}) {
    const RECT column{g.XOf(p) - 1, 0, g.XOf(p) + 2, g.Height};  // the line and its halo
    ::InvalidateRect(hwnd_, &column, FALSE);
  }
  point_ = point;
}

void Win32TimelinePanel::SetMarkers(std::vector<std::pair<int64_t, std::string>> markers) {
  if (markers == markers_) return;
  markers_ = std::move(markers);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32TimelinePanel::SetRanges(std::vector<TPointRange> ranges) {
  if (ranges == ranges_) return;
  ranges_ = std::move(ranges);
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

TTimelineGeometry Win32TimelinePanel::Geometry() const {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return TimelineGeometry(r.right, r.bottom, Total());
}

// ---- painting --------------------------------------------------------------------

void Win32TimelinePanel::BuildLayer(const TTimelineGeometry& g) {
  layer_.SetSize(g.Width, g.Height);
  const HDC dc = layer_.Dc();
  Fill(dc, 0, 0, g.Width, g.Height, kBackground);
  Fill(dc, 0, g.Plot.Top - 1, g.Width, 1, kRule);
  Fill(dc, 0, g.Ranges.Top, g.Width, 1, kRule);
  if (timeline_) {
    const TTimelineColumns columns = TimelineColumns(*timeline_, g);
    Shade(dc, 0, columns.ShadeBefore, g.Height);
    Shade(dc, columns.ShadeFrom, g.Width, g.Height);
    DrawBytes(dc, columns, g);
    DrawEdits(dc, columns, g);
  }
  layerStale_ = false;
  ++layerBuilds_;
}

// Ranges next to each other on the screen are filled as one.
void Win32TimelinePanel::PaintOverlays(HDC dc, const TTimelineGeometry& g) const {
  int from = 0, to = -1;
  const auto fill = [&] { Fill(dc, from, g.Ranges.Top + 1, to - from + 1, g.Ranges.Height - 1, kRangeColor); };
  for (const TPointRange& r : ranges_) {
    if (r.To <= r.From) continue;
    const int x0 = g.XOf(r.From), x1 = g.XOf(r.To - 1);
    if (x0 > to + 1) {
      if (to >= from) fill();
      from = x0;
    }
    to = std::max(to, x1);
  }
  if (to >= from) fill();
  for (const auto& marker : markers_) {
    const int x = g.XOf(marker.first);
    Fill(dc, x, 0, 1, g.Flags.Height, kPoleColor);
    FillPolygon(dc, {{x + 1, 0}, {x + 6, 2}, {x + 1, 5}}, kFlagColor);
  }
  if (!timeline_) return;
  const int x = g.XOf(point_);
  Fill(dc, x - 1, 0, 3, g.Height, kPointHalo);
  Fill(dc, x, 0, 1, g.Height, kPointColor);
}

void Win32TimelinePanel::Paint(HDC dc) {
  const TTimelineGeometry g = Geometry();
  if (g.Width <= 0 || g.Height <= 0) return;
  if (layerStale_ || layer_.Width() != g.Width || layer_.Height() != g.Height) BuildLayer(g);
  frame_.SetSize(g.Width, g.Height);
  ::BitBlt(frame_.Dc(), 0, 0, g.Width, g.Height, layer_.Dc(), 0, 0, SRCCOPY);
  PaintOverlays(frame_.Dc(), g);
  if (::GetFocus() == hwnd_) {
    const RECT r{0, 0, g.Width, g.Height};
    ::DrawFocusRect(frame_.Dc(), &r);
  }
  ::BitBlt(dc, 0, 0, g.Width, g.Height, frame_.Dc(), 0, 0, SRCCOPY);
}

// ---- the mouse and keys ----------------------------------------------------------

void Win32TimelinePanel::Track(int64_t point) {
  tracked_ = point;
  SetPoint(point);
  if (OnTrack) OnTrack(point);
}

void Win32TimelinePanel::Release(int64_t point) {
  tracked_ = -1;
  SetPoint(point);
  if (OnRelease) OnRelease(point);
}

// Bare keys only: with Alt they are the explorer's.
void Win32TimelinePanel::OnKey(WPARAM key) {
  if (!timeline_ || dragging_ || (::GetKeyState(VK_MENU) | ::GetKeyState(VK_CONTROL) | ::GetKeyState(VK_SHIFT)) < 0)
    return;
  const int64_t from = std::clamp<int64_t>(point_, 0, Total());
  int64_t to = from;
  switch (key) {
    case VK_LEFT: to = from - 1; break;
    case VK_RIGHT: to = from + 1; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = Total(); break;
    default: return;
  }
  to = std::clamp<int64_t>(to, 0, Total());
  if (to == from) return;
  Track(to);
  Release(to);
}

LRESULT Win32TimelinePanel::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      const HDC dc = ::BeginPaint(hwnd_, &ps);
      Paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND: return 1;  // the frame covers every pixel
    case WM_SIZE: ::InvalidateRect(hwnd_, nullptr, FALSE); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: ::InvalidateRect(hwnd_, nullptr, FALSE); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      ::SetFocus(hwnd_);
      if (!timeline_) return 0;
      dragging_ = true;
      ::SetCapture(hwnd_);
      Track(Geometry().PointAt(MouseX(lParam)));
      return 0;
    case WM_MOUSEMOVE: {
      tipX_ = MouseX(lParam);
      const int64_t p = Geometry().PointAt(tipX_);
      if (p != tipPoint_) {
        tipPoint_ = p;
        ::SendMessageW(tip_, TTM_POP, 0, 0);
      }
      if (dragging_ && p != tracked_) Track(p);
      return 0;
    }
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ::ReleaseCapture();
        Release(Geometry().PointAt(MouseX(lParam)));
      }
      return 0;
    case WM_CAPTURECHANGED:  // taken away mid-drag (a box, another window): it ends where it was
      if (dragging_) {
        dragging_ = false;
        Release(tracked_ >= 0 ? tracked_ : point_);
      }
      return 0;
    case WM_KEYDOWN: OnKey(wParam); return 0;
    default: break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace kelvane
