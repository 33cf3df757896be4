// kelvane-cli save: the state reached written as an undo file that reads back
// the same, and the cases in which nothing may be written or destroyed.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

using Names = std::vector<std::string>;

TEST(CliSave, UnchangedHistoryGivesTheSameBytes) {
  const TTempFolder temp;
  const std::string out = temp.Write("out.eud", "an older file that is replaced");
  for (const char* at : {"", "2"}) {
    std::vector<std::string> args{"save", DataPath(kHaikuFile), "-o", out};
    if (*at) args.insert(args.end(), {"--at", at});
    const TCliRun run = RunCliInProcess(args);
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(ReadBytes(out), ReadBytes(DataPath(kHaikuFile)));
  }
  EXPECT_EQ(temp.Names(), Names{"out.eud"});
}

// A file saved at point N loads at N, counts the same, and still reaches every point.
TEST(CliSave, EveryPointReadsBack) {
  const TTempFolder temp;
  for (int n = 0; n <= kHaikuTotal; ++n) {
    SCOPED_TRACE("saved at " + std::to_string(n));
    const std::string out = temp.Path("at" + std::to_string(n) + ".EUD");
    ASSERT_EQ(RunCliInProcess({"save", DataPath(kHaikuFile), "--at", std::to_string(n), "-o", out}).Exit, 0);
    EXPECT_EQ(RunCliInProcess({"text", out}).Out, kHaikuCp932[n]);
    EXPECT_EQ(RunCliInProcess({"info", out}).Out,
              StatusLine(n, kHaikuTotal - n) + HaikuReport("at" + std::to_string(n) + ".EUD", n));
    for (int m = 0; m <= kHaikuTotal; ++m) {
      const TCliRun run = RunCliInProcess({"text", out, "--at", std::to_string(m)});
      EXPECT_EQ(run.Exit, 0) << "--at " << m;
      EXPECT_EQ(run.Out, kHaikuCp932[m]) << "--at " << m;
    }
  }
}

TEST(CliSave, OutMustBeAnUndoFile) {
  const TTempFolder temp;
  for (const char* name : {"out.txt", "out.eud.bak", "out", "out.eud/"}) {
    const TCliRun run = RunCliInProcess({"save", DataPath(kHaikuFile), "-o", temp.Path(name)});
    EXPECT_EQ(run.Exit, 1) << name;
    EXPECT_EQ(run.Out, "") << name;
    EXPECT_NE(run.Err, "") << name;
  }
  EXPECT_EQ(temp.Names(), Names{});
}

TEST(CliSave, EmptyHistoryWritesNothing) {
  const TTempFolder temp;
  const std::string textOnly = temp.Write("text-only.eud", EudLines({"[TEXT]", "TEXT=abc", "[UNDO]", "[REDO]"}));
  for (const std::string& file : {DataPath("cli_empty.eud"), textOnly}) {
    const TCliRun run = RunCliInProcess({"save", file, "-o", temp.Path("out.eud")});
    EXPECT_EQ(run.Exit, 1) << file;
    EXPECT_EQ(run.Out, "") << file;
    EXPECT_NE(run.Err.find("UndoDataがありません。"), std::string::npos) << run.Err;
  }
  EXPECT_EQ(temp.Names(), Names{"text-only.eud"});
}

// Even root, who could replace it, leaves a read-only file alone.
TEST(CliSave, ReadOnlyOutStaysAsItWas) {
  const TTempFolder temp;
  const std::string out = temp.Write("out.eud", "old");
  ASSERT_EQ(::chmod(out.c_str(), 0444), 0);
  const TCliRun run = RunCliInProcess({"save", DataPath(kHaikuFile), "-o", out});
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err, "");
  EXPECT_EQ(ReadBytes(out), "old");
  struct stat st {};
  ASSERT_EQ(::stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);
  EXPECT_EQ(temp.Names(), Names{"out.eud"});  // no half-written file left behind
}

TEST(CliSave, UnwritablePlaces) {
  const TTempFolder temp;
  std::filesystem::create_directory(temp.Path("folder.eud"));
  for (const std::string& out : {temp.Path("folder.eud"), temp.Path("missing/out.eud")}) {
    const TCliRun run = RunCliInProcess({"save", DataPath(kHaikuFile), "-o", out});
    EXPECT_EQ(run.Exit, 1) << out;
    EXPECT_EQ(run.Out, "") << out;
    EXPECT_NE(run.Err, "") << out;
  }
  EXPECT_TRUE(std::filesystem::is_directory(temp.Path("folder.eud")));
  EXPECT_EQ(temp.Names(), Names{"folder.eud"});
}

}  // namespace
}  // namespace kelvane::test
