// The selection: its state and extent, the selected text, word and block
// selection, the clipboard commands, and what a text drop does to the text.
#include "editor/VeskEdit.h"

namespace kelvane {

void TVeskEdit::SetSelected(bool on) {
  if (on != Selected) Invalidate();
  Selected = on;
  if (!on) LineSelect = false;
  if (on && !MouseDown) CollapseSelection();
}

}  // namespace kelvane
