// The editor's undo history: two stacks of edit records. Applying a record
// carries out the edit it describes and rewrites it into the record that takes
// that edit back, so a record can travel between the stacks any number of times.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/Errors.h"
#include "platform/Types.h"

namespace kelvane {

class TVeskEdit;

enum TUndoMode : uint8_t { umInsert = 0, umDelete = 1, umEnter = 2, umChange = 3 };

// One edit record. What applying it does, by Mode:
//   0 insert: removes Count bytes at Caret (a line break counts two bytes)
//   1 delete: inserts Text at Caret
//   2 enter:  removes the line break after line Caret.Y (undo) or breaks at Caret (redo)
//   3 change: replaces the Count lines from Caret.Y by the lines in Text (each ending CR LF)
struct TUndoData {
  uint8_t Mode = umDelete;
  TPoint Caret;
  int32_t Count = 0;
  std::string Text;
  friend bool operator==(const TUndoData&, const TUndoData&) = default;
};

// A stack of records; index 0 is the bottom (oldest). Records are held by
// value in a deque: no heap block of its own per record, dropping the bottom
// record of a full stack costs O(1), and a reference to a record stays valid
// while others are pushed or popped at either end. Indexes are checked: one
// outside 0 … Count−1 raises EListError, as the line list's do.
class TUndoList {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  TUndoData& operator[](int64_t i) { return items_[CheckedIndex(i, Count())]; }
  const TUndoData& operator[](int64_t i) const { return items_[CheckedIndex(i, Count())]; }
  TUndoData& Top() { return (*this)[int64_t{Count()} - 1]; }
  const TUndoData* TopOrNull() const { return items_.empty() ? nullptr : &items_.back(); }
  // Appends R at the top; returns its index.
  int32_t Add(TUndoData r);
  void Delete(int64_t index);
  void DeleteTop();
  // Removes the top record and hands it over.
  TUndoData TakeTop();
  // Moves the top record as it stands onto the top of To: an undo or redo step.
  void MoveTopTo(TUndoList& to);
  void Clear();
  // The records of From take the place of this stack's own, From left empty;
  // a change of both stacks, so their revisions move on.
  void Assign(TUndoList&& from);

  // Changes whenever a record joins or leaves this stack other than by a move
  // between the two stacks; views that summarise the whole history (which moves
  // leave as it is) compare it to know when to count again.
  uint64_t Revision() const { return revision_; }

 private:
  std::deque<TUndoData> items_;
  uint64_t revision_ = 0;
};

// Appends a record at the top of List with no limit and no effect on the other
// stack; returns its index. The undo file reader builds the stacks with it.
int32_t AddUndoData(TUndoList& list, uint8_t mode, TPoint caret, std::string text, int32_t count);

class TVeskUndo {
 public:
  explicit TVeskUndo(TVeskEdit& edit);
  virtual ~TVeskUndo() = default;
  TVeskUndo(const TVeskUndo&) = delete;
  TVeskUndo& operator=(const TVeskUndo&) = delete;

  virtual TUndoData& NewRecord();
  virtual bool CanRedo() const { return FRedoList.Count() > 0; }
  virtual bool CanUndo() const { return FUndoList.Count() > 0; }
  virtual void Redo();
  virtual void Undo();
  virtual void PushRedo(const TUndoData& record);
  virtual void Clear();

  // Carries out R on the text and rewrites R into its inverse. False, with no
  // change, for a mode outside 0 … 3. A record that does not fit the text
  // raises EListError before anything changes.
  bool Apply(TUndoData& r);

  // Called when a new edit is about to throw away the redo stack (never while
  // redoing), with the text and both stacks still as they were; the handler may
  // take the redo stack's records, which go anyway.
  std::function<void(TUndoList& redo)> OnDiscardRedo;

  TVeskEdit& FEdit;
  int32_t FMaxUndo;
  bool FRedoing;
  TUndoList FRedoList;
  TUndoList FUndoList;

 private:
  void ApplyInsert(TUndoData& r);
  void ApplyDelete(TUndoData& r);
  void ApplyEnter(TUndoData& r);
  void ApplyChange(TUndoData& r);
  void CheckFits(const TUndoData& r) const;
  void FetchAhead(const TUndoList& next) const;

  std::vector<std::string_view> FPieces;  // the lines of a change record, reused
  std::string FScratch;                   // the lines a change record replaces, reused
};

constexpr int32_t kMaxUndo = 40960;

}  // namespace kelvane
