// Line diff and changed ranges inside changed lines.
#include "history/TextDiff.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "history/CharBounds.h"

namespace kelvane {

namespace {

using TMatches = std::vector<std::pair<int32_t, int32_t>>;

// Past this much work in one Myers search its region is taken as replaced
// whole: a huge dissimilar block still diffs at once, if not minimally.
constexpr int64_t kMyersBudget = 20'000'000;

struct TRegion {
  int32_t A0, A1, B0, B1;
};

// Myers' search for the middle snake, in linear space, with the regions it
// leaves handled from a work list (no recursion on long inputs). EQ(i, j)
// compares a[i] with b[j]; the matched pairs go into Out, unordered.
template <typename Eq>
void MyersMatch(TRegion whole, Eq eq, TMatches& out) {
  std::vector<TRegion> work{whole};
  std::vector<int32_t> v1, v2;
  int64_t budget = kMyersBudget;
  while (!work.empty()) {
    TRegion r = work.back();
    work.pop_back();
    while (r.A0 < r.A1 && r.B0 < r.B1 && eq(r.A0, r.B0)) out.emplace_back(r.A0++, r.B0++);
    while (r.A0 < r.A1 && r.B0 < r.B1 && eq(r.A1 - 1, r.B1 - 1)) out.emplace_back(--r.A1, --r.B1);
    const int32_t n = r.A1 - r.A0, m = r.B1 - r.B0;
    if (n == 0 || m == 0 || budget <= 0) continue;
    const int32_t maxD = (n + m + 1) / 2;
    const int32_t offset = maxD;
    v1.assign(static_cast<size_t>(2 * maxD + 2), -1);
    v2.assign(static_cast<size_t>(2 * maxD + 2), -1);
    v1[static_cast<size_t>(offset + 1)] = 0;
    v2[static_cast<size_t>(offset + 1)] = 0;
    const int32_t delta = n - m;
    const bool front = (delta & 1) != 0;
    int32_t k1start = 0, k1end = 0, k2start = 0, k2end = 0;
    bool split = false;
    int32_t sx = 0, sy = 0;
    auto at = [](std::vector<int32_t>& v, int32_t i) -> int32_t& { return v[static_cast<size_t>(i)]; };
    for (int32_t d = 0; d < maxD && !split && budget > 0; ++d) {
      for (int32_t k1 = -d + k1start; k1 <= d - k1end && !split; k1 += 2) {
        const int32_t k1o = offset + k1;
        int32_t x1 = (k1 == -d || (k1 != d && at(v1, k1o - 1) < at(v1, k1o + 1))) ? at(v1, k1o + 1) : at(v1, k1o - 1) + 1;
        int32_t y1 = x1 - k1;
        const int32_t snake1 = x1;
        while (x1 < n && y1 < m && eq(r.A0 + x1, r.B0 + y1)) ++x1, ++y1;
        budget -= 1 + x1 - snake1;
        at(v1, k1o) = x1;
        if (x1 > n) {
          k1end += 2;
        } else if (y1 > m) {
          k1start += 2;
        } else if (front) {
          const int32_t k2o = offset + delta - k1;
          if (k2o >= 0 && k2o < 2 * maxD + 2 && at(v2, k2o) != -1 && x1 >= n - at(v2, k2o)) {
            split = true, sx = x1, sy = y1;
          }
        }
      }
      for (int32_t k2 = -d + k2start; k2 <= d - k2end && !split; k2 += 2) {
        const int32_t k2o = offset + k2;
        int32_t x2 = (k2 == -d || (k2 != d && at(v2, k2o - 1) < at(v2, k2o + 1))) ? at(v2, k2o + 1) : at(v2, k2o - 1) + 1;
        int32_t y2 = x2 - k2;
        const int32_t snake2 = x2;
        while (x2 < n && y2 < m && eq(r.A0 + n - x2 - 1, r.B0 + m - y2 - 1)) ++x2, ++y2;
        budget -= 1 + x2 - snake2;
        at(v2, k2o) = x2;
        if (x2 > n) {
          k2end += 2;
        } else if (y2 > m) {
          k2start += 2;
        } else if (!front) {
          const int32_t k1o = offset + delta - k2;
          if (k1o >= 0 && k1o < 2 * maxD + 2 && at(v1, k1o) != -1) {
            const int32_t x1 = at(v1, k1o);
            if (x1 >= n - x2) split = true, sx = x1, sy = x1 - (k1o - offset);
          }
        }
      }
    }
    if (!split) continue;  // nothing in common (or over budget): replaced whole
    work.push_back({r.A0 + sx, r.A1, r.B0 + sy, r.B1});
    work.push_back({r.A0, r.A0 + sx, r.B0, r.B0 + sy});
  }
}

// Patience anchors: lines that occur once in each side of a region, in the
// longest order both sides agree on; Myers between them where none are left.
class TLineMatcher {
 public:
  TLineMatcher(const std::vector<int32_t>& a, const std::vector<int32_t>& b, int32_t ids)
      : a_(a), b_(b), countA_(static_cast<size_t>(ids)), countB_(static_cast<size_t>(ids)),
        posB_(static_cast<size_t>(ids)) {}

  TMatches Run() {
    TMatches out;
    std::vector<TRegion> work{{0, static_cast<int32_t>(a_.size()), 0, static_cast<int32_t>(b_.size())}};
    while (!work.empty()) {
      TRegion r = work.back();
      work.pop_back();
      while (r.A0 < r.A1 && r.B0 < r.B1 && a_[r.A0] == b_[r.B0]) out.emplace_back(r.A0++, r.B0++);
      while (r.A0 < r.A1 && r.B0 < r.B1 && a_[r.A1 - 1] == b_[r.B1 - 1]) out.emplace_back(--r.A1, --r.B1);
      if (r.A0 == r.A1 || r.B0 == r.B1) continue;
      const std::vector<std::pair<int32_t, int32_t>> anchors = Anchors(r);
      if (anchors.empty()) {
        MyersMatch(r, [this](int32_t i, int32_t j) { return a_[i] == b_[j]; }, out);
        continue;
      }
      int32_t a = r.A0, b = r.B0;
      for (const auto& [i, j] : anchors) {
        work.push_back({a, i, b, j});
        out.emplace_back(i, j);
        a = i + 1;
        b = j + 1;
      }
      work.push_back({a, r.A1, b, r.B1});
    }
    return out;
  }

 private:
  std::vector<std::pair<int32_t, int32_t>> Anchors(const TRegion& r) {
    for (int32_t i = r.A0; i < r.A1; ++i) ++countA_[a_[i]];
    for (int32_t j = r.B0; j < r.B1; ++j) {
      ++countB_[b_[j]];
      posB_[b_[j]] = j;
    }
    std::vector<std::pair<int32_t, int32_t>> unique;  // (a, b), by a
    for (int32_t i = r.A0; i < r.A1; ++i) {
      const int32_t id = a_[i];
      if (countA_[id] == 1 && countB_[id] == 1) unique.emplace_back(i, posB_[id]);
    }
    for (int32_t i = r.A0; i < r.A1; ++i) countA_[a_[i]] = 0;
    for (int32_t j = r.B0; j < r.B1; ++j) countB_[b_[j]] = 0;
    return LongestIncreasing(unique);
  }

  // The longest run of Pairs (sorted by first) whose seconds increase.
  static std::vector<std::pair<int32_t, int32_t>> LongestIncreasing(const std::vector<std::pair<int32_t, int32_t>>& pairs) {
    std::vector<int32_t> tails;  // index into pairs of the smallest tail of each length
    std::vector<int32_t> before(pairs.size(), -1);
    for (int32_t i = 0; i < static_cast<int32_t>(pairs.size()); ++i) {
      const auto pos = std::lower_bound(tails.begin(), tails.end(), pairs[i].second,
                                        [&](int32_t t, int32_t v) { return pairs[t].second < v; });
      if (pos != tails.begin()) before[i] = *(pos - 1);
      if (pos == tails.end()) tails.push_back(i);
      else *pos = i;
    }
    std::vector<std::pair<int32_t, int32_t>> chain;
    for (int32_t i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[i]) chain.push_back(pairs[i]);
    std::reverse(chain.begin(), chain.end());
    return chain;
  }

  const std::vector<int32_t>& a_;
  const std::vector<int32_t>& b_;
  std::vector<int32_t> countA_, countB_, posB_;
};

void SplitLines(std::string_view text, std::vector<std::string_view>& lines, bool& endsWithBreak) {
  lines.clear();
  endsWithBreak = text.size() >= 2 && text.substr(text.size() - 2) == "\r\n";
  if (endsWithBreak) text.remove_suffix(2);
  else if (text.empty()) return;
  for (;;) {
    const size_t brk = text.find("\r\n");
    lines.push_back(text.substr(0, brk));
    if (brk == std::string_view::npos) break;
    text.remove_prefix(brk + 2);
  }
}

// Matched pairs, sorted, into the blocks between them.
std::vector<TLineBlock> BlocksBetween(TMatches matches, int32_t n, int32_t m) {
  std::sort(matches.begin(), matches.end());
  matches.emplace_back(n, m);
  std::vector<TLineBlock> blocks;
  int32_t a = 0, b = 0;
  for (const auto& [i, j] : matches) {
    if (i > a || j > b) blocks.push_back({a, i - a, b, j - b});
    a = i + 1;
    b = j + 1;
  }
  return blocks;
}

// The units of each line that the other does not have, as merged byte ranges.
void DiffPair(std::string_view oldLine, std::string_view newLine, const TUnitSplitter& units, TChangedPair& pair) {
  std::vector<uint32_t> sa, sb;
  units(oldLine, sa);
  units(newLine, sb);
  auto unit = [](std::string_view line, const std::vector<uint32_t>& s, int32_t i) {
    return line.substr(s[static_cast<size_t>(i)], s[static_cast<size_t>(i) + 1] - s[static_cast<size_t>(i)]);
  };
  const int32_t n = static_cast<int32_t>(sa.size()) - 1, m = static_cast<int32_t>(sb.size()) - 1;
  TMatches matches;
  MyersMatch({0, n, 0, m}, [&](int32_t i, int32_t j) { return unit(oldLine, sa, i) == unit(newLine, sb, j); }, matches);
  std::vector<char> keptA(static_cast<size_t>(n), 0), keptB(static_cast<size_t>(m), 0);
  for (const auto& [i, j] : matches) keptA[static_cast<size_t>(i)] = keptB[static_cast<size_t>(j)] = 1;
  auto ranges = [](const std::vector<uint32_t>& s, const std::vector<char>& kept, std::vector<TByteRange>& out) {
    for (size_t i = 0; i < kept.size(); ++i) {
      if (kept[i]) continue;
      if (!out.empty() && out.back().End == s[i]) out.back().End = s[i + 1];
      else out.push_back({s[i], s[i + 1]});
    }
  };
  ranges(sa, keptA, pair.Old);
  ranges(sb, keptB, pair.New);
}

}  // namespace

void SplitCharacters(std::string_view line, std::vector<uint32_t>& starts) {
  starts.clear();
  for (size_t i = 0; i < line.size(); i += CharLength(line, i)) starts.push_back(static_cast<uint32_t>(i));
  starts.push_back(static_cast<uint32_t>(line.size()));
}

TTextDiff::TTextDiff(std::string oldText, std::string newText, const TUnitSplitter& units)
    : oldText_(std::move(oldText)), newText_(std::move(newText)) {
  SplitLines(oldText_, oldLines_, oldEndsWithBreak_);
  SplitLines(newText_, newLines_, newEndsWithBreak_);
  // One id per distinct line; a last line without its break is not the same
  // line as one with it (diff -u shows it changed).
  std::unordered_map<std::string_view, int32_t> ids;
  auto idsOf = [&](const std::vector<std::string_view>& lines, bool endsWithBreak) {
    std::vector<int32_t> out;
    out.reserve(lines.size());
    for (const std::string_view line : lines) out.push_back(ids.try_emplace(line, static_cast<int32_t>(ids.size())).first->second);
    if (!lines.empty() && !endsWithBreak) out.back() = -1;
    return out;
  };
  std::vector<int32_t> a = idsOf(oldLines_, oldEndsWithBreak_);
  std::vector<int32_t> b = idsOf(newLines_, newEndsWithBreak_);
  // The unbroken last lines get ids of their own, equal only when their bytes are.
  const int32_t unbrokenOld = static_cast<int32_t>(ids.size());
  const int32_t unbrokenNew =
      !oldLines_.empty() && !newLines_.empty() && oldLines_.back() == newLines_.back() ? unbrokenOld : unbrokenOld + 1;
  if (!a.empty() && a.back() == -1) a.back() = unbrokenOld;
  if (!b.empty() && b.back() == -1) b.back() = unbrokenNew;
  blocks_ = BlocksBetween(TLineMatcher(a, b, unbrokenOld + 2).Run(), static_cast<int32_t>(a.size()),
                          static_cast<int32_t>(b.size()));
  for (const TLineBlock& block : blocks_) {
    for (int32_t i = 0; i < std::min(block.OldCount, block.NewCount); ++i) {
      TChangedPair& pair = pairs_.emplace_back();
      pair.OldLine = block.OldFirst + i;
      pair.NewLine = block.NewFirst + i;
      DiffPair(oldLines_[static_cast<size_t>(pair.OldLine)], newLines_[static_cast<size_t>(pair.NewLine)], units, pair);
    }
  }
}

namespace {

// "L,S" of a hunk header as diff -u writes it: an empty range names the line before it.
std::string Range(int32_t first, int32_t count) {
  if (count == 1) return std::to_string(first + 1);
  return std::to_string(count == 0 ? first : first + 1) + "," + std::to_string(count);
}

}  // namespace

std::string UnifiedDiff(const TTextDiff& diff, int context, std::string_view oldName, std::string_view newName,
                        const std::function<std::string(std::string_view)>& toOutput) {
  const std::vector<TLineBlock>& blocks = diff.Blocks();
  if (blocks.empty()) return {};
  const auto& oldLines = diff.OldLines();
  const auto& newLines = diff.NewLines();
  const int32_t n = static_cast<int32_t>(oldLines.size());
  const int32_t ctx = std::max(context, 0);
  std::string out = "--- " + std::string(oldName) + "\n+++ " + std::string(newName) + "\n";
  auto line = [&](char mark, std::string_view text, bool last, bool endsWithBreak) {
    out += mark;
    out += toOutput(text);
    out += '\n';
    if (last && !endsWithBreak) out += "\\ No newline at end of file\n";
  };
  const int32_t m = static_cast<int32_t>(newLines.size());
  for (size_t first = 0; first < blocks.size();) {
    // Blocks closer than two contexts share a hunk.
    size_t last = first;
    while (last + 1 < blocks.size() &&
           blocks[last + 1].OldFirst - (blocks[last].OldFirst + blocks[last].OldCount) <= 2 * ctx)
      ++last;
    const int32_t oldStart = std::max(0, blocks[first].OldFirst - ctx);
    const int32_t oldEnd = std::min(n, blocks[last].OldFirst + blocks[last].OldCount + ctx);
    const int32_t newStart = blocks[first].NewFirst - (blocks[first].OldFirst - oldStart);
    const int32_t newEnd = blocks[last].NewFirst + blocks[last].NewCount + (oldEnd - blocks[last].OldFirst - blocks[last].OldCount);
    out += "@@ -" + Range(oldStart, oldEnd - oldStart) + " +" + Range(newStart, newEnd - newStart) + " @@\n";
    int32_t a = oldStart, b = newStart;
    for (size_t i = first; i <= last + 1; ++i) {
      const int32_t keepTo = i <= last ? blocks[i].OldFirst : oldEnd;
      for (; a < keepTo; ++a, ++b) line(' ', oldLines[static_cast<size_t>(a)], a == n - 1, diff.OldEndsWithBreak());
      if (i > last) break;
      for (int32_t j = 0; j < blocks[i].OldCount; ++j, ++a)
        line('-', oldLines[static_cast<size_t>(a)], a == n - 1, diff.OldEndsWithBreak());
      for (int32_t j = 0; j < blocks[i].NewCount; ++j, ++b)
        line('+', newLines[static_cast<size_t>(b)], b == m - 1, diff.NewEndsWithBreak());
    }
    first = last + 1;
  }
  return out;
}

}  // namespace kelvane
