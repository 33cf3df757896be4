// kelvane-cli scan: the scanner's view of every line as one JSON object per
// line, with the headless metrics, the reference switches and keyword groups.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

TEST(CliScan, OneObjectPerLineAtThePointAsked) {
  const TCliRun run = RunCliInProcess({"scan", DataPath(kHaikuFile), "--at", "1"});
  EXPECT_EQ(run.Exit, 0);
  EXPECT_EQ(run.Out,
            "{\"y\":0,\"text\":\"8f7482cc8a4382d082cb82e082b7\",\"attrs\":\"0000000000000000000000000000\","
            "\"classes\":\";;55;;55555555\",\"widths\":[16,0,16,0,16,0,16,0,16,0,16,0,16,0],"
            "\"refs\":[0,0,0,0,0,0,0,0,0,0,0,0,0,0]}\n");
}

TEST(CliScan, MarksSwitchesAndKeywords) {
  TTempFolder dir;
  const std::string file =
      dir.Write("s.eud", EudLines({"TEXT=a  b\x01\x01 if\tgif &amp; &#12354;\x01\x01", "udMODE=0", "udCARET_X=0",
                                   "udCARET_Y=0", "udCOUNT=1", "udTEXT="}));
  const TCliRun plain = RunCliInProcess({"scan", file});
  EXPECT_EQ(plain.Exit, 0);
  EXPECT_NE(plain.Out.find("{\"y\":0,\"text\":\"61202062\",\"attrs\":\"002d2d00\",\"classes\":\"1::1\","
                           "\"widths\":[8,8,8,8],\"refs\":[0,0,0,0]}\n"),
            std::string::npos);
  EXPECT_NE(plain.Out.find("{\"y\":2,\"text\":\"\",\"attrs\":\"\",\"classes\":\"\",\"widths\":[],\"refs\":[]}\n"),
            std::string::npos);  // the empty last line

  const TCliRun marked = RunCliInProcess({"scan", file, "--nameref", "--numref", "--keyword", "3=if"});
  EXPECT_EQ(marked.Exit, 0);
  // " if\tgif &amp; &#12354;": the keyword in group 3 (code 4) only as a word, the tab
  // 40 px, both references one character each.
  EXPECT_NE(marked.Out.find("\"attrs\":\"2d04042e0000002c40404040402c4040404040404040\""), std::string::npos);
  EXPECT_NE(marked.Out.find("\"widths\":[8,8,8,40,8,8,8,8,8,0,0,0,0,8,16,0,0,0,0,0,0,0]"), std::string::npos);
  EXPECT_NE(marked.Out.find("\"refs\":[0,0,0,0,0,0,0,0,38,0,0,0,0,0,12354,0,0,0,0,0,0,0]"), std::string::npos);
}

TEST(CliScan, KeywordGroupsOutOfRangeAreUsageErrors) {
  for (const char* bad : {"0=if", "9=if", "if", "1if"})
    EXPECT_EQ(RunCliInProcess({"scan", DataPath(kHaikuFile), "--keyword", bad}).Exit, 2) << bad;
  EXPECT_EQ(RunCliInProcess({"scan", DataPath("missing.eud")}).Exit, 1);
}

}  // namespace
}  // namespace kelvane::test
