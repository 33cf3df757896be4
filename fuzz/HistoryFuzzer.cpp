// Fuzz target: the history's analysis of a hostile undo file. The file is read
// into the player's editor; the timeline, texts at points, a diff, a search,
// the check, provenance and statistics are asked for, and what they answer
// must stay inside the texts and the reach. (Across answers they need not
// agree on such a file: a record the editor could never have made, such as a
// count past the text, is not undone by its own inverse, so a text depends on
// the way a point was reached, and a point the timeline passed may not be
// reached again from another side.)
//
// Input: the file's bytes up to the first NUL (where the reader stops); after
// it, the questions: two points for the diff and a third for provenance (one
// byte each, scaled to the history), then the text searched for.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "fuzz/Invariants.h"
#include "headless/HeadlessPlayer.h"
#include "history/HistoryAnalysis.h"
#include "player/UndoFile.h"

namespace kelvane::fuzz {
namespace {

// A point of the timeline's reach chosen by one byte.
int64_t PointOf(const TTimeline& t, uint8_t b) {
  const int64_t span = t.Last() - t.First() + 1;
  return t.First() + (int64_t{b} * span) / 256;
}

void CheckDiff(THistoryAnalysis& a, int64_t from, int64_t to) {
  const std::unique_ptr<TTextDiff> diff = a.Diff(from, to);
  if (!diff) return;  // a point not reached again (see above)
  for (const TChangedPair& pair : diff->Pairs()) {
    const std::string_view oldLine = diff->OldLines().at(static_cast<size_t>(pair.OldLine));
    const std::string_view newLine = diff->NewLines().at(static_cast<size_t>(pair.NewLine));
    for (const TByteRange& r : pair.Old) Require(r.Begin <= r.End && r.End <= oldLine.size(), "a changed range leaves its old line");
    for (const TByteRange& r : pair.New) Require(r.Begin <= r.End && r.End <= newLine.size(), "a changed range leaves its new line");
  }
  (void)UnifiedDiff(*diff, 3, "a", "b", [](std::string_view s) { return std::string(s); });
}

void CheckFind(THistoryAnalysis& a, const TTimeline& t, const std::string& needle) {
  for (const TPointRange& r : a.Find(needle)) {
    Require(t.First() <= r.From && r.From < r.To && r.To <= t.Last() + 1, "a found range leaves the reach");
  }
}

void CheckBlame(THistoryAnalysis& a, int64_t p) {
  const TProvenance& blame = a.Blame(p);
  for (int32_t y = 0; y < blame.LineCount(); ++y) {
    for (const TTagSpan& s : blame.Spans(y))
      Require(0 <= s.Begin && s.Begin < s.End && s.End <= blame.LineLength(y), "a provenance run leaves its line");
  }
}

}  // namespace
}  // namespace kelvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvane;
  using namespace kelvane::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t nul = bytes.find('\0');
  HeadlessPlayer player;
  try {
    ReadUndoFileInto(player.Editor(), bytes);
  } catch (const std::exception&) {
    return 0;  // refused as a whole: nothing to analyse
  }
  FuzzInput in(nul == std::string_view::npos ? std::string_view{} : bytes.substr(nul + 1));
  THistoryAnalysis analysis(player.Editor(), [] { return std::make_unique<HeadlessEditHost>(); });
  const TTimeline& t = analysis.Timeline();
  const int64_t a = PointOf(t, in.Byte());
  const int64_t b = PointOf(t, in.Byte());
  const int64_t n = PointOf(t, in.Byte());
  (void)analysis.TextAt(n);
  CheckDiff(analysis, a, b);
  CheckFind(analysis, t, in.Bytes(8));
  CheckBlame(analysis, n);
  (void)analysis.Check();
  (void)analysis.Stats();
  return 0;
}
