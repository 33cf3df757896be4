// Pixel geometry of a line and the box operations (headless metrics: 8 px for
// a single-byte character, 16 px for a double-byte one, a tab 40 px).
#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

struct Geometry : EditorFixture {
  TVeskItem& Line(const std::string& text) {
    edit.SetText(text);
    return edit.Items[0];
  }
};

TEST(LineGeometry, ColumnAtXAndColumnSpanAtTheMiddle) {
  Geometry g;
  TVeskItem& line = g.Line("ab" + Sjis("あ") + "c");  // x: a 0-8, b 8-16, あ 16-32, c 32-40
  EXPECT_EQ(line.ColumnAtX(3), 1);
  EXPECT_EQ(line.ColumnAtX(4), 2);  // exactly at the middle: after it
  EXPECT_EQ(line.ColumnAtX(23), 3);
  EXPECT_EQ(line.ColumnAtX(24), 5);  // right half of the double-byte character: after its trail byte
  EXPECT_EQ(line.ColumnAtX(-50), 1);
  EXPECT_EQ(line.ColumnAtX(1000), 6);
  int32_t start = 0, end = 0;
  EXPECT_FALSE(line.ColumnSpan(4, 4, start, end));
  EXPECT_EQ(start, 1);  // exactly at the middle: before it
  EXPECT_TRUE(line.ColumnSpan(5, 24, start, end));
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 3);
  EXPECT_TRUE(line.ColumnSpan(-9, 25, start, end));
  EXPECT_EQ(end, 5);
  EXPECT_EQ(g.Line("").ColumnAtX(10), 1);
}

TEST(LineGeometry, ReferencesAreSteppedOver) {
  Geometry g;
  g.edit.SetShowNameRef(true);
  TVeskItem& line = g.Line("a&amp;b");  // a 0-8, & 8-16 (one character), b 16-24
  EXPECT_EQ(line.ColumnAtX(12), 7);
  EXPECT_EQ(line.ColumnAtX(11), 2);
  EXPECT_EQ(line.XOfColumn(7, false), 16);
  EXPECT_EQ(g.edit.NormalizePos({3, 0}), (TPoint{6, 0}));
}

TEST(LineGeometry, XOfColumnAndWidths) {
  Geometry g;
  TVeskItem& line = g.Line("a\t" + Sjis("漢"));
  EXPECT_EQ(line.XOfColumn(1, false), 0);
  EXPECT_EQ(line.XOfColumn(3, false), 48);
  EXPECT_EQ(line.XOfColumn(2, true), 28);
  EXPECT_EQ(line.XOfColumn(4, true), 64);  // the last byte: no half added
  EXPECT_EQ(line.XOfColumn(0, true), 0);
  EXPECT_EQ(line.WidthBetween(2, 3), 40);
  EXPECT_EQ(line.WidthBetween(3, 2), 0);
  EXPECT_EQ(line.LineWidth(), 64);
  EXPECT_EQ(g.Line("").LineWidth(), 0);
}

TEST(LineGeometry, FillBox) {
  Geometry g;
  g.edit.BoxLeftX = 8;
  g.edit.BoxRightX = 32;
  TVeskItem& line = g.Line("abcde");
  line.FillBox("x");  // not in box mode
  EXPECT_EQ(line.Text, "abcde");
  g.edit.BoxMode = true;
  line.FillBox("x");
  EXPECT_EQ(line.Text, "axxxe");
  line.FillBox(Sjis("＊"));  // 16 px over 24 px: once, since 16 + 16 / 2 reaches 24
  EXPECT_EQ(line.Text, "a" + Sjis("＊") + "e");
  TVeskItem& wide = g.Line("abcdef");
  g.edit.BoxRightX = 40;
  wide.FillBox(Sjis("＊"));  // 32 px: 16 + 8 falls short, 32 + 8 does not
  EXPECT_EQ(wide.Text, "a" + Sjis("＊＊") + "f");
  g.edit.BoxRightX = 32;
  TVeskItem& plain = g.Line("abcde");
  plain.FillBox("");
  EXPECT_EQ(plain.Text, "ae");
  g.edit.BoxLeftX = 200;
  g.edit.BoxRightX = 300;
  plain.FillBox("z");
  EXPECT_EQ(plain.Text, "ae");
}

TEST(LineGeometry, InsertAtXPadsThenInserts) {
  Geometry g;
  TVeskItem& line = g.Line("ab");  // 16 px wide
  line.InsertAtX(0, 50, "X");
  // Full-width spaces while width + 12 < 50 (16 → 32 → 48), then none: 48 + 6 > 50.
  EXPECT_EQ(line.Text, "ab" + Sjis("　　") + "X");
  TVeskItem& second = g.Line("ab");
  second.InsertAtX(0, 22, "X");  // 16 + 12 >= 22: no full-width space; 16 + 6 <= 22: one space
  EXPECT_EQ(second.Text, "ab X");
  TVeskItem& inside = g.Line("abcd");
  inside.InsertAtX(0, 8, "XY");
  EXPECT_EQ(inside.Text, "aXYbcd");
}

TEST(LineGeometry, InsertAtXOverwrites) {
  Geometry g;
  TVeskItem& line = g.Line("abcdef");
  line.InsertAtX(1, 8, "  XY");  // leading blanks leave the text under them alone
  EXPECT_EQ(line.Text, "abcXYf");
  TVeskItem& blanks = g.Line("abc");
  blanks.InsertAtX(1, 0, Sjis("　 "));
  EXPECT_EQ(blanks.Text, "abc");
}

TEST(LineGeometry, InsertAtXInsideATabAddsASpace) {
  Geometry g;
  TVeskItem& line = g.Line("\tb");  // tab 0-40
  line.InsertAtX(0, 12, "X");
  EXPECT_EQ(line.Text, " X\tb");
}

}  // namespace
}  // namespace kelvane::test
