// kelvane-cli's history verbs: log, timeline, diff, find, check, blame, stats.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

class TVeskEdit;

struct THistoryOptions {
  std::string Command;
  std::optional<int64_t> At;    // blame: the point (the loaded one without it)
  std::optional<int64_t> From;  // log, diff
  std::optional<int64_t> To;
  bool Csv = false;             // timeline
  int64_t Context = 3;          // diff
  std::string Needle;           // find: UTF-8
};

bool IsHistoryCommand(std::string_view command);

// Runs the verb on the history Editor holds (which it leaves as it is);
// returns the exit code.
int RunHistoryCommand(const THistoryOptions& o, const TVeskEdit& editor, std::ostream& out, std::ostream& err);

}  // namespace kelvane
