// Answers known by construction (provenance, diff ranges, problems, scripts),
// and the real histories: diffs that give the later text, search ranges that
// hold at their edges, and the analysis' own figures against the player's.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "history/CharBounds.h"
#include "platform/Codepage.h"
#include "player/UndoFile.h"
#include "util/TovelUtils.h"
#include "tests/history/HistoryTestSupport.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {
namespace {

namespace fs = std::filesystem;

std::string S(std::string_view utf8) { return cp932::FromUtf8(utf8); }

using Spans = std::vector<TTagSpan>;

TEST(Provenance, TagsEachByteWithTheRecordThatTypedIt) {
  HeadlessPlayer player;
  TVeskEdit& e = player.Editor();
  e.SetText("ab");
  e.SetCaret({1, 0});
  e.InputText(S("あい"));  // 0: "aあいb"
  e.SetCaret({3, 0});
  e.InputText("X");        // 1: "aあXいb"
  e.SetCaret({1, 0});
  e.DeleteKey();           // 2: "aXいb", あ goes with its tag
  e.NewLine();             // 3: "a" / "Xいb", a break keeps every tag
  e.SetCaret({1, 1});
  e.SelAnchor = {3, 1};
  e.Selected = true;
  e.InputText("YZ");       // 4: a change of line 1 into "XYZb": X and b keep theirs
  auto analysis = Analyse(e);
  EXPECT_EQ(analysis->Blame(2).Spans(0), (Spans{{0, 1, -1}, {1, 3, 0}, {3, 4, 1}, {4, 6, 0}, {6, 7, -1}}));
  const TProvenance& last = analysis->Blame(5);
  ASSERT_EQ(last.LineCount(), 2);
  EXPECT_EQ(last.Spans(0), (Spans{{0, 1, -1}}));
  EXPECT_EQ(last.Spans(1), (Spans{{0, 1, 1}, {1, 3, 4}, {3, 4, -1}}));
  EXPECT_EQ(analysis->Blame(1).Spans(0), (Spans{{0, 1, -1}, {1, 5, 0}, {5, 6, -1}}));  // going back starts again
}

TEST(HistoryAnalysis, IsMadeAgainWhenRecordsJoinOrLeave) {
  HeadlessPlayer player;
  TVeskEdit& e = player.Editor();
  e.InputText("abc");
  e.InputText("def");
  auto analysis = Analyse(e);
  EXPECT_EQ(analysis->Timeline().Records(), 2);
  e.UndoStep();
  e.InputText("X");  // the redo stack goes, a record joins
  EXPECT_EQ(analysis->Timeline().Records(), 2);
  EXPECT_EQ(analysis->Timeline().Edit(1).Added, "X");
  EXPECT_EQ(*analysis->TextAt(2), "abcX");
}

// Each changed pair's ranges lie on unit boundaries, and what is left of
// both lines outside them is the same.
void ExpectRangesFit(const TTextDiff& d, const TUnitSplitter& units) {
  for (const TChangedPair& pair : d.Pairs()) {
    std::string kept[2];
    int side = 0;
    for (const auto& [line, ranges] : {std::pair{d.OldLines()[pair.OldLine], &pair.Old},
                                       std::pair{d.NewLines()[pair.NewLine], &pair.New}}) {
      std::vector<uint32_t> starts;
      units(line, starts);
      uint32_t at = 0;
      for (const TByteRange& r : *ranges) {
        EXPECT_TRUE(std::count(starts.begin(), starts.end(), r.Begin) && std::count(starts.begin(), starts.end(), r.End));
        kept[side] += line.substr(at, r.Begin - at);
        at = r.End;
      }
      kept[side++] += line.substr(at);
    }
    EXPECT_EQ(kept[0], kept[1]);
  }
}

TEST(TextDiff, ChangedRangesKeepCharactersAndReferencesWhole) {
  HeadlessPlayer player;
  auto analysis = Analyse(player.Editor());
  // 0x82 0xA0 ("あ") and 0x82 0xA2 ("い") share their lead byte; the
  // references differ in their last letters.
  const TTextDiff d(S("同じ\r\nxあy&amp;z\r\n末"), S("同じ\r\nxいy&apos;z\r\n末"), analysis->Units());
  ASSERT_EQ(d.Blocks().size(), 1u);
  ASSERT_EQ(d.Pairs().size(), 1u);
  EXPECT_EQ(d.Pairs()[0].Old, (std::vector<TByteRange>{{1, 3}, {4, 9}}));
  EXPECT_EQ(d.Pairs()[0].New, (std::vector<TByteRange>{{1, 3}, {4, 10}}));
  ExpectRangesFit(d, analysis->Units());
  EXPECT_EQ(UnifiedDiff(d, 3, "a", "b", cp932::ToUtf8Marked),
            "--- a\n+++ b\n@@ -1,3 +1,3 @@\n 同じ\n-xあy&amp;z\n+xいy&apos;z\n 末\n\\ No newline at end of file\n");
  EXPECT_TRUE(TTextDiff("a\r\nb", "a\r\nb").Equal());
  EXPECT_FALSE(TTextDiff("a\r\nb", "a\r\nb\r\n").Equal());  // the last line gains its break
}

// A unified diff (UTF-8, LF) applied to the UTF-8 of the older text.
std::string Patch(const std::string& older, const std::string& diff) {
  std::vector<std::string> lines;
  for (size_t from = 0; from < older.size();) {
    const size_t brk = std::min(older.find('\n', from), older.size());
    lines.push_back(older.substr(from, brk - from));
    from = brk + 1;
  }
  bool endsWithBreak = !older.empty() && older.back() == '\n';
  std::vector<std::string> out;
  std::istringstream in(diff);
  std::string row;
  size_t next = 0;
  char last = 0;
  while (std::getline(in, row)) {
    if (row.rfind("--- ", 0) == 0 || row.rfind("+++ ", 0) == 0) continue;
    if (row.rfind("@@ -", 0) == 0) {
      const size_t first = std::stoul(row.substr(4));
      const size_t comma = row.find(',');
      const bool empty = comma < row.find(' ', 4) && std::stoul(row.substr(comma + 1)) == 0;
      for (const size_t start = empty ? first : first - 1; next < start;) out.push_back(lines[next++]);
      continue;
    }
    if (row[0] == '\\') {
      if (last != '-') endsWithBreak = false;
      continue;
    }
    last = row[0];
    if (row[0] != '+' && ++next == lines.size()) endsWithBreak = true;  // the old end, its break told below
    if (row[0] == '+' && next == lines.size()) endsWithBreak = true;
    if (row[0] != '-') out.push_back(row.substr(1));
  }
  while (next < lines.size()) out.push_back(lines[next++]);
  std::string text;
  for (size_t i = 0; i < out.size(); ++i) text += out[i] + (i + 1 < out.size() || endsWithBreak ? "\n" : "");
  return text;
}

TEST(HistoryCheck, ReportsEveryKindOfProblemWithItsRecord) {
  HeadlessPlayer player;
  TVeskEdit& e = player.Editor();
  e.SetText(S("あい"));
  TUndoList& undo = e.Undo->FUndoList;
  AddUndoData(undo, 7, {0, 0}, "", 0);              // 0: no kind of edit
  AddUndoData(undo, umDelete, {1, 0}, "x", 0);      // 1: "x" removed from inside あ
  AddUndoData(undo, umDelete, {4, 0}, "\x82", 0);   // 2: a lone lead byte removed
  AddUndoData(e.Undo->FRedoList, umInsert, {0, 5}, "", 1);  // 3: a line that is not there
  const auto analysis = Analyse(e);
  std::vector<std::pair<int64_t, TProblemKind>> found;
  for (const THistoryProblem& p : analysis->Check()) found.emplace_back(p.Record, p.Kind);
  EXPECT_EQ(found, (std::vector<std::pair<int64_t, TProblemKind>>{{0, TProblemKind::Mode},
                                                                  {1, TProblemKind::Caret},
                                                                  {2, TProblemKind::Encoding},
                                                                  {3, TProblemKind::Misfit}}));
  const TTimeline& t = analysis->Timeline();
  EXPECT_EQ(t.First(), 1);  // the walk back stops at the mode
  EXPECT_EQ(t.Last(), 3);
  EXPECT_EQ(t.StopAbove().Record, 3);
}

TEST(EditStats, CountsCharactersPerScript) {
  TScriptCounts counts{};
  CountScripts(S("ひらカタｶﾀ漢字々ＡＢ、Az9 -\r\n") + "\x82", counts);
  EXPECT_EQ(counts, (TScriptCounts{2, 2, 2, 3, 3, 3, 4}));
}

// The real histories, when their folder is there.
class RealHistory : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const fs::path path = fs::path(KELVANE_SHARED_DATA) / (std::string(GetParam()) + ".eud");
    if (!fs::exists(path)) GTEST_SKIP() << "the real histories are not at " << KELVANE_SHARED_DATA;
    ASSERT_TRUE(player_.Form.LoadUndoFile(path.string()));
    analysis_ = Analyse(player_.Editor());
  }
  HeadlessPlayer player_;
  std::unique_ptr<THistoryAnalysis> analysis_;
};

TEST_P(RealHistory, DiffsGiveTheLaterTextAndFoundRangesHoldAtTheirEdges) {
  const TTimeline& t = analysis_->Timeline();
  ASSERT_TRUE(t.Complete());
  std::mt19937 random(12345);
  std::uniform_int_distribution<int64_t> point(0, t.Records());
  for (int i = 0; i < 6; ++i) {
    const int64_t a = point(random), b = point(random);
    const std::unique_ptr<TTextDiff> d = analysis_->Diff(a, b);
    ASSERT_TRUE(d);
    ExpectRangesFit(*d, analysis_->Units());
    const auto utf8 = [](std::string_view s) { return ReplaceAll(cp932::ToUtf8Marked(s), "\r\n", "\n"); };
    EXPECT_EQ(Patch(utf8(*analysis_->TextAt(a)), UnifiedDiff(*d, 2, "a", "b", cp932::ToUtf8Marked)),
              utf8(*analysis_->TextAt(b)))
        << a << " to " << b;
  }
  for (const std::string& needle : {S("の"), S("例えば"), std::string("\r\n\r\n")}) {
    for (const TPointRange& r : analysis_->Find(needle)) {
      EXPECT_TRUE(ContainsByWalking(*analysis_->TextAt(r.From), needle)) << r.From;
      EXPECT_TRUE(ContainsByWalking(*analysis_->TextAt(r.To - 1), needle)) << r.To;
      if (r.From > 0) {
        EXPECT_FALSE(ContainsByWalking(*analysis_->TextAt(r.From - 1), needle)) << r.From;
      }
      if (r.To <= t.Records()) {
        EXPECT_FALSE(ContainsByWalking(*analysis_->TextAt(r.To), needle)) << r.To;
      }
    }
  }
}

TEST_P(RealHistory, FiguresAgreeWithThePlayer) {
  const TTimeline& t = analysis_->Timeline();
  EXPECT_EQ(t.Bytes(t.Records() / 2), static_cast<int64_t>(analysis_->TextAt(t.Records() / 2)->size()));
  EXPECT_TRUE(analysis_->Check().empty());
  EXPECT_EQ(analysis_->Stats().Kinds, player_.Form.History().KindCounts());
  const TProvenance& tags = analysis_->Blame(t.Records());
  EXPECT_EQ(tags.LineCount(), t.LineCount(t.Records()));
  int64_t bytes = 2 * (int64_t{tags.LineCount()} - 1);
  for (int32_t y = 0; y < tags.LineCount(); ++y) bytes += tags.LineLength(y);
  EXPECT_EQ(bytes, t.Bytes(t.Records()));
}

// Going back starts from a copy kept on the way: the tags must be those of a
// walk from the first point.
TEST_P(RealHistory, ProvenanceGoingBackAgreesWithAWalkFromTheStart) {
  const int64_t total = analysis_->Timeline().Records();
  analysis_->Blame(total);
  for (const int64_t p : {total - 1, total / 2 + 1, int64_t{2049}, int64_t{2047}, int64_t{3}}) {
    if (p < 0 || p > total) continue;
    const TProvenance& back = analysis_->Blame(p);
    const auto walked = Analyse(player_.Editor());
    const TProvenance& fresh = walked->Blame(p);
    ASSERT_EQ(back.LineCount(), fresh.LineCount()) << p;
    for (int32_t y = 0; y < back.LineCount(); ++y) ASSERT_EQ(back.Spans(y), fresh.Spans(y)) << p << " line " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, RealHistory, ::testing::Values("usr_01", "eval"));

TEST(RealHistoryPoints, TimelineOfASmallOneMatchesThePlayerAtEveryPoint) {
  const fs::path path = fs::path(KELVANE_SHARED_DATA) / "usr_01.eud";
  if (!fs::exists(path)) GTEST_SKIP() << "the real histories are not at " << KELVANE_SHARED_DATA;
  HeadlessPlayer player;
  ASSERT_TRUE(player.Form.LoadUndoFile(path.string()));
  const std::vector<std::string> texts = TextsByPlayer(player);
  auto analysis = Analyse(player.Editor());
  for (size_t p = 0; p < texts.size(); ++p) {
    ASSERT_EQ(analysis->Timeline().Bytes(static_cast<int64_t>(p)), static_cast<int64_t>(texts[p].size())) << p;
    const TProvenance& tags = analysis->Blame(static_cast<int64_t>(p));
    ASSERT_EQ(tags.LineCount(), static_cast<int32_t>(SplitCrLf(texts[p]).size())) << p;
  }
  for (const std::string& needle : {S("の"), S("Vim"), std::string("\r\n\r\n")}) {
    std::vector<TPointRange> expected;
    for (size_t p = 0; p < texts.size(); ++p) {
      if (!ContainsByWalking(texts[p], needle)) continue;
      if (!expected.empty() && expected.back().To == static_cast<int64_t>(p)) ++expected.back().To;
      else expected.push_back({static_cast<int64_t>(p), static_cast<int64_t>(p) + 1});
    }
    EXPECT_EQ(analysis->Find(needle), expected);
  }
}

}  // namespace
}  // namespace kelvane::test
