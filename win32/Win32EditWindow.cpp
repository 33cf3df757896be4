// The editor control's window on Windows: messages in, host requests out.
#include "win32/Win32EditWindow.h"

#include <cstring>
#include <exception>
#include <vector>

#include "platform/Codepage.h"
#include "win32/WinText.h"
#include "win32/WindowClass.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneEdit";
constexpr LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT), SORT_DEFAULT);
constexpr size_t kReconvertHeader = 32;  // the control's RECONVERTSTRING in bytes

int BarOf(ScrollBarKind bar) { return bar == ScrollBarKind::Vert ? SB_VERT : SB_HORZ; }

void RegisterClassOnce() { RegisterWindowClass({kClassName, DefWindowProcW, IDC_IBEAM, nullptr, CS_DBLCLKS}); }

// The clipboard, opened for the life of the scope. Another program may hold
// it for a moment; a few tries get past that.
class TClipboardScope {
 public:
  explicit TClipboardScope(HWND owner) {
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = ::OpenClipboard(owner) != 0;
      if (!open_) ::Sleep(10);
    }
  }
  ~TClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  TClipboardScope(const TClipboardScope&) = delete;
  TClipboardScope& operator=(const TClipboardScope&) = delete;
  bool Open() const { return open_; }

 private:
  bool open_ = false;
};

// Global memory holding Size bytes from Data, for SetClipboardData to own.
HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  if (void* p = ::GlobalLock(memory)) {
    std::memcpy(p, data, size);
    ::GlobalUnlock(memory);
    return memory;
  }
  ::GlobalFree(memory);
  return nullptr;
}

bool PutClipboard(UINT format, const void* data, size_t size) {
  HGLOBAL memory = GlobalCopy(data, size);
  if (memory && ::SetClipboardData(format, memory)) return true;
  if (memory) ::GlobalFree(memory);
  return false;
}

// The text of a clipboard format, up to its first NUL, as the plain-text
// formats end.
template <typename Char>
std::optional<std::basic_string<Char>> ReadClipboard(UINT format) {
  HGLOBAL memory = ::GetClipboardData(format);
  if (!memory) return std::nullopt;
  const auto* p = static_cast<const Char*>(::GlobalLock(memory));
  if (!p) return std::nullopt;
  const size_t limit = ::GlobalSize(memory) / sizeof(Char);
  size_t n = 0;
  while (n < limit && p[n] != 0) ++n;
  std::basic_string<Char> text(p, n);
  ::GlobalUnlock(memory);
  return text;
}

}  // namespace

Win32EditWindow::Win32EditWindow(HWND parent, int id) {
  RegisterClassOnce();
  hwnd_ = ::CreateWindowExW(WS_EX_STATICEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                            100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  cursor_ = ::LoadCursorW(nullptr, IDC_IBEAM);
  OnError = [](const std::string& message) { ::OutputDebugStringW(ToWide(message).c_str()); };
  editor_ = std::make_unique<TVeskEdit>(*this);
  Resize();
  editor_->CreateWnd();
  created_ = true;
  Resize();
}

// The control goes first: its destructor may still talk to the host.
Win32EditWindow::~Win32EditWindow() {
  editor_.reset();
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

LRESULT CALLBACK Win32EditWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32EditWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->editor_) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT Win32EditWindow::Guard(const std::function<LRESULT()>& body) {
  try {
    return body();
  } catch (const std::exception& ex) {
    if (OnError) OnError(ex.what());
  } catch (...) {
    if (OnError) OnError("unknown exception");
  }
  return 0;
}

// Rows are drawn straight onto the surface, so every message may have changed it.
LRESULT Win32EditWindow::Send(uint32_t msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = editor_->Perform(msg, wParam, lParam);
  if (redraw_) ::InvalidateRect(hwnd_, nullptr, FALSE);
  return result;
}

LRESULT Win32EditWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      const HDC dc = ::BeginPaint(hwnd_, &ps);
      Guard([&] {
        PaintTo(dc);
        return LRESULT{0};
      });
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      return Guard([&] {
        PaintTo(reinterpret_cast<HDC>(wParam));
        return LRESULT{0};
      });
    case WM_ERASEBKGND: return 1;  // the surface covers it all
    case WM_SIZE:
      return Guard([&] {
        Resize();
        return LRESULT{0};
      });
    case WM_CHAR:
      return Guard([&] {
        if (wParam == L'\t' && ctrlTab_) return LRESULT{0};  // given already with its key
        QueueChar(static_cast<wchar_t>(wParam));
        PumpChars();
        return LRESULT{0};
      });
    case WM_KEYUP:
      Guard([&] { return Send(msg, wParam, lParam); });
      if (OnKeyUp) OnKeyUp();
      return 0;
    case WM_KEYDOWN: return Guard([&] { return OnKeyDown(wParam, lParam); });
    case WM_MOUSEWHEEL: return Guard([&] { return OnWheel(wParam, lParam); });
    // The system's composition window shows the input method's own cursor;
    // the caret under it would be a second one.
    case WM_IME_STARTCOMPOSITION:
      ::HideCaret(hwnd_);
      return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    case WM_IME_ENDCOMPOSITION:
      ::ShowCaret(hwnd_);
      return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_UNDO:
    case EM_CANUNDO:
    case WM_GETDLGCODE: return Guard([&] { return Send(msg, wParam, lParam); });
    // A second press of these buttons is a press to the control.
    case WM_RBUTTONDBLCLK: return Guard([&] { return Send(WM_RBUTTONDOWN, wParam, lParam); });
    case WM_MBUTTONDBLCLK: return Guard([&] { return Send(WM_MBUTTONDOWN, wParam, lParam); });
    case WM_HSCROLL: return Guard([&] { return OnScroll(ScrollBarKind::Horz, msg, wParam, lParam); });
    case WM_VSCROLL: return Guard([&] { return OnScroll(ScrollBarKind::Vert, msg, wParam, lParam); });
    case WM_IME_COMPOSITION: return Guard([&] { return OnImeComposition(wParam, lParam); });
    case WM_IME_REQUEST: return Guard([&] { return OnImeRequest(wParam, lParam); });
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    // The control sees these first; the system's handling (the scroll bars'
    // own loop, the input method's windows) still runs.
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEACTIVATE:
    case WM_IME_NOTIFY:
      Guard([&] { return Send(msg, wParam, lParam); });
      return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
    default: return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

// ---- window and surface -------------------------------------------------------

TSize Win32EditWindow::OuterSize() const {
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  return {r.right - r.left, r.bottom - r.top};
}

void Win32EditWindow::Resize() {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  surface_.SetSize(width, height);
  fullPaint_ = true;
  if (created_) Send(WM_SIZE, 0, MakeLParam(static_cast<uint32_t>(width), static_cast<uint32_t>(height)));
  ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void Win32EditWindow::Invalidate() {
  fullPaint_ = true;
  if (redraw_) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

// The control's rows are repainted as a whole; a partial request costs the same.
void Win32EditWindow::InvalidateRect(const TRect&) { Invalidate(); }

// The control's own Paint asks for this too; inside a paint it is a no-op.
void Win32EditWindow::UpdateNow() {
  if (!painting_ && redraw_) ::UpdateWindow(hwnd_);
}

// A frozen window keeps showing its last picture, and the scroll bars keep
// theirs until it thaws: during a jump through the history they change on
// every step, and only the last can show.
void Win32EditWindow::SetRedraw(bool on) {
  if (on == redraw_) return;
  redraw_ = on;
  if (!on) return;
  for (size_t i = 0; i < barStale_.size(); ++i) {
    if (barStale_[i]) SyncBar(i);
  }
  if (const std::optional<TImePlace> place = imePending_)
    SetImeCompositionWindow(place->X, place->Y, place->Font ? &*place->Font : nullptr);
  Invalidate();
}

void Win32EditWindow::PaintTo(HDC dc) {
  if (redraw_ && fullPaint_) {
    fullPaint_ = false;
    painting_ = true;
    try {
      editor_->Paint();
    } catch (...) {
      painting_ = false;
      throw;
    }
    painting_ = false;
  }
  ::BitBlt(dc, 0, 0, surface_.Width(), surface_.Height(), surface_.Dc(), 0, 0, SRCCOPY);
}

// ---- caret --------------------------------------------------------------------

void Win32EditWindow::CreateCaret(int width, int height) {
  ::CreateCaret(hwnd_, nullptr, std::max(width, 1), std::max(height, 1));
}

void Win32EditWindow::DestroyCaret() { ::DestroyCaret(); }

// ---- scroll bars --------------------------------------------------------------

// Only the control shows and hides its bars: a range that fits the page
// disables a bar rather than taking it away.
void Win32EditWindow::SyncBar(size_t i) {
  barStale_[i] = !redraw_;
  if (!redraw_) return;
  const TScrollInfo& b = info_[i];
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = b.Min;
  si.nMax = b.Max;
  si.nPage = static_cast<UINT>(std::max(0, b.Page));
  si.nPos = b.Pos;
  ::SetScrollInfo(hwnd_, i == Index(ScrollBarKind::Vert) ? SB_VERT : SB_HORZ, &si, TRUE);
}

void Win32EditWindow::SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool) {
  info_[Index(bar)].Assign(info);
  SyncBar(Index(bar));
}

void Win32EditWindow::SetScrollPos(ScrollBarKind bar, int pos, bool) {
  info_[Index(bar)].SetPos(pos);
  SyncBar(Index(bar));
}

void Win32EditWindow::ShowScrollBar(ScrollBarKind bar, bool show) { ::ShowScrollBar(hwnd_, BarOf(bar), show); }

// The thumb's place while it is dragged is the bar's; the control reads it
// from the track position.
LRESULT Win32EditWindow::OnScroll(ScrollBarKind bar, UINT msg, WPARAM wParam, LPARAM lParam) {
  const UINT code = LOWORD(wParam);
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    if (::GetScrollInfo(hwnd_, BarOf(bar), &si)) info_[Index(bar)].TrackPos = si.nTrackPos;
  }
  return Send(msg, wParam, lParam);
}

// ---- keyboard -----------------------------------------------------------------

// Ctrl+Tab makes no character on Windows, but the control takes Tab as one
// and moves the focus when Ctrl is held; so the key brings its character.
LRESULT Win32EditWindow::OnKeyDown(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Send(WM_KEYDOWN, wParam, lParam);
  ctrlTab_ = wParam == VK_TAB && IsKeyDown(VK_CONTROL);
  if (ctrlTab_) {
    QueueChar(L'\t');
    PumpChars();
  }
  return result;
}

// High-resolution wheels send fractions of a notch; they add up to whole
// notches, each one step of the control's.
LRESULT Win32EditWindow::OnWheel(WPARAM wParam, LPARAM lParam) {
  wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
  const WPARAM keys = GET_KEYSTATE_WPARAM(wParam);
  while (wheelRest_ >= WHEEL_DELTA || wheelRest_ <= -WHEEL_DELTA) {
    const int notch = wheelRest_ > 0 ? WHEEL_DELTA : -WHEEL_DELTA;
    wheelRest_ -= notch;
    Send(WM_MOUSEWHEEL, keys | (static_cast<WPARAM>(static_cast<uint16_t>(static_cast<int16_t>(notch))) << 16), lParam);
  }
  return 0;
}

// A Unicode window gets UTF-16; the control takes code page 932 bytes, a
// double-byte character as its lead and trail byte one after the other.
void Win32EditWindow::QueueChar(wchar_t unit) {
  std::u16string text;
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    highSurrogate_ = unit;
    return;
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF && highSurrogate_) text += static_cast<char16_t>(highSurrogate_);
  highSurrogate_ = 0;
  text += static_cast<char16_t>(unit);
  for (char b : cp932::FromUtf16(text)) chars_.push_back(static_cast<unsigned char>(b));
}

void Win32EditWindow::PumpChars() {
  while (!chars_.empty()) {
    const uint32_t c = chars_.front();
    chars_.pop_front();
    Send(WM_CHAR, c);
  }
}

std::optional<uint32_t> Win32EditWindow::PeekChar(bool remove) {
  if (chars_.empty()) {
    MSG m{};
    if (!::PeekMessageW(&m, hwnd_, WM_CHAR, WM_CHAR, PM_REMOVE)) return std::nullopt;
    QueueChar(static_cast<wchar_t>(m.wParam));
    if (chars_.empty()) return std::nullopt;
  }
  const uint32_t c = chars_.front();
  if (remove) chars_.pop_front();
  return c;
}

// ---- input method -------------------------------------------------------------

// The result string is the control's (as code page 932, up to its first
// NUL); what is being composed stays with the system's composition window.
LRESULT Win32EditWindow::OnImeComposition(WPARAM wParam, LPARAM lParam) {
  if (lParam & GCS_RESULTSTR) {
    std::wstring result;
    if (HIMC imc = ::ImmGetContext(hwnd_)) {
      const LONG bytes = ::ImmGetCompositionStringW(imc, GCS_RESULTSTR, nullptr, 0);
      if (bytes > 0) {
        result.resize(static_cast<size_t>(bytes) / sizeof(wchar_t));
        ::ImmGetCompositionStringW(imc, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
      }
      ::ImmReleaseContext(hwnd_, imc);
    }
    imeResult_ = WideToCp932(result.substr(0, result.find(L'\0')));
    Send(WM_IME_COMPOSITION, wParam, GCS_RESULTSTR);
  }
  const LPARAM rest = lParam & ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR |
                                                    GCS_RESULTREADCLAUSE);
  return rest ? ::DefWindowProcW(hwnd_, WM_IME_COMPOSITION, wParam, rest) : 0;
}

// The control answers reconversion with code page 932; a Unicode window's
// input method wants the UTF-16 form of the same structure.
LRESULT Win32EditWindow::OnImeRequest(WPARAM wParam, LPARAM lParam) {
  if (wParam != IMR_RECONVERTSTRING) return Send(WM_IME_REQUEST, wParam, lParam);
  const LRESULT need = Send(WM_IME_REQUEST, wParam, 0);
  if (need < static_cast<LRESULT>(kReconvertHeader)) return 0;
  std::vector<unsigned char> ansi(static_cast<size_t>(need));
  Send(WM_IME_REQUEST, wParam, reinterpret_cast<LPARAM>(ansi.data()));
  const std::string selected(reinterpret_cast<const char*>(ansi.data()) + kReconvertHeader, ansi.size() - kReconvertHeader);
  const std::wstring wide = Cp932ToWide(selected);
  const size_t size = sizeof(RECONVERTSTRING) + (wide.size() + 1) * sizeof(wchar_t);
  if (lParam == 0) return static_cast<LRESULT>(size);
  auto* rs = reinterpret_cast<RECONVERTSTRING*>(lParam);
  const auto length = static_cast<DWORD>(wide.size());
  *rs = RECONVERTSTRING{static_cast<DWORD>(size), 0, length, sizeof(RECONVERTSTRING), length, 0, length, 0};
  auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<unsigned char*>(rs) + sizeof(RECONVERTSTRING));
  std::copy(wide.begin(), wide.end(), text);
  text[wide.size()] = L'\0';
  return static_cast<LRESULT>(size);
}

// A frozen window keeps the last place and sets it when it thaws: a jump
// through the history moves the caret on every step.
bool Win32EditWindow::SetImeCompositionWindow(int x, int y, const TFontSpec* font) {
  HIMC imc = ::ImmGetContext(hwnd_);
  if (!imc) return false;
  if (!redraw_) {
    ::ImmReleaseContext(hwnd_, imc);
    imePending_ = TImePlace{x, y, font ? std::optional<TFontSpec>(*font) : std::nullopt};
    return true;
  }
  imePending_.reset();
  COMPOSITIONFORM form{};
  form.dwStyle = CFS_POINT;
  form.ptCurrentPos = {x, y};
  ::ImmSetCompositionWindow(imc, &form);
  if (font) {
    LOGFONTW log = ToLogFont(*font);
    ::ImmSetCompositionFontW(imc, &log);
  }
  ::ImmReleaseContext(hwnd_, imc);
  return true;
}

// ---- clipboard ----------------------------------------------------------------

// Unicode for every reader, code page 932 bytes for the old ones, and the
// locale that says the bytes are Japanese, so the system converts them right.
bool Win32EditWindow::SetClipboardText(const std::string& cp932) {
  const TClipboardScope clipboard(hwnd_);
  if (!clipboard.Open() || !::EmptyClipboard()) return false;
  const std::wstring wide = Cp932ToWide(cp932);
  const LCID locale = kJapanese;
  bool ok = PutClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  ok = PutClipboard(CF_TEXT, cp932.c_str(), cp932.size() + 1) && ok;
  ok = PutClipboard(CF_LOCALE, &locale, sizeof(locale)) && ok;
  return ok;
}

std::optional<std::string> Win32EditWindow::GetClipboardText() {
  const TClipboardScope clipboard(hwnd_);
  if (!clipboard.Open()) return std::nullopt;
  if (::IsClipboardFormatAvailable(CF_UNICODETEXT)) {
    if (auto wide = ReadClipboard<wchar_t>(CF_UNICODETEXT)) return WideToCp932(*wide);
  }
  if (::IsClipboardFormatAvailable(CF_TEXT)) return ReadClipboard<char>(CF_TEXT);
  return std::nullopt;
}

// ---- the rest -----------------------------------------------------------------

void Win32EditWindow::FocusNextControl(bool forward) {
  if (HWND next = ::GetNextDlgTabItem(::GetParent(hwnd_), hwnd_, !forward)) ::SetFocus(next);
}

void Win32EditWindow::ReleaseCapture() {
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
}

void Win32EditWindow::SetCursor(TCursorShape shape) {
  const wchar_t* id = IDC_IBEAM;
  switch (shape) {
    case TCursorShape::Arrow: id = IDC_ARROW; break;
    case TCursorShape::IBeam: id = IDC_IBEAM; break;
    case TCursorShape::Drag: id = IDC_SIZEALL; break;
    case TCursorShape::NoDrop: id = IDC_NO; break;
  }
  cursor_ = ::LoadCursorW(nullptr, id);
  POINT p{};
  ::GetCursorPos(&p);
  if (::WindowFromPoint(p) == hwnd_) ::SetCursor(cursor_);
}

LRESULT Win32EditWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT) return ::DefWindowProcW(hwnd_, WM_SETCURSOR, wParam, lParam);
  ::SetCursor(cursor_);
  return TRUE;
}

TPoint Win32EditWindow::MousePos() const {
  POINT p{};
  ::GetCursorPos(&p);
  ::ScreenToClient(hwnd_, &p);
  return {p.x, p.y};
}

}  // namespace kelvane
