// Which record typed a character of the user's editor, for a tint laid over
// it: the provenance of the point the history stands at, read for the line
// being painted or the character under the mouse. Nothing where the analysis
// cannot tell (a point past a record that does not fit, lines that differ).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "editor/VeskEdit.h"
#include "history/HistoryAnalysis.h"

namespace kelvane {

class TProvenanceLookup {
 public:
  // Point tells where the player's history stands now.
  TProvenanceLookup(THistoryAnalysis& analysis, TVeskEdit& editor, std::function<int64_t()> point);

  // The runs of line Line typed by a record, in their age colours.
  void Tint(int32_t line, std::vector<TTintRun>& runs);
  // The record that typed the character at caret position P: −1 for the text
  // the history starts from, none outside the text.
  std::optional<int32_t> RecordAt(TPoint p);
  // The record under a point of the editor's client area: the character
  // whose cell holds it.
  std::optional<int32_t> RecordAtClient(int x, int y);

 private:
  const TProvenance* Current();

  THistoryAnalysis& analysis_;
  TVeskEdit& editor_;
  std::function<int64_t()> point_;
};

}  // namespace kelvane
