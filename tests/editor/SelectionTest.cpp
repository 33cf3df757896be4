// The selection: ordering, the text of each kind, word and block selection, the
// clipboard commands through the headless clipboard, and text drops.
#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

using Lines = std::vector<std::string>;

struct Selection : EditorFixture {
  Selection() { host.Focused = true; }
  void Select(TPoint anchor, TPoint caret, int32_t boxLeftX = -1, int32_t boxRightX = -1) {
    edit.SelAnchor = anchor;
    edit.CaretPos = caret;
    edit.Selected = true;
    edit.BoxMode = boxLeftX >= 0;
    edit.BoxAnchorX = edit.BoxLeftX = boxLeftX;
    edit.BoxCaretX = edit.BoxRightX = boxRightX;
  }
  void Drop(TPoint at, bool copy) {
    edit.DragText = edit.GetSelText();
    edit.DragPos = at;
    edit.DropDraggedText(copy, false);
  }
  void ExpectUndoGivesBack(std::string_view text) {
    while (edit.CanUndo()) edit.UndoStep();
    EXPECT_EQ(edit.GetText(), text);
  }
};

// The anchor a selection leaves behind stays inside the text after every
// change: a cut of a backwards selection, typing over one, an undo that takes
// its line away. Shift+click then extends from a place that exists.
TEST(Selection, TheAnchorLeftBehindStaysInTheText) {
  Selection s;
  s.edit.SetText("abc");
  s.Select({3, 0}, {0, 0});  // made backwards, as Shift+Home makes it
  s.edit.CutCommand();
  EXPECT_EQ(s.edit.SelAnchor, (TPoint{0, 0}));

  s.edit.SetText("");
  s.edit.InputText("\r\nq");
  s.Select({1, 1}, {0, 0});
  s.edit.InputText("\x08");  // typed over the selection
  EXPECT_LT(s.edit.SelAnchor.Y, s.edit.Items.Count());
  EXPECT_LE(s.edit.SelAnchor.X, s.edit.Items[s.edit.SelAnchor.Y].TextLength());

  s.edit.SetText("");
  s.edit.InputText("x");
  s.edit.NewLine();
  s.edit.InputText("yz");
  s.edit.SelAnchor = {2, 1};
  s.edit.DragPos = {1, 1};
  s.edit.UndoStep();
  s.edit.UndoStep();  // the second line goes
  EXPECT_EQ(s.edit.SelAnchor, (TPoint{1, 0}));
  EXPECT_EQ(s.edit.DragPos, (TPoint{1, 0}));
}

TEST(Selection, OrderedRangeAndSelectedText) {
  auto r = TVeskEdit::OrderRange({5, 2}, {1, 2});
  EXPECT_EQ((std::array{r.Left, r.Top, r.Right, r.Bottom}), (std::array{1, 2, 5, 2}));
  r = TVeskEdit::OrderRange({1, 2}, {5, 1});
  EXPECT_EQ((std::array{r.Left, r.Top, r.Right, r.Bottom}), (std::array{5, 1, 1, 2}));
  Selection s;
  s.edit.SetText("abcd\r\nef\r\nghi");
  EXPECT_EQ(s.edit.GetRangeText({1, 2}, {2, 0}), "cd\r\nef\r\ng");
  EXPECT_EQ(s.edit.GetSelText(), "");
  s.Select({0, 0}, {0, 2}, 8, 24);
  EXPECT_EQ(s.edit.GetSelText(), "bc\r\nf\r\nhi");
  s.edit.BoxLeftX = 24;
  s.edit.BoxRightX = 32;  // reaches the first line only: still three lines
  EXPECT_EQ(s.edit.GetSelText(), "d\r\n\r\n");
}

TEST(Selection, WordIsTheRunOfLikeCharactersElseTheBlockOfLines) {
  Selection s;
  s.edit.SetText("x\r\n\r\nab   cd\r\n" + Sjis("漢字") + "\r\nq");
  EXPECT_TRUE(s.edit.SelectWord({3, 2}));
  EXPECT_EQ(s.edit.SelAnchor, (TPoint{2, 2}));
  EXPECT_EQ(s.edit.CaretPos, (TPoint{5, 2}));
  EXPECT_TRUE(s.edit.SelectWord({1, 3}));
  EXPECT_EQ(s.edit.GetSelText(), Sjis("漢字"));
  s.edit.SetSelected(false);
  EXPECT_FALSE(s.edit.SelectWord({7, 2}));  // at the end of the line
  EXPECT_FALSE(s.edit.SelectWord({0, 1}));
  EXPECT_FALSE(s.edit.Selected);
  s.edit.SetCaret({1, 3});
  s.edit.SelectBlock();
  EXPECT_EQ(s.edit.GetSelText(), "ab   cd\r\n" + Sjis("漢字") + "\r\nq");
  s.edit.SetCaret({0, 1});  // an empty line below text: the run above it
  s.edit.SelectBlock();
  EXPECT_EQ(s.edit.GetSelText(), "x");
}

TEST(Selection, CopyCutAndPasteGoThroughTheClipboard) {
  Selection s;
  s.edit.SetText("abc\r\ndef");
  s.Select({1, 0}, {1, 1});
  s.edit.CopyCommand();
  EXPECT_EQ(s.host.Clipboard, "bc\r\nd");
  EXPECT_FALSE(s.edit.Selected);
  s.edit.CutCommand();  // nothing selected
  EXPECT_FALSE(s.edit.CanUndo());
  s.Select({2, 1}, {0, 0});
  s.edit.CutCommand();
  EXPECT_EQ(s.host.Clipboard, "abc\r\nde");
  EXPECT_EQ(s.UndoList().Top(), (TUndoData{umDelete, {0, 0}, 0, "abc\r\nde"}));
  s.edit.SetCaret({1, 0});
  s.edit.PasteCommand();
  EXPECT_EQ(s.edit.GetText(), "fabc\r\nde");
  EXPECT_EQ(s.edit.CaretPos, (TPoint{2, 1}));
  s.ExpectUndoGivesBack("abc\r\ndef");
  s.host.Focused = false;  // no paste without the focus or from an empty clipboard
  s.edit.PasteCommand();
  s.host.Focused = true;
  s.host.Clipboard = "";
  s.edit.PasteCommand();
  EXPECT_FALSE(s.edit.CanUndo());

  s.edit.SetText("abcd\r\nefgh");
  s.Select({1, 0}, {3, 1}, 8, 24);
  s.edit.CutCommand();
  EXPECT_EQ(s.host.Clipboard, "bc\r\nfg");
  EXPECT_EQ(s.Lines(), (Lines{"ad", "eh"}));
  s.edit.SetCaret({1, 0});
  s.edit.PasteCommand();  // always as a stream
  EXPECT_EQ(s.Lines(), (Lines{"abc", "fgd", "eh"}));
}

TEST(Selection, DroppedStreamTextIsCopiedOrMoved) {
  Selection s;
  for (const auto& [copy, result] : {std::pair{true, "xyabxy"}, std::pair{false, "abxy"}}) {
    s.edit.SetText("xyab");
    s.Select({0, 0}, {2, 0});
    s.Drop({4, 0}, copy);
    EXPECT_EQ(s.edit.GetText(), result);
    s.ExpectUndoGivesBack("xyab");
  }
  s.edit.SetText("ab\r\ncxyd");
  s.Select({3, 1}, {1, 1});
  s.Drop({1, 0}, false);  // before the source
  EXPECT_EQ(s.edit.GetText(), "axyb\r\ncd");
  s.ExpectUndoGivesBack("ab\r\ncxyd");
  s.Select({1, 1}, {3, 1});
  s.Drop({2, 1}, false);  // on itself
  EXPECT_FALSE(s.edit.CanUndo());
}

TEST(Selection, ABoxMovedOnItsOwnLinesKeepsEveryCharacter) {
  Selection s;
  const std::string text = "abcdefgh\r\nijklmnop\r\nqrst";
  const std::string wide = Sjis("　");
  s.edit.SetText(text);
  s.Select({4, 0}, {6, 1}, 32, 48);  // "ef" over "mn"
  s.Drop({1, 0}, false);             // left, on the same lines
  EXPECT_EQ(s.Lines(), (Lines{"aefbcdgh", "imnjklop", "qrst"}));
  EXPECT_EQ(s.edit.CaretPos, (TPoint{1, 0}));
  s.ExpectUndoGivesBack(text);
  s.Select({4, 0}, {6, 1}, 32, 48);
  s.Drop({7, 1}, false);  // right, one line down: the caret stays before the block
  EXPECT_EQ(s.Lines(), (Lines{"abcdgh", "ijkloefp", "qrst" + wide + " mn"}));
  EXPECT_EQ(s.edit.CaretPos, (TPoint{5, 1}));
  s.ExpectUndoGivesBack(text);
  s.Select({1, 0}, {3, 1}, 8, 24);
  s.Drop({2, 2}, true);
  s.Select({1, 0}, {3, 1}, 8, 24);
  s.Drop({2, 1}, false);  // on the box itself: only the selection ends
  EXPECT_EQ(s.Lines(), (Lines{"abcdefgh", "ijklmnop", "qrbcst", wide + "jk"}));
  EXPECT_FALSE(s.edit.Selected);
}

}  // namespace
}  // namespace kelvane::test
