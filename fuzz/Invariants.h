// What must hold of the editor after every message and every history step,
// checked by the fuzz targets; a breach prints what broke and aborts, which
// libFuzzer reports as a finding with the input that caused it.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {
class TVeskEdit;
class TUndoList;
}  // namespace kelvane

namespace kelvane::fuzz {

// Prints What and Detail and aborts.
[[noreturn]] void Fail(std::string_view what, const std::string& detail = {});
// Fails with What unless Ok.
inline void Require(bool ok, std::string_view what) {
  if (!ok) Fail(what);
}

// The line list is not empty; each line's Attrs, RefChars, Widths and Classes
// are as long as its text; the caret and the selection anchor name places
// inside the text. After names what was just done, for the report.
void CheckEditor(const TVeskEdit& editor, std::string_view after = {});

// Both stacks hold the same records, in the same order.
bool SameRecords(const TUndoList& a, const TUndoList& b);

// Undoes everything, then redoes everything (checking the editor after each
// step), and requires the text to be what it was before. At most MaxSteps
// steps each way: beyond that the history is left where it is.
void CheckUndoAllRedoAll(TVeskEdit& editor, int maxSteps);

}  // namespace kelvane::fuzz
