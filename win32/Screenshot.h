// kelvane --screenshot OUT.png [--size WxH] [--at N] [--panels LIST] [--diff-from A] [FILE]:
// the window with FILE at history point N and the explorer's panels of LIST
// (history, timeline, diff, tint) open, rendered into a PNG, for tests and
// documentation.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvane {

struct TScreenshotOptions {
  std::string Output;  // UTF-8
  int Width = 640;
  int Height = 480;
  std::optional<int> At;
  std::vector<std::string> Panels;
  std::optional<int> DiffFrom;  // opens the diff pane from this point
  std::string File;
};

// The options from the arguments after the program name; nullopt on a usage error.
std::optional<TScreenshotOptions> ParseScreenshotArgs(const std::vector<std::string>& args);

// 0 on success, 1 when the file cannot be opened or the PNG not written.
int RunScreenshot(const TScreenshotOptions& options);

}  // namespace kelvane
