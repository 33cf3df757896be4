// Keyboard, character, IME and mouse input of the editor control, driven by
// messages on the headless host (text at x 50, rows of 18 px from y 4, 8 px
// per single-byte character).
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

using Lines = std::vector<std::string>;

enum TMods : uint32_t { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

struct Input : EditorFixture {
  Input() { host.Focused = true; }

  void Hold(uint32_t mods) {
    host.KeysDown.clear();
    if (mods & kShift) host.KeysDown.insert(VK_SHIFT);
    if (mods & kCtrl) host.KeysDown.insert(VK_CONTROL);
    if (mods & kAlt) host.KeysDown.insert(VK_MENU);
  }
  void Key(uint32_t vk, uint32_t mods = kNone) {
    Hold(mods);
    edit.Perform(WM_KEYDOWN, vk);
    edit.Perform(WM_KEYUP, vk);
    Hold(kNone);
  }
  // Delivers the queued character messages as the message loop would.
  void Pump() {
    while (!host.CharQueue.empty()) {
      const uint32_t c = host.CharQueue.front();
      host.CharQueue.pop_front();
      edit.Perform(WM_CHAR, c);
    }
  }
  void Type(std::string_view bytes) {
    for (unsigned char c : bytes) host.CharQueue.push_back(c);
    Pump();
  }
  void Ime(std::string_view result) {
    host.ImeResult = std::string(result);
    edit.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    if (host.ImeEchoes) Type(result);
  }
  // Client point of a column boundary on a line, mid-row.
  static int32_t X(int32_t column) { return 50 + 8 * column; }
  static int32_t Y(int32_t line) { return 4 + 18 * line + 9; }
  void Press(int32_t x, int32_t y, uint32_t mods = kNone) {
    Hold(mods);
    host.Mouse = {x, y};
    edit.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
  }
  void Move(int32_t x, int32_t y) {
    host.Mouse = {x, y};
    edit.Perform(WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
  }
  void Release(uint32_t mods = kNone) {
    Hold(mods);
    edit.Perform(WM_LBUTTONUP, 0, MakeLParam(static_cast<uint32_t>(host.Mouse.X), static_cast<uint32_t>(host.Mouse.Y)));
    Hold(kNone);
  }
  void Drag(TPoint from, TPoint to, uint32_t mods = kNone, uint32_t dropMods = kNone) {
    Press(X(from.X), Y(from.Y), mods);
    Move(X(to.X), Y(to.Y));
    Release(dropMods);
  }
};

// ---- the key table ----------------------------------------------------------------

enum class TPrep { None, Select, Undo };

struct TKeyRow {
  const char* Name;
  uint32_t Vk;
  uint32_t Mods;
  TPrep Prep;
  TPoint Caret;
  int32_t Top;
  bool Selected;
  const char* Line30;
  const char* Clipboard;
};

// 60 lines "abcdef"; "Q" typed at (3, 30), so the caret is at (4, 30), the
// view starts at line 5 and there is one record to undo. The clipboard holds "Z".
const TKeyRow kKeyRows[] = {
    {"PageUp", VK_PRIOR, kNone, TPrep::None, {4, 30}, 0, false, "abcQdef", "Z"},
    {"ShiftPageDown", VK_NEXT, kShift, TPrep::None, {4, 30}, 31, true, "abcQdef", "Z"},
    {"End", VK_END, kNone, TPrep::None, {7, 30}, 5, false, "abcQdef", "Z"},
    {"CtrlEnd", VK_END, kCtrl, TPrep::None, {6, 59}, 34, false, "abcQdef", "Z"},
    {"Home", VK_HOME, kNone, TPrep::None, {0, 30}, 5, false, "abcQdef", "Z"},
    {"CtrlHome", VK_HOME, kCtrl, TPrep::None, {0, 0}, 0, false, "abcQdef", "Z"},
    {"Left", VK_LEFT, kNone, TPrep::None, {3, 30}, 5, false, "abcQdef", "Z"},
    {"ShiftLeft", VK_LEFT, kShift, TPrep::None, {3, 30}, 5, true, "abcQdef", "Z"},
    {"Right", VK_RIGHT, kNone, TPrep::None, {5, 30}, 5, false, "abcQdef", "Z"},
    {"RightDropsSelection", VK_RIGHT, kNone, TPrep::Select, {5, 30}, 5, false, "abcQdef", "Z"},
    {"Up", VK_UP, kNone, TPrep::None, {4, 29}, 5, false, "abcQdef", "Z"},
    {"CtrlUp", VK_UP, kCtrl, TPrep::None, {4, 30}, 2, false, "abcQdef", "Z"},
    {"Down", VK_DOWN, kNone, TPrep::None, {4, 31}, 6, false, "abcQdef", "Z"},
    {"CtrlDown", VK_DOWN, kCtrl, TPrep::None, {4, 30}, 8, false, "abcQdef", "Z"},
    {"ShiftCtrlInsert", VK_INSERT, kShift | kCtrl, TPrep::None, {0, 30}, 5, false, "def", "Z"},
    {"ShiftInsert", VK_INSERT, kShift, TPrep::None, {5, 30}, 5, false, "abcQZdef", "Z"},
    {"Insert", VK_INSERT, kNone, TPrep::None, {4, 30}, 5, false, "abcQdef", "Z"},
    {"CtrlInsert", VK_INSERT, kCtrl, TPrep::None, {4, 30}, 5, false, "abcQdef", "Z"},
    {"ShiftCtrlDelete", VK_DELETE, kShift | kCtrl, TPrep::None, {4, 30}, 5, false, "abcQ", "Z"},
    {"Delete", VK_DELETE, kNone, TPrep::None, {4, 30}, 5, false, "abcQef", "Z"},
    {"ShiftDelete", VK_DELETE, kShift, TPrep::Select, {2, 30}, 5, false, "abdef", "Z"},
    {"CtrlA", 0x41, kCtrl, TPrep::None, {6, 59}, 34, true, "abcQdef", "Z"},
    {"CtrlC", 0x43, kCtrl, TPrep::Select, {4, 30}, 5, false, "abcQdef", "cQ"},
    {"CtrlX", 0x58, kCtrl, TPrep::Select, {2, 30}, 5, false, "abdef", "cQ"},
    {"CtrlV", 0x56, kCtrl | kShift, TPrep::None, {5, 30}, 5, false, "abcQZdef", "Z"},
    {"CtrlZ", 0x5A, kCtrl | kAlt, TPrep::None, {3, 30}, 5, false, "abcdef", "Z"},
    {"CtrlR", 0x52, kCtrl, TPrep::Undo, {4, 30}, 5, false, "abcQdef", "Z"},
    {"CtrlY", 0x59, kCtrl, TPrep::Undo, {3, 30}, 5, false, "abcdef", "Z"},
    {"PlainLetter", 0x41, kNone, TPrep::None, {4, 30}, 5, false, "abcQdef", "Z"},
    {"Escape", VK_ESCAPE, kNone, TPrep::Select, {4, 30}, 5, true, "abcQdef", "Z"},
    {"F2", VK_F2, kNone, TPrep::None, {4, 30}, 5, false, "abcQdef", "Z"},
};

class KeyTable : public ::testing::TestWithParam<TKeyRow> {};

TEST_P(KeyTable, ActsByKeyAndModifiers) {
  const TKeyRow& row = GetParam();
  Input in;
  std::string text = "abcdef";
  for (int i = 1; i < 60; ++i) text += "\r\nabcdef";
  in.edit.SetText(text);
  in.edit.SetCaret({3, 30});
  in.edit.InputText("Q");
  in.host.Clipboard = "Z";
  ASSERT_EQ(in.edit.TopLine, 5);
  if (row.Prep == TPrep::Select) {
    in.edit.SelAnchor = {2, 30};
    in.edit.Selected = true;
  } else if (row.Prep == TPrep::Undo) {
    in.Key(0x5A, kCtrl);
  }
  const TPoint anchorBefore = in.edit.Selected ? in.edit.SelAnchor : in.edit.CaretPos;
  in.Key(row.Vk, row.Mods);
  EXPECT_EQ(in.edit.CaretPos, row.Caret);
  EXPECT_EQ(in.edit.TopLine, row.Top);
  EXPECT_EQ(in.edit.Selected, row.Selected);
  if (row.Selected && row.Vk != 0x41) {
    EXPECT_EQ(in.edit.SelAnchor, anchorBefore);
  }
  EXPECT_EQ(in.edit.Items[30].Text, row.Line30);
  EXPECT_EQ(in.host.Clipboard.value_or(""), row.Clipboard);
}

INSTANTIATE_TEST_SUITE_P(Input, KeyTable, ::testing::ValuesIn(kKeyRows),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(Input, ShiftArrowsSelectAndAPlainArrowDropsTheSelection) {
  Input in;
  in.edit.SetText("abc\r\ndef");
  for (int i = 0; i < 3; ++i) in.Key(VK_RIGHT, kShift);
  EXPECT_EQ(in.edit.GetSelText(), "abc");
  in.Key(VK_RIGHT);
  EXPECT_FALSE(in.edit.Selected);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{0, 1}));
  in.Key(0x41, kCtrl);
  EXPECT_EQ(in.edit.GetSelText(), "abc\r\ndef");
  EXPECT_EQ(in.edit.SelAnchor, (TPoint{0, 0}));
}

TEST(Input, KeyEventsMayChangeOrSwallowTheKey) {
  Input in;
  in.edit.SetText("abc");
  std::vector<uint32_t> ups;
  in.edit.OnKeyDown = [](TVeskEdit&, uint32_t& key) { key = key == VK_LEFT ? 0 : key == VK_HOME ? VK_END : key; };
  in.edit.OnKeyUp = [&ups](TVeskEdit&, uint32_t& key) { ups.push_back(key); };
  in.edit.OnKeyPress = [](TVeskEdit&, uint32_t& ch) { ch = ch == 'x' ? 0 : ch == 'a' ? 'b' : ch; };
  in.Key(VK_HOME);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{3, 0}));
  in.Key(VK_LEFT);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{3, 0}));
  in.Type("xa");
  EXPECT_EQ(in.edit.GetText(), "abcb");
  EXPECT_EQ(ups, (std::vector<uint32_t>{VK_HOME, VK_LEFT}));
}

TEST(Input, WithoutAVisibleCaretUpAndDownScrollButTheCaretStillMoves) {
  Input in;
  std::string text = "abc";
  for (int i = 1; i < 40; ++i) text += "\r\nabc";
  in.edit.SetText(text);
  in.edit.SetConfCaretVisible(false);
  in.edit.SetCaret({1, 0});
  in.Key(VK_DOWN);
  EXPECT_EQ(in.edit.TopLine, 3);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{1, 0}));
  in.Key(VK_UP);
  EXPECT_EQ(in.edit.TopLine, 0);
  in.Key(VK_RIGHT);
  in.Key(VK_END);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{3, 0}));
  in.Key(VK_LEFT);
  in.Key(VK_HOME);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{0, 0}));
  in.Type("Z");
  EXPECT_EQ(in.edit.Items[0].Text, "Zabc");
  EXPECT_FALSE(in.host.Caret.Visible());
}

// ---- characters ------------------------------------------------------------------

TEST(Input, CharactersControlCodesAndDoubleByteCharacters) {
  Input in;
  in.edit.SetText("");
  in.host.CharQueue = {0x9F};
  in.edit.Perform(WM_CHAR, 0x88);  // lead, with its trail queued
  EXPECT_EQ(in.edit.GetText(), Sjis("亜"));
  EXPECT_TRUE(in.host.CharQueue.empty());
  EXPECT_EQ(in.UndoList().Count(), 1);

  in.edit.Perform(WM_CHAR, 0x88);  // a lone lead byte is dropped
  in.host.CharQueue = {0x0D};
  in.edit.Perform(WM_CHAR, 0x88);  // so is one followed by no trail
  EXPECT_EQ(in.host.CharQueue.size(), 1u);
  in.host.CharQueue.clear();
  for (uint32_t c : {0x01u, 0x1Bu, 0x7Fu, 0x80u}) in.edit.Perform(WM_CHAR, c);
  EXPECT_EQ(in.edit.GetText(), Sjis("亜"));

  in.Type("a\xB1 ");  // ASCII, a half-width kana, a space
  in.edit.Perform(WM_CHAR, 13);  // Ctrl+M
  in.Type("b");
  in.edit.Perform(WM_CHAR, 8);  // Ctrl+H
  in.edit.Perform(WM_CHAR, 9);
  EXPECT_EQ(in.Lines(), (Lines{Sjis("亜") + "a\xB1 ", "\t"}));
  in.Hold(kCtrl);
  in.edit.Perform(WM_CHAR, 9);  // Ctrl+I moves the focus instead
  EXPECT_EQ(in.host.FocusMoves, 1);
  EXPECT_EQ(in.Lines(), (Lines{Sjis("亜") + "a\xB1 ", "\t"}));
}

TEST(Input, TypingFillsABoxAndPrefixesSelectedLines) {
  Input in;
  in.edit.SetText("abcdef\r\nghijkl\r\nmnop");
  in.Drag({1, 0}, {4, 1}, kCtrl | kAlt);
  ASSERT_TRUE(in.edit.BoxMode);
  in.Type("Z");
  EXPECT_EQ(in.Lines(), (Lines{"aZZZef", "gZZZkl", "mnop"}));

  in.Press(40, Input::Y(1));  // in the line-number margin
  in.Move(40, Input::Y(2));
  in.Release();
  EXPECT_TRUE(in.edit.LineSelect);
  in.Type(">");
  EXPECT_EQ(in.Lines(), (Lines{"aZZZef", ">gZZZkl", ">mnop"}));
  EXPECT_FALSE(in.edit.LineSelect);
}

// ---- IME -------------------------------------------------------------------------

TEST(Input, ImeResultIsInsertedOnceWhetherOrNotThePlatformEchoesIt) {
  for (bool echoes : {true, false}) {
    SCOPED_TRACE(echoes);
    Input in;
    in.host.ImeEchoes = echoes;
    in.edit.SetText("");
    in.Ime(Sjis("漢字"));
    EXPECT_EQ(in.edit.ImeSkipCount, 0);
    in.Ime("a" + Sjis("あ"));
    in.Type("b");  // typing straight after a result is never lost
    in.Type(Sjis("い"));
    EXPECT_EQ(in.edit.GetText(), Sjis("漢字a") + Sjis("あ") + "b" + Sjis("い"));
    in.edit.Perform(WM_IME_COMPOSITION, 0, 0);  // no result string
    EXPECT_EQ(in.edit.GetText(), Sjis("漢字a") + Sjis("あ") + "b" + Sjis("い"));
  }
}

TEST(Input, SkipCountSwallowsTheEchoOfAResult) {
  Input in;
  in.edit.SetText("");
  in.host.ImeResult = Sjis("漢字");
  in.edit.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  EXPECT_EQ(in.edit.ImeSkipCount, 4);
  in.host.CharQueue = {0x8E};
  in.edit.Perform(WM_CHAR, 0x8A);
  EXPECT_EQ(in.edit.ImeSkipCount, 2);
  in.Type(Sjis("字") + "c");
  EXPECT_EQ(in.edit.GetText(), Sjis("漢字") + "c");

  // Every echoed byte counts, line breaks, tabs and backspaces too: none acts twice,
  // and the user's next keys all arrive.
  in.edit.SetText("");
  in.host.ImeResult = "a\r\n\tb\x08";
  in.edit.Perform(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  in.Type("a\r\n\tb\x08xyz");
  EXPECT_EQ(in.edit.GetText(), "a\r\n\tb\x08xyz");
  EXPECT_EQ(in.edit.ImeSkipCount, 0);
}

TEST(Input, ReconversionAnswersTheWordAtTheCaret) {
  Input in;
  in.edit.SetText("abc def\r\nxy");
  in.edit.SetCaret({1, 0});
  std::array<unsigned char, 64> buf{};
  buf.fill(0xEE);
  EXPECT_EQ(in.edit.Perform(WM_IME_REQUEST, IMR_RECONVERTSTRING, 0), 35);  // size query
  EXPECT_EQ(in.edit.GetSelText(), "abc");
  EXPECT_EQ(in.edit.Perform(WM_IME_REQUEST, IMR_RECONVERTSTRING, reinterpret_cast<LPARAM>(buf.data())), 35);
  const unsigned char header[32] = {35, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 32, 0, 0, 0,
                                    3,  0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0,  0, 0, 0};
  EXPECT_EQ(std::memcmp(buf.data(), header, 32), 0);
  EXPECT_EQ(std::string(buf.begin() + 32, buf.begin() + 35), "abc");
  EXPECT_EQ(buf[35], 0xEE);  // no terminating zero

  in.edit.SelAnchor = {5, 0};
  in.edit.CaretPos = {1, 1};
  EXPECT_EQ(in.edit.Perform(WM_IME_REQUEST, IMR_RECONVERTSTRING, 0), 0);  // spans lines
  in.edit.SetSelected(false);
  in.edit.SetCaret({0, 1});
  in.edit.SetText("");
  EXPECT_EQ(in.edit.Perform(WM_IME_REQUEST, IMR_RECONVERTSTRING, 0), 0);  // no word
  EXPECT_EQ(in.edit.Perform(WM_IME_REQUEST, IMR_QUERYCHARPOSITION, 0), 0);
}

// ---- mouse -----------------------------------------------------------------------

TEST(Input, MouseSelectsStreamsAndAClickLeavesNone) {
  Input in;
  in.edit.SetText("abcdef\r\nghijkl\r\nmnopqr");
  in.host.Focused = false;
  in.Press(Input::X(1), Input::Y(0));
  EXPECT_TRUE(in.host.Focused);
  EXPECT_TRUE(in.host.Captured);
  in.Move(Input::X(4), Input::Y(2));
  in.Release();
  EXPECT_FALSE(in.host.Captured);
  EXPECT_EQ(in.edit.GetSelText(), "bcdef\r\nghijkl\r\nmnop");
  in.Press(Input::X(2), Input::Y(1), kShift);  // extends from the old anchor
  in.Release();
  EXPECT_EQ(in.edit.GetSelText(), "bcdef\r\ngh");
  in.Press(Input::X(2), Input::Y(1));
  in.Release();
  EXPECT_FALSE(in.edit.Selected);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{2, 1}));
  in.Press(45, Input::Y(2));  // just left of the text: an ordinary press at column 0
  EXPECT_FALSE(in.edit.LineSelect);
  EXPECT_EQ(in.edit.CaretPos, (TPoint{0, 2}));
  in.Release();
  in.edit.Perform(WM_RBUTTONDOWN, 0, MakeLParam(Input::X(5), Input::Y(0)));
  EXPECT_EQ(in.edit.CaretPos, (TPoint{0, 2}));
}

TEST(Input, MarginPressSelectsWholeLinesBothWays) {
  Input in;
  in.edit.SetText("a\r\nb\r\nc\r\nd\r\ne");
  in.Press(40, Input::Y(2));
  EXPECT_TRUE(in.edit.LineSelect);
  EXPECT_EQ(in.edit.GetSelText(), "c\r\n");
  in.Move(40, Input::Y(3));
  EXPECT_EQ(in.edit.GetSelText(), "c\r\nd\r\n");
  in.Move(40, Input::Y(0));
  EXPECT_EQ(in.edit.GetSelText(), "a\r\nb\r\nc\r\n");
  in.Move(40, Input::Y(4));
  EXPECT_EQ(in.edit.GetSelText(), "c\r\nd\r\ne");
  in.Release();
  in.Press(40, Input::Y(4));  // the last line upwards keeps its own end
  in.Move(40, Input::Y(3));
  in.Release();
  EXPECT_EQ(in.edit.GetSelText(), "d\r\ne");
}

TEST(Input, BoxSelectionLastsForOneSelection) {
  Input in;
  in.edit.SetText("abcdef\r\nghijkl\r\n" + Sjis("あいう"));
  in.Drag({1, 0}, {4, 1}, kCtrl | kAlt);
  EXPECT_TRUE(in.edit.BoxMode);
  EXPECT_EQ(in.edit.BoxLeftX, 8);
  EXPECT_EQ(in.edit.BoxRightX, 32);
  EXPECT_EQ(in.edit.GetSelText(), "bcd\r\nhij");
  in.Key(VK_RIGHT, kShift);  // the moving edge follows the caret
  EXPECT_EQ(in.edit.BoxRightX, 40);
  in.Key(VK_DOWN, kShift);  // onto wide characters: the edge keeps its x
  EXPECT_EQ(in.edit.CaretPos, (TPoint{6, 2}));
  EXPECT_EQ(in.edit.BoxCaretX, 40);
  EXPECT_EQ(in.edit.BoxAnchorX, 8);
  in.Key(VK_LEFT, kShift);
  EXPECT_EQ(in.edit.BoxCaretX, 32);
  EXPECT_EQ(in.edit.GetSelText(), "bcd\r\nhij\r\n" + Sjis("あい"));

  in.Drag({2, 0}, {3, 1});  // a plain press ends box mode
  EXPECT_FALSE(in.edit.BoxMode);
  EXPECT_EQ(in.host.Cursor, TCursorShape::IBeam);
  EXPECT_EQ(in.edit.GetSelText(), "cdef\r\nghi");

  in.Drag({1, 0}, {2, 1}, kCtrl | kAlt);
  in.Key(VK_LEFT);
  in.Key(VK_LEFT, kShift);  // a keyboard selection started afresh is a stream
  EXPECT_FALSE(in.edit.BoxMode);
}

TEST(Input, DoubleClickSelectsAWordElseTheBlock) {
  Input in;
  in.edit.SetText("x\r\n\r\nab cd\r\nef");
  const auto doubleClick = [&](int32_t x, int32_t y) {
    in.Press(x, y);
    in.Release();
    in.edit.Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(static_cast<uint32_t>(x), static_cast<uint32_t>(y)));
    in.Release();
  };
  doubleClick(Input::X(4), Input::Y(2));
  EXPECT_EQ(in.edit.GetSelText(), "cd");
  doubleClick(Input::X(9), Input::Y(2));  // right of the line's end
  EXPECT_EQ(in.edit.GetSelText(), "ab cd\r\nef");
  doubleClick(46, Input::Y(0));  // in the margin
  EXPECT_EQ(in.edit.GetSelText(), "x");
}

TEST(Input, DraggedTextMovesOrCopiesAndStaysWhenDroppedOnItself) {
  struct Case {
    const char* Name;
    uint32_t SelectMods;  // Ctrl+Alt: a box
    TPoint Drop;
    uint32_t DropMods;  // Shift: copy
    Lines After;
  };
  const Case cases[] = {
      {"move", kNone, {11, 1}, kNone, {"hi", " worldhello"}},
      {"copy", kNone, {11, 1}, kShift, {"hi", "hello worldhello"}},
      {"onitself", kNone, {3, 1}, kNone, {"hi", "hello world"}},
      {"boxmove", kCtrl | kAlt, {7, 1}, kNone, {"hi", " whelloorld"}},
      {"boxcopy", kCtrl | kAlt, {7, 1}, kShift, {"hi", "hello whelloorld"}},
      {"boxonitself", kCtrl | kAlt, {2, 1}, kNone, {"hi", "hello world"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Input in;
    in.edit.TextDrag = true;
    in.edit.SetText("hi\r\nhello world");
    in.Drag({0, 1}, {5, 1}, c.SelectMods);
    in.Press(Input::X(2), Input::Y(1));
    ASSERT_TRUE(in.edit.Dragging);
    EXPECT_EQ(in.host.Cursor, TCursorShape::Drag);
    in.Move(Input::X(c.Drop.X), Input::Y(c.Drop.Y));
    EXPECT_EQ(in.edit.CaretPos, (TPoint{5, 1}));  // the caret only marks the drop
    EXPECT_EQ(in.host.Caret.Pos.X, Input::X(c.Drop.X));
    in.Release(c.DropMods);
    EXPECT_EQ(in.Lines(), c.After);
    EXPECT_FALSE(in.edit.Dragging || in.host.Captured);
    EXPECT_EQ(in.host.Cursor, TCursorShape::IBeam);
  }
}

TEST(Input, DragStartsOnlyWhenEnabledAndNearTheBoundary) {
  Input in;
  in.edit.SetText("hello world\r\nab");
  for (const auto& [drag, x, starts] :
       {std::tuple{false, Input::X(7), false}, std::tuple{true, Input::X(11) + 20, false},
        std::tuple{true, Input::X(11) + 12, true}}) {
    in.edit.TextDrag = drag;
    in.Drag({6, 0}, {2, 1});
    in.Press(x, Input::Y(0));
    EXPECT_EQ(in.edit.Dragging, starts) << x;
    EXPECT_EQ(in.edit.SelAnchor == in.edit.CaretPos, !starts) << x;  // otherwise a new selection starts
    in.Release();
  }
}

TEST(Input, DraggingOutsideAutoScrolls) {
  Input in;
  std::string text = "abc";
  for (int i = 1; i < 100; ++i) text += "\r\nabc";
  in.edit.SetText(text);
  in.Press(Input::X(1), Input::Y(1));
  in.Move(100, 500);  // 20 px below the window: 4 lines a step
  EXPECT_EQ(in.edit.TopLine, 4);
  in.Move(100, 501);
  EXPECT_EQ(in.edit.TopLine, 8);
  in.Move(100, 475);  // below the last whole row: one line a step
  EXPECT_EQ(in.edit.TopLine, 9);
  in.Move(100, -30);  // above: 6 lines a step
  EXPECT_EQ(in.edit.TopLine, 3);
  in.Move(650, Input::Y(5));  // right: by the distance past the edge
  EXPECT_EQ(in.edit.HScrollPos, 6);
  in.Move(680, Input::Y(5));
  EXPECT_EQ(in.edit.HScrollPos, 56);
  in.Release();
  EXPECT_FALSE(in.edit.MouseDown);
  const int32_t top = in.edit.TopLine;
  in.Move(100, 500);  // moves without the button do nothing
  EXPECT_EQ(in.edit.TopLine, top);
}

}  // namespace
}  // namespace kelvane::test
