// The Windows port on a real window system (wine on a virtual display in
// CI): GDI text where the measurement says and in any ANSI code page, WIC
// pictures and PNGs, characters, clipboard and reconversion of a Unicode
// window in code page 932, and the player window's tool bar, status, history
// bar, accelerators and dropped files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "tests/support/TempFolder.h"
#include "win32/GdiCanvas.h"
#include "win32/Screenshot.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/WinText.h"
#include "tests/support/KeyHeld.h"  // last: it reaches the Windows headers

#include <shlobj.h>  // DROPFILES

namespace kelvane::test {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

uint32_t PixelAt(const GdiBitmap& b, int x, int y) {
  ::GdiFlush();
  return b.Pixels()[static_cast<size_t>(y) * static_cast<size_t>(b.Width()) + static_cast<size_t>(x)] & 0xFFFFFF;
}

// A row of pixels, to compare two drawings.
std::vector<uint32_t> Pixels(const GdiBitmap& b) {
  ::GdiFlush();
  return {b.Pixels(), b.Pixels() + static_cast<size_t>(b.Width()) * static_cast<size_t>(b.Height())};
}

TEST(GdiCanvas, JapaneseTextIsDrawnAsMeasuredInAnyAnsiCodePage) {
  SCOPED_TRACE("ANSI code page " + std::to_string(::GetACP()));
  GdiBitmap cp932Bitmap, utf16Bitmap;
  const std::string cp932 = cp932::FromUtf8("桜の町だより");
  for (GdiBitmap* b : {&cp932Bitmap, &utf16Bitmap}) {
    b->SetSize(200, 40);
    Canvas& c = b->GetCanvas();
    c.SetFont(TFontSpec{"ＭＳ Ｐゴシック", 16});
    c.SetTextColor(0);
    c.SetBkColor(RGB(255, 0, 0));
  }
  const TSize size = cp932Bitmap.GetCanvas().TextExtent(cp932);
  EXPECT_EQ(size, utf16Bitmap.GetCanvas().TextExtentW(cp932::ToUtf16(cp932)));
  EXPECT_GT(size.cx, 6 * 8);
  EXPECT_GT(size.cy, 10);
  cp932Bitmap.GetCanvas().TextOut(10, 5, cp932);
  utf16Bitmap.GetCanvas().TextOutW(10, 5, cp932::ToUtf16(cp932));
  EXPECT_EQ(Pixels(cp932Bitmap), Pixels(utf16Bitmap));
  // The opaque cell is exactly the measured text: background from x 10 to 10 + width.
  const int y = 5 + size.cy - 1;
  EXPECT_EQ(PixelAt(cp932Bitmap, 9, y), kWhite);
  EXPECT_NE(PixelAt(cp932Bitmap, 10, y), kWhite);
  EXPECT_NE(PixelAt(cp932Bitmap, 10 + size.cx - 1, y), kWhite);
  EXPECT_EQ(PixelAt(cp932Bitmap, 10 + size.cx, y), kWhite);
  // Some glyph ink was drawn, not just the background.
  int ink = 0;
  for (uint32_t p : Pixels(cp932Bitmap)) ink += p != kWhite && p != 0x0000FF;
  EXPECT_GT(ink, 40);
}

TEST(GdiCanvas, ShapesFillsAndCopies) {
  GdiBitmap a, b;
  a.SetSize(40, 30);
  Canvas& c = a.GetCanvas();
  c.SetBrushColor(RGB(0, 128, 128));
  c.FillRect({2, 3, 12, 8});
  EXPECT_EQ(PixelAt(a, 2, 3), 0x008080u);  // DIB pixels are 0x00RRGGBB
  EXPECT_EQ(PixelAt(a, 11, 7), 0x008080u);
  EXPECT_EQ(PixelAt(a, 12, 7), kWhite);
  c.SetPen(RGB(255, 0, 0), TPenStyle::psSolid, 1);
  c.MoveTo(0, 20);
  c.LineTo(10, 20);
  EXPECT_EQ(PixelAt(a, 0, 20), 0xFF0000u);
  EXPECT_EQ(PixelAt(a, 9, 20), 0xFF0000u);
  EXPECT_EQ(PixelAt(a, 10, 20), kWhite);  // the last point left out
  b.SetSize(20, 20);
  b.GetCanvas().CopyFrom({0, 0, 10, 10}, a, {2, 3});
  EXPECT_EQ(PixelAt(b, 0, 0), 0x008080u);
  EXPECT_EQ(PixelAt(b, 9, 4), 0x008080u);
  // Resizing keeps what fits.
  a.SetSize(20, 10);
  EXPECT_EQ(PixelAt(a, 2, 3), 0x008080u);
  a.SetSize(0, 5);
  EXPECT_EQ(a.Width(), 0);
}

// What the screenshot writes, WIC reads back, from a Japanese path too.
TEST(WicPicture, PngRoundTripAndStretchDraw) {
  const TTempFolder temp;
  GdiBitmap source;
  source.SetSize(8, 4);
  source.GetCanvas().SetBrushColor(RGB(10, 20, 30));
  source.GetCanvas().FillRect({0, 0, 8, 4});
  const std::string path = temp.Path("絵.png");
  ASSERT_TRUE(WritePng(ToWide(path), source.Pixels(), 8, 4));
  WicPicture picture;
  EXPECT_TRUE(picture.Empty());
  ASSERT_TRUE(picture.LoadFromFile(path));
  EXPECT_EQ(picture.Width(), 8);
  EXPECT_EQ(picture.Height(), 4);
  EXPECT_FALSE(picture.LoadFromFile(temp.Write("not.png", "no picture")));
  EXPECT_EQ(picture.Width(), 8);  // the old picture stays
  GdiBitmap target;
  target.SetSize(20, 20);
  target.GetCanvas().StretchDraw({0, 0, 16, 8}, picture);
  EXPECT_EQ(PixelAt(target, 15, 7), 0x0A141Eu);
  EXPECT_EQ(PixelAt(target, 16, 8), kWhite);
}

// A hidden player window: quiet (no boxes), the editor in it.
struct TPlayer {
  Win32PlayerWindow Window;
  TPlayer() {
    Window.Quiet = true;
    Window.Form().FormCreate({});
  }
  TVeskEdit& Editor() { return Window.EditWindow().Editor(); }
  HWND Edit() { return Window.EditWindow().Handle(); }
  std::wstring Label() {
    wchar_t text[128] = {};
    ::GetWindowTextW(Window.StatusLabel(), text, 128);
    return text;
  }
};

std::string SamplePath() { return std::string(KELVANE_SOURCE_DIR) + "/samples/haru.eud"; }

// A Unicode window gets UTF-16 characters; the control gets code page 932 bytes.
TEST(Win32EditWindow, CharactersArriveAsCodePage932) {
  TPlayer p;
  for (wchar_t c : std::wstring(L"aあ\uFF71\t"))
    ::SendMessageW(p.Edit(), WM_CHAR, c, 1);
  ::SendMessageW(p.Edit(), WM_CHAR, 0xD83C, 1);  // a pair: no code in the code page
  ::SendMessageW(p.Edit(), WM_CHAR, 0xDF38, 1);
  EXPECT_EQ(p.Editor().GetText(), std::string("a\x82\xA0\xB1\t?"));
  EXPECT_EQ(::SendMessageW(p.Edit(), WM_GETDLGCODE, 0, 0) & 0x85, 0x85);
  EXPECT_EQ(::SendMessageW(p.Edit(), EM_CANUNDO, 0, 0), 1);
}

// Windows makes no character of Ctrl+Tab; the key itself moves the focus on,
// and a Tab character that may follow types nothing.
TEST(Win32EditWindow, CtrlTabMovesTheFocusAndTypesNoTab) {
  TPlayer p;
  const HWND before = ::CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10,
                                        p.Window.Handle(), nullptr, nullptr, nullptr);
  p.Window.Show(SW_SHOWNOACTIVATE);
  ::SetFocus(p.Edit());
  ASSERT_EQ(::GetFocus(), p.Edit());
  for (bool charFollows : {false, true}) {
    SCOPED_TRACE(charFollows);
    ::SetFocus(p.Edit());
    const TKeyHeld ctrl(VK_CONTROL);
    ::SendMessageW(p.Edit(), WM_KEYDOWN, VK_TAB, 1);
    if (charFollows) ::SendMessageW(p.Edit(), WM_CHAR, L'\t', 1);
    EXPECT_EQ(::GetFocus(), before);
    EXPECT_EQ(p.Editor().GetText(), "");
  }
  ::SetFocus(p.Edit());
  ::SendMessageW(p.Edit(), WM_KEYDOWN, VK_TAB, 1);
  ::SendMessageW(p.Edit(), WM_CHAR, L'\t', 1);
  EXPECT_EQ(p.Editor().GetText(), "\t");
  ::DestroyWindow(before);
}

// Fractions of a notch add up: three of 40 scroll as one notch does.
TEST(Win32EditWindow, WheelFractionsAddUpToNotches) {
  TPlayer p;
  ASSERT_TRUE(p.Window.Form().OpenUndoFile(SamplePath()));
  p.Editor().TopLine = 0;
  const auto wheel = [&](int16_t delta) {
    ::SendMessageW(p.Edit(), WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16, 0);
  };
  wheel(-40);
  wheel(-40);
  EXPECT_EQ(p.Editor().TopLine, 0);
  wheel(-40);
  EXPECT_EQ(p.Editor().TopLine, 3);
  wheel(-120);
  EXPECT_EQ(p.Editor().TopLine, 6);
  wheel(120);
  EXPECT_EQ(p.Editor().TopLine, 3);
}

TEST(Win32EditWindow, ClipboardIsUnicodeCodePage932AndJapanese) {
  TPlayer p;
  EditHost& host = p.Window.EditWindow();
  ASSERT_TRUE(host.SetClipboardText(cp932::FromUtf8("春\r\nx")));
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
  HANDLE unicode = ::GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(unicode, nullptr);
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(::GlobalLock(unicode))), L"春\r\nx");
  ::GlobalUnlock(unicode);
  HANDLE locale = ::GetClipboardData(CF_LOCALE);
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(PRIMARYLANGID(LANGIDFROMLCID(*static_cast<const LCID*>(::GlobalLock(locale)))), LANG_JAPANESE);
  ::GlobalUnlock(locale);
  // Another program's Unicode text, read up to its first NUL.
  ::EmptyClipboard();
  const wchar_t offered[] = L"表\0hidden";
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(offered));
  std::memcpy(::GlobalLock(memory), offered, sizeof(offered));
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
  EXPECT_EQ(host.GetClipboardText(), cp932::FromUtf8("表"));
  // The wave dash and minus sign of other programs: the codes Japanese text means by them.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const wchar_t dashes[] = L"\u301C\u2212";
  memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(dashes));
  std::memcpy(::GlobalLock(memory), dashes, sizeof(dashes));
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
  EXPECT_EQ(host.GetClipboardText(), "\x81\x60\x81\x7C");
}

// The input method of a Unicode window asks for the UTF-16 form.
TEST(Win32EditWindow, ReconversionOffersTheSelectionInUtf16) {
  TPlayer p;
  p.Editor().SetText(cp932::FromUtf8("春の日"));
  p.Editor().SelectAll();
  const LRESULT size = ::SendMessageW(p.Edit(), WM_IME_REQUEST, IMR_RECONVERTSTRING, 0);
  ASSERT_EQ(size, static_cast<LRESULT>(sizeof(RECONVERTSTRING) + 4 * sizeof(wchar_t)));
  std::vector<unsigned char> buffer(static_cast<size_t>(size));
  ASSERT_EQ(::SendMessageW(p.Edit(), WM_IME_REQUEST, IMR_RECONVERTSTRING, reinterpret_cast<LPARAM>(buffer.data())),
            size);
  const auto* rs = reinterpret_cast<const RECONVERTSTRING*>(buffer.data());
  EXPECT_EQ(rs->dwStrLen, 3u);
  EXPECT_EQ(rs->dwTargetStrLen, 3u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(buffer.data() + rs->dwStrOffset), rs->dwStrLen), L"春の日");
}

std::wstring ButtonText(HWND tools, int command) {
  wchar_t text[64] = {};
  ::SendMessageW(tools, TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text));
  return text;
}

// Left to right as designed: images and tool tips, dividers, check buttons;
// then the status label's room and the explorer's two buttons.
TEST(Win32PlayerWindow, ToolBarAsDesigned) {
  TPlayer p;
  const HWND tools = p.Window.ToolBar();
  struct TExpected {
    int Image;  // -1: a divider
    const wchar_t* Tip;
    bool Check;
  };
  const TExpected expected[] = {
      {0, L"開く", false}, {-1, L"", false},   {3, L"上書保存", false}, {4, L"名前を付けて保存", false},
      {-1, L"", false},    {9, L"Info", false}, {7, L"先頭へ", false},  {8, L"最後へ", false},
      {1, L"Undo", false}, {2, L"Redo", false}, {5, L"AutoUndo", true}, {6, L"AutoRedo", true},
      {-1, L"", false},    {-2, L"", false},    {10, nullptr, false},   {11, L"履歴の探索", false},
  };
  ASSERT_EQ(::SendMessageW(tools, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(std::size(expected)));
  for (size_t i = 0; i < std::size(expected); ++i) {
    TBBUTTON b{};
    ::SendMessageW(tools, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
    SCOPED_TRACE(i);
    if (expected[i].Image < 0) {
      EXPECT_TRUE(b.fsStyle & BTNS_SEP);
      if (expected[i].Image == -1) {
        EXPECT_EQ(b.iBitmap, 8);
      }
      continue;
    }
    EXPECT_EQ(b.iBitmap, expected[i].Image);
    if (expected[i].Tip) {
      EXPECT_EQ(ButtonText(tools, b.idCommand), expected[i].Tip);
    }
    EXPECT_EQ((b.fsStyle & BTNS_CHECK) != 0, expected[i].Check);
  }
}

TEST(Win32PlayerWindow, StatusHistoryBarAndActionsFollowTheHistory) {
  TPlayer p;
  EXPECT_EQ(p.Label(), L" Undo:0 Redo:0 Total:0");
  EXPECT_FALSE(::IsWindowEnabled(p.Window.HistoryBar()));
  p.Window.Form().UpdateActions();
  const int undoButton = 100 + static_cast<int>(TPlayerAction::textUndo);
  EXPECT_FALSE(::SendMessageW(p.Window.ToolBar(), TB_ISBUTTONENABLED, undoButton, 0));

  ASSERT_TRUE(p.Window.Form().OpenUndoFile(SamplePath()));
  p.Window.Form().UpdateActions();
  EXPECT_EQ(p.Label(), L" Undo:145 Redo:15 Total:160");
  EXPECT_TRUE(::SendMessageW(p.Window.ToolBar(), TB_ISBUTTONENABLED, undoButton, 0));
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ::GetScrollInfo(p.Window.HistoryBar(), SB_CTL, &si);
  EXPECT_EQ(si.nMax, 160);
  EXPECT_EQ(si.nPos, 145);
  wchar_t caption[128] = {};
  ::GetWindowTextW(p.Window.Handle(), caption, 128);
  EXPECT_EQ(std::wstring(caption), L"（´д｀）Kelvane - haru.eud");

  // A click on the bar's left arrow, then its end: one step back.
  const auto bar = reinterpret_cast<LPARAM>(p.Window.HistoryBar());
  ::SendMessageW(p.Window.Handle(), WM_HSCROLL, SB_LINELEFT, bar);
  ::SendMessageW(p.Window.Handle(), WM_HSCROLL, SB_ENDSCROLL, bar);
  EXPECT_EQ(p.Label(), L" Undo:144 Redo:16 Total:160");
  // Ctrl+Z through the window's command: another.
  ::SendMessageW(p.Window.Handle(), WM_COMMAND, undoButton, 0);
  EXPECT_EQ(p.Label(), L" Undo:143 Redo:17 Total:160");
  // The auto buttons are checked by the form, not by the click.
  const int autoUndo = 100 + static_cast<int>(TPlayerAction::textUndoAuto);
  ::SendMessageW(p.Window.Handle(), WM_COMMAND, autoUndo, 0);
  EXPECT_TRUE(p.Window.ActionChecked(TPlayerAction::textUndoAuto));
  EXPECT_TRUE(p.Window.TimerEnabled());
  EXPECT_TRUE(::SendMessageW(p.Window.ToolBar(), TB_ISBUTTONCHECKED, autoUndo, 0));
  ::SendMessageW(p.Window.Handle(), WM_COMMAND, autoUndo, 0);
  EXPECT_FALSE(p.Window.TimerEnabled());
}

TEST(Win32PlayerWindow, AcceleratorsAsTheActionsHaveThem) {
  TPlayer p;
  ACCEL table[64];
  const int n = ::CopyAcceleratorTableW(p.Window.Accelerators(), table, 64);
  std::vector<std::tuple<int, int, int>> got;
  for (int i = 0; i < n; ++i) {
    if (table[i].cmd >= 100 && table[i].cmd < 200)  // the player's; the explorer's come after
      got.emplace_back(table[i].fVirt & ~FNOINVERT, table[i].key, table[i].cmd - 100);
  }
  const auto id = [](TPlayerAction a) { return static_cast<int>(a); };
  const std::vector<std::tuple<int, int, int>> want{
      {FVIRTKEY | FCONTROL, 'O', id(TPlayerAction::fileOpen)},
      {FVIRTKEY | FCONTROL, 'S', id(TPlayerAction::fileSave)},
      {FVIRTKEY | FCONTROL | FALT, 'S', id(TPlayerAction::fileSaveAs)},
      {FVIRTKEY, VK_F2, id(TPlayerAction::helpVersion)},
      {FVIRTKEY | FCONTROL, 'Z', id(TPlayerAction::textUndo)},
      {FVIRTKEY | FCONTROL, 'R', id(TPlayerAction::textRedo)},
  };
  EXPECT_EQ(got, want);
}

// A drop as the shell makes it: every undo file is opened in turn, others are skipped.
TEST(Win32PlayerWindow, DroppedFiles) {
  const TTempFolder temp;
  const std::string first = temp.Write("一.eud", ReadBytes(PathOf(SamplePath())));
  const std::string last = temp.Write("LAST.EUD", ReadBytes(PathOf(SamplePath())));
  const std::string other = temp.Write("notes.txt", "x");
  std::wstring names;
  for (const std::string& path : {first, other, last}) names += ToWide(path) + L'\0';
  names += L'\0';
  HGLOBAL drop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(::GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::memcpy(reinterpret_cast<unsigned char*>(files) + sizeof(DROPFILES), names.data(),
              names.size() * sizeof(wchar_t));
  ::GlobalUnlock(drop);
  TPlayer p;
  ::SendMessageW(p.Window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // the window frees it
  EXPECT_EQ(p.Window.Form().FFileName, last);
  EXPECT_EQ(p.Label(), L" Undo:145 Redo:15 Total:160");
}

TEST(Screenshot, Arguments) {
  const auto options = ParseScreenshotArgs({"--screenshot", "o.png", "--size", "800X600", "--at", "-3", "春.eud"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->Output, "o.png");
  EXPECT_EQ(options->Width, 800);
  EXPECT_EQ(options->Height, 600);
  EXPECT_EQ(options->At, -3);
  EXPECT_EQ(options->File, "春.eud");
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--screenshot"}, {"--size", "8x8"}, {"--screenshot", "o.png", "--size", "0x5"},
        {"--screenshot", "o.png", "--size", "99999x5"}, {"--screenshot", "o.png", "--at", "x"},
        {"--screenshot", "o.png", "a.eud", "b.eud"}, {"--screenshot", "o.png", "--wat"},
        {"--screenshot", "a.png", "--screenshot", "b.png"}}) {
    EXPECT_FALSE(ParseScreenshotArgs(bad)) << bad.back();
  }
}

}  // namespace
}  // namespace kelvane::test
