// TProvenance: which record typed each byte of the text at a point. The
// timeline's edits are played forward from its first point over tags, one per
// byte kept as runs: bytes there at the start are tagged −1; an insertion's
// bytes get its record's index; a deletion takes bytes with their tags; a line
// break keeps every tag; a change of lines keeps the tags of the longest
// common prefix and suffix of its old and new block, in whole characters, and
// tags the rest with its index. Each line break has a tag too (a deletion
// that ends inside one leaves its LF in the line, with that tag).
//
// Only lengths and tags are held; the lines follow the editor's own splitting
// of each edit, so they stay the text's lines.
#pragma once

#include <cstdint>
#include <vector>

#include "history/Timeline.h"

namespace kelvane {

struct TTagSpan {
  int32_t Begin = 0;  // bytes Begin … End−1 of the line
  int32_t End = 0;
  int32_t Record = -1;
  friend bool operator==(const TTagSpan&, const TTagSpan&) = default;
};

class TProvenance {
 public:
  // The text at Timeline.First(), whose lines have the given lengths.
  TProvenance(const TTimeline& timeline, const std::vector<int32_t>& lineLengths);

  int64_t Point() const { return point_; }
  // Plays records on to point P (clamped to the reach; never backwards).
  void AdvanceTo(int64_t p);

  int32_t LineCount() const { return static_cast<int32_t>(lines_.size()); }
  int32_t LineLength(int32_t y) const { return lines_.at(static_cast<size_t>(y)).Length; }
  std::vector<TTagSpan> Spans(int32_t y) const;
  // Memory held, in bytes, counted by capacities.
  size_t MemoryBytes() const;

 private:
  struct TRun {
    int32_t Length;
    int32_t Tag;
  };
  using TRuns = std::vector<TRun>;
  struct TLine {
    TRuns Runs;
    int32_t Length = 0;
    int32_t BreakTag = -1;
  };

  void Apply(int64_t k, const TTimelineEdit& edit);
  void Insert(int32_t y, int32_t x, std::string_view text, int32_t tag);
  void Delete(int32_t y, int32_t x, int64_t count);
  void Split(int32_t y, int32_t x, int32_t tag);
  void Change(int32_t y, int32_t count, std::string_view removed, std::string_view added, int32_t tag);

  const TTimeline& timeline_;
  std::vector<TLine> lines_;
  int64_t point_ = 0;
};

}  // namespace kelvane
