// kelvane-cli info: the status line and the statistics of the state reached,
// byte for byte (LF line ends, UTF-8, shares rounded down).
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

TEST(CliInfo, StatusAndReportAtEveryPoint) {
  const std::string file = DataPath(kHaikuFile);
  for (int n = 0; n <= kHaikuTotal; ++n) {
    const TCliRun run = RunCliInProcess({"info", file, "--at", std::to_string(n)});
    EXPECT_EQ(run.Exit, 0) << n;
    EXPECT_EQ(run.Out, StatusLine(n, kHaikuTotal - n) + HaikuReport(kHaikuFile, n)) << n;
    EXPECT_EQ(run.Err, "") << n;
  }
  EXPECT_EQ(RunCliInProcess({"info", file}).Out, StatusLine(2, 1) + HaikuReport(kHaikuFile, 2));
}

TEST(CliInfo, SharesAreRoundedDown) {
  // Seven records: 3 inserts, 2 deletes, 1 enter, 1 change.
  const TCliRun run = RunCliInProcess({"info", DataPath("cli_shares.eud")});
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out, StatusLine(4, 3) +
                         "FileName\tcli_shares.eud\ntotal\t: 7\ninsert\t: 3\t [42%]\ndelete\t: 2\t [28%]\n"
                         "enter\t: 1\t [14%]\nchange\t: 1\t [14%]\n");
}

TEST(CliInfo, FileNameWithoutFolderInUtf8) {
  const TTempFolder temp;
  const std::string path = temp.Write("俳句.EUD", ReadBytes(DataPath(kHaikuFile)));
  const TCliRun run = RunCliInProcess({"info", path, "--at", "0"});
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out, StatusLine(0, 3) + HaikuReport("俳句.EUD", 0));
}

TEST(CliInfo, EmptyHistoryHasNoReport) {
  for (const char* at : {"0", "5"}) {
    const TCliRun run = RunCliInProcess({"info", DataPath("cli_empty.eud"), "--at", at});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, " Undo:0 Redo:0 Total:0\n");
    EXPECT_EQ(run.Err, "");
  }
}

}  // namespace
}  // namespace kelvane::test
