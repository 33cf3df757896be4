// The line store: whole-text assignment, the CR LF splitter, position
// normalisation, the raw insertion and line break, and the block list of lines.
#include <gtest/gtest.h>

#include <random>

#include "editor/BlockVector.h"
#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

using Lines = std::vector<std::string>;

TEST(SetText, LineBreaksAndRoundTrip) {
  EditorFixture f;
  struct Case {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {""}},
      {"\r\n", {"", ""}},
      {"a\r\n", {"a", ""}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb\nc", {"a\rb\nc"}},  // lone CR and LF stay inside the line
      {"\n\r", {"\n\r"}},
  };
  for (const Case& c : cases) {
    f.edit.SetText(c.text);
    EXPECT_EQ(f.Lines(), c.lines) << c.text;
    EXPECT_EQ(f.edit.GetText(), c.text);
  }
}

TEST(SetText, EmptiesHistoryAndResetsCaret) {
  EditorFixture f;
  f.edit.SetText("abc\r\ndef");
  AddUndoData(f.UndoList(), umInsert, {1, 1}, "", 1);
  AddUndoData(f.RedoList(), umDelete, {1, 1}, "x", 0);
  f.edit.CaretPos = {2, 1};
  f.edit.SetSelected(true);
  f.edit.SetText("xyz");
  EXPECT_FALSE(f.edit.CanUndo());
  EXPECT_FALSE(f.edit.CanRedo());
  EXPECT_EQ(f.edit.CaretPos, (TPoint{0, 0}));
  EXPECT_FALSE(f.edit.Selected);
}

TEST(SetText, RandomBytesRoundTrip) {
  EditorFixture f;
  std::mt19937 rng(7);
  const char alphabet[] = {'a', '\r', '\n', '\x82', '\xA0', '\0', '\x01', ' ', '\t'};
  for (int round = 0; round < 300; ++round) {
    std::string s(rng() % 40, ' ');
    for (char& c : s) c = alphabet[rng() % sizeof alphabet];
    f.edit.SetText(s);
    ASSERT_EQ(f.edit.GetText(), s);
    for (int32_t i = 0; i < f.edit.Items.Count(); ++i) f.edit.Items[i].CheckInvariants();
  }
}

TEST(SplitAtCrLf, Pieces) {
  TAEStrList list;
  auto split = [&](std::string_view s) {
    EXPECT_TRUE(SplitAtCrLf(list, s));
    Lines out;
    for (int32_t i = 0; i < list.Count(); ++i) out.push_back(list.Get(i));
    return out;
  };
  EXPECT_EQ(split(""), Lines{});
  EXPECT_EQ(split("a\r\n"), Lines{"a"});
  EXPECT_EQ(split("\r\n"), Lines{""});
  EXPECT_EQ(split("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(split("a\rb\n\r\nc"), (Lines{"a\rb\n", "c"}));
}

TEST(Normalize, ColumnsLinesAndCharacters) {
  EditorFixture f;
  f.edit.SetText("ab" + Sjis("あ") + "c\r\nxyz");
  auto n = [&](int32_t x, int32_t y) { return f.edit.NormalizePos({x, y}); };
  EXPECT_EQ(n(2, 0), (TPoint{2, 0}));  // before the double-byte character
  EXPECT_EQ(n(3, 0), (TPoint{4, 0}));  // before its trail byte: moves on
  EXPECT_EQ(n(-5, 0), (TPoint{0, 0}));
  EXPECT_EQ(n(99, 0), (TPoint{5, 0}));
  EXPECT_EQ(n(1, -1), (TPoint{0, 0}));
  EXPECT_EQ(n(0, 7), (TPoint{3, 1}));  // past the last line: its end
  EXPECT_EQ(n(INT32_MAX, INT32_MAX), (TPoint{3, 1}));
  EXPECT_EQ(n(INT32_MIN, 1), (TPoint{0, 1}));
}

TEST(Scan, WidthsAndClasses) {
  EditorFixture f;
  f.edit.SetText("a1" + Sjis("あ漢　") + "\t ");
  const TVeskItem& line = f.edit.Items[0];
  std::vector<int> widths(line.Widths().begin(), line.Widths().end());
  for (int& w : widths) w &= 0xFF;
  EXPECT_EQ(widths, (std::vector<int>{8, 8, 16, 0, 16, 0, 16, 0, 40, 8}));
  EXPECT_EQ(line.Classes(), "1055;;::3:");
  EXPECT_EQ(line.Attrs().size(), line.Text.size());
  EXPECT_EQ(line.RefChars().size(), line.Text.size());
}

TEST(Scan, LeadByteInLastPosition) {
  EditorFixture f;
  f.edit.SetText("a\x82");
  const TVeskItem& line = f.edit.Items[0];
  EXPECT_EQ(static_cast<int>(line.WidthAt(1)), 16);
  EXPECT_EQ(line.Classes().size(), 2u);
  EXPECT_EQ(f.edit.NormalizePos({1, 0}), (TPoint{1, 0}));
}

// Lines taken out are given to the next new lines with their storage: such a
// line must read as a new one, shown references and the caret's memo included.
TEST(Scan, ALineMadeFromADeletedOneReadsAsNew) {
  EditorFixture f;
  f.edit.SetShowNumRef(true);
  const std::string first = Sjis("漢字") + "&#x3042;" + std::string(300, 'w');
  f.edit.SetText(first + "\r\nx");
  f.edit.Items[0].PrefixWidth(200);  // a memo far along the old bytes
  f.edit.Perform(WM_SETREDRAW, 0);     // frozen, as in a jump: the new line is read unscanned
  f.edit.Items.Delete(0);
  const std::string second = "ab&#65;" + Sjis("あ");
  f.edit.InsertLine(1, second);
  EditorFixture fresh;
  fresh.edit.SetShowNumRef(true);
  fresh.edit.SetText("x\r\n" + second);
  const TVeskItem& reused = f.edit.Items[1];
  const TVeskItem& made = fresh.edit.Items[1];
  EXPECT_EQ(reused.Text, second);
  EXPECT_EQ(reused.Attrs(), made.Attrs());
  EXPECT_EQ(reused.Widths(), made.Widths());
  EXPECT_EQ(reused.RefChars(), made.RefChars());
  EXPECT_EQ(reused.PrefixWidth(second.size()), made.PrefixWidth(second.size()));
  f.edit.Perform(WM_SETREDRAW, 1);
}

TEST(InsertText, WithoutBreaks) {
  EditorFixture f;
  f.edit.SetText("abcd");
  int changes = 0;
  f.edit.OnChange = [&](TVeskEdit&) { ++changes; };
  f.edit.CaretPos = {2, 0};
  f.edit.InsertText("XY\nZ");  // a lone LF without any CR stays a byte
  EXPECT_EQ(f.Lines(), (Lines{"abXY\nZcd"}));
  EXPECT_EQ(f.edit.CaretPos, (TPoint{6, 0}));
  f.edit.InsertText("");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(f.edit.PaintLog().LastRepaintFirst, 0);
}

TEST(InsertText, SplitsAtEveryBreakOnceACrIsPresent) {
  EditorFixture f;
  f.edit.SetText("head|tail");
  f.edit.CaretPos = {5, 0};
  f.edit.InsertText("1\r\n2\r3\n4");
  EXPECT_EQ(f.Lines(), (Lines{"head|1", "2", "3", "4tail"}));
  EXPECT_EQ(f.edit.CaretPos, (TPoint{1, 3}));

  f.edit.SetText("XY");
  f.edit.CaretPos = {1, 0};
  f.edit.InsertText("abc\r\n");  // ends with a break: the tail starts the next line
  EXPECT_EQ(f.Lines(), (Lines{"Xabc", "Y"}));
  EXPECT_EQ(f.edit.CaretPos, (TPoint{0, 1}));

  f.edit.SetText("XY");
  f.edit.CaretPos = {2, 0};
  f.edit.InsertText(std::string("a\r\nb\0c\r\nd", 9));  // a NUL ends the text
  EXPECT_EQ(f.Lines(), (Lines{"XYa", "b"}));
}

TEST(InsertText, CaretOutsideTheLine) {
  EditorFixture f;
  f.edit.SetText("ab");
  f.edit.CaretPos = {INT32_MAX, 0};
  f.edit.InsertText("c");
  EXPECT_EQ(f.Lines(), (Lines{"abc"}));
  EXPECT_EQ(f.edit.CaretPos.X, INT32_MAX);  // saturates; the next caret move clamps it
  f.edit.CaretPos = {-3, 0};
  f.edit.InsertText("1\r\n2");
  EXPECT_EQ(f.Lines(), (Lines{"1", "2abc"}));
}

TEST(SplitLine, StartMiddleEnd) {
  EditorFixture f;
  f.edit.SetText("abc");
  f.edit.CaretPos = {0, 0};
  f.edit.SplitLine();
  EXPECT_EQ(f.Lines(), (Lines{"", "abc"}));
  EXPECT_EQ(f.edit.CaretPos, (TPoint{0, 1}));
  f.edit.CaretPos = {1, 1};
  f.edit.SplitLine();
  EXPECT_EQ(f.Lines(), (Lines{"", "a", "bc"}));
  f.edit.CaretPos = {2, 2};
  f.edit.SplitLine();
  EXPECT_EQ(f.Lines(), (Lines{"", "a", "bc", ""}));
  EXPECT_EQ(f.edit.CaretPos, (TPoint{0, 3}));
}

TEST(BlockVector, BehavesLikeAVector) {
  BlockVector<int, 4> gap;  // tiny blocks, so that splits and empty blocks happen often
  std::vector<int> model;
  std::mt19937 rng(3);
  for (int step = 0; step < 20000; ++step) {
    const size_t n = model.size();
    const unsigned pick = rng() % 12;
    if (pick == 0 && n > 0) {  // a run at once
      const size_t at = rng() % n;
      const size_t count = std::min<size_t>(n - at, rng() % 40);
      gap.erase(at, count);
      model.erase(model.begin() + static_cast<ptrdiff_t>(at), model.begin() + static_cast<ptrdiff_t>(at + count));
    } else if (pick == 1) {  // appended, as a text is built
      for (int k = 0; k < 20; ++k) {
        gap.push_back(step);
        model.push_back(step);
      }
    } else if (pick == 2) {  // a run inserted at once, as a block change adds lines
      const size_t at = rng() % (n + 1);
      std::vector<int> run(rng() % 30, step);
      model.insert(model.begin() + static_cast<ptrdiff_t>(at), run.begin(), run.end());
      gap.insert(at, std::move(run));
    } else if (n == 0 || pick % 3 != 0) {
      // Mostly near the previous edit, sometimes anywhere.
      size_t at = rng() % (n + 1);
      gap.insert(at, step);
      model.insert(model.begin() + static_cast<ptrdiff_t>(at), step);
    } else {
      size_t at = rng() % n;
      EXPECT_EQ(gap.take(at), model[at]);
      model.erase(model.begin() + static_cast<ptrdiff_t>(at));
    }
    ASSERT_EQ(gap.size(), model.size());
    if (!model.empty()) {
      const size_t probe = rng() % model.size();
      ASSERT_EQ(gap[probe], model[probe]);
    }
    if (step % 5000 == 4999) {  // empty it now and then: the sole block may be empty
      while (!model.empty()) {
        ASSERT_EQ(gap.take(0), model.front());
        model.erase(model.begin());
      }
    }
  }
  for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(gap[i], model[i]);
}

}  // namespace
}  // namespace kelvane::test
