// The layering rule of the source tree, checked on the #include lines: the
// seam and the logic never reach up into a port, a front end or a toolkit,
// the editor never reaches into the player, and the analysis names no port.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvane {

struct TIncludeViolation {
  std::string File;     // relative to the scanned root
  int Line = 0;
  std::string Include;  // the included name as written
  std::string Reason;
};

// Every #include under Root that breaks the rule, in file and line order.
std::vector<TIncludeViolation> FindIncludeViolations(const std::filesystem::path& root);

}  // namespace kelvane
