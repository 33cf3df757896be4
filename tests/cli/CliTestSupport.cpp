// Running kelvane-cli in-process and as a child process, and the file helpers.
#include "tests/cli/CliTestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "cli/CliApp.h"

extern char** environ;

namespace kelvane::test {

namespace fs = std::filesystem;

TCliRun RunCliInProcess(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  TCliRun run;
  run.Exit = RunCli(args, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

TCliRun RunCliBinary(const std::vector<std::string>& args) {
  // Files rather than pipes: nothing can block however much the child writes.
  const TTempFolder capture;
  const std::string outPath = capture.Path("stdout");
  const std::string errPath = capture.Path("stderr");
  std::vector<std::string> argv{KELVANE_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error(std::string("cannot start ") + KELVANE_CLI_PATH);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) throw std::runtime_error("waitpid failed");

  TCliRun run;
  run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.Out = ReadBytes(outPath);
  run.Err = ReadBytes(errPath);
  return run;
}

std::string DataPath(std::string_view name) { return std::string(KELVANE_SOURCE_DIR "/tests/data/") + std::string(name); }

std::string StatusLine(int undo, int redo) {
  return " Undo:" + std::to_string(undo) + " Redo:" + std::to_string(redo) + " Total:" + std::to_string(undo + redo) +
         "\n";
}

std::string FirstLine(const std::string& out) { return out.substr(0, out.find('\n') + 1); }

std::string EudLines(std::initializer_list<std::string_view> lines) {
  std::string out;
  for (std::string_view line : lines) out.append(line).append("\r\n");
  return out;
}

std::string EudRecord(std::string_view prefix, int mode, int64_t x, int64_t y, int64_t count, std::string_view text) {
  const std::string p(prefix);
  return EudLines({p + "MODE=" + std::to_string(mode), p + "CARET_X=" + std::to_string(x),
                   p + "CARET_Y=" + std::to_string(y), p + "COUNT=" + std::to_string(count),
                   p + "TEXT=" + std::string(text)});
}

}  // namespace kelvane::test
