// Starting the player window.
#include "win32/WindowStart.h"

#include <charconv>

#include "win32/Win32PlayerWindow.h"

namespace kelvane {

std::optional<TWindowOptions> ParseWindowArgs(const std::vector<std::string>& args) {
  TWindowOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--at") {
      options.FormArgs.push_back(args[i]);
      continue;
    }
    if (i + 1 >= args.size()) return std::nullopt;
    const std::string& n = args[++i];
    int64_t at = 0;
    const auto [end, error] = std::from_chars(n.data(), n.data() + n.size(), at);
    if (error != std::errc() || end != n.data() + n.size()) return std::nullopt;
    options.At = at;
  }
  return options;
}

void StartWindow(Win32PlayerWindow& window, const TWindowOptions& options) {
  window.Guard([&] {
    window.Form().FormCreate(options.FormArgs);
    if (options.At) window.Explorer().Logic().GoTo(*options.At);
  });
}

}  // namespace kelvane
