// Long randomised runs: thousands of recorded edits, then undo and redo across
// the whole history, checking the text at every point and the invariants after
// every step.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/EditorFixture.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {
namespace {

const std::string kPieces[] = {"a", "xyz", " ", "\t", "\x82\xa0", "\x8a\xbf\x8e\x9a", "\x81\x40", "\r\n", "ab\r\ncd"};

class RandomEditor {
 public:
  explicit RandomEditor(uint32_t seed) : rng_(seed), builder_(f_.edit) {}

  EditorFixture& Fixture() { return f_; }

  // A position on a character start, near the last one most of the time.
  TPoint Somewhere() {
    const int32_t count = f_.edit.Items.Count();
    if (rng_() % 4 == 0) last_.Y = static_cast<int32_t>(rng_() % static_cast<uint32_t>(count));
    last_.Y = std::clamp(last_.Y + static_cast<int32_t>(rng_() % 3) - 1, 0, count - 1);
    const int32_t len = f_.edit.Items[last_.Y].TextLength();
    last_ = f_.edit.NormalizePos({static_cast<int32_t>(rng_() % static_cast<uint32_t>(len + 1)), last_.Y});
    return last_;
  }

  void RandomEdit() {
    TPoint at = Somewhere();
    switch (rng_() % 10) {
      case 0: case 1: case 2: case 3: case 4:
        builder_.Insert(at, kPieces[rng_() % std::size(kPieces)]);
        break;
      case 5: case 6:
        builder_.Delete(at, BytesOfCharacters(at, 1 + static_cast<int>(rng_() % 6)));
        break;
      case 7: case 8:
        builder_.Enter(at);
        break;
      default: {
        const int32_t count = static_cast<int32_t>(rng_() % 3);
        const int32_t y = std::min(at.Y, f_.edit.Items.Count() - count);
        std::string lines;
        for (uint32_t i = rng_() % 4; i > 0; --i) lines += kPieces[rng_() % std::size(kPieces)] + "\r\n";
        builder_.Change(std::max(0, y), count, lines);
      }
    }
  }

  // The byte count of N whole characters from At (a line break counts two).
  int32_t BytesOfCharacters(TPoint at, int n) {
    int32_t bytes = 0;
    while (n-- > 0) {
      const TVeskItem& line = f_.edit.Items[at.Y];
      if (at.X >= line.TextLength()) {
        if (at.Y + 1 >= f_.edit.Items.Count()) break;
        bytes += 2;
        at = {0, at.Y + 1};
        continue;
      }
      int32_t next = at.X + 1;
      while (next < line.TextLength() && line.WidthAt(static_cast<size_t>(next)) == 0) ++next;
      bytes += next - at.X;
      at.X = next;
    }
    return bytes;
  }

  void CheckInvariants() {
    const TVeskEdit& e = f_.edit;
    ASSERT_GE(e.Items.Count(), 1);
    for (int32_t i = 0; i < e.Items.Count(); ++i) {
      const TVeskItem& line = e.Items[i];
      ASSERT_EQ(line.Widths().size(), line.Text.size());
      ASSERT_EQ(line.Classes().size(), line.Text.size());
    }
    ASSERT_EQ(e.NormalizePos(e.CaretPos), e.CaretPos);
  }

 private:
  EditorFixture f_;
  std::mt19937 rng_;
  THistoryBuilder builder_;
  TPoint last_;
};

class RandomHistory : public ::testing::TestWithParam<uint32_t> {};

TEST_P(RandomHistory, UndoAndRedoRetraceEveryState) {
  RandomEditor r(GetParam());
  TVeskEdit& e = r.Fixture().edit;
  e.SetText("start\r\n" "\x93\xfa\x96\x7b\x8c\xea\r\n" "end");
  std::vector<std::string> states{e.GetText()};
  for (int i = 0; i < 2500; ++i) {
    r.RandomEdit();
    states.push_back(e.GetText());
    ASSERT_NO_FATAL_FAILURE(r.CheckInvariants());
  }
  ASSERT_EQ(e.Undo->FUndoList.Count(), 2500);
  for (size_t i = states.size() - 1; i-- > 0;) {
    e.UndoStep();
    ASSERT_EQ(e.GetText(), states[i]) << "undo to point " << i;
    ASSERT_NO_FATAL_FAILURE(r.CheckInvariants());
  }
  for (size_t i = 1; i < states.size(); ++i) {
    e.RedoStep();
    ASSERT_EQ(e.GetText(), states[i]) << "redo to point " << i;
  }
  // Wander: the text must match the point the undo stack says we are at.
  std::mt19937 walk(GetParam() + 1);
  for (int i = 0; i < 3000; ++i) {
    if (walk() % 2) e.UndoStep(); else e.RedoStep();
    ASSERT_EQ(e.GetText(), states[static_cast<size_t>(e.Undo->FUndoList.Count())]);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomHistory, ::testing::Values(1u, 2u, 3u, 42u));

}  // namespace
}  // namespace kelvane::test
