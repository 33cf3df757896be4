// kelvane-cli's history verbs: the output format of each on the haiku
// history, what a history that cannot be walked gives, and usage errors.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"

namespace kelvane::test {
namespace {

TEST(CliHistory, EachVerbPrintsTheHaikuHistory) {
  const std::string file = DataPath(kHaikuFile);
  const TCliRun log = RunCliInProcess({"log", file, "--from", "1", "--to", "99"});
  EXPECT_EQ(log.Exit, 0);
  EXPECT_EQ(log.Out,
            "{\"k\":1,\"kind\":\"enter\",\"line\":0,\"column\":6,\"added\":\"\\r\\n\",\"removed\":\"\"}\n"
            "{\"k\":2,\"kind\":\"change\",\"line\":1,\"column\":0,\"added\":\"のたり表\\r\\nのたりかな\\r\\n\","
            "\"removed\":\"ひねもす\\r\\n\"}\n");
  EXPECT_EQ(RunCliInProcess({"timeline", file, "--csv"}).Out,
            "point,bytes,lines,kind,line,column\n0,6,1,,,\n1,14,1,insert,0,6\n2,16,2,enter,0,6\n3,28,3,change,1,0\n");
  EXPECT_EQ(RunCliInProcess({"diff", file, "--from", "3", "--to", "2", "--context", "0"}).Out,
            "--- point 3\n+++ point 2\n@@ -2,2 +2 @@\n-のたり表\n-のたりかな\n\\ No newline at end of file\n"
            "+ひねもす\n\\ No newline at end of file\n");
  EXPECT_EQ(RunCliInProcess({"diff", file, "--from", "2", "--to", "2"}).Out, "");
  EXPECT_EQ(RunCliInProcess({"find", file, "海\nの"}).Out, "{\"from\":3,\"to\":4}\n");
  EXPECT_EQ(RunCliInProcess({"find", file, "ひね"}).Out, "{\"from\":1,\"to\":3}\n");
  EXPECT_EQ(RunCliInProcess({"blame", file}).Out, "{\"y\":0,\"runs\":[[0,6,-1]]}\n{\"y\":1,\"runs\":[[0,8,0]]}\n");
  const TCliRun check = RunCliInProcess({"check", file});
  EXPECT_EQ(check.Exit, 0);
  EXPECT_EQ(check.Out, "");
  EXPECT_EQ(RunCliInProcess({"stats", file}).Out,
            "{\"records\":3,\"kinds\":{\"insert\":1,\"delete\":0,\"enter\":1,\"change\":1,\"unknown\":0},"
            "\"added\":{\"hiragana\":12,\"katakana\":0,\"halfwidth_katakana\":0,\"kanji\":1,\"fullwidth\":0,"
            "\"ascii_alnum\":0,\"other\":2},\"removed\":{\"hiragana\":4,\"katakana\":0,\"halfwidth_katakana\":0,"
            "\"kanji\":0,\"fullwidth\":0,\"ascii_alnum\":0,\"other\":0}}\n");
}

// Records naming lines and columns far outside the text (cli_huge_numbers.eud)
// leave every verb working on the lines there are.
TEST(CliHistory, HostilePositionsAreCutToTheText) {
  const std::string file = DataPath("cli_huge_numbers.eud");
  for (const char* verb : {"log", "timeline", "check", "blame", "stats"}) {
    const int exit = RunCliInProcess({verb, file}).Exit;
    EXPECT_TRUE(exit == 0 || exit == 3) << verb;
  }
  for (const char* at : {"0", "2", "3"}) {
    const int exit = RunCliInProcess({"blame", file, "--at", at}).Exit;
    EXPECT_TRUE(exit == 0 || exit == 3) << at;
  }
  for (const char* text : {"c", "ab", "d"}) {
    const int exit = RunCliInProcess({"find", file, text}).Exit;
    EXPECT_TRUE(exit == 0 || exit == 3) << text;
  }
}

// cli_misfit.eud: the lowest record cannot be undone, the redo record cannot be redone.
TEST(CliHistory, WhatCanBeReachedIsPrintedAndTheExitIsThree) {
  const std::string file = DataPath("cli_misfit.eud");
  const TCliRun log = RunCliInProcess({"log", file});
  EXPECT_EQ(log.Exit, 3);
  EXPECT_EQ(log.Out, "{\"k\":1,\"kind\":\"insert\",\"line\":0,\"column\":1,\"added\":\"b\",\"removed\":\"\"}\n");
  EXPECT_NE(log.Err.find("record 2 cannot be redone"), std::string::npos) << log.Err;
  EXPECT_EQ(RunCliInProcess({"log", file, "--from", "1", "--to", "2"}).Exit, 0);  // within the reach
  const TCliRun check = RunCliInProcess({"check", file});
  EXPECT_EQ(check.Exit, 3);
  EXPECT_EQ(check.Out.substr(0, check.Out.find(",\"detail\"")), "{\"k\":0,\"problem\":\"misfit\"");
  EXPECT_NE(check.Out.find("{\"k\":2,\"problem\":\"misfit\",\"detail\":\"line 3 is past the end"), std::string::npos);
  const TCliRun timeline = RunCliInProcess({"timeline", file, "--csv"});
  EXPECT_EQ(timeline.Exit, 3);
  EXPECT_EQ(timeline.Out, "point,bytes,lines,kind,line,column\n1,1,1,enter,0,0\n2,2,1,insert,0,1\n");
}

TEST(CliHistory, BytesThatBeginNoCharacterComeOutAsReplacementCharacters) {
  const TTempFolder temp;
  const std::string file = temp.Write("broken.eud", EudLines({"[TEXT]", "TEXT=ab", "[REDO]"}) +
                                                        EudRecord("rd", 1, 1, 0, 0, "\x85\x40\x82"));
  EXPECT_EQ(RunCliInProcess({"log", file}).Out,
            "{\"k\":0,\"kind\":\"insert\",\"line\":0,\"column\":1,\"added\":\"\xEF\xBF\xBD@\xEF\xBF\xBD\",\"removed\":\"\"}\n");
  const TCliRun check = RunCliInProcess({"check", file});
  EXPECT_EQ(check.Exit, 3);
  EXPECT_EQ(check.Out, "{\"k\":0,\"problem\":\"encoding\",\"detail\":\"the added text: byte 0x85 at 0 begins no character\"}\n");
}

TEST(CliHistory, UsageAndFileErrorsExitAsTheOtherVerbs) {
  const std::string file = DataPath(kHaikuFile);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"diff", file, "--to", "1"}, {"find", file}, {"log", file, "--csv"}, {"timeline", file, "--at", "1"},
           {"diff", file, "--from", "0", "--to", "1", "--context", "-1"}, {"find", file, "a", "b"}})
    EXPECT_EQ(RunCliInProcess(args).Exit, 2) << args[0] << " " << args.back();
  EXPECT_EQ(RunCliInProcess({"blame", "missing.eud"}).Exit, 1);
  EXPECT_EQ(RunCliInProcess({"stats", DataPath("README.md")}).Exit, 1);
  EXPECT_EQ(RunCliInProcess({"find", file, "--", "-x"}).Exit, 0);
  EXPECT_EQ(RunCliInProcess({"log", file, "--from", "-5"}).Out, RunCliInProcess({"log", file}).Out);  // clamped
}

}  // namespace
}  // namespace kelvane::test
