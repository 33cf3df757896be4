// The explorer's panels in the Win32 window under a real window system: the
// list agrees with the timeline after steps, jumps and typing and jumps where
// clicked; the timeline's drag moves the player as the history bar does and
// the diff waits for it; the tint names who typed a character and Ctrl+click
// goes there; a history that cannot be walked says where on opening.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "headless/HeadlessEditHost.h"
#include "history/PanelColors.h"
#include "history/PanelText.h"
#include "player/UndoFile.h"
#include "tests/support/DigitsHistory.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"
#include "win32/Screenshot.h"
#include "win32/Win32DiffPane.h"
#include "win32/Win32Explorer.h"
#include "win32/Win32HistoryList.h"
#include "win32/Win32HistoryPanels.h"
#include "win32/Win32NoticeBar.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/Win32ProvenanceTint.h"
#include "win32/Win32TimelinePanel.h"

namespace kelvane::test {
namespace {

// "0123456" typed a digit at a time, the last two undone: point 5 of 7.
std::string DigitsFile() { return DigitsHistoryFile(2); }

// Five digits typed, then a record on the redo stack for a line that is not there.
std::string UnwalkableFile() {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  THistoryBuilder b(edit);
  for (int i = 0; i < 5; ++i) b.Insert({i, 0}, std::to_string(i));
  AddUndoData(edit.Undo->FRedoList, umInsert, {0, 5}, "", 1);
  return BuildUndoFile(edit);
}

class Win32HistoryPanelsTest : public testing::Test {
 protected:
  explicit Win32HistoryPanelsTest(const std::string& file = DigitsFile()) {
    w.Quiet = true;
    w.Show(SW_SHOWNOACTIVATE);
    w.Form().FormCreate({});
    EXPECT_TRUE(w.Form().OpenUndoFile(dir.Write("digits.eud", file)));
    Idle();
  }
  void Idle() { w.ProcessPending(); }
  void Command(int id) {
    ::SendMessageW(w.Handle(), WM_COMMAND, id, 0);
    Idle();
  }
  void Step(TPlayerAction a) { Command(100 + static_cast<int>(a)); }
  Win32HistoryPanels& P() { return w.Panels(); }
  Win32HistoryList& List() { return P().List(); }
  std::string Text() { return w.EditWindow().Editor().GetText(); }
  std::wstring Label() {
    wchar_t text[128] = {};
    ::GetWindowTextW(w.StatusLabel(), text, 128);
    return text;
  }
  // A press, moves and a release on the timeline at points' columns.
  void Mouse(UINT msg, int64_t point) {
    const TTimelineGeometry g = P().Timeline().Geometry();
    ::SendMessageW(P().Timeline().Handle(), msg, msg == WM_LBUTTONUP ? 0u : static_cast<unsigned>(MK_LBUTTON), MAKELPARAM(g.XOf(point), 40));
  }
  std::string Header() { return P().Diff().HeaderText(); }

  TTempFolder dir;
  Win32PlayerWindow w{640, 480};
};

TEST_F(Win32HistoryPanelsTest, TheListAgreesWithTheTimelineAndJumpsWhereClicked) {
  Command(kPanelHistoryList);
  Command(kPanelTimeline);
  ASSERT_TRUE(::IsWindowVisible(List().Handle()));
  ASSERT_EQ(List().Rows(), P().Analysis().Timeline().Records());
  ASSERT_EQ(::SendMessageW(List().View(), LVM_GETITEMCOUNT, 0, 0), 7);
  EXPECT_EQ(List().CellText(4, kHistoryText), L"＋4");
  EXPECT_EQ(List().CellText(4, kHistoryPlace), L"1:5");
  EXPECT_EQ(List().CurrentRow(), 4);  // point 5: record 4 is the last applied
  EXPECT_EQ(P().Timeline().Point(), 5);

  Step(TPlayerAction::textUndo);
  EXPECT_EQ(List().CurrentRow(), 3);
  EXPECT_EQ(P().Timeline().Point(), 4);

  // A click on row 6 through the list-view itself: the point after record 6.
  RECT row{};
  row.left = LVIR_BOUNDS;
  ::SendMessageW(List().View(), LVM_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM(row.left + 30, (row.top + row.bottom) / 2);
  ::PostMessageW(List().View(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(List().View(), WM_LBUTTONUP, 0, at);
  Idle();
  EXPECT_EQ(Label(), L" Undo:7 Redo:0 Total:7");
  EXPECT_EQ(P().Timeline().Point(), 7);
  // Enter on the selected row.
  LVITEMW select{};
  select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(List().View(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
  ::SendMessageW(List().View(), WM_KEYDOWN, VK_RETURN, 0);
  Idle();
  EXPECT_EQ(Text(), "01");

  // A typed edit throws the records to come away: the list has what is left.
  ::SendMessageW(w.EditWindow().Handle(), WM_CHAR, L'x', 1);
  Idle();
  ASSERT_EQ(List().Rows(), 3);
  EXPECT_EQ(List().CellText(2, kHistoryText), L"＋x");
  EXPECT_EQ(List().CurrentRow(), 2);
  EXPECT_EQ(P().Analysis().Timeline().Records(), 3);
}

TEST_F(Win32HistoryPanelsTest, SearchNarrowsTheListAndBandsTheTimeline) {
  Command(kPanelFindInHistory);
  ASSERT_EQ(::GetFocus(), List().Search());
  ::SetWindowTextW(List().Search(), L"3");
  ::SendMessageW(List().Search(), WM_KEYDOWN, VK_RETURN, 0);
  Idle();
  ASSERT_EQ(List().Rows(), 1);
  EXPECT_EQ(List().RecordAt(0), 3);
  EXPECT_EQ(P().SearchRanges(), (std::vector<TPointRange>{{4, 8}}));
  ::SetWindowTextW(List().Search(), L"");
  List().SearchNow();
  EXPECT_EQ(List().Rows(), 7);
  EXPECT_TRUE(P().SearchRanges().empty());
}

TEST_F(Win32HistoryPanelsTest, TheTimelineIsDraggedAsTheHistoryBarIsAndTheDiffWaits) {
  Command(kPanelMarkDiffFrom);
  ASSERT_EQ(P().DiffFrom(), 5);
  Command(kPanelTimeline);
  Step(TPlayerAction::textUndo);
  EXPECT_EQ(Header().rfind("位置 5 → 位置 4", 0), 0u) << Header();
  EXPECT_EQ(P().Diff().RemovedLines(), 1);
  EXPECT_EQ(P().Diff().AddedLines(), 1);

  Mouse(WM_LBUTTONDOWN, 2);
  Idle();
  EXPECT_EQ(Text(), "01");
  EXPECT_EQ(Header().rfind("位置 5 → 位置 4", 0), 0u);  // still being dragged
  EXPECT_TRUE(P().Diff().Waiting());
  Mouse(WM_MOUSEMOVE, 6);
  Mouse(WM_LBUTTONUP, 6);
  Idle();
  EXPECT_EQ(Label(), L" Undo:6 Redo:1 Total:7");
  EXPECT_EQ(::GetScrollPos(w.HistoryBar(), SB_CTL), 6);
  EXPECT_EQ(Header().rfind("位置 5 → 位置 6", 0), 0u) << Header();

  // Resting on a column names its point and the record that led there.
  Mouse(WM_MOUSEMOVE, 3);
  wchar_t tip[256] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = P().Timeline().Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(tool.hwnd);
  tool.lpszText = tip;
  ::SendMessageW(P().Timeline().ToolTip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(std::wstring(tip), L"位置 3\n挿入 · 1行目");

  // Removed rows on red and added ones on green, where the rows are.
  Step(TPlayerAction::textUndo);
  Step(TPlayerAction::textUndo);
  ::SendMessageW(w.Handle(), WM_COMMAND, kPanelDiff, 0);  // closed,
  Command(kPanelDiff);                                   // and open again
  const Win32DiffPane& d = P().Diff();
  ASSERT_GE(d.Rows().size(), 3u);
  RECT client{};
  ::GetClientRect(d.Handle(), &client);
  GdiBitmap shot;
  shot.SetSize(client.right, client.bottom);
  ::SendMessageW(d.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Dc()), PRF_CLIENT);
  ::GdiFlush();
  const auto pixel = [&](size_t row) {
    const uint32_t p = shot.Pixels()[static_cast<size_t>(d.RowTop(row) + 1) * static_cast<size_t>(shot.Width()) +
                                     static_cast<size_t>(client.right - 4)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  for (size_t i = 0; i < d.Rows().size(); ++i) {
    const TDiffRowKind kind = d.Rows()[i].Kind;
    if (kind == TDiffRowKind::removed || kind == TDiffRowKind::added) {
      EXPECT_EQ(pixel(i), kind == TDiffRowKind::removed ? kDiffPalette.RemovedBack : kDiffPalette.AddedBack) << i;
    }
  }
}

TEST_F(Win32HistoryPanelsTest, TheTintNamesWhoTypedACharacterAndCtrlClickGoesThere) {
  Command(kPanelProvenance);
  ASSERT_TRUE(P().Tint().On());
  EXPECT_TRUE(P().Notice().LegendShown());
  EXPECT_TRUE(::IsWindowVisible(P().Notice().Handle()));
  TProvenanceLookup& lookup = P().Tint().Lookup();
  EXPECT_EQ(lookup.RecordAt({3, 0}), 3);
  EXPECT_EQ(lookup.RecordAt({5, 0}), std::nullopt);  // the line's end

  TVeskEdit& e = w.EditWindow().Editor();
  const TPoint four = e.ClientPointOfPos(4, 0);  // the left edge of "4"
  const int x = four.X + 2, y = four.Y + e.LineHeight / 2;
  EXPECT_EQ(lookup.RecordAtClient(x, y), 4);
  EXPECT_NE(P().Tint().TipAt(x, y).find(L"記録 4"), std::wstring::npos);

  Step(TPlayerAction::textUndoLast);
  ::SendMessageW(w.EditWindow().Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(x, y));
  ::SendMessageW(w.EditWindow().Handle(), WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(x, y));
  Idle();
  EXPECT_EQ(Label(), L" Undo:5 Redo:2 Total:7");  // just after record 4

  Command(kPanelProvenance);
  EXPECT_FALSE(P().Tint().On());
  EXPECT_FALSE(::IsWindowVisible(P().Notice().Handle()));
}

class Win32HistoryCheckTest : public Win32HistoryPanelsTest {
 protected:
  Win32HistoryCheckTest() : Win32HistoryPanelsTest(UnwalkableFile()) {}
};

TEST_F(Win32HistoryCheckTest, AHistoryThatCannotBeWalkedSaysWhereOnOpening) {
  ASSERT_FALSE(P().Analysis().Timeline().Complete());
  ASSERT_TRUE(::IsWindowVisible(P().Notice().Handle()));
  EXPECT_NE(P().Notice().Notice().find("位置 5 から先へは進めません"), std::string::npos) << P().Notice().Notice();
  ASSERT_TRUE(w.Form().OpenUndoFile(dir.Write("fine.eud", DigitsFile())));
  Idle();
  EXPECT_FALSE(::IsWindowVisible(P().Notice().Handle()));
}

TEST(Win32HistoryPanels, KeysAreTheirOwnAndTheScreenshotOpensThem) {
  Win32PlayerWindow w;
  ACCEL table[64];
  const int n = ::CopyAcceleratorTableW(w.Accelerators(), table, 64);
  std::set<std::pair<int, int>> keys;
  std::set<std::tuple<int, int, int>> panels;
  for (int i = 0; i < n; ++i) {
    EXPECT_TRUE(keys.insert({table[i].fVirt & ~FNOINVERT, table[i].key}).second) << table[i].key;
    if (Win32HistoryPanels::IsCommand(table[i].cmd)) panels.insert({table[i].fVirt & ~FNOINVERT, table[i].key, table[i].cmd});
  }
  constexpr int kCtrl = FVIRTKEY | FCONTROL;
  EXPECT_EQ(panels, (std::set<std::tuple<int, int, int>>{{kCtrl, 'L', kPanelHistoryList},
                                                        {kCtrl, 'F', kPanelFindInHistory},
                                                        {kCtrl, 'T', kPanelTimeline},
                                                        {kCtrl, 'D', kPanelDiff},
                                                        {kCtrl | FSHIFT, 'D', kPanelMarkDiffFrom},
                                                        {kCtrl | FSHIFT, 'B', kPanelProvenance}}));
  // The explorer's menu offers them too.
  for (int c = kPanelHistoryList; c <= kPanelProvenance; ++c)
    EXPECT_NE(::GetMenuState(w.Explorer().Menu(), static_cast<UINT>(c), MF_BYCOMMAND), static_cast<UINT>(-1)) << c;

  const auto o = ParseScreenshotArgs({"--screenshot", "x.png", "--panels", "history,diff", "--diff-from", "3", "f.eud"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->Panels, (std::vector<std::string>{"history", "diff"}));
  EXPECT_EQ(o->DiffFrom, 3);
  EXPECT_FALSE(ParseScreenshotArgs({"--screenshot", "x.png", "--panels", "history,charts"}));
  EXPECT_FALSE(ParseScreenshotArgs({"--screenshot", "x.png", "--diff-from", "a"}));
}

}  // namespace
}  // namespace kelvane::test
