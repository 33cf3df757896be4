// Provenance: tags per byte, as runs, played forward through the timeline.
#include "history/Provenance.h"

#include <algorithm>

#include "history/CharBounds.h"

namespace kelvane {

namespace {

template <typename Runs>
void AppendRun(Runs& runs, int64_t length, int32_t tag) {
  if (length <= 0) return;
  if (!runs.empty() && runs.back().Tag == tag) runs.back().Length += static_cast<int32_t>(length);
  else runs.push_back({static_cast<int32_t>(length), tag});
}

// Bytes From … To−1 of Runs appended to Out.
template <typename Runs>
void AppendSlice(const Runs& runs, int64_t from, int64_t to, Runs& out) {
  int64_t at = 0;
  for (const auto& run : runs) {
    const int64_t end = at + run.Length;
    const int64_t b = std::max(at, from), e = std::min(end, to);
    if (b < e) AppendRun(out, e - b, run.Tag);
    at = end;
    if (at >= to) break;
  }
}

}  // namespace

TProvenance::TProvenance(const TTimeline& timeline, const std::vector<int32_t>& lineLengths)
    : timeline_(timeline), point_(timeline.First()) {
  lines_.resize(std::max<size_t>(lineLengths.size(), 1));
  for (size_t y = 0; y < lineLengths.size(); ++y) {
    lines_[y].Length = lineLengths[y];
    AppendRun(lines_[y].Runs, lineLengths[y], -1);
  }
}

void TProvenance::AdvanceTo(int64_t p) {
  p = std::min(p, timeline_.Last());
  for (; point_ < p; ++point_) Apply(point_, timeline_.Edit(point_));
}

// A record the editor could never have made may name a place past the text
// as the tags know it; it is taken at the nearest place there is.
void TProvenance::Apply(int64_t k, const TTimelineEdit& edit) {
  const int32_t tag = static_cast<int32_t>(k);
  const int32_t last = static_cast<int32_t>(lines_.size()) - 1;
  const int32_t y = std::clamp(edit.Pos.Y, 0, last);
  const int32_t x = std::clamp(edit.Column, 0, lines_[static_cast<size_t>(y)].Length);
  switch (edit.Kind) {
    case TEditKind::Insert: Insert(y, x, edit.Added, tag); break;
    case TEditKind::Delete: Delete(y, x, static_cast<int64_t>(edit.Removed.size())); break;
    case TEditKind::Enter: Split(y, x, tag); break;
    case TEditKind::Change: Change(std::clamp(edit.Pos.Y, 0, last + 1), std::max(edit.Lines, 0), edit.Removed, edit.Added, tag); break;
    case TEditKind::Unknown: break;
  }
}

// As the editor puts a recorded text back: broken at CR LF alone, the first
// piece joining the line's head and the last its tail.
void TProvenance::Insert(int32_t y, int32_t x, std::string_view text, int32_t tag) {
  TLine& line = lines_.at(static_cast<size_t>(y));
  std::vector<int32_t> pieces;
  for (size_t brk; (brk = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(brk + 2))
    pieces.push_back(static_cast<int32_t>(brk));
  pieces.push_back(static_cast<int32_t>(text.size()));
  TRuns head, tail;
  AppendSlice(line.Runs, 0, x, head);
  AppendSlice(line.Runs, x, line.Length, tail);
  const int32_t tailLength = line.Length - x;
  const int32_t oldBreak = line.BreakTag;
  std::vector<TLine> added(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) {
    TLine& l = added[i];
    if (i == 0) l.Runs = std::move(head), l.Length = x;
    AppendRun(l.Runs, pieces[i], tag);
    l.Length += pieces[i];
    l.BreakTag = tag;
  }
  TLine& last = added.back();
  for (const TRun& run : tail) AppendRun(last.Runs, run.Length, run.Tag);
  last.Length += tailLength;
  last.BreakTag = oldBreak;
  lines_[static_cast<size_t>(y)] = std::move(added[0]);
  lines_.insert(lines_.begin() + y + 1, std::make_move_iterator(added.begin() + 1), std::make_move_iterator(added.end()));
}

// As the editor removes Count bytes at a column: the rest of the line, then
// each break (two bytes) and line after it, until Count are gathered; what
// follows the removed bytes in the last line gathered stays, joined to the head.
void TProvenance::Delete(int32_t y, int32_t x, int64_t count) {
  TLine& line = lines_.at(static_cast<size_t>(y));
  if (count <= line.Length - x) {
    TRuns runs;
    AppendSlice(line.Runs, 0, x, runs);
    AppendSlice(line.Runs, x + count, line.Length, runs);
    line.Runs = std::move(runs);
    line.Length -= static_cast<int32_t>(count);
    return;
  }
  TRuns gathered;
  AppendSlice(line.Runs, x, line.Length, gathered);
  int64_t size = line.Length - x;
  size_t last = static_cast<size_t>(y);
  while (last + 1 < lines_.size() && size < count) {
    AppendRun(gathered, 2, lines_[last].BreakTag);
    ++last;
    for (const TRun& run : lines_[last].Runs) AppendRun(gathered, run.Length, run.Tag);
    size += 2 + lines_[last].Length;
  }
  const int64_t removed = std::min(count, size);
  TRuns runs;
  AppendSlice(line.Runs, 0, x, runs);
  AppendSlice(gathered, removed, size, runs);
  line.Runs = std::move(runs);
  line.Length = static_cast<int32_t>(x + size - removed);
  line.BreakTag = lines_[last].BreakTag;
  lines_.erase(lines_.begin() + y + 1, lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1);
}

void TProvenance::Split(int32_t y, int32_t x, int32_t tag) {
  TLine& line = lines_.at(static_cast<size_t>(y));
  TLine tail;
  AppendSlice(line.Runs, x, line.Length, tail.Runs);
  tail.Length = line.Length - x;
  tail.BreakTag = line.BreakTag;
  TRuns head;
  AppendSlice(line.Runs, 0, x, head);
  line.Runs = std::move(head);
  line.Length = x;
  line.BreakTag = tag;
  lines_.insert(lines_.begin() + y + 1, std::move(tail));
}

// The old block's tags (each line's bytes and its break) are kept over the
// common prefix and suffix; the new block's lines are cut from the result.
void TProvenance::Change(int32_t y, int32_t count, std::string_view removed, std::string_view added, int32_t tag) {
  const auto first = lines_.begin() + y;
  const auto end = first + std::min<std::ptrdiff_t>(count, lines_.end() - first);
  TRuns old;
  for (auto it = first; it != end; ++it) {
    for (const TRun& run : it->Runs) AppendRun(old, run.Length, run.Tag);
    AppendRun(old, 2, it->BreakTag);
  }
  const TCommonEnds common = CommonEnds(removed, added);
  const int64_t oldSize = static_cast<int64_t>(removed.size());
  TRuns now;
  AppendSlice(old, 0, static_cast<int64_t>(common.Prefix), now);
  AppendRun(now, static_cast<int64_t>(added.size() - common.Prefix - common.Suffix), tag);
  AppendSlice(old, oldSize - static_cast<int64_t>(common.Suffix), oldSize, now);
  std::vector<TLine> lines;
  int64_t at = 0;
  for (std::string_view rest = added; !rest.empty();) {
    const size_t brk = rest.find("\r\n");
    const int64_t length = static_cast<int64_t>(brk == std::string_view::npos ? rest.size() : brk);
    TLine& l = lines.emplace_back();
    AppendSlice(now, at, at + length, l.Runs);
    l.Length = static_cast<int32_t>(length);
    TRuns brkTag;
    AppendSlice(now, at + length, at + length + 1, brkTag);
    l.BreakTag = brkTag.empty() ? tag : brkTag.front().Tag;
    at += length + 2;
    rest.remove_prefix(brk == std::string_view::npos ? rest.size() : brk + 2);
  }
  const auto pos = lines_.erase(first, end);
  lines_.insert(pos, std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
  if (lines_.empty()) lines_.emplace_back().BreakTag = tag;  // the editor keeps one line
}

std::vector<TTagSpan> TProvenance::Spans(int32_t y) const {
  std::vector<TTagSpan> spans;
  int32_t at = 0;
  for (const TRun& run : lines_.at(static_cast<size_t>(y)).Runs) {
    spans.push_back({at, at + run.Length, run.Tag});
    at += run.Length;
  }
  return spans;
}

size_t TProvenance::MemoryBytes() const {
  size_t bytes = lines_.capacity() * sizeof(TLine);
  for (const TLine& line : lines_) bytes += line.Runs.capacity() * sizeof(TRun);
  return bytes;
}

}  // namespace kelvane
