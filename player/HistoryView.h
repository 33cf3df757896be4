// HistoryView: a read-only face of the editor's history for the views that
// show it (history list, timeline, search, diff). It numbers the records in
// history order and describes each one as the user made it, whichever stack it
// sits on now, so what a view shows does not change while the user scrubs.
//
// Record k (0 ≤ k < Size) leads from point k to point k + 1. Records 0 … U−1
// are the undo stack from its bottom; records U … Size−1 are the redo stack
// from its top down (the top is the next record a redo applies).
//
// A raw record always describes what applying it does, so its mode flips as it
// moves between the stacks. The edit as made, from mode and stack:
//
//   raw mode   on the undo stack (applying undoes)   on the redo stack (applying redoes)
//   0          insert: Count bytes at Caret; Text    delete: Count bytes at Caret; Text
//              holds them once they were redone      holds them (it was undone)
//   1          delete: Text removed at Caret          insert: Text at Caret
//   2          enter: a line break at Caret           enter: a line break at Caret
//   3          change: Count lines from Caret.Y now;  change: Count lines from Caret.Y now;
//              Text holds the lines it replaced       Text holds the lines it puts in
//   other      unknown (only a file can hold one)     unknown
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "editor/UndoHistory.h"

namespace kelvane {

enum class TEditKind : uint8_t { Insert, Delete, Enter, Change, Unknown };
constexpr size_t kEditKindCount = 5;

// One record as the user made it. The texts view the record's own bytes and
// stay valid until the history changes (a step rewrites the record it applies).
struct THistoryEdit {
  TEditKind Kind = TEditKind::Unknown;
  TPoint Pos;              // line (Y) and byte column (X) where the edit was made
  uint8_t Mode = 0;        // the raw record as it stands now
  bool OnRedoStack = false;
  // Insertions and deletions: the bytes added or removed (a line break counts
  // two); changes: the lines the block has after the edit (on the undo stack)
  // or before it (on the redo stack), as Count says; else 0.
  int32_t Count = 0;
  bool HasAdded = false;   // the record holds the text the edit added
  std::string_view Added;
  bool HasRemoved = false;  // the record holds the text the edit removed
  std::string_view Removed;
};

using TEditKindCounts = std::array<int64_t, kEditKindCount>;  // indexed by TEditKind

class HistoryView {
 public:
  explicit HistoryView(const TVeskUndo& history) : history_(history) {}

  int32_t Size() const { return history_.FUndoList.Count() + history_.FRedoList.Count(); }
  int32_t Position() const { return history_.FUndoList.Count(); }
  // Record k as made; an index outside 0 … Size−1 raises EListError.
  THistoryEdit Edit(int64_t k) const;
  const TUndoData& Raw(int64_t k) const;

  // The kinds over the whole history as made: the same at every point. Counted
  // once and again only when records join or leave the history.
  const TEditKindCounts& KindCounts() const;
  // The raw modes over both stacks as they stand (index 0 … 3; other modes under
  // Unknown): what the statistics report counts.
  TEditKindCounts RawCounts() const;

 private:
  const TVeskUndo& history_;
  mutable TEditKindCounts kindCounts_{};
  mutable uint64_t countedUndo_ = UINT64_MAX;
  mutable uint64_t countedRedo_ = UINT64_MAX;
};

// The edit as made that a raw record on the given stack describes.
THistoryEdit DescribeEdit(const TUndoData& r, bool onRedoStack);

}  // namespace kelvane
