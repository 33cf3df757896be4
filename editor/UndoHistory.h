// The editor's undo history: two stacks of edit records. Applying a record
// carries out the edit it describes and rewrites it into the record that takes
// that edit back, so a record can travel between the stacks any number of times.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

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

// A stack of records; index 0 is the bottom (oldest). A deque, so that dropping
// the bottom record of a full stack costs O(1).
class TUndoList {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  TUndoData& operator[](int32_t i) { return *items_[static_cast<size_t>(i)]; }
  const TUndoData& operator[](int32_t i) const { return *items_[static_cast<size_t>(i)]; }
  TUndoData& Top() { return *items_.back(); }
  int32_t Add(std::unique_ptr<TUndoData> r);
  void Delete(int32_t index);
  void DeleteTop() { items_.pop_back(); }
  // Removes the top record and hands it over.
  std::unique_ptr<TUndoData> TakeTop() {
    std::unique_ptr<TUndoData> top = std::move(items_.back());
    items_.pop_back();
    return top;
  }
  void Clear() { items_.clear(); }

 private:
  std::deque<std::unique_ptr<TUndoData>> items_;
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
  // NewRecord's limit and redo rule for a record that already exists.
  TUndoData& PushUndo(std::unique_ptr<TUndoData> record);
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
};

constexpr int32_t kMaxUndo = 40960;

}  // namespace kelvane
