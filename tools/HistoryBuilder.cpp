// Builds a history as the editor records it.
#include "tools/HistoryBuilder.h"

namespace kelvane {

void THistoryBuilder::Perform(uint8_t mode, TPoint at, std::string text, int32_t count) {
  TVeskUndo& history = *editor_.Undo;
  history.FRedoList.Clear();  // a new edit ends whatever could be redone
  AddUndoData(history.FRedoList, mode, at, std::move(text), count);
  editor_.RedoStep();
}

void THistoryBuilder::Insert(TPoint at, std::string text) {
  Perform(umDelete, at, std::move(text), 0);
  editor_.Undo->FUndoList.Top().Text.clear();  // the editor records an insertion without its text
}

void THistoryBuilder::Delete(TPoint at, int32_t count) { Perform(umInsert, at, {}, count); }

void THistoryBuilder::Enter(TPoint at) {
  Perform(umEnter, at, {}, 2);
  editor_.Undo->FUndoList.Top().Count = 2;  // the editor records a break with count 2
}

void THistoryBuilder::Change(int32_t y, int32_t count, std::string lines) {
  Perform(umChange, {0, y}, std::move(lines), count);
}

void THistoryBuilder::UndoNewest(int32_t n) {
  for (int32_t i = 0; i < n && editor_.CanUndo(); ++i) editor_.UndoStep();
}

}  // namespace kelvane
