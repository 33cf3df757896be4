// Searching the history: the points whose text contains a text, found by
// walking the replay once and keeping the number of occurrences, which each
// record changes only around the lines it touches.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "history/Replay.h"
#include "history/Timeline.h"

namespace kelvane {

// Points From … To−1.
struct TPointRange {
  int64_t From = 0;
  int64_t To = 0;
  friend bool operator==(const TPointRange&, const TPointRange&) = default;
};

// Occurrences of Needle in Text that begin at a character start (overlapping
// ones each count). An empty needle occurs once.
int64_t CountOccurrences(std::string_view text, std::string_view needle);

// The maximal ranges of points within Timeline's reach whose text contains
// Needle (code page 932 bytes), in order.
std::vector<TPointRange> FindInHistory(THistoryReplay& replay, const TTimeline& timeline, std::string_view needle);

}  // namespace kelvane
