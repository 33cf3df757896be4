// THistoryAnalysis: the history of one editor as the views and the command
// line ask about it. It reads the editor's text and stacks and never changes
// them; everything is worked out on replay editors of its own, lazily: the
// timeline on the first question, and again only once records joined or left
// the history (TUndoList::Revision; a step moves records without that).
//
//   THistoryAnalysis analysis(player.Editor(), [] { return std::make_unique<HeadlessEditHost>(); });
//   const TTimeline& t = analysis.Timeline();   // points, records, reach
//   analysis.TextAt(p); analysis.Diff(a, b); analysis.Find(s); analysis.Check();
//   analysis.Blame(n); analysis.Stats();
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/EditStats.h"
#include "history/HistoryCheck.h"
#include "history/HistorySearch.h"
#include "history/Provenance.h"
#include "history/Replay.h"
#include "history/TextDiff.h"
#include "history/Timeline.h"

namespace kelvane {

class THistoryAnalysis {
 public:
  THistoryAnalysis(const TVeskEdit& source, TEditHostFactory newHost);
  ~THistoryAnalysis();

  const TTimeline& Timeline();
  // Counts the rebuilds: a view that drew an earlier generation draws anew.
  // Asking for the timeline first brings it up to date.
  uint64_t Generation() const { return generation_; }
  // The text at point P; none outside the timeline's reach. The last two
  // texts asked for are kept, so a diff against a fixed point costs one walk.
  std::optional<std::string> TextAt(int64_t p);
  // Null when either point is outside the reach.
  std::unique_ptr<TTextDiff> Diff(int64_t a, int64_t b);
  std::vector<TPointRange> Find(std::string_view needle);
  std::vector<THistoryProblem> Check();
  // The provenance of the text at P, clamped into the reach. Moving on from
  // the last point asked for plays only the records between; going back
  // starts from the nearest copy kept on the way (every 2,048 records).
  const TProvenance& Blame(int64_t p);
  THistoryStats Stats();
  // The units a changed range keeps whole: characters, and the character
  // references the editor's scanner recognises (numeric and named).
  const TUnitSplitter& Units() const { return units_; }

 private:
  void Refresh();

  const TVeskEdit& source_;
  TEditHostFactory newHost_;
  uint64_t undoRevision_ = 0;
  uint64_t redoRevision_ = 0;
  uint64_t generation_ = 0;
  std::unique_ptr<THistoryReplay> replay_;
  std::unique_ptr<TTimeline> timeline_;
  std::unique_ptr<TProvenance> provenance_;
  static constexpr int64_t kBlameCheckpoint = 2048;
  std::vector<std::unique_ptr<TProvenance>> checkpoints_;  // at multiples of kBlameCheckpoint, ascending
  std::vector<std::pair<int64_t, std::string>> texts_;  // the last texts asked for, newest last
  std::unique_ptr<EditHost> scannerHost_;
  std::unique_ptr<TVeskEdit> scanner_;  // finds references, on lines of its own
  TUnitSplitter units_;
};

}  // namespace kelvane
