// What the panels show on every port, from a recorded history: the list's
// cells and their markers, the search as typed, the marker under the mouse on
// the timeline, and the notice of a history that cannot be walked.
#include <gtest/gtest.h>

#include "editor/UndoHistory.h"
#include "history/PanelText.h"
#include "history/TimelineColumns.h"
#include "platform/Codepage.h"
#include "tests/history/HistoryTestSupport.h"
#include "tools/HistoryBuilder.h"

namespace kelvane {
namespace {

std::string S(const char* utf8) { return cp932::FromUtf8(utf8); }

TEST(PanelText, CellsMarkersAndTheSearchAsTyped) {
  HeadlessPlayer player;
  THistoryBuilder b(player.Editor());
  b.Insert({0, 0}, S("春の朝"));
  b.Enter({6, 0});
  b.Insert({0, 1}, std::string(60, 'x'));
  const auto analysis = test::Analyse(player.Editor());
  const TTimeline& t = analysis->Timeline();
  EXPECT_EQ(HistoryCell(t, 1, kHistoryKind), "改行");
  EXPECT_EQ(HistoryCell(t, 0, kHistoryText), "＋春の朝");
  const std::string long_cell = HistoryCell(t, 2, kHistoryText);
  EXPECT_EQ(long_cell, "＋" + std::string(48, 'x') + "…");  // the tool tip has the rest
  EXPECT_NE(HistoryTip(t, 2).find(std::string(60, 'x')), std::string::npos);

  const TPanelMarkers markers{{1, "起"}, {2, "承"}, {2, "転"}};
  EXPECT_EQ(MarkerLabels(markers, 1), "承・転");  // record 1 leads to point 2
  EXPECT_EQ(MarkerLabels(markers, 2), "");
  EXPECT_EQ(MarkedCell("", "＋x"), "＋x");
  EXPECT_EQ(MarkedCell("起", "＋x"), "◆起  ＋x");

  EXPECT_EQ(SearchBytes("朝\n"), S("朝") + "\r\n");
  EXPECT_EQ(SearchBytes("😀"), std::nullopt);
  EXPECT_EQ(MatchingRecords(t, *SearchBytes("の")), (std::vector<int64_t>{0}));

  const TTimelineGeometry g = TimelineGeometry(200, 80, t.Records());
  const TPanelMarkers near{{0, "a"}, {3, "b"}};
  ASSERT_NE(MarkerNear(g, near, g.XOf(3) - kMarkerReach), nullptr);
  EXPECT_EQ(MarkerNear(g, near, g.XOf(3) - kMarkerReach)->second, "b");
  EXPECT_EQ(MarkerNear(g, near, (g.XOf(0) + g.XOf(3)) / 2), nullptr);
}

TEST(PanelText, TheNoticeNamesBothEndsAHistoryCannotPass) {
  HeadlessPlayer player;
  TVeskEdit& e = player.Editor();
  THistoryBuilder b(e);
  for (int i = 0; i < 3; ++i) b.Insert({i, 0}, "x");
  EXPECT_EQ(CheckNotice(test::Analyse(e)->Timeline()), "");
  HeadlessPlayer broken;
  TVeskEdit& f = broken.Editor();
  f.SetText("ab");
  AddUndoData(f.Undo->FUndoList, 7, {0, 0}, "", 0);           // record 0: no kind of edit
  AddUndoData(f.Undo->FRedoList, umInsert, {0, 5}, "", 1);    // record 1: a line that is not there
  const std::string notice = CheckNotice(test::Analyse(f)->Timeline());
  EXPECT_NE(notice.find("位置 1 から先へは進めません"), std::string::npos) << notice;
  EXPECT_NE(notice.find("位置 1 から前へは戻れません"), std::string::npos) << notice;
}

}  // namespace
}  // namespace kelvane
