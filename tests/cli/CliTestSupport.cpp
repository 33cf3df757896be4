// Running kelvane-cli in-process and as a child process (posix_spawn, or
// CreateProcessW with its UTF-16 command line on Windows), and the file helpers.
#include "tests/cli/CliTestSupport.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#endif

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "cli/CliApp.h"

#ifndef _WIN32
extern char** environ;
#endif

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

#ifdef _WIN32

namespace {

// One argument as the C runtime splits a command line: quoted, with the
// backslashes before a quote doubled.
std::wstring QuoteArgument(const std::wstring& arg) {
  std::wstring out = L"\"";
  size_t slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, L'\\');
  return out + L"\"";
}

std::wstring WidePath(const std::string& utf8) { return PathOf(utf8).wstring(); }

HANDLE InheritableFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return ::CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TCliRun RunCliBinary(const std::vector<std::string>& args) {
  const TTempFolder capture;
  const std::string outPath = capture.Path("stdout");
  const std::string errPath = capture.Path("stderr");
  std::wstring line = QuoteArgument(WidePath(KELVANE_CLI_PATH));
  for (const std::string& a : args) line += L" " + QuoteArgument(WidePath(a));
  const HANDLE out = InheritableFile(outPath);
  const HANDLE err = InheritableFile(errPath);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                        &process);
  ::CloseHandle(out);
  ::CloseHandle(err);
  if (!started) throw std::runtime_error(std::string("cannot start ") + KELVANE_CLI_PATH);
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);

  TCliRun run;
  run.Exit = static_cast<int>(code);
  run.Out = ReadBytes(PathOf(outPath));
  run.Err = ReadBytes(PathOf(errPath));
  return run;
}

#else

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

#endif

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
