// The diff pane on Win32: its messages, the rows' measures and scroll ranges,
// and painting in the phases of a row (background, marks, text, gutter).
#include "win32/Win32DiffPane.h"

#include <algorithm>

#include "history/PanelColors.h"
#include "history/PanelText.h"
#include "win32/Win32PanelWindow.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneDiffPane";
constexpr UINT_PTR kRestTimer = 1;
constexpr int kRowGap = 2;     // pixels between rows, split above and below
constexpr int kPad = 6;        // around each column of the gutter and before the text
constexpr int kHeaderPad = 4;
constexpr int kWheelRows = 3;
constexpr TDiffPalette kLook = kDiffPalette;

struct TRowLook {
  COLORREF Back, Mark, Gutter;
  const wchar_t* Sign;
};

TRowLook LookOf(TDiffRowKind kind) {
  switch (kind) {
    case TDiffRowKind::removed: return {kLook.RemovedBack, kLook.RemovedMark, kLook.RemovedGutter, L"−"};
    case TDiffRowKind::added: return {kLook.AddedBack, kLook.AddedMark, kLook.AddedGutter, L"+"};
    case TDiffRowKind::hunk: return {kLook.HunkBack, kLook.HunkBack, kLook.HunkBack, L""};
    default: return {kLook.Paper, kLook.Paper, kLook.Gutter, L""};
  }
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
  ::SetBkColor(dc, color);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

int TextWidth(HDC dc, const std::wstring& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// A scratch context measuring in Font.
struct TMeasureDc {
  explicit TMeasureDc(HFONT font) : dc(::CreateCompatibleDC(nullptr)), old(::SelectObject(dc, font)) {}
  ~TMeasureDc() {
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
  }
  HDC dc;
  HGDIOBJ old;
};

}  // namespace

Win32DiffPane::Win32DiffPane(HWND parent, int id, HFONT headerFont) : headerFont_(headerFont) {
  CreatePanelWindow(kClassName, &PanelProc<Win32DiffPane>, parent, id, WS_VSCROLL | WS_HSCROLL, this);
  const TMeasureDc m(headerFont_);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(m.dc, &tm);
  headerHeight_ = tm.tmHeight + 2 * kHeaderPad;
  SetEditorFont(TFontSpec{"ＭＳ ゴシック", 12});
  Clear();
}

Win32DiffPane::~Win32DiffPane() {
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void Win32DiffPane::SetDiff(std::unique_ptr<TTextDiff> diff, int64_t from, int64_t to) {
  if (!diff) {
    from_.reset();
    Show(nullptr, {}, DiffPointsTitle(from, to), kDiffUnreachable);
    return;
  }
  // With A where it was, the view stays on the same place of A's text.
  const int32_t keep = from_ == from ? TopOldLine() : -1;
  from_ = from;
  std::vector<TDiffRow> rows = BuildDiffRows(*diff);
  const TDiffCounts counts = DiffCounts(*diff);
  std::string header = DiffHeader(from, to, *diff);
  std::string message = diff->Equal() ? kDiffEqual : "";
  Show(std::move(diff), std::move(rows), std::move(header), std::move(message));
  if (keep >= 0) ScrollTo(static_cast<int>(FirstRowFrom(rows_, keep)), 0);
  removed_ = counts.Removed;
  added_ = counts.Added;
}

void Win32DiffPane::Clear() {
  from_.reset();
  Show(nullptr, {}, "", kDiffHint);
}

void Win32DiffPane::Show(std::unique_ptr<TTextDiff> diff, std::vector<TDiffRow> rows, std::string header,
                         std::string message) {
  rows_ = std::move(rows);  // before the diff they point into goes
  diff_ = std::move(diff);
  removed_ = added_ = 0;
  header_ = std::move(header);
  message_ = std::move(message);
  top_ = left_ = 0;
  Measure();
  UpdateScrollBars();
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32DiffPane::SetEditorFont(const TFontSpec& spec) {
  const LOGFONTW log = ToLogFont(spec);
  font_.reset(::CreateFontIndirectW(&log));
  widths_.clear();
  const TMeasureDc m(font_.get());
  TEXTMETRICW tm{};
  ::GetTextMetricsW(m.dc, &tm);
  lineHeight_ = tm.tmHeight + kRowGap;
  ascentGap_ = kRowGap / 2;
  digitWidth_ = std::max(1, CharWidth(m.dc, L'0'));
  columnWidth_ = std::max(digitWidth_, (CharWidth(m.dc, L'\u3042') + 1) / 2);  // half a kana
  Measure();
  UpdateScrollBars();
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

int Win32DiffPane::CharWidth(HDC dc, wchar_t c) {
  const auto it = widths_.find(c);
  if (it != widths_.end()) return it->second;
  SIZE size{};
  ::GetTextExtentPoint32W(dc, &c, 1, &size);
  return widths_[c] = size.cx;
}

// The gutter fits the longer text's line numbers; how far the text scrolls
// sideways comes from the widest row in columns, widened as rows are painted.
void Win32DiffPane::Measure() {
  numberWidth_ = GutterDigits(diff_.get()) * digitWidth_;
  gutterWidth_ = 2 * numberWidth_ + digitWidth_ + 4 * kPad;
  int32_t columns = 0;
  for (const TDiffRow& row : rows_) columns = std::max(columns, ShownColumns(row.Bytes));
  textWidth_ = columns * columnWidth_;
  const TMeasureDc m(headerFont_);
  for (const TDiffRow& row : rows_)
    if (row.Kind == TDiffRowKind::hunk) textWidth_ = std::max(textWidth_, TextWidth(m.dc, ToWide(DiffHunkTitle(row))));
}

int Win32DiffPane::VisibleRows() const {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  return std::max(1, (static_cast<int>(r.bottom) - HeaderHeight()) / lineHeight_);
}

void Win32DiffPane::UpdateScrollBars() {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  SCROLLINFO v{};
  v.cbSize = sizeof(v);
  v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  v.nMax = std::max(0, static_cast<int>(rows_.size()) - 1);
  v.nPage = static_cast<UINT>(VisibleRows());
  v.nPos = top_;
  ::SetScrollInfo(hwnd_, SB_VERT, &v, TRUE);
  SCROLLINFO h = v;
  h.nMax = textWidth_ + 2 * kPad;
  h.nPage = static_cast<UINT>(std::max(1, static_cast<int>(r.right) - gutterWidth_));
  h.nPos = left_;
  ::SetScrollInfo(hwnd_, SB_HORZ, &h, TRUE);
}

void Win32DiffPane::ScrollTo(int top, int left) {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  top_ = std::clamp(top, 0, std::max(0, static_cast<int>(rows_.size()) - VisibleRows()));
  left_ = std::clamp(left, 0, std::max(0, textWidth_ + 2 * kPad - (static_cast<int>(r.right) - gutterWidth_)));
  UpdateScrollBars();
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32DiffPane::OnScroll(int bar, WPARAM wParam) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ::GetScrollInfo(hwnd_, bar, &si);
  const int line = bar == SB_VERT ? 1 : 4 * digitWidth_;
  int pos = si.nPos;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
  }
  if (bar == SB_VERT) ScrollTo(pos, left_);
  else ScrollTo(top_, pos);
}

int32_t Win32DiffPane::TopOldLine() const {
  for (auto i = static_cast<size_t>(top_); i < rows_.size(); ++i)
    if (rows_[i].OldLine >= 0) return rows_[i].OldLine;
  return -1;
}

void Win32DiffPane::WaitForRest(UINT ms) {
  waiting_ = true;
  ::SetTimer(hwnd_, kRestTimer, ms, nullptr);
}

void Win32DiffPane::StopWaiting() {
  waiting_ = false;
  ::KillTimer(hwnd_, kRestTimer);
}

// ---- painting --------------------------------------------------------------------

void Win32DiffPane::Paint(HDC dc, const RECT& client) {
  Fill(dc, client, kLook.Paper);
  ::SetBkMode(dc, TRANSPARENT);
  PaintHeader(dc, client);
  if (rows_.empty()) return PaintMessage(dc, client);
  const HGDIOBJ old = ::SelectObject(dc, font_.get());
  const size_t last = std::min(rows_.size(), static_cast<size_t>(top_ + VisibleRows() + 1));
  for (auto i = static_cast<size_t>(top_); i < last; ++i) PaintRow(dc, rows_[i], RowTop(i), client.right);
  ::SelectObject(dc, old);
}

void Win32DiffPane::PaintHeader(HDC dc, const RECT& client) const {
  if (header_.empty()) return;
  RECT band{0, 0, client.right, HeaderHeight()};
  Fill(dc, band, ::GetSysColor(COLOR_BTNFACE));
  const HGDIOBJ old = ::SelectObject(dc, headerFont_);
  ::SetTextColor(dc, kLook.Ink);
  RECT text{kPad, 0, client.right - kPad, HeaderHeight()};
  const std::wstring header = ToWide(header_);
  ::DrawTextW(dc, header.c_str(), static_cast<int>(header.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SelectObject(dc, old);
}

void Win32DiffPane::PaintMessage(HDC dc, const RECT& client) const {
  const HGDIOBJ old = ::SelectObject(dc, headerFont_);
  ::SetTextColor(dc, kLook.QuietInk);
  RECT area{3 * kPad, HeaderHeight() + 3 * kPad, client.right - 3 * kPad, client.bottom - 3 * kPad};
  const std::wstring message = ToWide(message_);
  ::DrawTextW(dc, message.c_str(), static_cast<int>(message.size()), &area, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
  ::SelectObject(dc, old);
}

void Win32DiffPane::PaintRow(HDC dc, const TDiffRow& row, int top, int width) {
  Fill(dc, RECT{gutterWidth_, top, width, top + lineHeight_}, LookOf(row.Kind).Back);
  PaintText(dc, row, top, width);
  PaintGutter(dc, row, top);
}

// Each unit at its measured advance and tabs to pixel stops, so the marks
// fall exactly where the characters are drawn.
void Win32DiffPane::PaintText(HDC dc, const TDiffRow& row, int top, int width) {
  const int left = gutterWidth_ + kPad - left_;
  const RECT clip{gutterWidth_, top, width, top + lineHeight_};
  if (row.Kind == TDiffRowKind::hunk || row.Kind == TDiffRowKind::noBreak) {
    const std::wstring title = ToWide(row.Kind == TDiffRowKind::hunk ? DiffHunkTitle(row) : kDiffNoBreak);
    ::SetTextColor(dc, kLook.QuietInk);
    ::ExtTextOutW(dc, left, top + ascentGap_, ETO_CLIPPED, &clip, title.c_str(), static_cast<UINT>(title.size()),
                  nullptr);
    return;
  }
  const std::u16string shown = ShowLine(row.Bytes).Text;
  std::wstring units(shown.begin(), shown.end());
  std::vector<INT> dx(units.size());
  std::vector<int> xs(units.size() + 1, 0);
  const int tab = kDiffTabColumns * columnWidth_;
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i] == L'\t') {
      units[i] = L' ';
      dx[i] = (xs[i] / tab + 1) * tab - xs[i];
    } else {
      dx[i] = CharWidth(dc, units[i]);
    }
    xs[i + 1] = xs[i] + dx[i];
  }
  for (const TShownRange& r : row.Changed) {
    const int x0 = left + xs[static_cast<size_t>(r.Begin)], x1 = left + xs[static_cast<size_t>(r.End)];
    RECT mark{std::max(x0, gutterWidth_), top, std::min(std::max(x1, x0 + 2), width), top + lineHeight_};
    if (mark.right > mark.left) Fill(dc, mark, LookOf(row.Kind).Mark);
  }
  ::SetTextColor(dc, kLook.Ink);
  ::ExtTextOutW(dc, left, top + ascentGap_, ETO_CLIPPED, &clip, units.c_str(), static_cast<UINT>(units.size()),
                dx.data());
  if (xs.back() > textWidth_) {  // a row wider than its columns said: the range grows
    textWidth_ = xs.back();
    UpdateScrollBars();
  }
}

void Win32DiffPane::PaintGutter(HDC dc, const TDiffRow& row, int top) const {
  const TRowLook look = LookOf(row.Kind);
  Fill(dc, RECT{0, top, gutterWidth_, top + lineHeight_}, look.Gutter);
  ::SetTextColor(dc, kLook.QuietInk);
  const auto number = [&](int32_t line, int left) {
    if (line < 0 || row.Kind == TDiffRowKind::hunk) return;
    RECT box{left, top, left + numberWidth_, top + lineHeight_};
    const std::wstring text = std::to_wstring(line + 1);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  };
  number(row.OldLine, kPad);
  number(row.NewLine, 2 * kPad + numberWidth_);
  ::SetTextColor(dc, kLook.Ink);
  RECT sign{3 * kPad + 2 * numberWidth_, top, gutterWidth_, top + lineHeight_};
  ::DrawTextW(dc, look.Sign, -1, &sign, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

LRESULT Win32DiffPane::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      const HDC dc = ::BeginPaint(hwnd_, &ps);
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      if (client.right > 0 && client.bottom > 0) {
        frame_.SetSize(client.right, client.bottom);
        Paint(frame_.Dc(), client);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, frame_.Dc(), 0, 0, SRCCOPY);
      }
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {  // a picture of the pane, as a screenshot or a test takes it
      RECT client{};
      ::GetClientRect(hwnd_, &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: ScrollTo(top_, left_); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, wParam); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, wParam); return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(top_ - GET_WHEEL_DELTA_WPARAM(wParam) * kWheelRows / WHEEL_DELTA, left_);
      return 0;
    case WM_TIMER:
      if (wParam == kRestTimer) {
        StopWaiting();
        if (OnRest) OnRest();
      }
      return 0;
    default: break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace kelvane
