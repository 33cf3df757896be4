// Diff rows and shown lines.
#include "history/DiffRows.h"

#include <algorithm>

#include "platform/Codepage.h"

namespace kelvane {

namespace {

constexpr char16_t kControlPictures = u'\u2400';
constexpr char16_t kDeletePicture = u'\u2421';
constexpr char16_t kReplacement = u'\uFFFD';

// One character at I: its bytes and what it shows.
struct TShownChar {
  size_t Bytes = 1;
  char16_t Shown = kReplacement;
};

// As ToUtf8Marked decodes, so a reader sees the same marks in every view.
TShownChar DecodeAt(std::string_view bytes, size_t i) {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (b == '\t') return {1, u'\t'};
  if (b < 0x20) return {1, static_cast<char16_t>(kControlPictures + b)};
  if (b == 0x7F) return {1, kDeletePicture};
  if (cp932::IsLeadByte(b)) {
    if (i + 1 >= bytes.size()) return {};
    const char16_t c = cp932::DecodeDouble(b, static_cast<unsigned char>(bytes[i + 1]));
    return c == cp932::kUnmapped ? TShownChar{} : TShownChar{2, c};
  }
  const char16_t c = cp932::DecodeSingle(b);
  return {1, c == cp932::kUnmapped ? kReplacement : c};
}

}  // namespace

TShownLine ShowLine(std::string_view bytes) {
  TShownLine out;
  out.Index.resize(bytes.size() + 1);
  out.Text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const TShownChar c = DecodeAt(bytes, i);
    out.Index[i] = static_cast<int32_t>(out.Text.size());
    if (c.Bytes == 2) out.Index[i + 1] = out.Index[i];
    out.Text.push_back(c.Shown);
    i += c.Bytes;
  }
  out.Index[bytes.size()] = static_cast<int32_t>(out.Text.size());
  return out;
}

int32_t ShownColumns(std::string_view bytes) {
  int32_t column = 0;
  for (const char b : bytes) column += b == '\t' ? kDiffTabColumns - column % kDiffTabColumns : 1;
  return column;
}

std::vector<TShownRange> ShownRanges(const TShownLine& line, const std::vector<TByteRange>& ranges) {
  const size_t size = line.Index.size() - 1;
  std::vector<TShownRange> out;
  out.reserve(ranges.size());
  for (const TByteRange& r : ranges) {
    const size_t begin = std::min<size_t>(r.Begin, size);
    size_t end = std::clamp<size_t>(r.End, begin, size);
    // An end inside a character takes the whole character.
    if (end > begin && end < size && line.Index[end] == line.Index[end - 1]) ++end;
    if (end > begin) out.push_back({line.Index[begin], line.Index[end]});
  }
  return out;
}

namespace {

class TRowBuilder {
 public:
  TRowBuilder(const TTextDiff& diff, int32_t context)
      : diff_(diff),
        blocks_(diff.Blocks()),
        oldCount_(static_cast<int32_t>(diff.OldLines().size())),
        newCount_(static_cast<int32_t>(diff.NewLines().size())),
        context_(std::max(context, 0)) {}

  std::vector<TDiffRow> Run() {
    for (size_t first = 0; first < blocks_.size();) {
      const size_t last = LastOfHunk(first);
      Hunk(first, last);
      first = last + 1;
    }
    return std::move(rows_);
  }

 private:
  // Blocks closer than two contexts share a hunk.
  size_t LastOfHunk(size_t first) const {
    size_t last = first;
    while (last + 1 < blocks_.size() &&
           blocks_[last + 1].OldFirst - (blocks_[last].OldFirst + blocks_[last].OldCount) <= 2 * context_)
      ++last;
    return last;
  }

  void Hunk(size_t first, size_t last) {
    const TLineBlock& head = blocks_[first];
    const TLineBlock& tail = blocks_[last];
    const int32_t oldStart = std::max(0, head.OldFirst - context_);
    const int32_t oldEnd = std::min(oldCount_, tail.OldFirst + tail.OldCount + context_);
    const int32_t newStart = head.NewFirst - (head.OldFirst - oldStart);
    const int32_t newEnd = tail.NewFirst + tail.NewCount + (oldEnd - tail.OldFirst - tail.OldCount);
    rows_.push_back({TDiffRowKind::hunk, oldStart, newStart, oldEnd - oldStart, newEnd - newStart, {}, {}});
    int32_t a = oldStart, b = newStart;
    for (size_t i = first; i <= last; ++i) {
      for (; a < blocks_[i].OldFirst; ++a, ++b) Context(a, b);
      Block(blocks_[i]);
      a += blocks_[i].OldCount;
      b += blocks_[i].NewCount;
    }
    for (; a < oldEnd; ++a, ++b) Context(a, b);
  }

  void Context(int32_t a, int32_t b) {
    rows_.push_back({TDiffRowKind::context, a, b, 0, 0, Old(a), {}});
    if (a == oldCount_ - 1 && !diff_.OldEndsWithBreak()) NoBreak();
  }

  // Removed lines, then added ones; the first of each side are the block's
  // changed pairs, whose differing characters are marked.
  void Block(const TLineBlock& block) {
    const std::vector<TChangedPair>& pairs = diff_.Pairs();
    const size_t pairBase = pair_;
    const int32_t paired = std::min(block.OldCount, block.NewCount);
    pair_ += static_cast<size_t>(paired);
    for (int32_t j = 0; j < block.OldCount; ++j) {
      const int32_t a = block.OldFirst + j;
      TDiffRow& row = rows_.emplace_back(TDiffRow{TDiffRowKind::removed, a, -1, 0, 0, Old(a), {}});
      if (j < paired) row.Changed = ShownRanges(ShowLine(row.Bytes), pairs[pairBase + static_cast<size_t>(j)].Old);
      if (a == oldCount_ - 1 && !diff_.OldEndsWithBreak()) NoBreak();
    }
    for (int32_t j = 0; j < block.NewCount; ++j) {
      const int32_t b = block.NewFirst + j;
      TDiffRow& row = rows_.emplace_back(TDiffRow{TDiffRowKind::added, -1, b, 0, 0, New(b), {}});
      if (j < paired) row.Changed = ShownRanges(ShowLine(row.Bytes), pairs[pairBase + static_cast<size_t>(j)].New);
      if (b == newCount_ - 1 && !diff_.NewEndsWithBreak()) NoBreak();
    }
  }

  void NoBreak() { rows_.push_back({TDiffRowKind::noBreak, -1, -1, 0, 0, {}, {}}); }
  std::string_view Old(int32_t a) const { return diff_.OldLines()[static_cast<size_t>(a)]; }
  std::string_view New(int32_t b) const { return diff_.NewLines()[static_cast<size_t>(b)]; }

  const TTextDiff& diff_;
  const std::vector<TLineBlock>& blocks_;
  const int32_t oldCount_, newCount_, context_;
  size_t pair_ = 0;  // the pairs come block by block, in text order
  std::vector<TDiffRow> rows_;
};

}  // namespace

std::vector<TDiffRow> BuildDiffRows(const TTextDiff& diff, int32_t context) {
  return TRowBuilder(diff, context).Run();
}

size_t FirstRowFrom(const std::vector<TDiffRow>& rows, int32_t line) {
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].OldLine >= line) return i;
  return rows.size();
}

int GutterDigits(const TTextDiff* diff) {
  constexpr int kMinDigits = 3;
  size_t n = diff ? std::max(diff->OldLines().size(), diff->NewLines().size()) : 0;
  int digits = 1;
  for (; n >= 10; n /= 10) ++digits;
  return std::max(digits, kMinDigits);
}

}  // namespace kelvane
