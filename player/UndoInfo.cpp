// The statistics report on the history.
#include "player/UndoInfo.h"

#include <array>

#include "editor/UndoHistory.h"
#include "util/TovelUtils.h"

namespace kelvane {

std::optional<std::string> BuildUndoInfo(const TVeskUndo& history, const std::string& fileName) {
  const int64_t total = int64_t{history.FUndoList.Count()} + history.FRedoList.Count();
  if (total == 0) return std::nullopt;
  // A mode outside 0 … 3 (only a file can hold one) counts in the total alone.
  std::array<int64_t, 4> counts{};
  for (const TUndoList* list : {&history.FUndoList, &history.FRedoList}) {
    for (int32_t i = 0; i < list->Count(); ++i) {
      const uint8_t mode = (*list)[i].Mode;
      if (mode < counts.size()) ++counts[mode];
    }
  }
  static constexpr const char* kWords[] = {"insert", "delete", "enter", "change"};
  std::string text = "FileName\t" + ExtractFileName(fileName);
  text += "\r\ntotal\t: " + std::to_string(total);
  for (size_t m = 0; m < counts.size(); ++m) {
    text += "\r\n" + std::string(kWords[m]) + "\t: " + std::to_string(counts[m]) + "\t [" +
            std::to_string(counts[m] * 100 / total) + "%]";
  }
  return text;
}

}  // namespace kelvane
