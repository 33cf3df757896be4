// Scenario tests: each tests/scenarios/NAME.script is played by kelvane-cli
// edit on an empty editor, and what it prints must equal NAME.expected. Each
// scenario is a test case of its own, so a failure names it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/cli/CliTestSupport.h"

namespace kelvane::test {
namespace {

const std::filesystem::path kFolder = std::filesystem::path(KELVANE_SOURCE_DIR) / "tests" / "scenarios";

std::vector<std::string> ScenarioNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kFolder)) {
    if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class CliScenario : public ::testing::TestWithParam<std::string> {};

TEST_P(CliScenario, GivesItsExpectedOutput) {
  const std::filesystem::path script = kFolder / (GetParam() + ".script");
  const TCliRun run = RunCliInProcess({"edit", "--script", script.string()});
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out, ReadBytes(kFolder / (GetParam() + ".expected")));
}

INSTANTIATE_TEST_SUITE_P(Scripts, CliScenario, ::testing::ValuesIn(ScenarioNames()),
                         [](const ::testing::TestParamInfo<std::string>& scenario) { return scenario.param; });

}  // namespace
}  // namespace kelvane::test
