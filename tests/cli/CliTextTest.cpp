// kelvane-cli text: the text at a history point, as the editor's raw bytes or
// in UTF-8, with the point clamped to the history.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

TEST(CliText, EveryPointRawAndInUtf8) {
  const std::string file = DataPath(kHaikuFile);
  for (int n = 0; n <= kHaikuTotal; ++n) {
    SCOPED_TRACE("--at " + std::to_string(n));
    const TCliRun raw = RunCliInProcess({"text", file, "--at", std::to_string(n)});
    EXPECT_EQ(raw.Exit, 0);
    EXPECT_EQ(raw.Out, kHaikuCp932[n]);  // nothing added, not even a final break
    EXPECT_EQ(raw.Err, "");
    const TCliRun utf8 = RunCliInProcess({"text", file, "--at", std::to_string(n), "--utf8"});
    EXPECT_EQ(utf8.Exit, 0);
    EXPECT_EQ(utf8.Out, kHaikuUtf8[n]);
    EXPECT_EQ(utf8.Err, "");
  }
}

TEST(CliText, WithoutAtTheLoadedPoint) {
  EXPECT_EQ(RunCliInProcess({"text", DataPath(kHaikuFile)}).Out, kHaikuCp932[kHaikuLoadedAt]);
  EXPECT_EQ(RunCliInProcess({"text", DataPath(kHaikuFile), "--utf8"}).Out, kHaikuUtf8[kHaikuLoadedAt]);
}

TEST(CliText, PointsOutsideTheHistoryAreClamped) {
  const struct {
    const char* At;
    int Point;
  } cases[] = {{"-1", 0},         {"-99999999999999999999", 0}, {"4", 3},
               {"2147483648", 3}, {"18446744073709551615", 3},  {"99999999999999999999", 3}};
  for (const auto& c : cases) {
    const TCliRun run = RunCliInProcess({"text", DataPath(kHaikuFile), "--at", c.At});
    EXPECT_EQ(run.Exit, 0) << c.At;
    EXPECT_EQ(run.Out, kHaikuCp932[c.Point]) << c.At;
    EXPECT_EQ(run.Err, "") << c.At;
  }
}

}  // namespace
}  // namespace kelvane::test
