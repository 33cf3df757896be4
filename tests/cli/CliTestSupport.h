// Running kelvane-cli for the end-to-end tests: in-process through RunCli or as
// the built executable, plus temporary folders and undo-file bytes to feed it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/TempFolder.h"

namespace kelvane::test {

struct TCliRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// Fast, and covered by the sanitizers.
TCliRun RunCliInProcess(const std::vector<std::string>& args);
// The real executable, with stdout and stderr captured byte for byte.
TCliRun RunCliBinary(const std::vector<std::string>& args);

// A fixture file under tests/data.
std::string DataPath(std::string_view name);

// The first line of info: " Undo:U Redo:R Total:U+R" and LF.
std::string StatusLine(int undo, int redo);
// The first line of Out with its LF: the status line of info.
std::string FirstLine(const std::string& out);

// Undo-file bytes: each line followed by CR LF, as the writer ends them.
std::string EudLines(std::initializer_list<std::string_view> lines);
// The five lines of one record; Prefix is "ud" or "rd".
std::string EudRecord(std::string_view prefix, int mode, int64_t x, int64_t y, int64_t count, std::string_view text);

}  // namespace kelvane::test
