// The two history stacks, Undo and Redo, and how a record is applied to the
// text and rewritten into its inverse.
#include "editor/UndoHistory.h"

#include <algorithm>

#include "editor/Errors.h"
#include "editor/VeskEdit.h"

namespace kelvane {

int32_t TUndoList::Add(TUndoData r) {
  items_.push_back(std::move(r));
  ++revision_;
  return Count() - 1;
}

void TUndoList::Delete(int64_t index) {
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(CheckedIndex(index, Count())));
  ++revision_;
}

void TUndoList::DeleteTop() { Delete(int64_t{Count()} - 1); }

TUndoData TUndoList::TakeTop() {
  CheckedIndex(int64_t{Count()} - 1, Count());
  TUndoData top = std::move(items_.back());
  items_.pop_back();
  ++revision_;
  return top;
}

void TUndoList::MoveTopTo(TUndoList& to) {
  CheckedIndex(int64_t{Count()} - 1, Count());
  to.items_.push_back(std::move(items_.back()));
  items_.pop_back();
}

void TUndoList::Clear() {
  items_.clear();
  ++revision_;
}

void TUndoList::Assign(TUndoList&& from) {
  if (&from == this) return;
  items_ = std::move(from.items_);
  from.items_.clear();
  ++revision_;
  ++from.revision_;
}

int32_t AddUndoData(TUndoList& list, uint8_t mode, TPoint caret, std::string text, int32_t count) {
  return list.Add(TUndoData{mode, caret, count, std::move(text)});
}

TVeskUndo::TVeskUndo(TVeskEdit& edit) : FEdit(edit), FMaxUndo(kMaxUndo), FRedoing(false) {}

TUndoData& TVeskUndo::NewRecord() {
  if (!FRedoing && FRedoList.Count() > 0 && OnDiscardRedo) OnDiscardRedo(FRedoList);
  TUndoData record;
  record.Caret = FEdit.CaretPos;
  FUndoList.Add(std::move(record));
  if (FUndoList.Count() > FMaxUndo) FUndoList.Delete(0);  // one record only, however far over
  TUndoData& added = FUndoList.Top();
  if (!FRedoing) FRedoList.Clear();
  return added;
}

void TVeskUndo::PushRedo(const TUndoData& record) {
  FRedoList.Add(record);
}

void TVeskUndo::Clear() {
  FUndoList.Clear();
  FRedoList.Clear();
}

// A record that has been applied moves to the other stack as it stands (what
// copying it there and freeing the original would give, without the copy).
void TVeskUndo::Undo() {
  if (FUndoList.Count() == 0) return;
  if (!Apply(FUndoList.Top())) return;
  FUndoList.MoveTopTo(FRedoList);
  FetchAhead(FUndoList);
  FEdit.SetCaret(FEdit.CaretPos);
  FEdit.Invalidate();
}

void TVeskUndo::Redo() {
  if (FRedoList.Count() == 0) return;
  TUndoData& r = FRedoList.Top();
  struct RedoingFlag {
    bool& flag;
    explicit RedoingFlag(bool& f) : flag(f) { flag = true; }
    ~RedoingFlag() { flag = false; }
  } redoing(FRedoing);
  if (!Apply(r)) return;
  // The record goes back where it came from: the limit guards new edits
  // (NewRecord), not records the history already holds, or walking a history
  // over the limit to its first state and back would lose its oldest records.
  FRedoList.MoveTopTo(FUndoList);
  FRedoing = false;
  FetchAhead(FRedoList);
  FEdit.SetCaret(FEdit.CaretPos);
  FEdit.Invalidate();
}

// Asks the processor for what the next step on Next will read first (its
// record's text and its line) while this step places the caret. On a history
// too long for the cache both are far apart in memory, and the step would
// otherwise wait for each in turn.
void TVeskUndo::FetchAhead(const TUndoList& next) const {
#if defined(__GNUC__)
  const TUndoData* r = next.TopOrNull();
  if (!r) return;
  __builtin_prefetch(r->Text.data());
  if (const TVeskItem* line = FEdit.Items.Find(r->Caret.Y)) __builtin_prefetch(line);
#else
  (void)next;
#endif
}

bool TVeskUndo::Apply(TUndoData& r) {
  if (r.Mode > umChange) return false;
  CheckFits(r);
  switch (r.Mode) {
    case umInsert: ApplyInsert(r); break;
    case umDelete: ApplyDelete(r); break;
    case umEnter: ApplyEnter(r); break;
    case umChange: ApplyChange(r); break;
  }
  return true;
}

// Refuses a record whose lines do not exist before anything changes, so that a
// failed step leaves the text, the caret and both stacks as they were.
void TVeskUndo::CheckFits(const TUndoData& r) const {
  const int64_t count = FEdit.Items.Count();
  const int64_t y = r.Caret.Y;
  if (y < 0) throw EListError(y);
  switch (r.Mode) {
    case umInsert:
    case umDelete:
      if (y >= count) throw EListError(y);
      break;
    case umEnter:
      if (y >= count) throw EListError(y);
      if (!FRedoing && y + 1 >= count) throw EListError(y + 1);
      break;
    case umChange:
      if (r.Count < 0) throw EListError(r.Count);
      if (y > count) throw EListError(y);
      if (y + r.Count > count) throw EListError(count);
      break;
  }
}

// Removes Count bytes at the caret; a line break inside the range counts two
// bytes. The removed bytes go into the record's own text, whose storage the
// record keeps from step to step.
void TVeskUndo::ApplyInsert(TUndoData& r) {
  TVeskEdit& e = FEdit;
  e.CaretPos = r.Caret;
  const int32_t y = r.Caret.Y;
  TVeskItem& line = e.Items[y];
  const size_t x = ClampToSize(r.Caret.X, line.Text.size());
  const size_t want = r.Count < 0 ? 0 : static_cast<size_t>(r.Count);
  if (want <= line.Text.size() - x) {  // within the line: the usual case
    r.Text.assign(line.Text, x, want);
    line.EraseBytes(x, want);
    r.Mode = umDelete;
    e.FireChange();
    return;
  }
  r.Text.assign(line.Text, x, std::string::npos);
  int32_t last = y;
  while (last < e.Items.Count() - 1 && r.Text.size() < want) {
    r.Text += "\r\n";
    r.Text += e.Items[last + 1].Text;
    ++last;
  }
  const size_t removed = std::min(want, r.Text.size());
  // The line keeps its head and what is left of the run after the removed bytes.
  line.ReplaceBytes(x, line.Text.size() - x, std::string_view(r.Text).substr(removed));
  e.Items.DeleteRange(int64_t{y} + 1, int64_t{last} - y);
  r.Text.resize(removed);
  r.Mode = umDelete;
  e.FireChange();
}

// Inserts Text at the caret, as the bytes it holds: the text it removed from
// the lines comes back exactly, a lone LF inside a line included.
void TVeskUndo::ApplyDelete(TUndoData& r) {
  FEdit.CaretPos = r.Caret;
  FEdit.InsertRecordedText(r.Text);
  r.Mode = umInsert;
  r.Count = static_cast<int32_t>(std::min<size_t>(r.Text.size(), INT32_MAX));
}

// Undoing joins line Y with the next one (the break is taken to be at the end
// of line Y); redoing breaks the line at the caret.
void TVeskUndo::ApplyEnter(TUndoData& r) {
  TVeskEdit& e = FEdit;
  e.CaretPos = r.Caret;
  if (FRedoing) {
    e.SplitLine(false);  // Redo places the caret, scrolling as this would
  } else {
    const int32_t y = r.Caret.Y;
    e.Items[y].Append(e.Items[y + 1].Text);
    e.Items.Delete(y + 1);
    e.FireChange();
  }
  r.Count = 1;
}

// Replaces the Count lines from Caret.Y by the lines held in Text. The lines
// are assigned in place from views into the record's text; the old lines are
// gathered in a scratch string that then trades places with the record's
// text, so storage goes round between the records and the history.
void TVeskUndo::ApplyChange(TUndoData& r) {
  TVeskEdit& e = FEdit;
  const int32_t y = r.Caret.Y;
  FPieces.clear();
  // A CR LF at the very end adds no line, and an empty text gives none.
  for (std::string_view rest = r.Text; !rest.empty();) {
    const size_t brk = rest.find("\r\n");
    FPieces.push_back(rest.substr(0, brk));
    rest.remove_prefix(brk == std::string_view::npos ? rest.size() : brk + 2);
  }
  const int32_t newCount = static_cast<int32_t>(std::min<size_t>(FPieces.size(), INT32_MAX));
  FScratch.clear();
  for (int32_t i = 0; i < r.Count; ++i) {
    FScratch += e.Items[y + i].Text;
    FScratch += "\r\n";
  }
  if (r.Count > newCount) e.Items.DeleteRange(int64_t{y} + newCount, int64_t{r.Count} - newCount);
  if (newCount > r.Count) {  // the lines it adds, made empty and assigned below with the others
    std::vector<std::unique_ptr<TVeskItem>> added;
    added.reserve(static_cast<size_t>(newCount - r.Count));
    for (int32_t i = r.Count; i < newCount; ++i) added.push_back(e.Items.Make(&e, {}));
    e.Items.InsertRange(y + r.Count, std::move(added));
  }
  for (int32_t i = 0; i < newCount; ++i) e.Items[y + i].Assign(FPieces[static_cast<size_t>(i)]);
  // The line list is never empty: a block that replaced every line by nothing
  // leaves one empty line, and the inverse record then covers that line.
  int32_t nowCount = newCount;
  if (e.Items.Count() == 0) {
    e.InsertLine(0, {});
    nowCount = 1;
  }
  r.Count = nowCount;
  r.Text.swap(FScratch);
  e.CaretPos = r.Caret;
  e.FireChange();
}

}  // namespace kelvane
