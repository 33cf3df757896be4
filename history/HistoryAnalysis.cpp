// The analysis of one editor's history, built lazily on replay editors.
#include "history/HistoryAnalysis.h"

#include "editor/Attributes.h"
#include "history/CharBounds.h"

namespace kelvane {

THistoryAnalysis::THistoryAnalysis(const TVeskEdit& source, TEditHostFactory newHost)
    : source_(source), newHost_(std::move(newHost)) {
  scannerHost_ = newHost_();
  scanner_ = std::make_unique<TVeskEdit>(*scannerHost_);
  scanner_->CreateWnd();
  scanner_->SetShowNumRef(true);
  scanner_->SetShowNameRef(true);
  // A reference is the run of bytes the scanner marks, from its "&"; the rest
  // goes by characters.
  units_ = [scanner = scanner_.get()](std::string_view line, std::vector<uint32_t>& starts) {
    starts.clear();
    const TVeskItem item(scanner, std::string(line));
    const std::string& attrs = item.Attrs();
    for (size_t i = 0; i < line.size();) {
      starts.push_back(static_cast<uint32_t>(i));
      if (static_cast<uint8_t>(attrs[i]) == attr::kReference) {
        do ++i;
        while (i < line.size() && static_cast<uint8_t>(attrs[i]) == attr::kReference && line[i] != '&');
      } else {
        i += CharLength(line, i);
      }
    }
    starts.push_back(static_cast<uint32_t>(line.size()));
  };
}

THistoryAnalysis::~THistoryAnalysis() = default;

void THistoryAnalysis::Refresh() {
  const TVeskUndo& h = *source_.Undo;
  if (timeline_ && undoRevision_ == h.FUndoList.Revision() && redoRevision_ == h.FRedoList.Revision()) return;
  provenance_.reset();
  checkpoints_.clear();
  timeline_.reset();
  texts_.clear();
  replay_ = std::make_unique<THistoryReplay>(source_, newHost_);
  timeline_ = std::make_unique<TTimeline>(*replay_);
  undoRevision_ = h.FUndoList.Revision();
  redoRevision_ = h.FRedoList.Revision();
  ++generation_;
}

const TTimeline& THistoryAnalysis::Timeline() {
  Refresh();
  return *timeline_;
}

std::optional<std::string> THistoryAnalysis::TextAt(int64_t p) {
  Refresh();
  if (!timeline_->Reaches(p)) return std::nullopt;
  for (const auto& [point, text] : texts_) {
    if (point == p) return text;
  }
  std::optional<std::string> text = replay_->TextAt(p);
  if (!text) return text;
  if (texts_.size() == 2) texts_.erase(texts_.begin());
  texts_.emplace_back(p, *text);
  return text;
}

std::unique_ptr<TTextDiff> THistoryAnalysis::Diff(int64_t a, int64_t b) {
  std::optional<std::string> older = TextAt(a);
  std::optional<std::string> newer = TextAt(b);
  if (!older || !newer) return nullptr;
  return std::make_unique<TTextDiff>(std::move(*older), std::move(*newer), units_);
}

std::vector<TPointRange> THistoryAnalysis::Find(std::string_view needle) {
  Refresh();
  return FindInHistory(*replay_, *timeline_, needle);
}

std::vector<THistoryProblem> THistoryAnalysis::Check() {
  Refresh();
  return CheckHistory(*replay_, *timeline_);
}

// Provenance only plays forwards, so copies of it are kept every
// kBlameCheckpoint records on the way: going back starts from the nearest
// one instead of from the first point, which keeps stepping back through a
// long history as cheap as stepping on.
const TProvenance& THistoryAnalysis::Blame(int64_t p) {
  Refresh();
  const int64_t first = timeline_->First();
  const int64_t at = std::clamp(p, first, timeline_->Last());
  if (provenance_ && provenance_->Point() > at) {
    provenance_.reset();
    for (auto it = checkpoints_.rbegin(); it != checkpoints_.rend(); ++it) {
      if ((*it)->Point() <= at) {
        provenance_ = std::make_unique<TProvenance>(**it);
        break;
      }
    }
  }
  if (!provenance_) {
    TReplayEditor& e = replay_->Holding(first);
    WalkTo(e, first);
    std::vector<int32_t> lengths;
    for (int32_t y = 0; y < e.Editor().Items.Count(); ++y) lengths.push_back(e.Editor().Items[y].TextLength());
    provenance_ = std::make_unique<TProvenance>(*timeline_, lengths);
  }
  while (provenance_->Point() < at) {
    const int64_t next = std::min(at, (provenance_->Point() / kBlameCheckpoint + 1) * kBlameCheckpoint);
    provenance_->AdvanceTo(next);
    const bool kept = !checkpoints_.empty() && checkpoints_.back()->Point() >= next;
    if (next % kBlameCheckpoint == 0 && !kept) checkpoints_.push_back(std::make_unique<TProvenance>(*provenance_));
  }
  return *provenance_;
}

THistoryStats THistoryAnalysis::Stats() { return ComputeStats(Timeline()); }

}  // namespace kelvane
