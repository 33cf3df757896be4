// The analysis against a brute-force replay: on each recorded history, the
// text at every point stepped by the player is the oracle for the timeline,
// the search, the provenance's lines and the check.
#include <gtest/gtest.h>

#include "history/CharBounds.h"
#include "tests/history/HistoryTestSupport.h"

namespace kelvane::test {
namespace {

class RecordedHistoryTest : public ::testing::TestWithParam<TRecordedHistory> {
 protected:
  void SetUp() override {
    GetParam().Make(player_.Editor());
    texts_ = TextsByPlayer(player_);
    analysis_ = Analyse(player_.Editor());
  }
  int64_t Offset(int64_t p, int32_t y, int32_t x) const {
    int64_t at = 0;
    const std::vector<std::string> lines = SplitCrLf(texts_[static_cast<size_t>(p)]);
    for (int32_t i = 0; i < y; ++i) at += static_cast<int64_t>(lines[static_cast<size_t>(i)].size()) + 2;
    return at + x;
  }
  HeadlessPlayer player_;
  std::vector<std::string> texts_;
  std::unique_ptr<THistoryAnalysis> analysis_;
};

std::string Block(const std::vector<std::string>& lines, int32_t first, int32_t count) {
  std::string block;
  for (int32_t i = first; i < first + count; ++i) block += lines[static_cast<size_t>(i)] + "\r\n";
  return block;
}

TEST_P(RecordedHistoryTest, TimelineMatchesEveryPointAndRecord) {
  const TTimeline& t = analysis_->Timeline();
  ASSERT_TRUE(t.Complete());
  ASSERT_EQ(t.Records() + 1, static_cast<int64_t>(texts_.size()));
  for (int64_t p = 0; p <= t.Records(); ++p) {
    const std::string& text = texts_[static_cast<size_t>(p)];
    EXPECT_EQ(t.Bytes(p), static_cast<int64_t>(text.size())) << p;
    EXPECT_EQ(t.LineCount(p), static_cast<int32_t>(SplitCrLf(text).size())) << p;
  }
  for (int64_t k = 0; k < t.Records(); ++k) {
    const TTimelineEdit e = t.Edit(k);
    const std::string& before = texts_[static_cast<size_t>(k)];
    const std::string& after = texts_[static_cast<size_t>(k + 1)];
    EXPECT_EQ(e.Kind, player_.Form.History().Edit(k).Kind) << k;
    const size_t at = static_cast<size_t>(Offset(k, e.Pos.Y, e.Column));
    if (e.Kind == TEditKind::Change) {
      const std::vector<std::string> old = SplitCrLf(before), now = SplitCrLf(after);
      const int32_t put = e.Lines + static_cast<int32_t>(now.size() - old.size());
      EXPECT_EQ(e.Removed, Block(old, e.Pos.Y, e.Lines)) << k;
      // Every line replaced by none leaves the one empty line the editor keeps.
      EXPECT_EQ(e.Added, after.empty() ? "\r\n" : Block(now, e.Pos.Y, put)) << k;
    } else {
      std::string made = before;
      made.replace(at, e.Removed.size(), e.Added);
      EXPECT_EQ(made, after) << k;
      EXPECT_EQ(before.substr(at, e.Removed.size()), e.Removed) << k;
    }
  }
}

TEST_P(RecordedHistoryTest, FindMatchesTheTextAtEveryPoint) {
  for (const std::string& needle : {cp932::FromUtf8("の"), cp932::FromUtf8("い"), std::string("\r\n"),
                                    std::string("b\r\n"), std::string("\xe0\x82"), std::string("d"),
                                    std::string("&amp;"), cp932::FromUtf8("たり\r\nの")}) {
    std::vector<char> expected(texts_.size());
    for (size_t p = 0; p < texts_.size(); ++p) expected[p] = ContainsByWalking(texts_[p], needle);
    std::vector<char> found(texts_.size(), 0);
    for (const TPointRange& r : analysis_->Find(needle)) {
      ASSERT_LT(r.From, r.To);
      for (int64_t p = r.From; p < r.To; ++p) found[static_cast<size_t>(p)] = 1;
    }
    EXPECT_EQ(found, expected) << cp932::ToUtf8(needle);
  }
}

TEST_P(RecordedHistoryTest, ProvenanceKeepsTheLinesOfEveryPoint) {
  for (int64_t n = 0; n < static_cast<int64_t>(texts_.size()); ++n) {
    const TProvenance& tags = analysis_->Blame(n);
    const std::vector<std::string> lines = SplitCrLf(texts_[static_cast<size_t>(n)]);
    ASSERT_EQ(tags.LineCount(), static_cast<int32_t>(lines.size())) << n;
    for (int32_t y = 0; y < tags.LineCount(); ++y) {
      EXPECT_EQ(tags.LineLength(y), static_cast<int32_t>(lines[static_cast<size_t>(y)].size())) << n << ":" << y;
      for (const TTagSpan& s : tags.Spans(y)) EXPECT_TRUE(s.Record >= -1 && s.Record < n) << n;
    }
  }
}

TEST_P(RecordedHistoryTest, IsCleanAndCountsKindsAsMade) {
  for (const THistoryProblem& p : analysis_->Check()) ADD_FAILURE() << p.Record << ": " << p.Detail;
  const TEditKindCounts kinds = analysis_->Stats().Kinds;
  EXPECT_EQ(kinds, player_.Form.History().KindCounts());
  player_.Form.StepHistory(-player_.Form.History().Position(), false);  // all on the redo stack now
  EXPECT_EQ(analysis_->Stats().Kinds, kinds);
}

INSTANTIATE_TEST_SUITE_P(Histories, RecordedHistoryTest, ::testing::ValuesIn(RecordedHistories()),
                         [](const ::testing::TestParamInfo<TRecordedHistory>& param) {
                           std::string name = param.param.Name;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
}  // namespace kelvane::test
