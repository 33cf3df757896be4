// The statistics report on the history the editor holds: the total and the
// number and share of each mode over both stacks.
#pragma once

#include <optional>
#include <string>

namespace kelvane {

class TVeskUndo;

// Six lines joined by CR LF, or nothing when both stacks are empty.
std::optional<std::string> BuildUndoInfo(const TVeskUndo& history, const std::string& fileName);

}  // namespace kelvane
