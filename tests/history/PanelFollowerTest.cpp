// How the panels follow the player: what moved is told once, the diff waits
// while the history is dragged and catches up at release, and the tint
// repaints every row only once the ages have moved on by a visible share.
#include <gtest/gtest.h>

#include "history/PanelFollower.h"
#include "tests/history/HistoryTestSupport.h"
#include "tools/HistoryBuilder.h"

namespace kelvane {
namespace {

TEST(PanelFollower, TellsWhatMovedOnceAndLetsTheDiffWaitForTheDrag) {
  HeadlessPlayer player;
  THistoryBuilder b(player.Editor());
  for (int i = 0; i < 600; ++i) b.Insert({i, 0}, "x");
  player.Form.UpdateStatus(true);  // as a load leaves the form
  const auto analysis = test::Analyse(player.Editor());
  TPanelFollower f(player.Form, *analysis);
  EXPECT_TRUE(f.NewTimeline());
  EXPECT_FALSE(f.NewTimeline());
  EXPECT_TRUE(f.NewPoint());
  EXPECT_FALSE(f.NewPoint());

  EXPECT_EQ(f.DiffNeed(true, false), TPanelFollower::TDiffNeed::none);  // no point A
  f.SetDiffFrom(600);
  EXPECT_EQ(f.DiffNeed(false, false), TPanelFollower::TDiffNeed::none);  // the pane is closed
  f.Track(590);
  EXPECT_EQ(f.Point(), 590);
  EXPECT_TRUE(f.NewPoint());
  EXPECT_EQ(f.DiffNeed(true, false), TPanelFollower::TDiffNeed::wait);
  f.Release(580);
  EXPECT_EQ(f.DiffNeed(true, false), TPanelFollower::TDiffNeed::now);
  EXPECT_EQ(f.DiffNeed(true, true), TPanelFollower::TDiffNeed::wait);  // the bar's thumb is held
  ASSERT_NE(f.TakeDiff(), nullptr);
  EXPECT_EQ(f.DiffNeed(true, false), TPanelFollower::TDiffNeed::none);

  EXPECT_FALSE(f.TintAged(false));
  f.TintedEveryRow();
  f.Release(579);  // 1 of 579: too little to see
  EXPECT_FALSE(f.TintAged(true));
  f.Release(570);  // 10 of 570
  EXPECT_TRUE(f.TintAged(true));
  EXPECT_FALSE(f.TintAged(true));
}

}  // namespace
}  // namespace kelvane
