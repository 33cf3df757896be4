// How the explorer's panels follow the player.
#include "history/PanelFollower.h"

#include <algorithm>
#include <cstdlib>

namespace kelvane {

bool TPanelFollower::NewTimeline() {
  analysis_.Timeline();  // brings the generation up to date
  if (analysis_.Generation() == shownGeneration_) return false;
  shownGeneration_ = analysis_.Generation();
  shownPoint_ = -1;
  return true;
}

bool TPanelFollower::NewPoint() {
  if (Point() == shownPoint_) return false;
  shownPoint_ = Point();
  return true;
}

bool TPanelFollower::NewMarkers(const std::vector<std::pair<int64_t, std::string>>& markers) {
  if (markers == shownMarkers_) return false;
  shownMarkers_ = markers;
  return true;
}

TPanelFollower::TDiffNeed TPanelFollower::DiffNeed(bool shown, bool handHeld) const {
  if (!shown || !diffFrom_) return TDiffNeed::none;
  if (Point() == diffShownTo_ && diffGeneration_ == analysis_.Generation()) return TDiffNeed::none;
  return handHeld || tracking_ ? TDiffNeed::wait : TDiffNeed::now;
}

void TPanelFollower::SetDiffFrom(std::optional<int64_t> point) {
  diffFrom_ = point;
  diffShownTo_ = -1;
}

std::unique_ptr<TTextDiff> TPanelFollower::TakeDiff() {
  if (!diffFrom_) return nullptr;
  diffShownTo_ = Point();
  std::unique_ptr<TTextDiff> diff = analysis_.Diff(*diffFrom_, diffShownTo_);
  diffGeneration_ = analysis_.Generation();
  return diff;
}

void TPanelFollower::Track(int64_t point) {
  tracking_ = true;
  form_.ScrollBarUndoScroll(TScrollCode::scTrack, static_cast<int32_t>(point));
}

void TPanelFollower::Release(int64_t point) {
  tracking_ = false;
  form_.ScrollBarUndoScroll(TScrollCode::scPosition, static_cast<int32_t>(point));
  form_.ScrollBarUndoScroll(TScrollCode::scEndScroll, static_cast<int32_t>(point));
}

bool TPanelFollower::TintAged(bool tintOn) {
  if (!tintOn) return false;
  const int64_t point = Point();
  const int64_t moved = std::abs(point - tintedAt_);
  if (moved == 0 || moved * kRetintShare < std::max<int64_t>(point, 1)) return false;
  tintedAt_ = point;
  return true;
}

}  // namespace kelvane
