// Long random sequences of editing operations, selections, clipboard commands
// and undo/redo: after every step the line list is not empty, every line's
// derived strings match its text and the caret is a normalised position; at
// the end undoing everything gives back the original text, and redoing
// everything the final one.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

const std::string kPieces[] = {"a", "xyz ", "\t", "\x82\xa0", "\x8a\xbf\x8e\x9a", "\x81\x40", "\r\n",
                               "p\r\nq", "1\r2\n3", "\r\n\r\n", "&amp;", ">>1", "http://x.jp"};

class RandomEditing {
 public:
  explicit RandomEditing(uint32_t seed) : rng_(seed) {}
  EditorFixture f;
  int LastOp = -1;

  uint32_t Next(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }

  TPoint AnyPosition() {
    const int32_t y = static_cast<int32_t>(Next(static_cast<uint32_t>(f.edit.Items.Count())));
    const int32_t len = f.edit.Items[y].TextLength();
    return f.edit.NormalizePos({static_cast<int32_t>(Next(static_cast<uint32_t>(len) + 1)), y});
  }

  void Select(bool box) {
    f.edit.SetSelected(false);
    f.edit.BoxMode = box;
    f.edit.SelAnchor = AnyPosition();
    f.edit.SetCaret(AnyPosition());
    f.edit.Selected = true;
    if (box) {
      f.edit.BoxAnchorX = static_cast<int32_t>(Next(200));
      f.edit.BoxCaretX = static_cast<int32_t>(Next(200));
      f.edit.BoxLeftX = std::min(f.edit.BoxAnchorX, f.edit.BoxCaretX);
      f.edit.BoxRightX = std::max(f.edit.BoxAnchorX, f.edit.BoxCaretX);
    }
  }

  void Step() {
    TVeskEdit& e = f.edit;
    const std::string& piece = kPieces[Next(std::size(kPieces))];
    LastOp = static_cast<int>(Next(16));
    switch (LastOp) {
      case 0: case 1: case 2: e.SetCaret(AnyPosition()); e.InputText(piece); break;
      case 3: e.SetCaret(AnyPosition()); e.NewLine(); break;
      case 4: e.SetCaret(AnyPosition()); e.BackSpaceKey(); break;
      case 5: e.SetCaret(AnyPosition()); e.DeleteKey(); break;
      case 6: e.SetCaret(AnyPosition()); e.DeleteToEnd(e.CaretPos.Y); break;
      case 7: e.SetCaret(AnyPosition()); e.DeleteToStart(e.CaretPos.Y); break;
      case 8: Select(false); e.InputText(Next(4) ? piece : std::string()); break;
      case 9: Select(false); Next(2) ? e.BackSpaceKey() : e.CutCommand(); break;
      case 10: Select(false); e.LineSelect = true; e.PrefixLines(piece.substr(0, 1)); break;
      case 11: Select(true); e.BoxFillKind = 1; e.DeleteSelection(); break;
      case 12: Select(true); e.InputText(piece); break;
      case 13: {  // a box dropped at a position, as the end of a drag does it
        e.SetSelected(false);
        e.BoxOverwrite = Next(2);
        const TPoint at = AnyPosition();
        e.SetCaret(at);
        e.DropBox(piece);
        e.SetCaret(at);
        break;
      }
      case 14: e.UndoStep(); break;
      default: e.RedoStep(); break;
    }
    e.BoxMode = false;
  }

  void CheckInvariants() {
    const TVeskEdit& e = f.edit;
    ASSERT_GE(e.Items.Count(), 1);
    for (int32_t i = 0; i < e.Items.Count(); ++i) {
      const TVeskItem& line = e.Items[i];
      ASSERT_EQ(line.Widths().size(), line.Text.size()) << "line " << i;
      ASSERT_EQ(line.Attrs().size(), line.Text.size()) << "line " << i;
    }
    ASSERT_EQ(e.NormalizePos(e.CaretPos), e.CaretPos);
  }

 private:
  std::mt19937 rng_;
};

class RandomEditingRun : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RandomEditingRun, UndoingEverythingGivesBackTheStart) {
  RandomEditing r(GetParam());
  TVeskEdit& e = r.f.edit;
  const std::string start = "first line\r\n\x93\xfa\x96\x7b\x8c\xea\t\x82\xa0\r\n\r\nlast";
  e.SetText(start);
  e.SetShowNameRef(true);
  for (int i = 0; i < 3000; ++i) {
    r.Step();
    ASSERT_NO_FATAL_FAILURE(r.CheckInvariants()) << "step " << i << ", operation " << r.LastOp;
  }
  while (e.CanRedo()) e.RedoStep();
  const std::string last = e.GetText();
  while (e.CanUndo()) {
    e.UndoStep();
    ASSERT_NO_FATAL_FAILURE(r.CheckInvariants());
  }
  EXPECT_EQ(e.GetText(), start);
  while (e.CanRedo()) e.RedoStep();
  EXPECT_EQ(e.GetText(), last);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEditingRun, ::testing::Values(5u, 6u, 7u, 8u));

}  // namespace
}  // namespace kelvane::test
