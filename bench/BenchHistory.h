// The benchmark history: a large mixed Shift-JIS text and a history of all four
// record kinds made on it by a simulated person, recorded with THistoryBuilder.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "editor/UndoHistory.h"

namespace kelvane {

class TVeskEdit;

struct TBenchHistoryShape {
  int32_t Lines = 20000;          // lines of the text the history starts from
  int32_t UndoRecords = kMaxUndo;  // left on the undo stack
  int32_t RedoRecords = 4096;      // undone again at the end, left on the redo stack
  uint64_t Seed = 20090516;
  friend auto operator<=>(const TBenchHistoryShape&, const TBenchHistoryShape&) = default;
};

// What was recorded, counted by the mode each record had when it was made.
struct TBenchHistoryStats {
  std::array<int32_t, 4> Modes{};
  int32_t LongestLine = 0;  // bytes, over every state the history passed
  int32_t LinesAtEnd = 0;   // lines of the loaded state
};

// The text the history starts from (point 0).
std::string BenchBaseText(const TBenchHistoryShape& shape);

// Replaces the editor's text and history by the generated ones. The editor's
// undo limit is lifted while recording and left at kMaxUndo.
TBenchHistoryStats BuildBenchHistory(TVeskEdit& editor, const TBenchHistoryShape& shape);

// The undo file of the generated history.
std::string BuildBenchHistoryFile(const TBenchHistoryShape& shape, TBenchHistoryStats* stats = nullptr);

}  // namespace kelvane
