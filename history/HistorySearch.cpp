// Searching the history with a count kept up to date around each edit.
#include "history/HistorySearch.h"

#include <algorithm>

#include "history/CharBounds.h"

namespace kelvane {

namespace {

// The text of lines First … First+Count−1 of E joined by CR LF, with at
// least Context bytes of the text on either side where the text has them.
// The window starts at a character start, pulled back over lead bytes, so
// that it tells by itself where its characters begin. It depends only on the
// lines outside the region, so that it has the same context before and after
// an edit of the region.
// A region a hostile record names past the text is cut to the lines there are.
void RegionWindow(const TVeskEdit& e, int32_t first, int32_t count, size_t context, std::string& out) {
  out.clear();
  const int32_t lines = e.Items.Count();
  first = std::clamp(first, 0, lines - 1);
  count = std::clamp(count, 0, lines - first);
  int32_t y = first;
  size_t have = 0;
  while (have < context && y > 0) {
    --y;
    have += e.Items[y].Text.size() + 2;
  }
  if (y < first) {
    const std::string& head = e.Items[y].Text;
    size_t skip = std::min(have - std::min(have, context), head.size());
    while (skip > 0 && cp932::IsLeadByte(static_cast<unsigned char>(head[skip - 1]))) --skip;
    out.append(head, skip, std::string::npos);
    for (int32_t i = y + 1; i < first; ++i) {
      out += "\r\n";
      out += e.Items[i].Text;
    }
    out += "\r\n";
  }
  for (int32_t i = first; i < first + count; ++i) {
    if (i > first) out += "\r\n";
    out += e.Items[i].Text;
  }
  size_t after = 0;
  for (int32_t i = first + count; i < e.Items.Count() && after < context; ++i) {
    out += "\r\n";
    after += 2;
    const size_t take = std::min(e.Items[i].Text.size(), context - std::min(after, context));
    out.append(e.Items[i].Text, 0, take);
    after += take;
  }
}

class TSearchWalk {
 public:
  TSearchWalk(const TTimeline& timeline, std::string_view needle, std::vector<char>& contains)
      : timeline_(timeline), needle_(needle), contains_(contains) {}

  // From the nearer end of E's share of the reach to the other, counting.
  void Run(TReplayEditor& e) {
    const int64_t low = std::max(e.Low(), timeline_.First());
    const int64_t high = std::min(e.High(), timeline_.Last());
    if (low > high) return;
    const bool forward = e.Point() - low <= high - e.Point();
    if (!WalkTo(e, forward ? low : high)) return;
    int64_t count = CountOccurrences(e.Editor().GetText(), needle_);
    Mark(e.Point(), count);
    while (e.Point() != (forward ? high : low)) {
      const int64_t k = forward ? e.Point() : e.Point() - 1;
      const TLineRegion region = timeline_.Region(k);
      const size_t context = needle_.size() - 1;
      RegionWindow(e.Editor(), region.First, forward ? region.Before : region.After, context, window_);
      count -= CountOccurrences(window_, needle_);
      if (!e.Step(forward)) return;
      RegionWindow(e.Editor(), region.First, forward ? region.After : region.Before, context, window_);
      count += CountOccurrences(window_, needle_);
      Mark(e.Point(), count);
    }
  }

 private:
  void Mark(int64_t p, int64_t count) { contains_[static_cast<size_t>(p)] = count > 0; }

  const TTimeline& timeline_;
  std::string_view needle_;
  std::vector<char>& contains_;
  std::string window_;
};

}  // namespace

int64_t CountOccurrences(std::string_view text, std::string_view needle) {
  if (needle.empty()) return 1;
  int64_t count = 0;
  for (size_t at = text.find(needle); at != std::string_view::npos; at = text.find(needle, at + 1)) {
    if (IsCharStart(text, at)) ++count;
  }
  return count;
}

std::vector<TPointRange> FindInHistory(THistoryReplay& replay, const TTimeline& timeline, std::string_view needle) {
  std::vector<char> contains(static_cast<size_t>(timeline.Records() + 1), 0);
  if (needle.empty()) {
    std::fill(contains.begin() + timeline.First(), contains.begin() + timeline.Last() + 1, 1);
  } else {
    TSearchWalk walk(timeline, needle, contains);
    walk.Run(replay.Below());
    walk.Run(replay.Above());
  }
  std::vector<TPointRange> ranges;
  for (int64_t p = timeline.First(); p <= timeline.Last(); ++p) {
    if (!contains[static_cast<size_t>(p)]) continue;
    if (!ranges.empty() && ranges.back().To == p) ++ranges.back().To;
    else ranges.push_back({p, p + 1});
  }
  return ranges;
}

}  // namespace kelvane
