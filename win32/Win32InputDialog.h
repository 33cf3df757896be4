// One line asked for in a modal dialog: a number (the go-to point) or a text
// (a marker's label). The dialog is built in memory, so kelvane.exe needs no
// dialog resource; its text is UTF-8 here and UTF-16 at the system.
#pragma once

#include <optional>
#include <string>

#include "win32/WinApi.h"

namespace kelvane {

struct TInputRequest {
  std::string Title;
  std::string Prompt;
  std::string Initial;
  bool Number = false;  // digits only
};

// What was typed, or nullopt when cancelled.
std::optional<std::string> AskLine(HWND owner, const TInputRequest& request);

}  // namespace kelvane
