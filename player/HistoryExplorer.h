// THistoryExplorer: what the window adds to the player for finding one's way
// through a history — the auto-play pace, marks of what the last single step
// changed, going to a point, markers kept in a side file, and giving back the
// history a typed edit discarded. Port-independent; a window binds its
// actions, keys and dialogs to it and asks the user, then calls in here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/DiscardedHistory.h"
#include "player/ExplorerKeys.h"
#include "player/Markers.h"
#include "player/PlaybackPace.h"
#include "player/StepMarks.h"
#include "player/UnitMain.h"

namespace kelvane {

class THistoryExplorer {
 public:
  // Hooks into the form and its editor until destroyed; the form outlives it.
  explicit THistoryExplorer(TFormKelvane& form);
  ~THistoryExplorer();
  THistoryExplorer(const THistoryExplorer&) = delete;
  THistoryExplorer& operator=(const THistoryExplorer&) = delete;

  // ---- auto-play at a pace
  const TPlaybackPace& Pace() const { return pace_; }
  bool SetPace(TPlaybackPace pace);  // false, and no change, for a pace not among the choices
  // One tick of the auto-play timer: one single step as the form plays it, or
  // one jump of RecordsPerTick records, stopping at the end as the form does.
  void Tick();

  // ---- marks of what a single step changed (on at first)
  bool HighlightSteps() const { return highlight_; }
  void SetHighlightSteps(bool on);

  // ---- points
  int32_t Point() const { return form_.History().Position(); }
  int32_t Total() const { return form_.History().Size(); }
  // A jump to Point clamped to 0 … Total.
  void GoTo(int64_t point);
  // A jump to the next or previous marker; false when there is none.
  bool GoToNextMarker();
  bool GoToPreviousMarker();
  bool GoToMarker(size_t i);
  // Carries out one of the actions that only move the player (steps, ends,
  // playing and stopping, the markers before and after); false, doing
  // nothing, for the others, which each window carries out in its own way.
  bool Move(TExplorerAction a);

  // ---- markers; each change is written to the side file at once. False when
  // it could not be written (MarksError says why; the change stays in the list).
  const TMarkerList& Markers() const { return markers_; }
  bool AddMarker(std::string label);  // at the current point
  std::string NewMarkerLabel() const;  // what the window offers to name a new one
  bool RenameMarker(size_t i, std::string label);
  bool RemoveMarker(size_t i);
  const std::string& MarksError() const { return marksError_; }
  // What loading the side file left out, since last taken.
  std::vector<std::string> TakeMarksNotices();
  // Where the markers are written: beside the undo file open now ("" without one).
  std::string MarksPath() const;

  // ---- the history a typed edit discarded
  bool CanRestore() const { return discarded_.Available(); }
  const TDiscardedHistory& Discarded() const { return discarded_; }
  // Gives it back: text, both stacks and the point as they were just before
  // the first discarding edit. False when nothing is kept.
  bool RestoreDiscarded();
  // What the window asks before it gives the discarded history back.
  std::string RestoreQuestion() const;

 private:
  void Stepping(bool redo);
  void Stepped();
  void Loaded();
  bool WriteMarks();

  TFormKelvane& form_;
  TPlaybackPace pace_;
  bool highlight_ = true;
  TStepProbe probe_;
  TMarkerList markers_;
  std::string marksError_;
  std::vector<std::string> marksNotices_;
  TDiscardedHistory discarded_;
};

}  // namespace kelvane
