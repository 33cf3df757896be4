// TTextDiff: the difference of two texts by lines (patience anchors, Myers
// between them), and inside each changed pair of lines the exact byte ranges
// that differ, on unit boundaries: a double-byte character or a character
// reference is never split. Texts are code page 932 bytes with CR LF breaks.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Cuts a line into the units a changed range keeps whole: appends the offset
// of every unit's start, and the line's length last.
using TUnitSplitter = std::function<void(std::string_view line, std::vector<uint32_t>& starts)>;

// The units of the editor's lead-byte rule alone.
void SplitCharacters(std::string_view line, std::vector<uint32_t>& starts);

struct TByteRange {
  uint32_t Begin = 0;
  uint32_t End = 0;
  friend bool operator==(const TByteRange&, const TByteRange&) = default;
};

// Old lines OldFirst … OldFirst+OldCount−1 became new lines NewFirst … NewFirst+NewCount−1.
struct TLineBlock {
  int32_t OldFirst = 0;
  int32_t OldCount = 0;
  int32_t NewFirst = 0;
  int32_t NewCount = 0;
};

// The I-th old and the I-th new line of a block, and the byte ranges of each
// that the other does not have.
struct TChangedPair {
  int32_t OldLine = 0;
  int32_t NewLine = 0;
  std::vector<TByteRange> Old;
  std::vector<TByteRange> New;
};

class TTextDiff {
 public:
  TTextDiff(std::string oldText, std::string newText, const TUnitSplitter& units = SplitCharacters);
  TTextDiff(const TTextDiff&) = delete;
  TTextDiff& operator=(const TTextDiff&) = delete;

  // Lines without their breaks; a text ending with CR LF has no empty last line.
  const std::vector<std::string_view>& OldLines() const { return oldLines_; }
  const std::vector<std::string_view>& NewLines() const { return newLines_; }
  bool OldEndsWithBreak() const { return oldEndsWithBreak_; }
  bool NewEndsWithBreak() const { return newEndsWithBreak_; }
  const std::vector<TLineBlock>& Blocks() const { return blocks_; }  // in text order
  const std::vector<TChangedPair>& Pairs() const { return pairs_; }
  bool Equal() const { return blocks_.empty(); }

 private:
  std::string oldText_, newText_;
  std::vector<std::string_view> oldLines_, newLines_;
  bool oldEndsWithBreak_ = false, newEndsWithBreak_ = false;
  std::vector<TLineBlock> blocks_;
  std::vector<TChangedPair> pairs_;
};

// The difference as GNU diff -u prints it, each line converted by ToOutput
// and ended with LF: headers "--- OldName" and "+++ NewName", hunks with
// Context lines around, "\ No newline at end of file" after a last line
// without a break. Empty when the texts are equal.
std::string UnifiedDiff(const TTextDiff& diff, int context, std::string_view oldName, std::string_view newName,
                        const std::function<std::string(std::string_view)>& toOutput);

}  // namespace kelvane
