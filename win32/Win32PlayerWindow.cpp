// The player's main window on Windows.
#include "win32/Win32PlayerWindow.h"

#include <exception>
#include <vector>

#include "platform/FileSystem.h"
#include "player/ExplorerKeys.h"
#include "win32/Win32HistoryPanels.h"
#include "win32/Win32ToolImages.h"
#include "win32/WinText.h"
#include "win32/WindowClass.h"

namespace kelvane {

namespace {

constexpr wchar_t kClassName[] = L"KelvaneMain";
constexpr int kEditId = 10;
constexpr int kToolsId = 11;
constexpr int kBarId = 12;
constexpr int kLabelId = 13;
constexpr int kCommandBase = 100;  // + the action's index
constexpr UINT_PTR kAutoTimer = 1;
constexpr int kBarHeight = 22;
constexpr int kDividerWidth = 8;
// The status label's room grows with its text and shrinks only when the window
// does: the buttons after it stay where the hand found them.
constexpr int kLabelMinWidth = 120;
constexpr int kLabelPadding = 8;

struct TActionDef {
  TPlayerAction Id;
  const wchar_t* Hint;  // empty: none
  int Image;            // -1: none
};

// Hints and images as the action list has them.
constexpr std::array<TActionDef, kPlayerActionCount> kActions{{
    {TPlayerAction::fileOpen, L"開く", 0},
    {TPlayerAction::fileSave, L"上書保存", 3},
    {TPlayerAction::fileSaveAs, L"名前を付けて保存", 4},
    {TPlayerAction::helpVersion, L"", -1},
    {TPlayerAction::textUndo, L"Undo", 1},
    {TPlayerAction::textRedo, L"Redo", 2},
    {TPlayerAction::textUndoFirst, L"先頭へ", 7},
    {TPlayerAction::textUndoLast, L"最後へ", 8},
    {TPlayerAction::textUndoAuto, L"AutoUndo", 5},
    {TPlayerAction::textRedoAuto, L"AutoRedo", 6},
    {TPlayerAction::undoInfo, L"Info", 9},
}};

int CommandOf(TPlayerAction a) { return kCommandBase + static_cast<int>(a); }
bool IsAuto(TPlayerAction a) { return a == TPlayerAction::textUndoAuto || a == TPlayerAction::textRedoAuto; }

void RegisterClassOnce() { RegisterWindowClass({kClassName, DefWindowProcW, IDC_ARROW, ButtonFaceBrush()}); }

// The filter "UndoFile(*.eud)|*.eud" in the dialogs' own form.
constexpr wchar_t kFilter[] = L"UndoFile(*.eud)\0*.eud\0";

TScrollCode ScrollCodeOf(UINT code) {
  switch (code) {
    case SB_LINELEFT: return TScrollCode::scLineUp;
    case SB_LINERIGHT: return TScrollCode::scLineDown;
    case SB_PAGELEFT: return TScrollCode::scPageUp;
    case SB_PAGERIGHT: return TScrollCode::scPageDown;
    case SB_THUMBPOSITION: return TScrollCode::scPosition;
    case SB_THUMBTRACK: return TScrollCode::scTrack;
    case SB_LEFT: return TScrollCode::scTop;
    case SB_RIGHT: return TScrollCode::scBottom;
    default: return TScrollCode::scEndScroll;
  }
}

}  // namespace

Win32PlayerWindow::Win32PlayerWindow(int width, int height) {
  RegisterClassOnce();
  RECT frame{0, 0, width, height};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  hwnd_ = ::CreateWindowExW(0, kClassName, ToWide(kAppTitle).c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 207, 152,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
  LOGFONTW log = ToLogFont(TFontSpec{"ＭＳ Ｐゴシック", 12});
  font_ = ::CreateFontIndirectW(&log);
  iconBig_ = CreateAppIcon(32);
  iconSmall_ = CreateAppIcon(16);
  ::SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_));
  ::SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_));

  enabled_.fill(true);
  BuildToolBar();
  bar_ = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, width, kBarHeight, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kBarId)), ::GetModuleHandleW(nullptr),
                           nullptr);
  edit_ = std::make_unique<Win32EditWindow>(hwnd_, kEditId);
  edit_->OnError = [this](const std::string& message) { ShowMessage(message); };
  edit_->OnKeyUp = [this] { Guard([this] { form_->EditorKeyUp(); }); };
  form_ = std::make_unique<TFormKelvane>(*this, edit_->Editor());
  explorer_ = std::make_unique<Win32Explorer>(*this);
  panels_ = std::make_unique<Win32HistoryPanels>(*this);
  panels_->Markers = [this] {
    std::vector<std::pair<int64_t, std::string>> markers;
    for (const TMarker& m : explorer_->Logic().Markers().Items()) markers.emplace_back(m.Point, m.Label);
    return markers;
  };
  BuildAccelerators();
  Layout();
  ::SetFocus(edit_->Handle());
}

// The panels go first (they hook the form), then the form: its editor
// belongs to the editor window.
Win32PlayerWindow::~Win32PlayerWindow() {
  panels_.reset();
  explorer_.reset();
  form_.reset();
  edit_.reset();
  if (hwnd_) {
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
  if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
  if (images_) ::ImageList_Destroy(images_);
  for (HICON icon : {iconBig_, iconSmall_})
    if (icon) ::DestroyIcon(icon);
  if (font_) ::DeleteObject(font_);
}

void Win32PlayerWindow::Show(int how) {
  ::ShowWindow(hwnd_, how);
  ::UpdateWindow(hwnd_);
  ::SetFocus(edit_->Handle());
}

// Buttons of 23 × 22 as designed, dividers of 8, then the status label.
void Win32PlayerWindow::BuildToolBar() {
  tools_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                                          CCS_TOP | CCS_NORESIZE | CCS_NOPARENTALIGN,
                             0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolsId)),
                             ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(tools_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  images_ = CreateToolImages();
  ::SendMessageW(tools_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  ::SendMessageW(tools_, TB_SETMAXTEXTROWS, 0, 0);  // the strings become the tool tips
  ::SendMessageW(tools_, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
  std::vector<TBBUTTON> buttons;
  auto add = [&](TPlayerAction a) {
    const TActionDef& def = kActions[static_cast<size_t>(a)];
    TBBUTTON b{};
    b.iBitmap = def.Image;
    b.idCommand = CommandOf(a);
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = static_cast<BYTE>(IsAuto(a) ? BTNS_CHECK : BTNS_BUTTON);
    b.iString = reinterpret_cast<INT_PTR>(def.Hint);
    buttons.push_back(b);
  };
  auto divider = [&] {
    TBBUTTON b{};
    b.iBitmap = kDividerWidth;
    b.fsStyle = BTNS_SEP;
    buttons.push_back(b);
  };
  add(TPlayerAction::fileOpen);
  divider();
  add(TPlayerAction::fileSave);
  add(TPlayerAction::fileSaveAs);
  divider();
  for (TPlayerAction a : {TPlayerAction::undoInfo, TPlayerAction::textUndoFirst, TPlayerAction::textUndoLast,
                          TPlayerAction::textUndo, TPlayerAction::textRedo, TPlayerAction::textUndoAuto,
                          TPlayerAction::textRedoAuto})
    add(a);
  divider();
  buttons.push_back(TBBUTTON{kLabelMinWidth, kLabelId, 0, BTNS_SEP, {}, 0, 0});  // the label's room
  ::SendMessageW(tools_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  label_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, 1,
                             kLabelMinWidth, 22, tools_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)),
                             ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  FitStatusLabel();
}

// The label's room as wide as its text needs, short of pushing the buttons
// after it out of the window (the text is cut then), the label laid over it.
void Win32PlayerWindow::FitStatusLabel() {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(label_)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(label_, text.data(), static_cast<int>(text.size()))));
  SIZE size{};
  const HDC dc = ::GetDC(label_);
  const HGDIOBJ old = ::SelectObject(dc, font_);
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(label_, dc);
  RECT room{}, last{}, tools{};
  ::SendMessageW(tools_, TB_GETRECT, kLabelId, reinterpret_cast<LPARAM>(&room));
  const LRESULT count = ::SendMessageW(tools_, TB_BUTTONCOUNT, 0, 0);
  ::SendMessageW(tools_, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
  ::GetClientRect(tools_, &tools);
  const int after = last.right - room.right;  // the buttons that follow the label
  const int fit = std::max<int>(kLabelMinWidth, tools.right - room.left - after);
  const int width = std::min(fit, std::max<int>(room.right - room.left, size.cx + kLabelPadding));
  if (width != room.right - room.left) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_SIZE;
    info.cx = static_cast<WORD>(width);
    ::SendMessageW(tools_, TB_SETBUTTONINFOW, kLabelId, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(tools_, TB_GETRECT, kLabelId, reinterpret_cast<LPARAM>(&room));
  }
  ::MoveWindow(label_, room.left, 1, room.right - room.left, 22, TRUE);
}

void Win32PlayerWindow::BuildAccelerators() {
  auto key = [](BYTE flags, WORD vk, TPlayerAction a) {
    return ACCEL{static_cast<BYTE>(flags | FVIRTKEY), vk, static_cast<WORD>(CommandOf(a))};
  };
  std::vector<ACCEL> table{
      key(FCONTROL, 'O', TPlayerAction::fileOpen),   key(FCONTROL, 'S', TPlayerAction::fileSave),
      key(FCONTROL | FALT, 'S', TPlayerAction::fileSaveAs), key(0, 0x71 /* F2 */, TPlayerAction::helpVersion),
      key(FCONTROL, 'Z', TPlayerAction::textUndo),   key(FCONTROL, 'R', TPlayerAction::textRedo),
  };
  const std::vector<ACCEL> explorer = Win32Explorer::Accelerators();
  table.insert(table.end(), explorer.begin(), explorer.end());
  for (const ACCEL& a : Win32HistoryPanels::Accelerators()) table.push_back(a);
  accelerators_ = ::CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

// The tool bar (24 high) and the history bar along the top, the editor below
// and beside the panels that are open.
void Win32PlayerWindow::Layout() {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const int width = client.right;
  const int toolsHeight = 24;
  ::MoveWindow(tools_, 0, 0, width, toolsHeight, TRUE);
  FitStatusLabel();
  ::MoveWindow(bar_, 0, toolsHeight, width, kBarHeight, TRUE);
  const int editTop = toolsHeight + kBarHeight;
  RECT editor{0, editTop, width, std::max(editTop, static_cast<int>(client.bottom))};
  if (panels_) editor = panels_->Layout(editor);
  ::MoveWindow(edit_->Handle(), editor.left, editor.top, editor.right - editor.left, editor.bottom - editor.top, TRUE);
}

LRESULT CALLBACK Win32PlayerWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32PlayerWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  // After WM_DESTROY the window is on its way out: the system finishes it.
  if (!self || !self->form_ || !self->hwnd_) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT Win32PlayerWindow::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE: Layout(); return 0;
    case WM_SETFOCUS: ::SetFocus(edit_->Handle()); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) >= kCommandBase && LOWORD(wParam) < kCommandBase + kPlayerActionCount) {
        OnCommand(LOWORD(wParam));
        return 0;
      }
      if (LOWORD(wParam) >= Win32Explorer::kFirstCommand && LOWORD(wParam) <= Win32Explorer::kLastCommand) {
        explorer_->OnCommand(LOWORD(wParam));
        return 0;
      }
      if (Win32HistoryPanels::IsCommand(LOWORD(wParam))) {
        panels_->OnCommand(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == bar_) {
        OnHistoryScroll(wParam);
        return 0;
      }
      break;
    case WM_TIMER:
      // Ticks at the explorer's pace; one record a tick is the form's own tick.
      if (wParam == kAutoTimer) Guard([this] { explorer_->Logic().Tick(); });
      return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DPICHANGED: {
      const auto* r = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE: ::DestroyWindow(hwnd_); return 0;
    case WM_DESTROY:
      hwnd_ = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default: break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void Win32PlayerWindow::Guard(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& ex) {
    ShowMessage(ex.what());
  } catch (...) {
    ShowMessage("unknown exception");
  }
}

// A check button has toggled itself already; the form decides the mark.
void Win32PlayerWindow::OnCommand(int id) {
  const auto action = static_cast<TPlayerAction>(id - kCommandBase);
  if (!enabled_[static_cast<size_t>(action)]) return;  // an accelerator of a disabled action
  if (IsAuto(action)) ::SendMessageW(tools_, TB_CHECKBUTTON, id, MAKELPARAM(checked_[static_cast<size_t>(action)], 0));
  Guard([this, action] { form_->Execute(action); });
}

void Win32PlayerWindow::OnHistoryScroll(WPARAM wParam) {
  const UINT code = LOWORD(wParam);
  int pos = 0;
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    ::GetScrollInfo(bar_, SB_CTL, &si);
    pos = si.nTrackPos;  // the full 32 bits, not the message's 16
  }
  Guard([&] { form_->ScrollBarUndoScroll(ScrollCodeOf(code), pos); });
}

// Every dropped path, whatever its length.
void Win32PlayerWindow::OnDropFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    const UINT n = ::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
    path.resize(n);
    paths.push_back(FromWide(path));
  }
  ::DragFinish(drop);
  Guard([&] { form_->WMDropFiles(paths); });
}

// ---- the message loop ----------------------------------------------------------

// Accelerators come before the focused window, as the window's shortcuts
// come before the editor's Ctrl and Alt keys; the actions are refreshed once
// the queue is empty, as idle time does.
int Win32PlayerWindow::Run() {
  MSG msg{};
  for (;;) {
    ProcessPending();
    if (!::GetMessageW(&msg, nullptr, 0, 0)) return static_cast<int>(msg.wParam);
    if (hwnd_ && ::TranslateAcceleratorW(hwnd_, accelerators_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void Win32PlayerWindow::ProcessPending() {
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) return;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
    if (hwnd_ && ::TranslateAcceleratorW(hwnd_, accelerators_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  if (form_ && hwnd_) Guard([this] {
      form_->UpdateActions();
      explorer_->UpdateActions();
      panels_->Update();
    });
}

// ---- PlayerHost ----------------------------------------------------------------

void Win32PlayerWindow::SetCaption(const std::string& text) { ::SetWindowTextW(hwnd_, ToWide(text).c_str()); }

void Win32PlayerWindow::SetStatusText(const std::string& text) {
  ::SetWindowTextW(label_, ToWide(text).c_str());
  FitStatusLabel();
}

void Win32PlayerWindow::SetHistoryMax(int max) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMin = 0;
  si.nMax = max;
  si.nPage = 0;
  ::SetScrollInfo(bar_, SB_CTL, &si, TRUE);
}

int Win32PlayerWindow::GetHistoryMax() const {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE;
  ::GetScrollInfo(bar_, SB_CTL, &si);
  return si.nMax;
}

void Win32PlayerWindow::SetHistoryPos(int pos) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = pos;
  ::SetScrollInfo(bar_, SB_CTL, &si, TRUE);
}

void Win32PlayerWindow::SetActionEnabled(TPlayerAction action, bool enabled) {
  if (enabled_[static_cast<size_t>(action)] == enabled) return;
  enabled_[static_cast<size_t>(action)] = enabled;
  ::SendMessageW(tools_, TB_ENABLEBUTTON, CommandOf(action), MAKELPARAM(enabled, 0));
}

void Win32PlayerWindow::SetActionChecked(TPlayerAction action, bool checked) {
  checked_[static_cast<size_t>(action)] = checked;
  ::SendMessageW(tools_, TB_CHECKBUTTON, CommandOf(action), MAKELPARAM(checked, 0));
}

void Win32PlayerWindow::SetTimerEnabled(bool enabled) {
  if (enabled == timer_) return;
  timer_ = enabled;
  if (enabled) {
    ::SetTimer(hwnd_, kAutoTimer, static_cast<UINT>(interval_), nullptr);
  } else {
    ::KillTimer(hwnd_, kAutoTimer);
  }
}

// A running timer is set again: the next tick comes at the new pace.
void Win32PlayerWindow::SetTimerInterval(int ms) {
  interval_ = ms;
  if (timer_) ::SetTimer(hwnd_, kAutoTimer, static_cast<UINT>(interval_), nullptr);
}

std::string Win32PlayerWindow::CommandText(int command) {
  if (const int panel = command - kPanelHistoryList; panel >= 0 && panel < static_cast<int>(kPanelActionCount))
    return kPanelActionTexts[static_cast<size_t>(panel)];
  const int index = command - kCommandBase;
  if (index < 0 || index >= kPlayerActionCount) return "";
  if (static_cast<TPlayerAction>(index) == TPlayerAction::helpVersion) return "Version";
  return FromWide(kActions[static_cast<size_t>(index)].Hint);
}

// The system's message box expands tabs itself.
void Win32PlayerWindow::ShowMessage(const std::string& text) {
  if (MessageBoxHook) return MessageBoxHook(text);
  if (Quiet) {
    ::OutputDebugStringW(ToWide(text + "\n").c_str());
    return;
  }
  ::MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(kAppTitle).c_str(), MB_OK);
}

bool Win32PlayerWindow::AskOkCancel(const std::string& title, const std::string& text) {
  if (QuestionBoxHook) return QuestionBoxHook(title, text);
  if (Quiet) return false;
  return ::MessageBoxW(hwnd_, ToWide(text).c_str(), ToWide(title).c_str(), MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

std::optional<std::string> Win32PlayerWindow::RunOpenDialog() {
  if (Quiet) return std::nullopt;
  std::wstring file(32768, L'\0');
  const std::wstring folder = ToWide(folder_);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = L"eud";
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!::GetOpenFileNameW(&ofn)) return std::nullopt;
  return FromWide(file.c_str());
}

// The dialog asks before a chosen file that exists is saved over; "memo" is
// taken as "memo.eud" there already, so the question names the file written.
std::optional<std::string> Win32PlayerWindow::RunSaveDialog(const std::string& title, const std::string& fileName) {
  if (Quiet) return std::nullopt;
  std::wstring file = ToWide(fileName);
  file.resize(32768, L'\0');
  const std::wstring folder = ToWide(folder_);
  const std::wstring caption = ToWide(title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = kFilter;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = caption.c_str();
  ofn.lpstrDefExt = L"eud";
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  if (!::GetSaveFileNameW(&ofn)) return std::nullopt;
  return FromWide(file.c_str());
}

bool Win32PlayerWindow::FileExists(const std::string& path) const { return kelvane::FileExists(path); }

std::string Win32PlayerWindow::ProgramFolder() const { return kelvane::ProgramFolder(); }

// ---- the screenshot ---------------------------------------------------------------

namespace {

// Wine's PrintWindow draws only the window's own client area: no child
// windows and no scroll bars. There the screen itself is copied.
bool PrintWindowIsPartial() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

bool Win32PlayerWindow::SaveScreenshot(const std::wstring& path) {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  GdiBitmap shot;
  shot.SetSize(client.right, client.bottom);
  if (shot.Width() == 0) return false;
  if (PrintWindowIsPartial()) {
    POINT origin{0, 0};
    ::ClientToScreen(hwnd_, &origin);
    const HDC screen = ::GetDC(nullptr);
    ::BitBlt(shot.Dc(), 0, 0, shot.Width(), shot.Height(), screen, origin.x, origin.y, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
  } else {
    ::PrintWindow(hwnd_, shot.Dc(), PW_CLIENTONLY | PW_RENDERFULLCONTENT);
  }
  ::GdiFlush();
  return WritePng(path, shot.Pixels(), shot.Width(), shot.Height());
}

}  // namespace kelvane
