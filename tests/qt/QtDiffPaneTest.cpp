// The diff pane, offscreen: its rows agree with the diff's blocks and line
// numbers, the marked characters are exactly the changed ones in double-byte
// and broken text, each state without rows says why, a render puts the red
// and green where the rows are, and the view keeps its place when only B moves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <algorithm>
#include <map>

#include "platform/Codepage.h"
#include "qt/QtDiffPane.h"
#include "qt/QtFonts.h"

namespace kelvane {
namespace {

std::string Sj(const char* utf8) {
  return cp932::FromUtf8(utf8);
}

// Lines "行1" … "行N", each with its break.
std::string Numbered(int n, const std::map<int, std::string>& replaced = {}) {
  std::string text;
  for (int i = 1; i <= n; ++i) {
    const auto it = replaced.find(i);
    if (it != replaced.end() && it->second.empty()) continue;  // removed
    text += (it != replaced.end() ? it->second : Sj("行") + std::to_string(i)) + "\r\n";
  }
  return text;
}

std::unique_ptr<TTextDiff> Diff(const std::string& a, const std::string& b) {
  return std::make_unique<TTextDiff>(a, b);
}

// The shown text a row's first mark covers.
QString Marked(const TDiffRow& row) {
  if (row.Changed.empty()) return {};
  const TShownRange r = row.Changed.front();
  return QString::fromStdU16String(ShowLine(row.Bytes).Text).mid(r.Begin, r.End - r.Begin);
}

std::vector<TDiffRowKind> Kinds(const std::vector<TDiffRow>& rows) {
  std::vector<TDiffRowKind> kinds;
  for (const TDiffRow& r : rows) kinds.push_back(r.Kind);
  return kinds;
}

using K = TDiffRowKind;

TEST(QtDiffPane, RowsFollowTheBlocksWithTheirContextAndLineNumbers) {
  QtDiffPane pane;
  // Line 3 changed and line 16 removed: too far apart to share a hunk.
  pane.SetDiff(Diff(Numbered(20), Numbered(20, {{3, Sj("三行目")}, {16, ""}})), 4, 9);
  const std::vector<TDiffRow>& rows = pane.Rows();
  EXPECT_EQ(Kinds(rows), (std::vector<K>{K::hunk, K::context, K::context, K::removed, K::added, K::context, K::context,
                                         K::context, K::hunk, K::context, K::context, K::context, K::removed,
                                         K::context, K::context, K::context}));
  EXPECT_EQ(rows[0].OldCount, 6);
  EXPECT_EQ(rows[0].NewCount, 6);
  EXPECT_EQ(rows[3].OldLine, 2);
  EXPECT_EQ(rows[4].NewLine, 2);
  EXPECT_EQ(rows[8].OldLine, 12);
  EXPECT_EQ(rows[8].OldCount, 7);
  EXPECT_EQ(rows[8].NewCount, 6);
  EXPECT_EQ(rows[12].OldLine, 15);
  EXPECT_EQ(rows[12].NewLine, -1);
  EXPECT_EQ((std::pair{rows[13].OldLine, rows[13].NewLine}), (std::pair{16, 15}));
  EXPECT_EQ(rows[13].Bytes, Sj("行17"));
  EXPECT_EQ(pane.RemovedLines(), 2);
  EXPECT_EQ(pane.AddedLines(), 1);
  EXPECT_EQ(pane.HeaderText().toStdString(), "位置 4 → 位置 9　削除 2 行・追加 1 行");
  EXPECT_TRUE(pane.Message().isEmpty());

  // Blocks six lines apart share one; a last line losing its break says so.
  pane.SetDiff(Diff(Numbered(12), Numbered(12, {{2, "x"}, {9, "y"}})), 0, 1);
  const std::vector<K> shared = Kinds(pane.Rows());
  EXPECT_EQ(std::count(shared.begin(), shared.end(), K::hunk), 1);
  std::string cut = Numbered(3);
  cut.resize(cut.size() - 2);
  pane.SetDiff(Diff(Numbered(3), cut), 0, 1);
  EXPECT_EQ(Kinds(pane.Rows()), (std::vector<K>{K::hunk, K::context, K::context, K::removed, K::added, K::noBreak}));
}

TEST(QtDiffPane, MarksCoverExactlyTheChangedCharacters) {
  QtDiffPane pane;
  // A changed kanji between double-byte text, after a tab and a half-width kana.
  pane.SetDiff(Diff(Sj("\tｱ春の朝、駅まで\r\n"), Sj("\tｱ春の夜、駅まで\r\n")), 0, 1);
  ASSERT_EQ(pane.Rows().size(), 3u);
  EXPECT_EQ(Marked(pane.Rows()[1]).toStdString(), "朝");
  EXPECT_EQ(Marked(pane.Rows()[2]).toStdString(), "夜");
  EXPECT_EQ(unicode::Utf16ToUtf8(ShowLine(pane.Rows()[2].Bytes).Text), "\tｱ春の夜、駅まで");

  // Invalid bytes show as U+FFFD and keep the marks after them on their characters:
  // 0x85 0x40 is one unit of the diff but two characters shown.
  pane.SetDiff(Diff("x\x85\x40" + Sj("朝") + "\x81\r\n", "x\x85\x40" + Sj("夜") + "\x81\r\n"), 0, 1);
  EXPECT_EQ(unicode::Utf16ToUtf8(ShowLine(pane.Rows()[2].Bytes).Text), "x\uFFFD@夜\uFFFD");
  EXPECT_EQ(Marked(pane.Rows()[2]).toStdString(), "夜");
  pane.SetDiff(Diff("a\x85\x40"
                    "b\r\n",
                    "a\x85\x41"
                    "b\r\n"),
               0, 1);
  EXPECT_EQ(pane.Rows()[1].Changed, (std::vector<TShownRange>{{1, 3}}));
  EXPECT_EQ(Marked(pane.Rows()[2]).toStdString(), "\uFFFDA");

  // A range ending inside a character still takes all of it.
  const TShownLine line = ShowLine(Sj("あい"));
  EXPECT_EQ(ShownRanges(line, {{2, 3}}), (std::vector<TShownRange>{{1, 2}}));
}

TEST(QtDiffPane, EachStateWithoutRowsSaysWhy) {
  QtDiffPane pane;
  EXPECT_NE(pane.Message().indexOf("位置 A"), -1);
  EXPECT_TRUE(pane.HeaderText().isEmpty());
  pane.SetDiff(nullptr, 3, 900);
  EXPECT_NE(pane.Message().indexOf("比較できません"), -1);
  EXPECT_EQ(pane.HeaderText().toStdString(), "位置 3 → 位置 900");
  pane.SetDiff(Diff(Numbered(5), Numbered(5, {{2, "x"}})), 0, 1);
  pane.SetDiff(Diff(Numbered(5), Numbered(5)), 2, 2);
  EXPECT_TRUE(pane.Rows().empty());
  EXPECT_EQ(pane.Message().toStdString(), "違いはありません");
  pane.Clear();
  EXPECT_NE(pane.Message().indexOf("位置 A"), -1);
}

TEST(QtDiffPane, ARenderIsRedAndGreenWhereTheRowsAre) {
  QtDiffPane pane;
  pane.SetEditorFont(ToQFont(TFontSpec{"ＭＳ ゴシック", 16}));
  pane.resize(500, 300);
  pane.show();
  pane.SetDiff(Diff(Numbered(6, {{3, Sj("春の朝")}}), Numbered(6, {{3, Sj("春の夜")}})), 0, 1);
  QApplication::processEvents();
  const QImage image = pane.viewport()->grab().toImage();
  const qreal dpr = image.devicePixelRatio();
  auto at = [&](int x, int y) { return image.pixel(static_cast<int>(x * dpr), static_cast<int>(y * dpr)) & 0xFFFFFF; };
  const std::map<K, QRgb> back{
      {K::hunk, kDiffHunkBack}, {K::context, kDiffPaper}, {K::removed, kDiffRemovedBack}, {K::added, kDiffAddedBack}};
  ASSERT_EQ(pane.Rows().size(), 8u);
  for (size_t i = 0; i < pane.Rows().size(); ++i) {
    const QRect r = pane.RowRect(i);
    ASSERT_FALSE(r.isEmpty());
    EXPECT_EQ(at(r.right() - 2, r.top() + 1), back.at(pane.Rows()[i].Kind) & 0xFFFFFF) << i;
  }
  // The changed character's cell: the stronger tint at its top edge, between the glyphs.
  bool strong = false;
  for (int x = pane.TextLeft(); x < pane.RowRect(4).right(); ++x)
    strong = strong || at(x, pane.RowRect(4).top()) == (kDiffAddedMark & 0xFFFFFF);
  EXPECT_TRUE(strong);
}

TEST(QtDiffPane, ScrollingKeepsItsPlaceWhenBMovesAndLongLinesScrollSideways) {
  QtDiffPane pane;
  pane.resize(500, 120);
  pane.show();
  // B moving on keeps the view on the same place of A's text; a new A starts at the top.
  pane.SetDiff(Diff(Numbered(60), Numbered(60, {{10, "x"}, {40, "y"}})), 5, 6);
  pane.verticalScrollBar()->setValue(9);  // the second hunk
  EXPECT_EQ(pane.Rows()[9].OldLine, 36);
  pane.SetDiff(Diff(Numbered(60), Numbered(60, {{2, "w"}, {10, "x"}, {40, "y"}})), 5, 7);
  EXPECT_EQ(pane.Rows()[static_cast<size_t>(pane.verticalScrollBar()->value())].OldLine, 36);
  pane.SetDiff(Diff(Numbered(60), Numbered(60, {{10, "x"}, {40, "y"}})), 4, 7);
  EXPECT_EQ(pane.verticalScrollBar()->value(), 0);

  const int before = pane.horizontalScrollBar()->maximum();
  pane.SetDiff(Diff("a\r\n", std::string(400, 'b') + "\r\n"), 0, 1);
  EXPECT_EQ(pane.Rows().size(), 3u);  // one row however long, no wrapping
  EXPECT_GT(pane.horizontalScrollBar()->maximum(), before);
}

}  // namespace
}  // namespace kelvane
