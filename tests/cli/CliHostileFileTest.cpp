// kelvane-cli on undo files no writer of ours makes: wrong keys, short records,
// numbers out of range, NUL bytes, odd escapes and line ends, unknown modes,
// two texts, an empty file. Loading forgives; nothing may crash.
#include <gtest/gtest.h>

#include "tests/cli/CliTestSupport.h"
#include "tests/cli/HaikuHistory.h"
#include "util/TovelUtils.h"

namespace kelvane::test {
namespace {

std::string TextAt(const std::string& file, const char* at) {
  const TCliRun run = RunCliInProcess({"text", file, "--at", at});
  EXPECT_EQ(run.Exit, 0) << file << " --at " << at << ": " << run.Err;
  return run.Out;
}

std::string Status(const std::string& file) { return FirstLine(RunCliInProcess({"info", file}).Out); }

// Keys must match exactly; a record's fields are then taken by position. The one
// record that counts lists Y before X, so its X is 2 and its Y 0.
TEST(CliHostileFile, WrongKeysSkippedFieldsByPosition) {
  const std::string file = DataPath("cli_wrong_keys.eud");
  EXPECT_EQ(Status(file), StatusLine(1, 0));
  EXPECT_EQ(TextAt(file, "1"), "abcd");  // " TEXT=" and "text=" replace nothing
  EXPECT_EQ(TextAt(file, "0"), "abzzcd");
}

TEST(CliHostileFile, ShortRecordAtTheEndIsDropped) {
  const std::string file = DataPath("cli_short_record.eud");
  EXPECT_EQ(Status(file), StatusLine(1, 0));
  EXPECT_EQ(TextAt(file, "0"), "bc");
}

// X 2147483647 is kept; X 2147483648 and -2147483649 and count 99999999999 read as 0.
TEST(CliHostileFile, HugeNumbers) {
  const std::string file = DataPath("cli_huge_numbers.eud");
  EXPECT_EQ(TextAt(file, "3"), "ab\r\ncd");
  EXPECT_EQ(TextAt(file, "2"), "ab\r\ncd");   // count -2147483648 removes nothing
  EXPECT_EQ(TextAt(file, "1"), "ab\r\nd");    // X 0, not the end of the line
  EXPECT_EQ(TextAt(file, "0"), "abXY\r\nd");  // far right of line 0: its end

  const TTempFolder temp;
  ASSERT_EQ(RunCliInProcess({"save", file, "-o", temp.Path("out.eud")}).Exit, 0);
  EXPECT_EQ(ReadBytes(temp.Path("out.eud")),
            EudLines({"[TEXT]", "TEXT=ab\x01\x01" "cd", "[UNDO]"}) +
                EudRecord("ud", 1, 2147483647, 0, 0, "XY") + EudRecord("ud", 0, 0, 1, 1, "") +
                EudRecord("ud", 0, 0, 0, -2147483648LL, "") + EudLines({"[REDO]"}));
}

TEST(CliHostileFile, NulEndsTheReadableBytes) {
  const TTempFolder temp;
  using namespace std::string_literals;
  const std::string inText = temp.Write(
      "text.eud", EudLines({"[TEXT]", "TEXT=ab\0cd"s, "[UNDO]"}) + EudRecord("ud", 0, 0, 0, 1, "") + "[REDO]\r\n");
  EXPECT_EQ(TextAt(inText, "0"), "ab");
  EXPECT_EQ(Status(inText), StatusLine(0, 0));  // the record lies behind the NUL

  const std::string inRecord =
      temp.Write("record.eud", EudLines({"[TEXT]", "TEXT=ab", "[REDO]"}) + EudRecord("rd", 1, 0, 0, 0, "xy\0zz"s));
  EXPECT_EQ(TextAt(inRecord, "1"), "xyab");
}

// The escape is read from the left: 0x01 0x01 0x01 is a break and a lone 0x01.
TEST(CliHostileFile, EscapesReadFromTheLeft) {
  const TTempFolder temp;
  const std::string file = temp.Write(
      "escapes.eud", EudLines({"[TEXT]", "TEXT=a\x01\x01\x01" "b\x01\x01\x01\x01", "[REDO]"}) +
                         EudRecord("rd", 1, 0, 0, 0, "\x01\x01\x01"));
  EXPECT_EQ(TextAt(file, "0"), "a\r\n\x01" "b\r\n\r\n");
  EXPECT_EQ(TextAt(file, "1"), "\r\n\x01" "a\r\n\x01" "b\r\n\r\n");
}

// Lone CR and lone LF end lines as CR LF does.
TEST(CliHostileFile, LoneCrAndLfBreakLines) {
  const TTempFolder temp;
  const std::string crlf = ReadBytes(DataPath(kHaikuFile));
  for (const char* end : {"\n", "\r"}) {
    const std::string file = temp.Write("haiku.eud", ReplaceAll(crlf, "\r\n", end));
    EXPECT_EQ(Status(file), StatusLine(2, 1));
    for (int n = 0; n <= kHaikuTotal; ++n) EXPECT_EQ(TextAt(file, std::to_string(n).c_str()), kHaikuCp932[n]);
  }
}

// Mode 300 keeps its low byte, 44, and "abc" reads as 0 (insert). A record of an
// unknown mode is no edit: stepping over it changes nothing and is no failure.
TEST(CliHostileFile, ModesOutsideTheFour) {
  const std::string file = DataPath("cli_modes.eud");
  EXPECT_EQ(RunCliInProcess({"info", file}).Out,
            StatusLine(2, 0) + "FileName\tcli_modes.eud\ntotal\t: 2\ninsert\t: 1\t [50%]\ndelete\t: 0\t [0%]\n"
                               "enter\t: 0\t [0%]\nchange\t: 0\t [0%]\n");
  EXPECT_EQ(TextAt(file, "1"), "a");
  EXPECT_EQ(TextAt(file, "0"), "a");
  EXPECT_EQ(Status(file), StatusLine(2, 0));
  const TCliRun at0 = RunCliInProcess({"info", file, "--at", "0"});
  EXPECT_EQ(at0.Exit, 0);
  EXPECT_EQ(FirstLine(at0.Out), StatusLine(1, 1));

  const TTempFolder temp;
  ASSERT_EQ(RunCliInProcess({"save", file, "-o", temp.Path("out.eud")}).Exit, 0);
  EXPECT_EQ(ReadBytes(temp.Path("out.eud")), EudLines({"[TEXT]", "TEXT=ab", "[UNDO]"}) +
                                                 EudRecord("ud", 44, 0, 0, 1, "") + EudRecord("ud", 0, 1, 0, 1, "") +
                                                 EudLines({"[REDO]"}));
}

// Each TEXT= line starts over: the text is replaced and the history emptied.
TEST(CliHostileFile, SecondTextLineWins) {
  const std::string file = DataPath("cli_two_texts.eud");
  EXPECT_EQ(Status(file), StatusLine(1, 0));
  EXPECT_EQ(TextAt(file, "1"), "second");
  EXPECT_EQ(TextAt(file, "0"), "ond");
}

TEST(CliHostileFile, EmptyFileIsAnEmptyText) {
  const std::string file = DataPath("cli_empty.eud");
  EXPECT_EQ(TextAt(file, "0"), "");
  EXPECT_EQ(RunCliInProcess({"text", file, "--utf8"}).Out, "");
  EXPECT_EQ(RunCliInProcess({"info", file}).Out, StatusLine(0, 0));
}

}  // namespace
}  // namespace kelvane::test
