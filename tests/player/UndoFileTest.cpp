// The undo file: the writer's exact layout and the reader's forgiving,
// positional walk, with ReplaceAll and the number rules underneath.
#include <gtest/gtest.h>

#include "player/UndoFile.h"
#include "tests/support/EditorFixture.h"
#include "util/TovelUtils.h"

namespace kelvane::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(ReplaceAll, LeftToRightWithoutSearchingInsertedText) {
  EXPECT_EQ(ReplaceAll("\x01\x01\x01", "\x01\x01", "\r\n"), "\r\n\x01");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceAll("abab", "ab", ""), "");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
}

TEST(StrToIntDef, NumberRules) {
  EXPECT_EQ(StrToIntDef("42", 0), 42);
  EXPECT_EQ(StrToIntDef("  -7", 0), -7);
  EXPECT_EQ(StrToIntDef("+7", 0), 7);
  EXPECT_EQ(StrToIntDef("2147483647", 0), 2147483647);
  EXPECT_EQ(StrToIntDef("-2147483648", 0), INT32_MIN);
  for (const char* bad : {"", " ", "-", "2147483648", "-2147483649", "99999999999999999999", "1 ", "1a", "abc", "0x10"})
    EXPECT_EQ(StrToIntDef(bad, 0), 0) << bad;
}

TEST(UndoFileWriter, ExactLayout) {
  EditorFixture f;
  f.edit.SetText("a\r\nb");
  AddUndoData(f.UndoList(), umInsert, {1, 0}, "", 3);
  AddUndoData(f.UndoList(), umChange, {0, -2}, "x\r\ny\r\n", -5);
  AddUndoData(f.RedoList(), 200, {7, 8}, "\x82\xa0\r", 9);
  EXPECT_EQ(BuildUndoFile(f.edit),
            "[TEXT]\r\nTEXT=a\x01\x01" "b\r\n[UNDO]\r\n"
            "udMODE=0\r\nudCARET_X=1\r\nudCARET_Y=0\r\nudCOUNT=3\r\nudTEXT=\r\n"
            "udMODE=3\r\nudCARET_X=0\r\nudCARET_Y=-2\r\nudCOUNT=-5\r\nudTEXT=x\x01\x01y\x01\x01\r\n"
            "[REDO]\r\n"
            "rdMODE=200\r\nrdCARET_X=7\r\nrdCARET_Y=8\r\nrdCOUNT=9\r\nrdTEXT=\x82\xa0\r\r\n");

  f.edit.SetText("");
  AddUndoData(f.RedoList(), umDelete, {0, 0}, "", 0);
  EXPECT_EQ(BuildUndoFile(f.edit), "[TEXT]\r\nTEXT=\r\n[UNDO]\r\n[REDO]\r\n"
                                   "rdMODE=1\r\nrdCARET_X=0\r\nrdCARET_Y=0\r\nrdCOUNT=0\r\nrdTEXT=\r\n");
}

TEST(UndoFileReader, ReadsBackWhatWasWritten) {
  EditorFixture a, b;
  a.edit.SetText(Sjis("一行目\r\n二行目\r\n"));
  for (int i = 0; i < 50; ++i) AddUndoData(a.UndoList(), static_cast<uint8_t>(i % 4), {i, -i}, "t\r\n" + std::to_string(i), i * 1000);
  AddUndoData(a.RedoList(), umDelete, {INT32_MIN, INT32_MAX}, Sjis("消した"), INT32_MIN);
  const std::string bytes = BuildUndoFile(a.edit);
  ReadUndoFileInto(b.edit, bytes);
  EXPECT_EQ(b.edit.GetText(), a.edit.GetText());
  ASSERT_EQ(b.UndoList().Count(), 50);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(b.UndoList()[i], a.UndoList()[i]);
  EXPECT_EQ(b.RedoList()[0], a.RedoList()[0]);
  EXPECT_EQ(BuildUndoFile(b.edit), bytes);
}

// A file read piece by piece walks exactly as read whole, wherever the pieces
// end: between a CR and its LF, inside the escape, at a NUL, after a record's
// mode line.
TEST(UndoFileReader, PiecesOfAnySizeReadAsTheWhole) {
  const std::string bytes =
      "[TEXT]\r\nTEXT=a\x01\x01\x01" "b\rjunk\nTEXT=\x82\xa0\x01\x01z\r\n[UNDO]\r\n"
      "udMODE=0\r\nudCARET_X=1\r\nudCARET_Y=0\r\nudCOUNT=3\r\nudMODE=2\r\n"
      "udMODE=3\r\nudCARET_X=0\rudCARET_Y=1\nudCOUNT=-5\r\nudTEXT=x\x01\x01y\r\n"
      "[REDO]\r\nrdMODE=1\r\nrdCARET_X=7\r\n\r\n\r\nrdTEXT=q\r\nrdMODE=9\r\n\0rdCARET_X=1\r\n"s;
  EditorFixture whole;
  ReadUndoFileInto(whole.edit, bytes);
  ASSERT_EQ(whole.UndoList().Count(), 2);
  ASSERT_EQ(whole.RedoList().Count(), 1);
  for (size_t size = 1; size <= 9; ++size) {
    EditorFixture f;
    TUndoFileReader reader(f.edit);
    for (size_t at = 0; at < bytes.size(); at += size) {
      reader.Feed(bytes.substr(at, size));
      reader.Feed("");  // an empty piece changes nothing
    }
    reader.Finish();
    EXPECT_EQ(BuildUndoFile(f.edit), BuildUndoFile(whole.edit)) << "pieces of " << size;
  }
}

struct Reader : EditorFixture {
  void Read(std::string_view bytes) { ReadUndoFileInto(edit, bytes); }
};

TEST(UndoFileReader, EmptyFileAndMissingTextKeepTheEditor) {
  Reader r;
  r.edit.SetText("keep");
  AddUndoData(r.UndoList(), umInsert, {0, 0}, "", 1);
  r.Read("");
  EXPECT_EQ(r.edit.GetText(), "keep");
  EXPECT_EQ(r.UndoList().Count(), 1);
  r.Read("udMODE=1\r\nudCARET_X=2\r\nudCARET_Y=0\r\nudCOUNT=0\r\nudTEXT=z\r\n");
  EXPECT_EQ(r.edit.GetText(), "keep");
  ASSERT_EQ(r.UndoList().Count(), 2);  // appended on top of what was there
  EXPECT_EQ(r.UndoList().Top(), (TUndoData{1, {2, 0}, 0, "z"}));
}

TEST(UndoFileReader, EachTextLineStartsAfresh) {
  Reader r;
  r.Read("rdMODE=1\nrdCARET_X=0\nrdCARET_Y=0\nrdCOUNT=0\nrdTEXT=lost\n"
         "TEXT=first\nudMODE=0\nudCARET_X=0\nudCARET_Y=0\nudCOUNT=1\nudTEXT=\n"
         "TEXT=second\nudMODE=0\nudCARET_X=1\nudCARET_Y=0\nudCOUNT=1\nudTEXT=\n"
         "text=no\n TEXT=no\n");
  EXPECT_EQ(r.edit.GetText(), "second");
  ASSERT_EQ(r.UndoList().Count(), 1);
  EXPECT_EQ(r.UndoList()[0].Caret.X, 1);
  EXPECT_EQ(r.RedoList().Count(), 0);
}

TEST(UndoFileReader, RecordsArePositional) {
  Reader r;
  // The second line holds a count key: its column is read from character 11, which is past its end.
  r.Read("udMODE=300\r\nudCOUNT=5\r\nudCARET_Y=  -4\r\nudCOUNT=x1\r\nudTEXT=a\x01\x01\x01" "b\r\n"
         "rdMODE=abc\r\nrdCARET_X=7\r\nrdCARET_Y=8\r\nrdCOUNT=+9\r\n");  // only four lines: skipped
  ASSERT_EQ(r.UndoList().Count(), 1);
  EXPECT_EQ(r.UndoList()[0], (TUndoData{44, {0, -4}, 0, "a\r\n\x01" "b"}));
  EXPECT_EQ(r.RedoList().Count(), 0);
}

TEST(UndoFileReader, TextLineOfARecordIsExaminedAgain) {
  Reader r;
  r.Read("udMODE=1\nudCARET_X=1\nudCARET_Y=2\nudCOUNT=3\n"
         "udMODE=2\nudCARET_X=4\nudCARET_Y=5\nudCOUNT=6\nudTEXT=\n");
  ASSERT_EQ(r.UndoList().Count(), 2);
  EXPECT_EQ(r.UndoList()[0].Text, "2");  // the fifth line from character 8
  EXPECT_EQ(r.UndoList()[1], (TUndoData{2, {4, 5}, 6, ""}));
}

TEST(UndoFileReader, LineBreaksAndNul) {
  Reader r;
  r.Read("TEXT=a\rb\nc\r\nTEXT=d\x01\x01" "e\0TEXT=never\r\n"s);
  EXPECT_EQ(r.Lines(), (Lines{"d", "e"}));  // the lone CR and LF ended lines; the NUL ended the text
  r.Read("TEXT=x\r\n\r\nudMODE=1\r\nudCARET_X=0\r\nudCARET_Y=0\r\nudCOUNT=0\r\nudTEXT=\r");
  EXPECT_EQ(r.edit.GetText(), "x");
  EXPECT_EQ(r.UndoList().Count(), 1);  // a break at the very end adds no line
}

TEST(UndoFileReader, RedoAndUndoRecordsMayMix) {
  Reader r;
  r.Read("[REDO]\nudMODE=0\nudCARET_X=0\nudCARET_Y=0\nudCOUNT=1\nudTEXT=\n"
         "[UNDO]\nrdMODE=1\nrdCARET_X=0\nrdCARET_Y=0\nrdCOUNT=0\nrdTEXT=q\n"
         "rdMODE=1\nrdCARET_X=0\nrdCARET_Y=0\nrdCOUNT=0\nrdTEXT=r\n");
  EXPECT_EQ(r.UndoList().Count(), 1);
  ASSERT_EQ(r.RedoList().Count(), 2);
  EXPECT_EQ(r.RedoList()[0].Text, "q");  // the first one read is the bottom
}

TEST(UndoFileReader, NoLimitWhenReading) {
  EditorFixture a, b;
  for (int i = 0; i < kMaxUndo + 3; ++i) AddUndoData(a.UndoList(), umInsert, {0, 0}, "", 0);
  ReadUndoFileInto(b.edit, BuildUndoFile(a.edit));
  EXPECT_EQ(b.UndoList().Count(), kMaxUndo + 3);
}

}  // namespace
}  // namespace kelvane::test
