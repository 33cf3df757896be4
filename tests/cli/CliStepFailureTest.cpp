// kelvane-cli on records that do not fit the text: the stepping ends at the
// failed record, the state reached is still printed or saved, and the exit is 3.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"

namespace kelvane::test {
namespace {

// cli_misfit.eud: text "ab"; undo stack, top first: remove "b" (fits), join line 0
// with a line 1 that does not exist; redo stack: insert "z" into line 3.
TEST(CliStepFailure, StateReachedIsPrinted) {
  const std::string file = DataPath("cli_misfit.eud");
  const TCliRun text = RunCliInProcess({"text", file, "--at", "0"});
  EXPECT_EQ(text.Exit, 3);
  EXPECT_EQ(text.Out, "a");
  EXPECT_NE(text.Err, "");

  // The failed record stays where it was; the undone one waits on the redo stack as a delete.
  const TCliRun info = RunCliInProcess({"info", file, "--at", "0"});
  EXPECT_EQ(info.Exit, 3);
  EXPECT_EQ(info.Out, StatusLine(1, 2) +
                          "FileName\tcli_misfit.eud\ntotal\t: 3\ninsert\t: 0\t [0%]\ndelete\t: 2\t [66%]\n"
                          "enter\t: 1\t [33%]\nchange\t: 0\t [0%]\n");
  EXPECT_NE(info.Err, "");

  const TCliRun forward = RunCliInProcess({"text", file, "--at", "3"});
  EXPECT_EQ(forward.Exit, 3);
  EXPECT_EQ(forward.Out, "ab");
  EXPECT_NE(forward.Err, "");
}

TEST(CliStepFailure, StateReachedIsSaved) {
  const TTempFolder temp;
  const std::string out = temp.Path("out.eud");
  const TCliRun save = RunCliInProcess({"save", DataPath("cli_misfit.eud"), "--at", "0", "-o", out});
  EXPECT_EQ(save.Exit, 3);
  EXPECT_EQ(save.Out, "");
  EXPECT_NE(save.Err, "");
  EXPECT_EQ(RunCliInProcess({"text", out}).Out, "a");
  EXPECT_EQ(FirstLine(RunCliInProcess({"info", out}).Out), StatusLine(1, 2));
}

}  // namespace
}  // namespace kelvane::test
