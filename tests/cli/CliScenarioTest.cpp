// Scenario tests: each tests/scenarios/NAME.script is played by kelvane-cli
// edit on an empty editor, and what it prints must equal NAME.expected.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/CliTestSupport.h"

namespace kelvane::test {
namespace {

TEST(CliScenario, EveryScriptGivesItsExpectedOutput) {
  const std::filesystem::path folder = std::filesystem::path(KELVANE_SOURCE_DIR) / "tests" / "scenarios";
  int played = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".script") continue;
    std::filesystem::path expected = entry.path();
    expected.replace_extension(".expected");
    const TCliRun run = RunCliInProcess({"edit", "--script", entry.path().string()});
    EXPECT_EQ(run.Exit, 0) << entry.path() << run.Err;
    EXPECT_EQ(run.Out, ReadBytes(expected)) << entry.path();
    ++played;
  }
  EXPECT_GE(played, 4);
}

}  // namespace
}  // namespace kelvane::test
