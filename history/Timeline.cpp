// The timeline: one walk of the replay, both ways from the split point.
#include "history/Timeline.h"

#include <algorithm>

namespace kelvane {

namespace {

int64_t TextLength(const TVeskEdit& e) {
  int64_t total = 2 * (int64_t{e.Items.Count()} - 1);
  for (int32_t y = 0; y < e.Items.Count(); ++y) total += static_cast<int64_t>(e.Items[y].Text.size());
  return total;
}

uint32_t Size32(size_t n) { return static_cast<uint32_t>(std::min<size_t>(n, UINT32_MAX)); }

}  // namespace

void AppendBlock(const TVeskEdit& e, int32_t first, int32_t count, std::string& out) {
  const int32_t end = std::min(e.Items.Count(), first + std::max(count, 0));
  for (int32_t y = std::max(first, 0); y < end; ++y) {
    out += e.Items[y].Text;
    out += "\r\n";
  }
}

TTimeline::TTimeline(THistoryReplay& replay) {
  const int64_t total = replay.Size();
  const int64_t split = replay.Split();
  // Both editors start at the split, where the text is the source's.
  WalkTo(replay.Below(), split);
  WalkTo(replay.Above(), split);
  records_.resize(static_cast<size_t>(total));
  bytes_.assign(static_cast<size_t>(total + 1), -1);
  lines_.assign(static_cast<size_t>(total + 1), -1);
  // Kind and place of every record, off the records themselves: known even
  // beyond a record the walk cannot pass.
  const TUndoList& below = replay.Below().Editor().Undo->FUndoList;
  for (int32_t i = 0; i < below.Count(); ++i) {
    const THistoryEdit e = DescribeEdit(below[i], false);
    records_[static_cast<size_t>(i)].Kind = e.Kind;
    records_[static_cast<size_t>(i)].Pos = e.Pos;
  }
  const TUndoList& above = replay.Above().Editor().Undo->FRedoList;
  for (int32_t i = 0; i < above.Count(); ++i) {
    const THistoryEdit e = DescribeEdit(above[above.Count() - 1 - i], true);
    records_[static_cast<size_t>(split + i)].Kind = e.Kind;
    records_[static_cast<size_t>(split + i)].Pos = e.Pos;
  }
  const TVeskEdit& at = replay.Below().Editor();
  bytes_[static_cast<size_t>(split)] = TextLength(at);
  lines_[static_cast<size_t>(split)] = at.Items.Count();
  first_ = last_ = split;
  Walk(replay.Below(), false, stopBelow_);
  Walk(replay.Above(), true, stopAbove_);
}

void TTimeline::Walk(TReplayEditor& e, bool forward, TTimelineStop& stop) {
  for (;;) {
    const int64_t k = forward ? e.Point() : e.Point() - 1;
    TStepResult step = Capture(e, forward, k);
    if (step.Failure == TStepFailure::End) break;
    if (!step) {
      stop = {k, step.Failure, std::move(step.Detail)};
      break;
    }
  }
  (forward ? last_ : first_) = e.Point();
}

// One step, and what it shows of record K: the column it acts at is read
// before, its texts after (the applied record holds what it took out).
TStepResult TTimeline::Capture(TReplayEditor& e, bool forward, int64_t k) {
  const TUndoData* next = e.Next(forward);
  if (!next) return {TStepFailure::End, {}};
  const TVeskEdit& ed = e.Editor();
  TRecord& r = records_[static_cast<size_t>(k)];
  const int32_t y = next->Caret.Y;
  const int32_t countBefore = next->Count;
  if (y >= 0 && y < ed.Items.Count()) {
    const size_t length = ed.Items[y].Text.size();
    const bool join = r.Kind == TEditKind::Enter && !forward;
    r.Column = static_cast<int32_t>(join ? length : ClampToSize(next->Caret.X, length));
  }
  TStepResult step = e.Step(forward);
  if (!step) return step;
  const TVeskUndo& h = *ed.Undo;
  const TUndoData& applied = forward ? h.FUndoList[h.FUndoList.Count() - 1] : h.FRedoList[h.FRedoList.Count() - 1];
  r.TextAt = pool_.size();
  switch (r.Kind) {
    case TEditKind::Insert:
      pool_ += applied.Text;
      r.AddedSize = Size32(applied.Text.size());
      break;
    case TEditKind::Delete:
      pool_ += applied.Text;
      r.RemovedSize = Size32(applied.Text.size());
      break;
    case TEditKind::Enter:
      pool_ += "\r\n";
      r.AddedSize = 2;
      break;
    case TEditKind::Change:
      // The applied record holds the block it took out of the text, the text
      // the block it put in: added first, then removed.
      if (forward) AppendBlock(ed, y, applied.Count, pool_);
      else pool_ += applied.Text;
      r.AddedSize = Size32(pool_.size() - r.TextAt);
      if (forward) pool_ += applied.Text;
      else AppendBlock(ed, y, applied.Count, pool_);
      r.RemovedSize = Size32(pool_.size() - r.TextAt - r.AddedSize);
      r.Lines = forward ? countBefore : applied.Count;
      break;
    case TEditKind::Unknown:
      break;
  }
  r.Known = true;
  const int64_t delta = int64_t{r.AddedSize} - int64_t{r.RemovedSize};
  const size_t from = static_cast<size_t>(forward ? k : k + 1);
  const size_t to = static_cast<size_t>(forward ? k + 1 : k);
  bytes_[to] = bytes_[from] + (forward ? delta : -delta);
  lines_[to] = ed.Items.Count();
  return step;
}

TTimelineEdit TTimeline::Edit(int64_t k) const {
  const TRecord& r = records_.at(static_cast<size_t>(k));
  TTimelineEdit e;
  e.Kind = r.Kind;
  e.Pos = r.Pos;
  e.Column = r.Column;
  e.Lines = r.Lines;
  e.Known = r.Known;
  if (r.Known) {
    const std::string_view texts = std::string_view(pool_).substr(r.TextAt, size_t{r.AddedSize} + r.RemovedSize);
    e.Added = texts.substr(0, r.AddedSize);
    e.Removed = texts.substr(r.AddedSize);
  }
  return e;
}

TLineRegion TTimeline::Region(int64_t k) const {
  const TRecord& r = records_.at(static_cast<size_t>(k));
  const int32_t grown = lines_[static_cast<size_t>(k + 1)] - lines_[static_cast<size_t>(k)];
  const int32_t y = std::clamp(r.Pos.Y, 0, std::max(0, lines_[static_cast<size_t>(k)] - 1));
  if (r.Kind != TEditKind::Change) return {y, 1 + std::max(0, -grown), 1 + std::max(0, grown)};
  const int32_t before = r.Lines;
  const int32_t after = before + grown;
  if (before > 0 && after > 0) return {y, before, after};
  // Lines only put in or only taken out: the next line joins in, or the one
  // before when the block ends the text.
  if (y + before < lines_[static_cast<size_t>(k)]) return {y, before + 1, after + 1};
  return {y - 1, before + 1, after + 1};
}

size_t TTimeline::IndexBytes() const {
  return records_.capacity() * sizeof(TRecord) + bytes_.capacity() * sizeof(int64_t) +
         lines_.capacity() * sizeof(int32_t);
}

}  // namespace kelvane
