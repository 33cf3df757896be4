// The one-line dialog, as a template written into memory: the header, the
// font, then a prompt, an edit field and the OK and Cancel buttons.
#include "win32/Win32InputDialog.h"

#include <cstdint>
#include <vector>

#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr int kEditId = 201;  // the dialog's own: any number past IDCANCEL
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// A dialog template grows word by word; items start on a DWORD.
class TTemplate {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD klass, const std::wstring& text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);  // extended style
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Word(id);
    Word(0xFFFF);
    Word(klass);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;
};

void Build(const TInputRequest& r, TTemplate& t) {
  t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  for (short v : {0, 0, 180, 62}) t.Word(static_cast<WORD>(v));
  t.Word(0);  // no menu
  t.Word(0);  // the dialog class
  t.Text(ToWide(r.Title));
  t.Word(9);  // the window's own Japanese font: "MS Shell Dlg" has no kana under wine
  t.Text(L"ＭＳ Ｐゴシック");
  t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 166, 9, 0xFFFF, kStaticClass, ToWide(r.Prompt));
  t.Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | (r.Number ? ES_NUMBER : 0), 7, 18, 166, 13, kEditId, kEditClass,
         L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 69, 40, 50, 14, IDOK, kButtonClass, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 123, 40, 50, 14, IDCANCEL, kButtonClass, L"キャンセル");
}

struct TDialogState {
  const TInputRequest* Request;
  std::optional<std::string> Answer;
};

std::wstring EditText(HWND dialog) {
  const HWND edit = ::GetDlgItem(dialog, kEditId);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<TDialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (msg == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    state = reinterpret_cast<TDialogState*>(lParam);
    const HWND edit = ::GetDlgItem(dialog, kEditId);
    ::SetWindowTextW(edit, ToWide(state->Request->Initial).c_str());
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SetFocus(edit);
    return FALSE;  // the focus is set
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK) state->Answer = FromWide(EditText(dialog));
    ::EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

std::optional<std::string> AskLine(HWND owner, const TInputRequest& request) {
  TTemplate t;
  Build(request, t);
  TDialogState state{&request, std::nullopt};
  ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), t.Get(), owner, &DialogProc,
                            reinterpret_cast<LPARAM>(&state));
  return state.Answer;
}

}  // namespace kelvane
