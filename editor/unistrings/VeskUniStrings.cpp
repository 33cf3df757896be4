// The character entity reference table and the end-of-text mark.
#include "editor/unistrings/VeskUniStrings.h"

namespace kelvane {

const std::array<TVeskUniRec, 252> UniTable = {{
#include "editor/unistrings/VeskUniTable.inc"
}};

uint16_t FindUniName(std::string_view name) {
  for (const TVeskUniRec& rec : UniTable) {
    if (rec.Name == name) return rec.Code;
  }
  return 0;
}

}  // namespace kelvane
