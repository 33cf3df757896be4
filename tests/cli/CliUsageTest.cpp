// kelvane-cli's command line: usage errors (exit 2), --help and --version, and
// files that cannot be used (exit 1). Either way nothing goes to stdout on failure.
#include <gtest/gtest.h>

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <sstream>

#include "cli/CliApp.h"
#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

using Args = std::vector<std::string>;

TEST(CliUsage, UsageErrorsExitTwo) {
  const std::string f = DataPath(kHaikuFile);
  const Args cases[] = {
      {},
      {"play", f},
      {"--bogus"},
      {"text"},
      {"info", "--at", "1"},
      {"save", f},
      {"save", f, "-o"},
      {"text", f, "--at"},
      {"text", f, "--at", "abc"},
      {"text", f, "--at", "1.5"},
      {"text", f, "--at", ""},
      {"text", f, "--at", "-"},
      {"text", f, "--at", "0x2"},
      {"text", f, "--at", "2x"},
      {"text", f, "--bogus"},
      {"text", f, "-o", "out.eud"},
      {"info", f, "--utf8"},
      {"save", f, "--utf8", "-o", "out.eud"},
      {"text", f, f},
  };
  for (const Args& args : cases) {
    std::string shown;
    for (const std::string& a : args) shown += " [" + a + "]";
    const TCliRun run = RunCliInProcess(args);
    EXPECT_EQ(run.Exit, 2) << shown;
    EXPECT_EQ(run.Out, "") << shown;
    EXPECT_NE(run.Err, "") << shown;
  }
}

TEST(CliUsage, HelpAndVersionOnStdout) {
  const TCliRun help = RunCliInProcess({"--help"});
  EXPECT_EQ(help.Exit, 0);
  EXPECT_EQ(help.Err, "");
  for (const char* command : {"text", "info", "save", "--at", "--utf8", "-o"})
    EXPECT_NE(help.Out.find(command), std::string::npos) << command;
  const TCliRun version = RunCliInProcess({"--version"});
  EXPECT_EQ(version.Exit, 0);
  EXPECT_NE(version.Out, "");
  EXPECT_EQ(version.Err, "");
}

TEST(CliUsage, UnusableFilesExitOne) {
  const TTempFolder temp;
  const std::string haiku = ReadBytes(DataPath(kHaikuFile));
  std::filesystem::create_directory(temp.Path("folder.eud"));
  const std::string files[] = {temp.Write("haiku.txt", haiku), temp.Write("haiku.eud.bak", haiku),
                               temp.Write("haiku", haiku), temp.Path("missing.eud"), temp.Path("folder.eud")};
  for (const std::string& file : files) {
    for (const Args& args : {Args{"text", file}, Args{"info", file, "--at", "0"},
                             Args{"save", file, "-o", temp.Path("out.eud")}}) {
      const TCliRun run = RunCliInProcess(args);
      EXPECT_EQ(run.Exit, 1) << args[0] << " " << file;
      EXPECT_EQ(run.Out, "") << args[0] << " " << file;
      EXPECT_NE(run.Err, "") << args[0] << " " << file;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(temp.Path("out.eud")));
}

TEST(CliUsage, UnreadableFileExitsOne) {
#ifdef _WIN32
  GTEST_SKIP() << "a Windows file has no read permission to take away";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root reads a file without read permission";
#endif
  const TTempFolder temp;
  const std::string file = temp.Write("locked.eud", ReadBytes(DataPath(kHaikuFile)));
  ASSERT_EQ(::chmod(file.c_str(), 0), 0);
  const TCliRun run = RunCliInProcess({"text", file});
  EXPECT_EQ(run.Exit, 1);
  EXPECT_EQ(run.Out, "");
  EXPECT_NE(run.Err, "");
}

TEST(CliUsage, ExtensionIgnoresCase) {
  const TTempFolder temp;
  const std::string file = temp.Write("HAIKU.EuD", ReadBytes(DataPath(kHaikuFile)));
  const TCliRun run = RunCliInProcess({"text", file, "--at", "3"});
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out, kHaikuCp932[3]);
}

}  // namespace
}  // namespace kelvane::test

namespace kelvane::test {
namespace {

// Output that cannot be written (a full disk, a closed pipe) is a failure, not success.
TEST(CliUsage, LostOutputExitsOne) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"text", DataPath("cli_haiku.eud")}, {"info", DataPath("cli_haiku.eud")}, {"--help"}}) {
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_EQ(RunCli(args, out, err), kExitFile) << args[0];
    EXPECT_FALSE(err.str().empty());
  }
}

// An empty argument is the FILE it stands for, not something to skip.
TEST(CliUsage, EmptyFileArgument) {
  EXPECT_EQ(RunCliInProcess({"text", "", DataPath("cli_haiku.eud")}).Exit, 2);
  EXPECT_EQ(RunCliInProcess({"text", ""}).Exit, 1);
}

}  // namespace
}  // namespace kelvane::test
