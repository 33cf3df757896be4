// kelvane-cli: the player's history replay on the command line.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelvane {

enum CliExit : int { kExitOk = 0, kExitFile = 1, kExitUsage = 2, kExitStep = 3 };

// Runs the command line (arguments without the program name); returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kelvane
