// kelvane [FILE.eud] [--at N]: the window's own arguments, and starting it
// with them (N is clamped to 0 … T, as the scroll bar counts points).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

class Win32PlayerWindow;

struct TWindowOptions {
  std::vector<std::string> FormArgs;  // what the form takes: the file
  std::optional<int64_t> At;
};

// Nullopt for --at without a whole number after it.
std::optional<TWindowOptions> ParseWindowArgs(const std::vector<std::string>& args);

// The form created with its arguments, then a jump to the point asked for.
void StartWindow(Win32PlayerWindow& window, const TWindowOptions& options);

}  // namespace kelvane
