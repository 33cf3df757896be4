// TPanelFollower: how the explorer's panels follow the player, the same on
// every port — what the views show (the analysis' generation, the point, the
// markers) and what of it moved, when the diff pane may catch up, when the
// provenance tint must repaint every row, and the timeline dragged as the
// history bar's thumb is. A port's panels ask it and draw what it says.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/HistoryAnalysis.h"
#include "player/UnitMain.h"

namespace kelvane {

class TPanelFollower {
 public:
  TPanelFollower(TFormKelvane& form, THistoryAnalysis& analysis) : form_(form), analysis_(analysis) {}

  int64_t Point() const { return form_.History().Position(); }

  // What moved since the views were last told; each is reported once.
  bool NewTimeline();  // the analysis was made again: every view starts over
  bool NewPoint();
  bool NewMarkers(const std::vector<std::pair<int64_t, std::string>>& markers);

  // The diff from point A: none, shown for the point now, or to be shown.
  // While the history is dragged (HandHeld) it waits for the hand to rest.
  enum class TDiffNeed : uint8_t { none, now, wait };
  TDiffNeed DiffNeed(bool shown, bool handHeld) const;
  void SetDiffFrom(std::optional<int64_t> point);
  std::optional<int64_t> DiffFrom() const { return diffFrom_; }
  // The diff of A and the point now, as the pane shows it from here on.
  std::unique_ptr<TTextDiff> TakeDiff();

  // The timeline is dragged as the history bar's thumb is: tracking steps
  // while it moves, the final position and the end of the scroll at release.
  void Track(int64_t point);
  void Release(int64_t point);
  bool Tracking() const { return tracking_; }

  // The rows a step repaints are tinted for the new point at once; the others
  // keep ages a step old, which no eye can tell, until the ages have moved on
  // by a visible share (a jump has repainted every row already). True: repaint
  // every row now.
  bool TintAged(bool tintOn);
  void TintedEveryRow() { tintedAt_ = Point(); }

 private:
  static constexpr int64_t kRetintShare = 256;  // ages moved on by 1/256 of the point show

  TFormKelvane& form_;
  THistoryAnalysis& analysis_;
  uint64_t shownGeneration_ = 0;
  int64_t shownPoint_ = -1;
  std::vector<std::pair<int64_t, std::string>> shownMarkers_;
  std::optional<int64_t> diffFrom_;
  int64_t diffShownTo_ = -1;
  uint64_t diffGeneration_ = 0;
  bool tracking_ = false;
  int64_t tintedAt_ = 0;
};

}  // namespace kelvane
