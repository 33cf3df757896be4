// What a typed edit threw away: when an edit is about to discard the redo
// stack, the text, both stacks and the caret as they stand are kept, once, so
// that the window can give that history back when asked. Later discarding
// edits keep nothing more until the kept history is restored or forgotten:
// the first one is the one that threw the loaded history's future away.
//
// Keeping costs one copy of the text and of the undo stack, made at that one
// edit; the redo stack's records are taken over, not copied.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/VeskEdit.h"

namespace kelvane {

class TDiscardedHistory {
 public:
  // Watches the editor's history from now on, until destroyed.
  explicit TDiscardedHistory(TVeskEdit& editor);
  ~TDiscardedHistory();
  TDiscardedHistory(const TDiscardedHistory&) = delete;
  TDiscardedHistory& operator=(const TDiscardedHistory&) = delete;

  bool Available() const { return kept_.has_value(); }
  // The records the kept history holds (undo and redo together); 0 when none.
  int32_t Records() const;
  // The point the kept history stood at.
  int32_t Point() const;
  void Forget() { kept_.reset(); }
  // Puts the kept history back in place of the editor's text and stacks; what
  // the editor held is gone and nothing is kept any more.
  void Restore();

 private:
  struct TKept {
    std::string Text;
    TUndoList Undo;
    TUndoList Redo;
    TPoint Caret;
  };
  void Keep(TUndoList& redo);

  TVeskEdit& editor_;
  std::optional<TKept> kept_;
};

}  // namespace kelvane
