// TTimeline: the history at a glance, made in one walk of the replay. For
// every point p (0 … T) the length of its text in bytes and lines; for every
// record k (0 … T−1, leading from point k to point k+1) the edit as the user
// made it: its kind, where, and the text it added and removed, which most
// records only show once applied (an insertion is recorded without its text).
//
// A record that does not fit the text, or has no kind, stops the walk: the
// timeline then reaches the points First() … Last() only, and says where and
// why it stopped on each side. Records outside that reach keep their kind and
// position, read off the record, but no text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/Replay.h"
#include "player/HistoryView.h"

namespace kelvane {

// One record as made. Texts are code page 932 bytes with CR LF breaks. A
// change's texts are whole blocks of lines, each line followed by CR LF: the
// Lines lines it replaced and the lines it put in their place.
struct TTimelineEdit {
  TEditKind Kind = TEditKind::Unknown;
  TPoint Pos;               // as recorded: line Y, byte column X
  int32_t Column = 0;       // the column it acted at (clamped into its line; a join: the line's end)
  int32_t Lines = 0;        // a change: the lines it replaced
  bool Known = false;       // within the reach: the texts below are the record's
  std::string_view Added;
  std::string_view Removed;
};

// The lines a record's edit touches: lines First … First+Before−1 at point k
// became First … First+After−1 at point k+1, and every line outside them is
// the same. Both counts are at least 1 (a neighbouring line is taken in), so
// that the text before and after them joins the same way at both points.
struct TLineRegion {
  int32_t First = 0;
  int32_t Before = 1;
  int32_t After = 1;
};

// Where the walk stopped on one side: record Record could not be applied.
struct TTimelineStop {
  int64_t Record = -1;  // −1: it did not stop
  TStepFailure Why = TStepFailure::None;
  std::string Detail;
};

class TTimeline {
 public:
  // Walks Replay's two editors from the split point to both ends.
  explicit TTimeline(THistoryReplay& replay);

  int64_t Records() const { return static_cast<int64_t>(records_.size()); }
  int64_t First() const { return first_; }
  int64_t Last() const { return last_; }
  bool Reaches(int64_t p) const { return p >= first_ && p <= last_; }
  bool Complete() const { return first_ == 0 && last_ == Records(); }
  const TTimelineStop& StopBelow() const { return stopBelow_; }  // going back from the split
  const TTimelineStop& StopAbove() const { return stopAbove_; }  // going on from the split

  // Points within the reach; −1 outside it.
  int64_t Bytes(int64_t p) const { return Reaches(p) ? bytes_[static_cast<size_t>(p)] : -1; }
  int32_t LineCount(int64_t p) const { return Reaches(p) ? lines_[static_cast<size_t>(p)] : -1; }
  TTimelineEdit Edit(int64_t k) const;
  // For a record within the reach.
  TLineRegion Region(int64_t k) const;

  // What the timeline holds beyond the texts of the records: its own
  // containers' capacities, in bytes.
  size_t IndexBytes() const;
  size_t TextBytes() const { return pool_.capacity(); }

 private:
  struct TRecord {
    uint64_t TextAt = 0;  // in pool_: the added bytes, then the removed ones
    uint32_t AddedSize = 0;
    uint32_t RemovedSize = 0;
    TPoint Pos;
    int32_t Column = 0;
    int32_t Lines = 0;
    TEditKind Kind = TEditKind::Unknown;
    bool Known = false;
  };

  void Walk(TReplayEditor& e, bool forward, TTimelineStop& stop);
  TStepResult Capture(TReplayEditor& e, bool forward, int64_t k);

  std::vector<TRecord> records_;
  std::vector<int64_t> bytes_;
  std::vector<int32_t> lines_;
  std::string pool_;
  int64_t first_ = 0;
  int64_t last_ = 0;
  TTimelineStop stopBelow_;
  TTimelineStop stopAbove_;
};

// Appends lines First … First+Count−1 of E, each followed by CR LF: a change's block.
void AppendBlock(const TVeskEdit& e, int32_t first, int32_t count, std::string& out);

}  // namespace kelvane
