// The history list on Win32 and its search.
#include "win32/Win32HistoryList.h"

#include <algorithm>
#include <array>

#include "history/PanelText.h"
#include "win32/Win32PanelWindow.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneHistoryList";
constexpr int kSearchId = 1;
constexpr int kViewId = 2;
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 250;  // a search of a long history waits for a pause in typing
constexpr int kSearchHeight = 22;
constexpr int kGap = 2;
// What the fixed columns must hold, measured in the list's font as the Qt list
// measures them (seven digits, the longest kind and two digits, nine digits);
// the text takes the rest.
constexpr std::array<const wchar_t*, kHistoryColumnCount - 1> kColumnSamples = {L"0000000", L"行の置換00", L"000000000"};
constexpr int kCellPadding = 12;  // the list view's own margins around a cell's text
constexpr COLORREF kToComeInk = RGB(128, 128, 128);
constexpr COLORREF kUnknownBack = RGB(232, 232, 232);
constexpr COLORREF kCurrentBack = RGB(255, 226, 140);  // the step marks' tint: where the history stands

HWND Child(const wchar_t* cls, DWORD style, HWND parent, int id) {
  return ::CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

Win32HistoryList::Win32HistoryList(HWND parent, int id, HFONT font) {
  static const bool registered = [] {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    return ::InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
  CreatePanelWindow(kClassName, &PanelProc<Win32HistoryList>, parent, id, 0, this);
  search_ = Child(L"EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, hwnd_, kSearchId);
  ::SendMessageW(search_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  ::SendMessageW(search_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(ToWide(kHistorySearchHint).c_str()));
  ::SetWindowSubclass(search_, &SearchProc, 0, reinterpret_cast<DWORD_PTR>(this));
  view_ = Child(WC_LISTVIEWW, WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                hwnd_, kViewId);
  ::SendMessageW(view_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
  BuildColumns(font);
}

Win32HistoryList::~Win32HistoryList() {
  if (search_) ::RemoveWindowSubclass(search_, &SearchProc, 0);
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void Win32HistoryList::BuildColumns(HFONT font) {
  ::SendMessageW(view_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (int c = 0; c < kHistoryColumnCount; ++c) {
    std::wstring title = ToWide(kHistoryHeaders[static_cast<size_t>(c)]);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = c == kHistoryIndex || c == kHistoryPlace ? LVCFMT_RIGHT : LVCFMT_LEFT;
    col.cx = 200;
    if (c < kHistoryText) {
      const LPARAM sample = reinterpret_cast<LPARAM>(kColumnSamples[static_cast<size_t>(c)]);
      col.cx = static_cast<int>(::SendMessageW(view_, LVM_GETSTRINGWIDTHW, 0, sample)) + kCellPadding;
    }
    col.pszText = title.data();
    col.iSubItem = c;
    ::SendMessageW(view_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
  }
}

void Win32HistoryList::Place() {
  RECT r{};
  ::GetClientRect(hwnd_, &r);
  ::MoveWindow(search_, kGap, kGap, std::max(0, static_cast<int>(r.right) - 2 * kGap), kSearchHeight, TRUE);
  const int top = kGap * 2 + kSearchHeight;
  const int width = std::max(0, static_cast<int>(r.right) - 2 * kGap);
  ::MoveWindow(view_, kGap, top, width, std::max(0, static_cast<int>(r.bottom) - top - kGap), TRUE);
  int fixed = ::GetSystemMetrics(SM_CXVSCROLL) + 4;
  for (int c = 0; c < kHistoryText; ++c) fixed += static_cast<int>(::SendMessageW(view_, LVM_GETCOLUMNWIDTH, c, 0));
  ::SendMessageW(view_, LVM_SETCOLUMNWIDTH, kHistoryText, std::max(80, width - fixed));
  ShowPoint();  // a list given room shows the current record, wherever it scrolled to without it
}

// ---- rows ----------------------------------------------------------------------

int Win32HistoryList::Rows() const {
  if (!timeline_) return 0;
  return static_cast<int>(filtered_ ? rows_.size() : static_cast<size_t>(timeline_->Records()));
}

int Win32HistoryList::RowOf(int64_t k) const {
  if (!timeline_ || k < 0) return -1;
  if (!filtered_) return static_cast<int>(std::min(k, timeline_->Records() - 1));
  const auto it = std::upper_bound(rows_.begin(), rows_.end(), k);
  return static_cast<int>(it - rows_.begin()) - 1;
}

int Win32HistoryList::CurrentRow() const {
  return static_cast<int>(::SendMessageW(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::wstring Win32HistoryList::CellText(int row, int column) const {
  if (row < 0 || row >= Rows()) return {};
  const std::string cell = HistoryCell(*timeline_, RecordAt(row), column);
  return ToWide(column == kHistoryText ? MarkedCell(MarkerLabels(markers_, RecordAt(row)), cell) : cell);
}

void Win32HistoryList::SetMarkers(TPanelMarkers markers) {
  if (markers == markers_) return;
  markers_ = std::move(markers);
  ::InvalidateRect(view_, nullptr, FALSE);
}

void Win32HistoryList::SetTimeline(const TTimeline* timeline) {
  timeline_ = timeline;
  if (filtered_) SearchNow();
  else Refill();
}

void Win32HistoryList::Refill() {
  ::SendMessageW(view_, LVM_SETITEMCOUNT, static_cast<WPARAM>(Rows()), 0);
  ::InvalidateRect(view_, nullptr, FALSE);
  ShowPoint();
}

void Win32HistoryList::SetPoint(int64_t point) {
  if (point == point_) return;
  const int before = RowOf(point_ - 1), after = RowOf(point - 1);
  point_ = point;
  // Rows between the two change from done to to-come or back.
  if (std::max(before, after) >= 0)
    ::SendMessageW(view_, LVM_REDRAWITEMS, std::max(0, std::min(before, after)), std::max(before, after));
  ShowPoint();
}

void Win32HistoryList::ShowPoint() {
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  const int row = RowOf(point_ - 1);
  if (row < 0) {
    ::SendMessageW(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (Rows() > 0) ::SendMessageW(view_, LVM_ENSUREVISIBLE, 0, FALSE);
    return;
  }
  LVITEMW at = none;
  at.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&at));
  ::SendMessageW(view_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// ---- the search ------------------------------------------------------------------

void Win32HistoryList::SearchNow() {
  ::KillTimer(hwnd_, kSettleTimer);
  const int length = ::GetWindowTextLengthW(search_);
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(search_, wide.data(), length + 1);
  wide.resize(static_cast<size_t>(length));
  const std::string text = FromWide(wide);
  filtered_ = !text.empty();
  rows_.clear();
  if (filtered_ && timeline_) {
    if (const std::optional<std::string> needle = SearchBytes(text)) rows_ = MatchingRecords(*timeline_, *needle);
  }
  Refill();
  if (OnSearch) OnSearch(text);
}

// Enter in the field searches at once (and does not beep).
LRESULT CALLBACK Win32HistoryList::SearchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
  if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
    reinterpret_cast<Win32HistoryList*>(self)->SearchNow();
    return 0;
  }
  if (msg == WM_CHAR && wParam == L'\r') return 0;
  return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

// ---- messages --------------------------------------------------------------------

void Win32HistoryList::Activate(int row) {
  if (row >= 0 && row < Rows() && OnJump) OnJump(RecordAt(row) + 1);
}

LRESULT Win32HistoryList::CustomDraw(NMLVCUSTOMDRAW& d) const {
  if (d.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (d.nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !timeline_) return CDRF_DODEFAULT;
  const int row = static_cast<int>(d.nmcd.dwItemSpec);
  if (row >= Rows()) return CDRF_DODEFAULT;
  const int64_t k = RecordAt(row);
  if (k >= point_) d.clrText = kToComeInk;  // still to come
  if (!timeline_->Edit(k).Known) d.clrTextBk = kUnknownBack;
  if (k == point_ - 1) {  // in the tint, whether the list has the focus or not
    d.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
    d.clrTextBk = kCurrentBack;
    d.clrText = ::GetSysColor(COLOR_WINDOWTEXT);
  }
  return CDRF_NEWFONT;
}

LRESULT Win32HistoryList::OnNotify(const NMHDR& n) {
  switch (n.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(n)).item;
      if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0) {
        cell_ = CellText(item.iItem, item.iSubItem);
        ::lstrcpynW(item.pszText, cell_.c_str(), item.cchTextMax);
      }
      return 0;
    }
    case LVN_GETINFOTIPW: {
      auto& tip = const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(n));
      if (timeline_ && tip.iItem >= 0 && tip.iItem < Rows() && tip.cchTextMax > 0) {
        const int64_t k = RecordAt(tip.iItem);
        cell_ = ToWide(MarkedTip(MarkerLabels(markers_, k), HistoryTip(*timeline_, k)));
        ::lstrcpynW(tip.pszText, cell_.c_str(), tip.cchTextMax);
      }
      return 0;
    }
    case NM_CUSTOMDRAW:
      return CustomDraw(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(n)));
    case NM_CLICK: Activate(reinterpret_cast<const NMITEMACTIVATE&>(n).iItem); return 0;
    case NM_RETURN: Activate(CurrentRow()); return 0;
    default: return 0;
  }
}

LRESULT Win32HistoryList::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: Place(); return 0;
    case WM_ERASEBKGND: {
      RECT r{};
      ::GetClientRect(hwnd_, &r);
      ::FillRect(reinterpret_cast<HDC>(wParam), &r, ::GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kSearchId && HIWORD(wParam) == EN_CHANGE) ::SetTimer(hwnd_, kSettleTimer, kSettleMs, nullptr);
      return 0;
    case WM_TIMER:
      if (wParam == kSettleTimer) SearchNow();
      return 0;
    case WM_NOTIFY: {
      const auto& n = *reinterpret_cast<const NMHDR*>(lParam);
      if (n.hwndFrom == view_) return OnNotify(n);
      break;
    }
    default: break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

}  // namespace kelvane
