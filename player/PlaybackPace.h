// How fast auto-play runs: the timer's interval and the records each tick
// takes. A tick of more than one record is one jump (the window frozen), not
// that many single steps.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelvane {

inline constexpr std::array<int32_t, 7> kPaceIntervals{1000, 500, 250, 100, 50, 25, 10};  // ms
inline constexpr std::array<int32_t, 3> kPaceRecords{1, 10, 100};

struct TPlaybackPace {
  int32_t IntervalMs = 100;
  int32_t RecordsPerTick = 1;
  friend bool operator==(const TPlaybackPace&, const TPlaybackPace&) = default;
};

// Whether both values are among the choices.
bool IsPaceChoice(const TPlaybackPace& pace);

// How long playing Records records takes at Pace, in milliseconds.
int64_t PlayingTimeMs(const TPlaybackPace& pace, int64_t records);

// "100 ms × 1", as the tool bar shows the pace.
std::string PaceText(const TPlaybackPace& pace);

// "68 分 16 秒", "4.1 秒": a playing time as the tool tip gives it.
std::string DurationText(int64_t ms);

}  // namespace kelvane
