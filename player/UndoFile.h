// The undo file (.eud): the editor's whole text and both history stacks as
// lines of "KEY=value" under the headers [TEXT], [UNDO] and [REDO]. Writing
// gives the full regular layout; reading is positional and forgiving.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

class TVeskEdit;

// The bytes of an undo file for the editor's text and stacks (CR LF after every line).
std::string BuildUndoFile(const TVeskEdit& editor);

// Walks the bytes of an undo file into the editor: each "TEXT=" line replaces
// the text (and empties the history); each "udMODE="/"rdMODE=" line with four
// lines after it appends one record to the undo or redo stack. Anything else is
// skipped. An error raised on the way propagates; what was applied stays.
void ReadUndoFileInto(TVeskEdit& editor, std::string_view bytes);

}  // namespace kelvane
