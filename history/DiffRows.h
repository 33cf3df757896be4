// The rows the diff pane paints, laid out once per diff: hunks of changed
// lines with a little context, each row naming its bytes inside the diff and
// the characters to mark, and the code page 932 bytes of a line as the
// UTF-16 text it shows, with where each byte landed in it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/TextDiff.h"

namespace kelvane {

// Lines of context kept around each changed block.
constexpr int32_t kDiffContext = 3;
// Columns between tab stops.
constexpr int32_t kDiffTabColumns = 8;

enum class TDiffRowKind : uint8_t { hunk, context, removed, added, noBreak };

// A run of UTF-16 units of a row's shown text.
struct TShownRange {
  int32_t Begin = 0;
  int32_t End = 0;
  friend bool operator==(const TShownRange&, const TShownRange&) = default;
};

struct TDiffRow {
  TDiffRowKind Kind = TDiffRowKind::context;
  // Zero-based lines, −1 where the row has none. A hunk names its first lines
  // and holds its sizes in OldCount and NewCount.
  int32_t OldLine = -1;
  int32_t NewLine = -1;
  int32_t OldCount = 0;
  int32_t NewCount = 0;
  std::string_view Bytes;            // into the diff's texts
  std::vector<TShownRange> Changed;  // within ShowLine(Bytes).Text
};

// A line as shown: invalid bytes as U+FFFD, control characters other than the
// tab as their pictures. One UTF-16 unit per character (code page 932 has
// none beyond the BMP), so Index[b] is where byte b's character begins in
// Text (a byte inside a character gives its character's start); Index[size]
// is Text's length.
struct TShownLine {
  std::u16string Text;
  std::vector<int32_t> Index;
};
TShownLine ShowLine(std::string_view bytes);

// The columns a line takes: a byte each (a double-byte character is two, as
// in the editor), tabs to the next stop.
int32_t ShownColumns(std::string_view bytes);

// Byte ranges of a line as the runs of its shown text that hold them whole.
std::vector<TShownRange> ShownRanges(const TShownLine& line, const std::vector<TByteRange>& ranges);

// The rows of a unified layout, blocks closer than two contexts sharing a
// hunk. Costs the changed lines and their context, never the whole text.
std::vector<TDiffRow> BuildDiffRows(const TTextDiff& diff, int32_t context = kDiffContext);

// The first row at or after old line Line (rows keep the old lines' order).
size_t FirstRowFrom(const std::vector<TDiffRow>& rows, int32_t line);
// The digits of a line number in the gutter: enough for the longer text's
// lines, and never fewer than three however short the texts (none: three).
int GutterDigits(const TTextDiff* diff);

}  // namespace kelvane
