// The history in history order, each record as the user made it.
#include "player/HistoryView.h"

namespace kelvane {

THistoryEdit DescribeEdit(const TUndoData& r, bool onRedoStack) {
  THistoryEdit e;
  e.Pos = r.Caret;
  e.Mode = r.Mode;
  e.OnRedoStack = onRedoStack;
  const std::string_view text = r.Text;
  // Mode 0 takes bytes out when applied, mode 1 puts Text in: on the undo stack
  // applying takes the edit back, on the redo stack it makes the edit again.
  const bool addsWhenApplied = r.Mode == umDelete;
  switch (r.Mode) {
    case umInsert:
    case umDelete:
      if (addsWhenApplied == onRedoStack) {  // made as an insertion
        e.Kind = TEditKind::Insert;
        e.Count = onRedoStack ? static_cast<int32_t>(text.size()) : r.Count;
        e.HasAdded = onRedoStack || !text.empty();  // recorded without its text until it is redone
        e.Added = text;
      } else {
        e.Kind = TEditKind::Delete;
        e.Count = onRedoStack ? r.Count : static_cast<int32_t>(text.size());
        e.HasRemoved = true;
        e.Removed = text;
      }
      break;
    case umEnter:
      e.Kind = TEditKind::Enter;
      break;
    case umChange:
      e.Kind = TEditKind::Change;
      e.Count = r.Count;
      (onRedoStack ? e.HasAdded : e.HasRemoved) = true;
      (onRedoStack ? e.Added : e.Removed) = text;
      break;
    default:
      e.Kind = TEditKind::Unknown;
      e.Count = r.Count;
      break;
  }
  return e;
}

const TUndoData& HistoryView::Raw(int64_t k) const {
  const TUndoList& undo = history_.FUndoList;
  const TUndoList& redo = history_.FRedoList;
  const int64_t u = undo.Count();
  if (k < u) return undo[k];  // a negative k is refused here
  const int64_t fromTop = k - u;
  if (fromTop >= redo.Count()) throw EListError(k);
  return redo[redo.Count() - 1 - fromTop];
}

THistoryEdit HistoryView::Edit(int64_t k) const { return DescribeEdit(Raw(k), k >= Position()); }

const TEditKindCounts& HistoryView::KindCounts() const {
  const TUndoList& undo = history_.FUndoList;
  const TUndoList& redo = history_.FRedoList;
  if (countedUndo_ == undo.Revision() && countedRedo_ == redo.Revision()) return kindCounts_;
  kindCounts_.fill(0);
  for (const auto& [list, onRedo] : {std::pair{&undo, false}, std::pair{&redo, true}}) {
    for (int32_t i = 0; i < list->Count(); ++i) ++kindCounts_[static_cast<size_t>(DescribeEdit((*list)[i], onRedo).Kind)];
  }
  countedUndo_ = undo.Revision();
  countedRedo_ = redo.Revision();
  return kindCounts_;
}

TEditKindCounts HistoryView::RawCounts() const {
  TEditKindCounts counts{};
  for (const TUndoList* list : {&history_.FUndoList, &history_.FRedoList}) {
    for (int32_t i = 0; i < list->Count(); ++i) {
      const uint8_t mode = (*list)[i].Mode;
      ++counts[mode <= umChange ? mode : static_cast<size_t>(TEditKind::Unknown)];
    }
  }
  return counts;
}

}  // namespace kelvane
