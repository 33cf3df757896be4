// The timeline strip, offscreen: columns and points meet at both ends whether
// the history is shorter or longer than the strip is wide; a click jumps, a
// drag reports as the history bar's thumb does and keys step; a render shows
// the point, the ranges and the part the timeline cannot reach, and draws its
// static layer again for a new size only.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>

#include "headless/HeadlessPlayer.h"
#include "history/HistoryAnalysis.h"
#include "qt/QtTimelinePanel.h"
#include "tools/HistoryBuilder.h"

namespace kelvane {
namespace {

// Eight records over two lines, the newest three undone; with Misfit, a record
// on top of those that inserts into a line that is not there, so that the
// timeline reaches points 0 … 5 of 9.
struct TPanelHistory {
  explicit TPanelHistory(bool misfit) {
    TVeskEdit& e = player.Editor();
    THistoryBuilder b(e);
    for (int i = 0; i < 4; ++i) b.Insert({i, 0}, std::to_string(i));
    b.Enter({4, 0});
    b.Insert({0, 1}, "ab");
    b.Delete({0, 1}, 1);
    b.Change(0, 1, "x\r\n");
    b.UndoNewest(3);
    if (misfit) AddUndoData(e.Undo->FRedoList, umInsert, {0, 5}, "", 1);
    panel.OnTrack = [this](int64_t p) { tracked.push_back(p); };
    panel.OnRelease = [this](int64_t p) { released.push_back(p); };
    panel.resize(200, 80);
    panel.SetTimeline(&analysis.Timeline());
    panel.SetPoint(5);
    panel.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&panel));
  }
  void Forget() { tracked.clear(), released.clear(); }
  QColor At(int x, int y) { return panel.grab().toImage().pixelColor(x, y); }

  HeadlessPlayer player;
  THistoryAnalysis analysis{player.Editor(), [] { return std::make_unique<HeadlessEditHost>(); }};
  QtTimelinePanel panel;
  std::vector<int64_t> tracked, released;
};

using TPoints = std::vector<int64_t>;

TEST(QtTimelineGeometry, ColumnsAndPointsMeetAtBothEnds) {
  for (const int64_t total : {int64_t{9}, int64_t{50000}}) {
    const TTimelineGeometry g = TimelineGeometry(QSize(200, 80), total);
    EXPECT_EQ(g.PointAt(0), 0);
    EXPECT_EQ(g.PointAt(199), total);
    EXPECT_EQ(g.XOf(-1), g.XOf(0));
    EXPECT_EQ(g.XOf(total + 1), g.XOf(total));
    EXPECT_EQ(g.PointAt(g.XOf(total)), total);
    // Whichever of the two is finer maps onto the other and back.
    if (total < g.Right - g.Left) {
      for (int64_t p = 0; p <= total; ++p) EXPECT_EQ(g.PointAt(g.XOf(p)), p);
    } else {
      for (int x = g.Left; x <= g.Right; ++x) EXPECT_EQ(g.XOf(g.PointAt(x)), x);
    }
  }
}

TEST(QtTimelinePanel, AClickJumpsADragTracksAndKeysStep) {
  TPanelHistory h(false);
  QtTimelinePanel& panel = h.panel;
  QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(panel.XOf(3), 40));
  EXPECT_EQ(h.tracked, TPoints{3});
  EXPECT_EQ(h.released, TPoints{3});

  h.Forget();
  QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(panel.XOf(2), 40));
  QTest::mouseMove(&panel, QPoint(panel.XOf(2) + 1, 40));  // still point 2: no report
  QTest::mouseMove(&panel, QPoint(panel.XOf(6), 40));
  QTest::mouseMove(&panel, QPoint(500, 40));  // past the end
  QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(500, 40));
  EXPECT_EQ(h.tracked, (TPoints{2, 6, 8}));
  EXPECT_EQ(h.released, TPoints{8});
  EXPECT_EQ(panel.Point(), 8);

  h.Forget();
  panel.setFocus();
  QTest::keyClick(&panel, Qt::Key_Right);  // at the end already
  QTest::keyClick(&panel, Qt::Key_Left);
  QTest::keyClick(&panel, Qt::Key_Home);
  QTest::keyClick(&panel, Qt::Key_Left, Qt::AltModifier);  // the explorer's, not the strip's
  QTest::keyClick(&panel, Qt::Key_End);
  EXPECT_EQ(h.tracked, (TPoints{7, 0, 8}));
  EXPECT_EQ(h.released, h.tracked);
}

TEST(QtTimelinePanel, ARenderShowsThePointRangesAndTheUnreachablePart) {
  TPanelHistory h(true);
  QtTimelinePanel& panel = h.panel;
  ASSERT_EQ(h.analysis.Timeline().Last(), 5);
  ASSERT_EQ(h.analysis.Timeline().Records(), 9);
  const auto grey = [](const QColor& c) { return c.hslSaturation() == 0 && c.lightness() < 225; };
  EXPECT_EQ(h.At(panel.XOf(5), 40), QColor(200, 24, 24));
  EXPECT_TRUE(grey(h.At(panel.XOf(7), 3)));
  EXPECT_TRUE(grey(h.At(panel.XOf(9) + 2, 3)));
  EXPECT_FALSE(grey(h.At(panel.XOf(5) - 2, 3)));
  EXPECT_FALSE(grey(h.At(panel.XOf(0), 3)));

  const int builds = panel.LayerBuilds();
  panel.SetPoint(2);
  panel.SetRanges({{1, 3}});
  const QImage shown = panel.grab().toImage();
  EXPECT_EQ(shown.pixelColor(panel.XOf(2), 40), QColor(200, 24, 24));
  EXPECT_NE(shown.pixelColor(panel.XOf(5), 40), QColor(200, 24, 24));
  const int bottom = panel.height() - 3;
  EXPECT_GT(shown.pixelColor(panel.XOf(1), bottom).red() - shown.pixelColor(panel.XOf(1), bottom).blue(), 80);
  EXPECT_EQ(shown.pixelColor(panel.XOf(3), bottom), shown.pixelColor(panel.XOf(4), bottom));  // To is left out
  EXPECT_EQ(panel.LayerBuilds(), builds);
  panel.resize(300, 80);
  panel.grab();
  EXPECT_EQ(panel.LayerBuilds(), builds + 1);

  panel.SetMarkers({{5, "見直し"}});
  const QString tip = panel.ToolTipAt(QPoint(panel.XOf(5), 40));
  EXPECT_TRUE(tip.startsWith("位置 5\n改行 · 1行目\nマーカー: 見直し")) << tip.toStdString();
  EXPECT_TRUE(panel.ToolTipAt(QPoint(panel.XOf(7), 40)).contains("再生できない"));
}

}  // namespace
}  // namespace kelvane
