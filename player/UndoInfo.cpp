// The statistics report on the history.
#include "player/UndoInfo.h"

#include <iterator>

#include "player/HistoryView.h"
#include "util/TovelUtils.h"

namespace kelvane {

std::optional<std::string> BuildUndoInfo(const TVeskUndo& history, const std::string& fileName) {
  const HistoryView view(history);
  const int64_t total = view.Size();
  if (total == 0) return std::nullopt;
  // The raw modes as the stacks hold them now; a mode outside 0 … 3 (only a
  // file can hold one) counts in the total alone.
  const TEditKindCounts counts = view.RawCounts();
  static constexpr const char* kWords[] = {"insert", "delete", "enter", "change"};
  std::string text = "FileName\t" + ExtractFileName(fileName);
  text += "\r\ntotal\t: " + std::to_string(total);
  for (size_t m = 0; m < std::size(kWords); ++m) {
    text += "\r\n" + std::string(kWords[m]) + "\t: " + std::to_string(counts[m]) + "\t [" +
            std::to_string(counts[m] * 100 / total) + "%]";
  }
  return text;
}

}  // namespace kelvane
