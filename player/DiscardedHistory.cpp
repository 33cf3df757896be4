// Keeping the history a typed edit discards, and giving it back.
#include "player/DiscardedHistory.h"

namespace kelvane {

TDiscardedHistory::TDiscardedHistory(TVeskEdit& editor) : editor_(editor) {
  editor_.Undo->OnDiscardRedo = [this](TUndoList& redo) { Keep(redo); };
}

TDiscardedHistory::~TDiscardedHistory() { editor_.Undo->OnDiscardRedo = nullptr; }

int32_t TDiscardedHistory::Records() const { return kept_ ? kept_->Undo.Count() + kept_->Redo.Count() : 0; }

int32_t TDiscardedHistory::Point() const { return kept_ ? kept_->Undo.Count() : 0; }

void TDiscardedHistory::Keep(TUndoList& redo) {
  if (kept_) return;
  TKept kept;
  kept.Text = editor_.GetText();
  kept.Undo = editor_.Undo->FUndoList;
  kept.Redo.Assign(std::move(redo));
  kept.Caret = editor_.CaretPos;
  kept_ = std::move(kept);
}

void TDiscardedHistory::Restore() {
  if (!kept_) return;
  TKept kept = std::move(*kept_);
  kept_.reset();
  editor_.SetText(kept.Text);  // drops the editor's own stacks
  editor_.Undo->FUndoList.Assign(std::move(kept.Undo));
  editor_.Undo->FRedoList.Assign(std::move(kept.Redo));
  editor_.SetCaret(editor_.NormalizePos(kept.Caret));
  editor_.CollapseSelection();
  editor_.Invalidate();
}

}  // namespace kelvane
