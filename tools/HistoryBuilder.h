// Builds a history as the editor records it while someone edits: each edit is
// carried out by the editor's own history (its redo path applies the edit and
// pushes the record that takes it back), so every record fits the text it was
// made on. Used by the sample and benchmark generators.
#pragma once

#include <cstdint>
#include <string>

#include "editor/VeskEdit.h"

namespace kelvane {

class THistoryBuilder {
 public:
  explicit THistoryBuilder(TVeskEdit& editor) : editor_(editor) {}

  // Text typed or pasted at At (may hold CR LF): an insert record.
  void Insert(TPoint at, std::string text);
  // Count bytes removed at At (a line break counts two): a delete record holding them.
  void Delete(TPoint at, int32_t count);
  // A line break at At: an enter record.
  void Enter(TPoint at);
  // Lines Y … Y+Count−1 replaced by Lines (each followed by CR LF): a change record.
  void Change(int32_t y, int32_t count, std::string lines);
  // Undoes the newest N records, so they wait on the redo stack.
  void UndoNewest(int32_t n);

 private:
  void Perform(uint8_t mode, TPoint at, std::string text, int32_t count);
  TVeskEdit& editor_;
};

}  // namespace kelvane
