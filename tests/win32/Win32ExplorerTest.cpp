// The explorer in the Win32 window under a real window system: its keys go
// through the window's accelerators before the editor sees a key or a
// character, the pace reaches the timer, markers go through their dialogs,
// list and side file, the discarded history comes back when agreed to, the
// key list names every key and closes on the next one, and the window opens
// at a point.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "headless/HeadlessEditHost.h"
#include "player/UndoFile.h"
#include "tests/support/DigitsHistory.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"
#include "win32/Win32HistoryPanels.h"
#include "win32/Win32InputDialog.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/WinText.h"
#include "win32/WindowStart.h"
#include "tests/support/KeyHeld.h"  // last: it reaches the Windows headers

namespace kelvane::test {
namespace {

// "0123456" typed a digit at a time, the last two undone: point 5 of 7.
std::string DigitsFile() { return DigitsHistoryFile(2); }

// A hidden window on the digits: boxes and dialogs answered by the test.
struct TExplorerWindow {
  explicit TExplorerWindow(const std::string& file) {
    w.MessageBoxHook = [this](const std::string& text) { messages.push_back(text); };
    w.QuestionBoxHook = [this](const std::string&, const std::string&) { return answer; };
    X().AskPoint = [this](int32_t, int32_t) { return point; };
    X().AskLabel = [this](const std::string&, const std::string& initial) {
      return label ? label : std::optional<std::string>(initial);
    };
    X().ShowKeys = [this](const TKeyList& k) { keys = k; };
    StartWindow(w, {{file}, std::nullopt});
    w.ProcessPending();
  }
  Win32Explorer& X() { return w.Explorer(); }
  // A key as the keyboard queues it for the editor, modifiers held; then the queue run.
  void Key(WORD vk, std::initializer_list<int> held = {}) {
    std::vector<std::unique_ptr<TKeyHeld>> down;
    bool alt = false;
    for (int k : held) {
      down.push_back(std::make_unique<TKeyHeld>(k));
      alt = alt || k == VK_MENU;
    }
    ::PostMessageW(w.EditWindow().Handle(), alt ? UINT{WM_SYSKEYDOWN} : UINT{WM_KEYDOWN}, vk, alt ? 1 | (1 << 29) : 1);
    w.ProcessPending();
  }
  void Command(int id) {
    ::SendMessageW(w.Handle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
    w.ProcessPending();
  }
  std::string Status() {
    wchar_t text[128] = {};
    ::GetWindowTextW(w.StatusLabel(), text, 128);
    return FromWide(text);
  }
  std::string Text() { return w.EditWindow().Editor().GetText(); }

  Win32PlayerWindow w;
  std::vector<std::string> messages;
  bool answer = true;
  std::optional<int64_t> point;
  std::optional<std::string> label;
  std::optional<TKeyList> keys;
};

class Win32ExplorerTest : public testing::Test {
 protected:
  TTempFolder dir;
  std::string file = dir.Write("digits.eud", DigitsFile());
};

TEST_F(Win32ExplorerTest, KeysStepJumpAndPlayBeforeTheEditorSeesThem) {
  TExplorerWindow t(file);
  t.Key(VK_LEFT, {VK_MENU});
  EXPECT_EQ(t.Status(), " Undo:4 Redo:3 Total:7");
  t.Key(VK_RIGHT, {VK_MENU});
  t.Key(VK_RIGHT, {VK_MENU});
  EXPECT_EQ(t.Text(), "012345");
  t.Key(VK_HOME, {VK_MENU});
  EXPECT_EQ(t.Status(), " Undo:0 Redo:7 Total:7");
  t.Key(VK_END, {VK_MENU});
  EXPECT_EQ(t.Status(), " Undo:7 Redo:0 Total:7");

  t.Key(VK_LEFT, {VK_MENU});
  t.Key(0x74);  // F5
  EXPECT_TRUE(t.w.ActionChecked(TPlayerAction::textUndoAuto));
  EXPECT_TRUE(t.w.TimerEnabled());
  t.Key(0x75);  // F6: the exclusive pair, back gives way to forward
  EXPECT_FALSE(t.w.ActionChecked(TPlayerAction::textUndoAuto));
  EXPECT_TRUE(t.w.ActionChecked(TPlayerAction::textRedoAuto));
  t.Key(VK_ESCAPE);
  EXPECT_FALSE(t.w.TimerEnabled());
  EXPECT_FALSE(t.w.ActionChecked(TPlayerAction::textRedoAuto));
  t.Key(0x74);
  t.Key(0x76);  // F7
  EXPECT_FALSE(t.w.TimerEnabled());

  // Ctrl+H and Ctrl+M are commands, not the Backspace and Enter characters
  // TranslateMessage would make of them.
  const std::string before = t.Text();
  t.Key('H', {VK_CONTROL});
  EXPECT_FALSE(t.X().Logic().HighlightSteps());
  t.Key('M', {VK_CONTROL});
  EXPECT_EQ(t.X().Logic().Markers().Count(), 1u);
  EXPECT_EQ(t.Text(), before);
  t.Key('H', {VK_CONTROL});
  EXPECT_TRUE(t.X().Logic().HighlightSteps());

  // No key twice in the window's table: the seed's six, the explorer's and the panels'.
  ACCEL table[64];
  const int n = ::CopyAcceleratorTableW(t.w.Accelerators(), table, 64);
  std::set<std::pair<int, int>> keys;
  for (int i = 0; i < n; ++i) EXPECT_TRUE(keys.emplace(table[i].fVirt & ~FNOINVERT, table[i].key).second) << i;
  EXPECT_EQ(n, 6 + static_cast<int>(Win32Explorer::Accelerators().size() + Win32HistoryPanels::Accelerators().size()));
}

TEST_F(Win32ExplorerTest, PaceReachesTheTimerAndABigTickIsOneJump) {
  TExplorerWindow t(file);
  const HWND tools = t.w.ToolBar();
  const LRESULT count = ::SendMessageW(tools, TB_BUTTONCOUNT, 0, 0);
  TBBUTTON pace{}, menu{};
  ::SendMessageW(tools, TB_GETBUTTON, count - 2, reinterpret_cast<LPARAM>(&pace));
  ::SendMessageW(tools, TB_GETBUTTON, count - 1, reinterpret_cast<LPARAM>(&menu));
  EXPECT_EQ(pace.idCommand, Win32Explorer::kPaceButton);
  EXPECT_EQ(menu.idCommand, Win32Explorer::kMenuButton);
  RECT label{}, last{}, client{};
  ::GetWindowRect(t.w.StatusLabel(), &label);
  ::SendMessageW(tools, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
  ::MapWindowPoints(tools, nullptr, reinterpret_cast<POINT*>(&last), 2);
  EXPECT_LE(label.right, last.left - 23);  // after the label, as the Qt window has them
  ::GetClientRect(t.w.Handle(), &client);
  EXPECT_LE(last.right - label.left + 254, client.right);  // both in the designed window
  EXPECT_EQ(t.w.TimerInterval(), 100);

  t.Command(Win32Explorer::kIntervalBase + 5);  // 25 ms
  t.Command(Win32Explorer::kRecordsBase + 2);   // 100 a tick
  EXPECT_EQ(t.w.TimerInterval(), 25);
  EXPECT_EQ(t.X().Logic().Pace(), (TPlaybackPace{25, 100}));
  EXPECT_TRUE(::GetMenuState(t.X().PaceMenu(), Win32Explorer::kIntervalBase + 5, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(t.X().PaceMenu(), Win32Explorer::kIntervalBase + 3, MF_BYCOMMAND) & MF_CHECKED);
  wchar_t tip[128] = {};
  ::SendMessageW(tools, TB_GETBUTTONTEXTW, Win32Explorer::kPaceButton, reinterpret_cast<LPARAM>(tip));
  EXPECT_NE(FromWide(tip).find("25 ms × 100"), std::string::npos) << FromWide(tip);

  t.Key(0x74);  // F5, then the timer's own ticks
  for (int i = 0; i < 200 && t.w.TimerEnabled(); ++i) {
    ::Sleep(10);
    t.w.ProcessPending();
  }
  EXPECT_FALSE(t.w.TimerEnabled());
  EXPECT_EQ(t.Status(), " Undo:0 Redo:7 Total:7");  // one tick of at most 100 records
  EXPECT_FALSE(t.w.ActionChecked(TPlayerAction::textUndoAuto));
}

TEST_F(Win32ExplorerTest, MarkersGoThroughTheirDialogsListAndSideFile) {
  {
    TExplorerWindow t(file);
    t.point = 99;
    t.Key('G', {VK_CONTROL});  // clamped to the end
    EXPECT_EQ(t.Status(), " Undo:7 Redo:0 Total:7");
    t.point = 2;
    t.Key('G', {VK_CONTROL});
    t.label = "二";
    t.Key('M', {VK_CONTROL});
    t.point = 6;
    t.Key('G', {VK_CONTROL});
    t.label.reset();  // the label offered
    t.Key('M', {VK_CONTROL});
    t.Key(VK_PRIOR, {VK_MENU});
    EXPECT_EQ(t.w.Form().FUndoPos, 2);
    t.Key(VK_NEXT, {VK_MENU});
    EXPECT_EQ(t.w.Form().FUndoPos, 6);

    t.Key('M', {VK_CONTROL, VK_SHIFT});
    Win32MarkerWindow& m = t.X().MarkerWindow();
    EXPECT_TRUE(m.Visible());
    EXPECT_TRUE(t.X().Checked(TExplorerAction::markerList));
    ASSERT_EQ(::SendMessageW(m.List(), LB_GETCOUNT, 0, 0), 2);
    wchar_t row[64] = {};
    ::SendMessageW(m.List(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
    EXPECT_EQ(FromWide(row), "6  位置 6");
    m.Select(1);
    t.label = "六";
    ::SendMessageW(m.Button(TMarkerCommand::rename), BM_CLICK, 0, 0);
    ::SendMessageW(m.List(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
    EXPECT_EQ(FromWide(row), "6  六");
    m.Select(0);
    ::SendMessageW(m.Handle(), WM_VKEYTOITEM, MAKEWPARAM(VK_RETURN, 0), reinterpret_cast<LPARAM>(m.List()));
    EXPECT_EQ(t.w.Form().FUndoPos, 2);
    ::SendMessageW(m.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(m.Visible());
    EXPECT_FALSE(t.X().Checked(TExplorerAction::markerList));
  }
  EXPECT_EQ(ReadBytes(file + ".marks"), "{\"point\":2,\"label\":\"二\"}\n{\"point\":6,\"label\":\"六\"}\n");

  WriteBytes(file + ".marks", "{\"point\":2,\"label\":\"二\"}\n{oops\n{\"point\":9,\"label\":\"先\"}\n");
  TExplorerWindow again(file);
  ASSERT_EQ(again.messages.size(), 1u);
  EXPECT_NE(again.messages[0].find("digits.eud.marks line 2"), std::string::npos);
  Win32MarkerWindow& m = again.X().MarkerWindow();
  EXPECT_TRUE(m.NoticeShown());
  ASSERT_EQ(::SendMessageW(m.List(), LB_GETCOUNT, 0, 0), 2);
  wchar_t row[64] = {};
  ::SendMessageW(m.List(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
  EXPECT_NE(FromWide(row).find("履歴の外"), std::string::npos);
  m.Select(0);
  ::SendMessageW(m.Button(TMarkerCommand::remove), BM_CLICK, 0, 0);
  EXPECT_EQ(ReadBytes(file + ".marks"), "{\"point\":9,\"label\":\"先\"}\n");
}

TEST_F(Win32ExplorerTest, RestoreGivesBackWhatTypingThrewAwayWhenAgreed) {
  TExplorerWindow t(file);
  t.Key(VK_HOME, {VK_MENU});
  EXPECT_FALSE(t.X().Enabled(TExplorerAction::restore));
  ::SendMessageW(t.w.EditWindow().Handle(), WM_CHAR, L'x', 1);
  ::SendMessageW(t.w.EditWindow().Handle(), WM_KEYUP, 'X', 1u << 31);  // the status follows on release
  t.w.ProcessPending();
  EXPECT_EQ(t.Status(), " Undo:1 Redo:0 Total:1");
  ASSERT_TRUE(t.X().Enabled(TExplorerAction::restore));
  t.answer = false;
  t.Key('Y', {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(t.Text(), "x");
  t.answer = true;
  t.Key('Y', {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(t.Text(), "");
  EXPECT_EQ(t.Status(), " Undo:0 Redo:7 Total:7");
  EXPECT_FALSE(t.X().Enabled(TExplorerAction::restore));
  t.Key(VK_END, {VK_MENU});
  EXPECT_EQ(t.Text(), "0123456");
}

TEST_F(Win32ExplorerTest, TheKeyListNamesEveryKeyAndTheNextKeyClosesIt) {
  TExplorerWindow t(file);
  t.Key(0x70);  // F1
  ASSERT_TRUE(t.keys);
  std::string text;
  for (const TKeyRow& r : t.keys->Window) text += r.Keys + " " + r.What + "\n";
  for (const char* key : {"Ctrl+O", "Ctrl+Alt+S", "F2", "Ctrl+Z", "Alt+Left", "Alt+End", "F7, Esc", "Ctrl+G",
                          "Alt+PageUp", "Ctrl+Shift+M", "Ctrl+H", "Ctrl+Shift+Y", "F1, Shift+F1"})
    EXPECT_NE(text.find(key), std::string::npos) << key;
  EXPECT_NE(text.find("Ctrl+M この位置にマーカーを追加…"), std::string::npos);
  EXPECT_EQ(t.keys->Editor.size(), kEditorKeys.size());

  // The popup itself: the key queued behind F1 closes it and does not play.
  t.X().ShowKeys = [&t](const TKeyList& k) { ShowKeyList(t.w.Handle(), t.w.UiFont(), k); };
  ::PostMessageW(t.w.EditWindow().Handle(), WM_KEYDOWN, 0x70, 1);
  ::PostMessageW(t.w.EditWindow().Handle(), WM_KEYDOWN, 0x74, 1);  // F5
  t.w.ProcessPending();
  EXPECT_FALSE(t.w.TimerEnabled());
  t.Key(0x74);
  EXPECT_TRUE(t.w.TimerEnabled());
}

// The go-to and label dialog as the system runs it: the text offered, and
// the one typed back, Japanese both ways.
TEST(Win32InputDialog, OffersAndReturnsUtf8) {
  static std::wstring offered;
  ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog = ::FindWindowW(L"#32770", L"マーカーを追加");
    const HWND edit = dialog ? ::FindWindowExW(dialog, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit) return;
    ::KillTimer(nullptr, id);
    wchar_t text[64] = {};
    ::GetWindowTextW(edit, text, 64);
    offered = text;
    ::SetWindowTextW(edit, L"第二章");
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(AskLine(nullptr, {"マーカーを追加", "名前:", "位置 3", false}), std::optional<std::string>("第二章"));
  EXPECT_EQ(offered, L"位置 3");
}

TEST_F(Win32ExplorerTest, OpensAtThePointAskedFor) {
  EXPECT_FALSE(ParseWindowArgs({"x.eud", "--at"}));
  EXPECT_FALSE(ParseWindowArgs({"--at", "three", "x.eud"}));
  for (const auto& [at, status] : {std::pair{"3", " Undo:3 Redo:4 Total:7"}, std::pair{"99", " Undo:7 Redo:0 Total:7"},
                                   std::pair{"-4", " Undo:0 Redo:7 Total:7"}}) {
    const std::optional<TWindowOptions> o = ParseWindowArgs({"--at", at, file});
    ASSERT_TRUE(o);
    Win32PlayerWindow w;
    w.Quiet = true;
    StartWindow(w, *o);
    wchar_t text[128] = {};
    ::GetWindowTextW(w.StatusLabel(), text, 128);
    EXPECT_EQ(FromWide(text), status);
  }
}

}  // namespace
}  // namespace kelvane::test
