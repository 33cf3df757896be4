// The player's additions for finding one's way through a history.
#include "player/HistoryExplorer.h"

#include <algorithm>
#include <utility>

#include "platform/FileSystem.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

// A jump's bracket: the window frozen, and thawed however it ends.
class TFrozen {
 public:
  explicit TFrozen(TFormKelvane& form) : form_(form) { form_.BeginBatch(); }
  ~TFrozen() { form_.EndBatch(); }
  TFrozen(const TFrozen&) = delete;
  TFrozen& operator=(const TFrozen&) = delete;

 private:
  TFormKelvane& form_;
};

}  // namespace

THistoryExplorer::THistoryExplorer(TFormKelvane& form) : form_(form), discarded_(*form.Editor) {
  form_.OnStepping = [this](bool redo) { Stepping(redo); };
  form_.OnStepped = [this](bool) { Stepped(); };
  form_.OnLoaded = [this] { Loaded(); };
}

THistoryExplorer::~THistoryExplorer() {
  form_.OnStepping = nullptr;
  form_.OnStepped = nullptr;
  form_.OnLoaded = nullptr;
}

// ---- auto-play -------------------------------------------------------------------

bool THistoryExplorer::SetPace(TPlaybackPace pace) {
  if (!IsPaceChoice(pace)) return false;
  pace_ = pace;
  return true;
}

void THistoryExplorer::Tick() {
  if (pace_.RecordsPerTick <= 1) {
    form_.TimerAutoTimer();
    return;
  }
  PlayerHost& host = form_.Host();
  const bool back = host.ActionChecked(TPlayerAction::textUndoAuto);
  if (!back && !host.ActionChecked(TPlayerAction::textRedoAuto)) return;
  const TPlayerAction playing = back ? TPlayerAction::textUndoAuto : TPlayerAction::textRedoAuto;
  const int32_t left = back ? Point() : Total() - Point();
  const int32_t n = std::min(pace_.RecordsPerTick, left);
  try {
    if (n > 0) form_.StepHistory(back ? -n : n, false);
  } catch (...) {
    // A record that does not fit would fail again at every tick.
    host.SetTimerEnabled(false);
    host.SetActionChecked(playing, false);
    throw;
  }
  host.SetTimerEnabled(back ? form_.Editor->CanUndo() : form_.Editor->CanRedo());
  host.SetActionChecked(playing, host.TimerEnabled());
}

// ---- step marks --------------------------------------------------------------------

void THistoryExplorer::SetHighlightSteps(bool on) {
  highlight_ = on;
  if (!on) form_.Editor->ClearChangeMarks();
}

void THistoryExplorer::Stepping(bool redo) { probe_ = highlight_ ? ProbeStep(*form_.Editor, redo) : TStepProbe{}; }

void THistoryExplorer::Stepped() {
  if (probe_.Valid) form_.Editor->SetChangeMarks(StepMarks(*form_.Editor, probe_));
  probe_ = {};
}

// ---- points ------------------------------------------------------------------------

void THistoryExplorer::GoTo(int64_t point) {
  const int64_t target = std::clamp<int64_t>(point, 0, Total());
  if (target != Point()) form_.StepHistory(static_cast<int32_t>(target - Point()), false);
}

bool THistoryExplorer::Move(TExplorerAction a) {
  PlayerHost& host = form_.Host();
  const auto play = [&](TPlayerAction playing, bool can) {
    if (can || host.ActionChecked(playing)) form_.Execute(playing);
  };
  switch (a) {
    case TExplorerAction::stepBack: form_.Execute(TPlayerAction::textUndo); return true;
    case TExplorerAction::stepForward: form_.Execute(TPlayerAction::textRedo); return true;
    case TExplorerAction::first: GoTo(0); return true;
    case TExplorerAction::last: GoTo(Total()); return true;
    case TExplorerAction::playBack: play(TPlayerAction::textUndoAuto, form_.Editor->CanUndo()); return true;
    case TExplorerAction::playForward: play(TPlayerAction::textRedoAuto, form_.Editor->CanRedo()); return true;
    case TExplorerAction::stop:
      for (TPlayerAction playing : {TPlayerAction::textUndoAuto, TPlayerAction::textRedoAuto}) {
        if (host.ActionChecked(playing)) form_.Execute(playing);
      }
      return true;
    case TExplorerAction::previousMarker: GoToPreviousMarker(); return true;
    case TExplorerAction::nextMarker: GoToNextMarker(); return true;
    default: return false;
  }
}

bool THistoryExplorer::GoToMarker(size_t i) {
  if (i >= markers_.Count()) return false;
  GoTo(MarkerTarget(markers_[i], Total()));
  return true;
}

bool THistoryExplorer::GoToNextMarker() {
  const std::optional<size_t> i = markers_.Next(Point(), Total());
  return i && GoToMarker(*i);
}

bool THistoryExplorer::GoToPreviousMarker() {
  const std::optional<size_t> i = markers_.Previous(Point(), Total());
  return i && GoToMarker(*i);
}

// ---- markers -----------------------------------------------------------------------

std::string THistoryExplorer::MarksPath() const {
  return form_.FFileName.empty() ? std::string() : MarksPathOf(form_.FFileName);
}

bool THistoryExplorer::AddMarker(std::string label) {
  markers_.Add({Point(), std::move(label)});
  return WriteMarks();
}

bool THistoryExplorer::RenameMarker(size_t i, std::string label) {
  if (i >= markers_.Count()) return false;
  markers_.Rename(i, std::move(label));
  return WriteMarks();
}

bool THistoryExplorer::RemoveMarker(size_t i) {
  if (i >= markers_.Count()) return false;
  markers_.Remove(i);
  return WriteMarks();
}

bool THistoryExplorer::WriteMarks() {
  marksError_.clear();
  const std::string path = MarksPath();
  if (path.empty()) {
    marksError_ = "no undo file is open: the markers are kept until the window closes";
    return false;
  }
  if (WriteFileAtomically(path, FormatMarks(markers_.Items()), &marksError_)) return true;
  if (marksError_.empty()) marksError_ = "the file could not be written";
  return false;
}

std::vector<std::string> THistoryExplorer::TakeMarksNotices() { return std::exchange(marksNotices_, {}); }

// A new history: its own markers, and nothing of the last one's kept.
void THistoryExplorer::Loaded() {
  discarded_.Forget();
  probe_ = {};
  markers_.Assign({});
  marksNotices_.clear();
  const std::string path = MarksPath();
  std::string bytes;
  if (path.empty() || !FileExists(path)) return;
  if (!ReadWholeFile(path, bytes)) {
    marksNotices_.push_back(ExtractFileName(path) + ": could not be read");
    return;
  }
  TMarksRead read = ParseMarks(bytes);
  markers_.Assign(std::move(read.Markers));
  for (std::string& notice : read.Notices) marksNotices_.push_back(ExtractFileName(path) + " " + notice + ", left out");
}

// ---- the discarded history ---------------------------------------------------------

bool THistoryExplorer::RestoreDiscarded() {
  if (!discarded_.Available()) return false;
  {
    const TFrozen frozen(form_);
    form_.Editor->ClearChangeMarks();
    discarded_.Restore();
  }
  form_.UpdateStatus(true);
  return true;
}

std::string THistoryExplorer::NewMarkerLabel() const { return "位置 " + std::to_string(Point()); }

std::string THistoryExplorer::RestoreQuestion() const {
  return "入力で破棄された履歴（全 " + std::to_string(discarded_.Records()) + " 件、位置 " +
         std::to_string(discarded_.Point()) + "）を復元しますか？\nその後の編集は失われます。";
}

}  // namespace kelvane
