// kelvane-cli edit: scripts of editor messages on the headless window, the
// JSON of dump and records, saving the result, and the script's errors.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

TCliRun Edit(const TTempFolder& dir, const std::string& script, std::vector<std::string> args = {}) {
  args.insert(args.begin(), "edit");
  args.push_back("--script");
  args.push_back(dir.Write("script.txt", script));
  return RunCliInProcess(args);
}

TEST(CliEdit, EmptyEditorClipboardAndHistory) {
  TTempFolder dir;
  const TCliRun run = Edit(dir,
                           "# paste two lines, then take them back\n"
                           "\n"
                           "clipboard 春\\r\\nx\\x81\\x40\n"
                           "paste\n"
                           "dump\n"
                           "records\n"
                           "undo\n"
                           "dump\n");
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(run.Out,
            "{\"text\":\"8f740d0a788140\",\"utf8\":\"春\\r\\nx　\",\"caret\":[3,1],\"anchor\":[0,0],"
            "\"selected\":false,\"box\":false,\"lineSelect\":false,\"top\":0,\"hscroll\":0,\"undo\":1,\"redo\":0}\n"
            "{\"undo\":[{\"mode\":0,\"x\":0,\"y\":0,\"count\":7,\"text\":\"\",\"utf8\":\"\"}],\"redo\":[]}\n"
            "{\"text\":\"\",\"utf8\":\"\",\"caret\":[0,0],\"anchor\":[0,0],\"selected\":false,\"box\":false,"
            "\"lineSelect\":false,\"top\":0,\"hscroll\":0,\"undo\":0,\"redo\":1}\n");
}

TEST(CliEdit, LoadsStepsAndSaves) {
  TTempFolder dir;
  const std::string out = dir.Path("out.eud");
  const TCliRun run = Edit(dir, "redo\nset ShowRuler true\nset ColorText 0xFF\nwheel down\nvscroll 8\n",
                           {DataPath(kHaikuFile), "--at", "1", "-o", out});
  EXPECT_EQ(run.Exit, 0) << run.Err;
  EXPECT_EQ(RunCliInProcess({"text", out}).Out, kHaikuCp932[2]);
  EXPECT_EQ(FirstLine(RunCliInProcess({"info", out}).Out), StatusLine(2, 1));
}

TEST(CliEdit, UnknownLinesStopBeforeAnythingRuns) {
  TTempFolder dir;
  const std::string out = dir.Path("out.eud");
  for (const std::string bad : {"dance\n", "key F13\n", "char\n", "down 1\n", "wheel sideways\n", "set Nope 1\n",
                                "set ShowRuler 1\n", "set Color 255\n", "type a\\q\n", "copy now\n", "key A +meta\n"}) {
    const TCliRun run = Edit(dir, "clipboard x\npaste\n" + bad, {"-o", out});
    EXPECT_EQ(run.Exit, 2) << bad;
    EXPECT_NE(run.Err.find("line 3"), std::string::npos) << bad << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"script.txt"}) << bad;
  }
}

TEST(CliEdit, AFailingStepIsReportedAndTheScriptGoesOn) {
  TTempFolder dir;
  const std::string file = dir.Write("bad.eud", EudLines({"TEXT=ab", "udMODE=0", "udCARET_X=0", "udCARET_Y=7",
                                                          "udCOUNT=1", "udTEXT="}));
  const TCliRun run = Edit(dir, "undo\ndump\n", {file});
  EXPECT_EQ(run.Exit, 3);
  EXPECT_NE(run.Err.find("line 1"), std::string::npos);
  EXPECT_NE(run.Out.find("\"text\":\"6162\""), std::string::npos);
}

TEST(CliEdit, UsageAndFiles) {
  EXPECT_EQ(RunCliInProcess({"edit"}).Exit, 2);  // no script
  EXPECT_EQ(RunCliInProcess({"edit", "--script", "/no/such/script"}).Exit, 1);
  TTempFolder dir;
  EXPECT_EQ(Edit(dir, "dump\n", {"x.txt"}).Exit, 1);
  EXPECT_EQ(Edit(dir, "dump\n", {"-o", dir.Path("out.txt")}).Exit, 1);
  EXPECT_EQ(Edit(dir, "dump\n", {"-o", dir.Path("out.eud")}).Exit, 1);  // nothing to save
}

}  // namespace
}  // namespace kelvane::test
