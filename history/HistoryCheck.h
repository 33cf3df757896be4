// Checking a history: every record walked both ways on the replay, and every
// problem found reported with its record: a record that does not fit the text
// (and the rule it breaks), a mode outside 0 … 3, a caret inside a double-byte
// character (or outside its line), a record text that is not valid code page 932.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/Replay.h"
#include "history/Timeline.h"

namespace kelvane {

enum class TProblemKind : uint8_t { Misfit, Mode, Caret, Encoding };

struct THistoryProblem {
  int64_t Record = 0;
  TProblemKind Kind = TProblemKind::Misfit;
  std::string Detail;
};

const char* ProblemName(TProblemKind kind);

// In record order, then by kind; one problem of each kind per record at most.
std::vector<THistoryProblem> CheckHistory(THistoryReplay& replay, const TTimeline& timeline);

}  // namespace kelvane
