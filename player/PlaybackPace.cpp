// The pace of auto-play and its texts.
#include "player/PlaybackPace.h"

#include <algorithm>

namespace kelvane {

bool IsPaceChoice(const TPlaybackPace& pace) {
  return std::find(kPaceIntervals.begin(), kPaceIntervals.end(), pace.IntervalMs) != kPaceIntervals.end() &&
         std::find(kPaceRecords.begin(), kPaceRecords.end(), pace.RecordsPerTick) != kPaceRecords.end();
}

int64_t PlayingTimeMs(const TPlaybackPace& pace, int64_t records) {
  if (records <= 0 || pace.RecordsPerTick <= 0) return 0;
  const int64_t ticks = (records + pace.RecordsPerTick - 1) / pace.RecordsPerTick;
  return ticks * pace.IntervalMs;
}

std::string PaceText(const TPlaybackPace& pace) {
  return std::to_string(pace.IntervalMs) + " ms × " + std::to_string(pace.RecordsPerTick);
}

std::string DurationText(int64_t ms) {
  const int64_t seconds = ms / 1000;
  if (seconds >= 60) return std::to_string(seconds / 60) + " 分 " + std::to_string(seconds % 60) + " 秒";
  return std::to_string(seconds) + "." + std::to_string(ms % 1000 / 100) + " 秒";
}

}  // namespace kelvane
