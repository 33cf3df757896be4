// A jump through the history leaves the editor as single steps do: on the real
// histories and on a random one of long lines, split double-byte characters
// and every kind of record.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "headless/HeadlessEditHost.h"
#include "player/UndoFile.h"
#include "tests/support/JumpVersusSteps.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {
namespace {

// The bytes of N whole characters from At, a line break counting two: what the
// editor's own deletions take.
int32_t BytesOfCharacters(const TVeskEdit& e, TPoint at, int n) {
  int32_t bytes = 0;
  while (n-- > 0) {
    const TVeskItem& line = e.Items[at.Y];
    if (at.X >= line.TextLength()) {
      if (at.Y + 1 >= e.Items.Count()) break;
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

// Edits far right on long lines (the view scrolls sideways), lead and trail
// bytes typed apart, breaks, deletions and block changes.
std::string RandomHistory(uint32_t seed) {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  edit.CreateWnd();
  edit.Perform(WM_SIZE, 0, MakeLParam(640, 480));
  THistoryBuilder b(edit);
  std::mt19937 rng(seed);
  const std::string pieces[] = {"a",  "\x82\xa0", "\x82", "\xa0", std::string(120, 'w'), "\t", "\x8a\xbf\x8e\x9a",
                                " ",  "\r\n",     "x\r\ny"};
  for (int i = 0; i < 1500; ++i) {
    const int32_t y = static_cast<int32_t>(rng() % static_cast<uint32_t>(edit.Items.Count()));
    const int32_t len = edit.Items[y].TextLength();
    const TPoint at = edit.NormalizePos({static_cast<int32_t>(rng() % static_cast<uint32_t>(len + 1)), y});
    switch (rng() % 8) {
      case 0: case 1: case 2: case 3: b.Insert(at, pieces[rng() % std::size(pieces)]); break;
      case 4: b.Delete(at, BytesOfCharacters(edit, at, 1 + static_cast<int>(rng() % 4))); break;
      case 5: b.Enter(at); break;
      default: {
        const int32_t count = std::min<int32_t>(static_cast<int32_t>(rng() % 3), edit.Items.Count() - y);
        b.Change(y, count, pieces[rng() % std::size(pieces)] + "\r\n");
      }
    }
  }
  b.UndoNewest(300);
  return BuildUndoFile(edit);
}

TEST(JumpVersusSteps, ARandomHistoryOfLongLines) { ExpectJumpsEqualSteps(RandomHistory(11), 5, 8); }

class RealJumpVersusSteps : public ::testing::TestWithParam<const char*> {};

TEST_P(RealJumpVersusSteps, JumpsEqualSteps) {
  const std::filesystem::path file = std::filesystem::path(KELVANE_SHARED_DATA) / (std::string(GetParam()) + ".eud");
  if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not here (../shared holds the real histories)";
  ExpectJumpsEqualSteps(ReadBytes(file), 7, 5);
}

INSTANTIATE_TEST_SUITE_P(Files, RealJumpVersusSteps, ::testing::Values("usr_01", "change", "options", "eval"),
                         [](const ::testing::TestParamInfo<const char*>& file) { return std::string(file.param); });

}  // namespace
}  // namespace kelvane::test
