// The built kelvane-cli executable itself: its stdout bytes (no text-mode
// translation, nothing lost at exit), its stderr and its exit codes.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

TEST(CliBinary, TextAndInfoBytes) {
  const std::string file = DataPath(kHaikuFile);
  const TCliRun raw = RunCliBinary({"text", file, "--at", "3"});
  EXPECT_EQ(raw.Exit, 0);
  EXPECT_EQ(raw.Out, kHaikuCp932[3]);
  EXPECT_EQ(raw.Err, "");
  const TCliRun utf8 = RunCliBinary({"text", file, "--utf8", "--at", "0"});
  EXPECT_EQ(utf8.Exit, 0);
  EXPECT_EQ(utf8.Out, kHaikuUtf8[0]);
  const TCliRun info = RunCliBinary({"info", file});
  EXPECT_EQ(info.Exit, 0);
  EXPECT_EQ(info.Out, StatusLine(2, 1) + HaikuReport(kHaikuFile, 2));
  EXPECT_EQ(info.Err, "");
}

TEST(CliBinary, SaveWritesTheFile) {
  const TTempFolder temp;
  const std::string out = temp.Path("out.eud");
  const TCliRun run = RunCliBinary({"save", DataPath(kHaikuFile), "-o", out});
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out, "");
  EXPECT_EQ(ReadBytes(out), ReadBytes(DataPath(kHaikuFile)));
}

TEST(CliBinary, HelpAndVersion) {
  for (const char* option : {"--help", "--version"}) {
    const TCliRun run = RunCliBinary({option});
    EXPECT_EQ(run.Exit, 0) << option;
    EXPECT_NE(run.Out, "") << option;
    EXPECT_EQ(run.Err, "") << option;
  }
}

TEST(CliBinary, FailureExitCodes) {
  const TTempFolder temp;
  const TCliRun missing = RunCliBinary({"text", temp.Path("missing.eud")});
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_EQ(missing.Out, "");
  EXPECT_NE(missing.Err, "");

  const TCliRun usage = RunCliBinary({"text", DataPath(kHaikuFile), "--at", "many"});
  EXPECT_EQ(usage.Exit, 2);
  EXPECT_EQ(usage.Out, "");
  EXPECT_NE(usage.Err, "");

  const TCliRun step = RunCliBinary({"text", DataPath("cli_misfit.eud"), "--at", "0"});
  EXPECT_EQ(step.Exit, 3);
  EXPECT_EQ(step.Out, "a");
  EXPECT_NE(step.Err, "");
}

}  // namespace
}  // namespace kelvane::test
