// Jumps against single steps, field by field.
#include "tests/support/JumpVersusSteps.h"

#include <gtest/gtest.h>

#include <random>

#include "headless/HeadlessPlayer.h"
#include "player/UndoFile.h"

namespace kelvane::test {
namespace {

void StepTo(TVeskEdit& e, int32_t target) {
  while (e.Undo->FUndoList.Count() > target && e.CanUndo()) e.UndoStep();
  while (e.Undo->FUndoList.Count() < target && e.CanRedo()) e.RedoStep();
}

bool SameScrollInfo(const TScrollInfo& a, const TScrollInfo& b) {
  return a.Min == b.Min && a.Max == b.Max && a.Page == b.Page && a.Pos == b.Pos;
}

// Each line's derived strings against a scan of its bytes from scratch.
void ExpectLinesAsScanned(const TVeskEdit& e, int32_t point) {
  for (int32_t y = 0; y < e.Items.Count(); ++y) {
    const TVeskItem& line = e.Items[y];
    TVeskItem fresh(const_cast<TVeskEdit*>(&e), line.Text);
    fresh.Scan();
    if (line.Widths() != fresh.Widths() || line.Attrs() != fresh.Attrs()) {
      ADD_FAILURE() << "line " << y << " at point " << point << " is not derived as its bytes say";
      return;
    }
  }
}

void ExpectSame(HeadlessPlayer& jumped, HeadlessPlayer& stepped, int32_t point) {
  const TVeskEdit& a = jumped.Editor();
  const TVeskEdit& b = stepped.Editor();
  ASSERT_TRUE(a.GetText() == b.GetText()) << "point " << point;
  ASSERT_EQ(a.Undo->FUndoList.Count(), b.Undo->FUndoList.Count());
  ASSERT_EQ(a.Undo->FRedoList.Count(), b.Undo->FRedoList.Count());
  for (const auto& [x, y] : {std::pair{&a.Undo->FUndoList, &b.Undo->FUndoList},
                             std::pair{&a.Undo->FRedoList, &b.Undo->FRedoList}}) {
    for (int32_t i = 0; i < x->Count(); ++i) ASSERT_TRUE((*x)[i] == (*y)[i]) << "record " << i << " at " << point;
  }
  EXPECT_EQ(a.CaretPos, b.CaretPos) << point;
  EXPECT_EQ(a.SelAnchor, b.SelAnchor) << point;
  EXPECT_EQ(a.Selected, b.Selected) << point;
  EXPECT_EQ(a.TopLine, b.TopLine) << point;
  EXPECT_EQ(a.HScrollPos, b.HScrollPos) << point;
  EXPECT_EQ(a.GoalX, b.GoalX) << point;
  EXPECT_EQ(a.CaretDocX, b.CaretDocX) << point;
  EXPECT_EQ(jumped.EditWindow.Caret.Pos, stepped.EditWindow.Caret.Pos) << point;
  for (size_t k = 0; k < 2; ++k)
    EXPECT_TRUE(SameScrollInfo(jumped.EditWindow.Bars[k], stepped.EditWindow.Bars[k])) << "bar " << k << " at " << point;
  ExpectLinesAsScanned(a, point);
}

}  // namespace

void ExpectJumpsEqualSteps(const std::string& undoFile, uint32_t seed, int jumps) {
  HeadlessPlayer jumped;
  HeadlessPlayer stepped;
  ReadUndoFileInto(jumped.Editor(), undoFile);
  ReadUndoFileInto(stepped.Editor(), undoFile);
  jumped.Form.UpdateStatus(true);
  std::mt19937 rng(seed);
  const int32_t total = jumped.Form.History().Size();
  for (int j = 0; j < jumps; ++j) {
    // The ends, and anywhere between.
    const int32_t target = j == 0 ? 0 : j == 1 ? total : static_cast<int32_t>(rng() % (static_cast<uint32_t>(total) + 1));
    jumped.Form.StepHistory(target - jumped.Form.FUndoPos, false);
    StepTo(stepped.Editor(), target);
    ExpectSame(jumped, stepped, target);
    if (::testing::Test::HasFatalFailure()) return;
  }
}

}  // namespace kelvane::test
