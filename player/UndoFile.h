// The undo file (.eud): the editor's whole text and both history stacks as
// lines of "KEY=value" under the headers [TEXT], [UNDO] and [REDO]. Writing
// gives the full regular layout; reading is positional and forgiving.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

class TVeskEdit;

// The bytes of an undo file for the editor's text and stacks (CR LF after every line).
std::string BuildUndoFile(const TVeskEdit& editor);

// Why the editor's state would not read back as it is from an undo file, or
// nothing when it would. The file has no escape but CR LF as 0x01 0x01, so a
// NUL (it ends the readable text), a lone CR or LF (each ends a file line),
// two 0x01 bytes in a row (they read back as CR LF) and a 0x01 right before
// CR LF (written as three 0x01, read back as CR LF and 0x01) cannot be held,
// in the text or in any record. Names the line or the record, 1-based.
std::optional<std::string> UnwritableReason(const TVeskEdit& editor);

// Walks the bytes of an undo file into the editor: each "TEXT=" line replaces
// the text (and empties the history); each "udMODE="/"rdMODE=" line with four
// lines after it appends one record to the undo or redo stack. Anything else is
// skipped. An error raised on the way propagates; what was applied stays.
void ReadUndoFileInto(TVeskEdit& editor, std::string_view bytes);

// The same walk fed piece by piece, as a file is read: the file's lines are
// cut as they arrive (at CR LF, lone CR and lone LF; a NUL ends the readable
// text) and only the five a record needs are held, never the whole file.
class TUndoFileReader {
 public:
  explicit TUndoFileReader(TVeskEdit& editor);
  void Feed(std::string_view bytes);  // the next bytes of the file
  void Finish();                      // the end of the file

 private:
  void EndLine();
  void TakeFirst(bool recordFits);

  TVeskEdit& editor_;
  std::string partial_;               // the line being cut
  bool afterCr_ = false;              // the bytes fed last ended with a CR
  bool ended_ = false;                // a NUL was read
  std::array<std::string, 5> window_;  // the lines waiting, a ring from first_
  size_t first_ = 0;
  size_t waiting_ = 0;
};

}  // namespace kelvane
