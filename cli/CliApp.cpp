// kelvane-cli: argument parsing and the commands text, info and save.
#include "cli/CliApp.h"

#include <cstdint>
#include <iostream>
#include <iterator>
#include <optional>
#include <ostream>

#include "headless/HeadlessPlayer.h"
#include "cli/EditScript.h"
#include "cli/HistoryCommands.h"
#include "cli/Hex.h"
#include "editor/Errors.h"
#include "platform/Codepage.h"
#include "platform/FileSystem.h"
#include "player/UndoInfo.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  kelvane-cli text FILE [--at N] [--utf8]   print the text at history point N\n"
    "  kelvane-cli info FILE [--at N]            print the status and the statistics\n"
    "  kelvane-cli save FILE [--at N] -o OUT     save the state at point N as an undo file\n"
    "  kelvane-cli scan FILE [--at N] [--numref] [--nameref] [--keyword G=WORD]...\n"
    "                                            print the scanner's view of every line as JSON\n"
    "  kelvane-cli edit [FILE] [--at N] --script SCRIPT [-o OUT]\n"
    "                                            play a script of editor messages (SCRIPT - for stdin)\n"
    "  kelvane-cli log FILE [--from A] [--to B]    one JSON object per record A <= k < B\n"
    "  kelvane-cli timeline FILE [--csv]          bytes and lines at every point, and its record\n"
    "  kelvane-cli diff FILE --from A --to B [--context N]\n"
    "                                            unified diff of the texts at points A and B\n"
    "  kelvane-cli find FILE TEXT                 the ranges of points whose text contains TEXT\n"
    "  kelvane-cli check FILE                     every problem of the history, one JSON object each\n"
    "  kelvane-cli blame FILE [--at N]            which record typed each byte of the text at N\n"
    "  kelvane-cli stats FILE                     kinds as made, characters added and removed per script\n"
    "  kelvane-cli --help | --version\n"
    "\n"
    "FILE and OUT are undo files (.eud). N is the number of records on the undo stack\n"
    "(0 = everything undone); it is clamped to the history. Exit codes: 0 success,\n"
    "1 a file could not be opened, read or written, 2 usage error, 3 a history step failed.\n";

struct CliOptions {
  std::string Command;
  std::string File;
  bool HasFile = false;
  std::optional<int64_t> At;
  bool Utf8 = false;
  std::optional<std::string> Out;
  bool NumRef = false;
  bool NameRef = false;
  std::vector<std::pair<int, std::string>> Keywords;  // group 1 … 8, word bytes
  std::optional<std::string> Script;
  THistoryOptions History;
  bool HasNeedle = false;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A decimal number, saturated to the 64-bit range; nullopt when it is no number.
std::optional<int64_t> ParseCount(const std::string& s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v > (INT64_MAX - 9) / 10 ? INT64_MAX : v * 10 + (s[i] - '0');
  }
  return negative ? -v : v;
}

CliOptions ParseArgs(const std::vector<std::string>& args) {
  CliOptions o;
  if (args.empty()) throw UsageError("no command given");
  o.Command = args[0];
  const bool history = IsHistoryCommand(o.Command);
  if (o.Command != "text" && o.Command != "info" && o.Command != "save" && o.Command != "scan" && o.Command != "edit" &&
      !history)
    throw UsageError("unknown command '" + o.Command + "'");
  o.History.Command = o.Command;
  bool optionsEnded = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      return args[++i];
    };
    auto number = [&]() {
      std::optional<int64_t> n = ParseCount(value());
      if (!n) throw UsageError(a + " needs a whole number");
      return *n;
    };
    const bool isOption = !optionsEnded && !a.empty() && a[0] == '-' && a != "-";
    if (!isOption && o.HasFile && o.Command == "find" && !o.HasNeedle) {
      o.History.Needle = a;
      o.HasNeedle = true;
    } else if (a == "--" && o.Command == "find" && !optionsEnded) {
      optionsEnded = true;
    } else if (!isOption) {
      if (o.HasFile) throw UsageError("unexpected argument '" + a + "'");
      o.File = a;
      o.HasFile = true;
    } else if (a == "--at" && o.Command != "log" && o.Command != "timeline" && o.Command != "diff" &&
               o.Command != "find" && o.Command != "check" && o.Command != "stats") {
      o.At = number();
      o.History.At = o.At;
    } else if (a == "--from" && (o.Command == "log" || o.Command == "diff")) {
      o.History.From = number();
    } else if (a == "--to" && (o.Command == "log" || o.Command == "diff")) {
      o.History.To = number();
    } else if (a == "--context" && o.Command == "diff") {
      o.History.Context = number();
      if (o.History.Context < 0) throw UsageError("--context needs a number from 0 on");
    } else if (a == "--csv" && o.Command == "timeline") {
      o.History.Csv = true;
    } else if (a == "--utf8" && o.Command == "text") {
      o.Utf8 = true;
    } else if (a == "--script" && o.Command == "edit") {
      o.Script = value();
    } else if (a == "-o" && (o.Command == "save" || o.Command == "edit")) {
      o.Out = value();
    } else if (a == "--numref" && o.Command == "scan") {
      o.NumRef = true;
    } else if (a == "--nameref" && o.Command == "scan") {
      o.NameRef = true;
    } else if (a == "--keyword" && o.Command == "scan") {
      const std::string& spec = value();
      if (spec.size() < 2 || spec[0] < '1' || spec[0] > '8' || spec[1] != '=')
        throw UsageError("--keyword needs G=WORD with G from 1 to 8");
      o.Keywords.emplace_back(spec[0] - '0', spec.substr(2));
    } else {
      throw UsageError("unknown option '" + a + "' for " + o.Command);
    }
  }
  if (!o.HasFile && o.Command != "edit") throw UsageError(o.Command + " needs a FILE");
  if (o.Command == "edit" && !o.Script) throw UsageError("edit needs --script SCRIPT");
  if (o.Command == "save" && !o.Out) throw UsageError("save needs -o OUT");
  if (o.Command == "diff" && (!o.History.From || !o.History.To)) throw UsageError("diff needs --from A and --to B");
  if (o.Command == "find" && !o.HasNeedle) throw UsageError("find needs a TEXT");
  return o;
}

bool HasUndoFileExt(const std::string& path) { return LowerAscii(ExtractFileExt(path)) == kUndoFileExt; }

// Steps to point N as a release of the history thumb does. False when a step failed.
bool StepTo(HeadlessPlayer& player, int64_t at, std::ostream& err) {
  TVeskUndo& history = *player.Editor().Undo;
  const int64_t u = history.FUndoList.Count();
  const int64_t total = u + history.FRedoList.Count();
  const int64_t target = std::clamp<int64_t>(at, 0, total);
  try {
    player.Form.StepHistory(static_cast<int32_t>(target - u), false);
  } catch (const std::exception& e) {
    err << "kelvane-cli: a history step failed: " << e.what() << "\n";
    return false;
  }
  return true;
}

// One JSON object per line: its bytes and what the scanner derived from them.
void PrintScan(TVeskEdit& editor, const CliOptions& o, std::ostream& out) {
  for (const auto& [group, word] : o.Keywords) editor.Keywords.Items(group - 1).Words.push_back(word);
  editor.SetShowNumRef(o.NumRef);
  editor.SetShowNameRef(o.NameRef);
  editor.Items.ScanAll();
  std::string line;
  for (int32_t y = 0; y < editor.Items.Count(); ++y) {
    const TVeskItem& item = editor.Items[y];
    line = "{\"y\":" + std::to_string(y) + ",\"text\":\"" + Hex(item.Text) + "\",\"attrs\":\"" + Hex(item.Attrs()) +
           "\",\"classes\":\"" + item.Classes() + "\",\"widths\":[";
    for (size_t i = 0; i < item.Text.size(); ++i) line += (i ? "," : "") + std::to_string(item.WidthAt(i));
    line += "],\"refs\":[";
    for (size_t i = 0; i < item.Text.size(); ++i) line += (i ? "," : "") + std::to_string(+item.RefCharAt(i));
    line += "]}\n";
    out << line;
  }
}

bool CheckUndoFilePath(const std::string& path, bool mustExist, std::ostream& err) {
  if (!HasUndoFileExt(path)) {
    err << "kelvane-cli: " << path << ": not an undo file (the extension must be .eud)" << (mustExist ? "" : "; nothing written")
        << "\n";
    return false;
  }
  if (mustExist && !FileExists(path)) {
    err << "kelvane-cli: " << path << ": no such file\n";
    return false;
  }
  return true;
}

// The script's text, from a file or from standard input ("-").
bool ReadScript(const std::string& source, std::string& script, std::ostream& err) {
  if (source == "-") {
    script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  if (ReadWholeFile(source, script)) return true;
  err << "kelvane-cli: " << source << ": the script cannot be read\n";
  return false;
}

bool SaveTo(HeadlessPlayer& player, const std::string& path, std::ostream& err) {
  const bool written = player.Form.WriteUndoFile(path);
  for (const std::string& m : player.Window.Messages) err << m << "\n";
  if (!written && player.Window.Messages.empty()) {
    err << "kelvane-cli: " << path << ": cannot be written";
    if (!player.Form.SaveError().empty()) err << " (" << player.Form.SaveError() << ")";
    err << "\n";
  }
  return written;
}

int RunCommand(const CliOptions& o, std::ostream& out, std::ostream& err) {
  if (o.HasFile && !CheckUndoFilePath(o.File, true, err)) return kExitFile;
  if (o.Out && !CheckUndoFilePath(*o.Out, false, err)) return kExitFile;
  std::vector<TScriptCommand> script;
  if (o.Script) {
    std::string text, error;
    if (!ReadScript(*o.Script, text, err)) return kExitFile;
    std::optional<std::vector<TScriptCommand>> parsed = ParseEditScript(text, error);
    if (!parsed) {
      err << "kelvane-cli: " << *o.Script << ": " << error << "\n";
      return kExitUsage;
    }
    script = std::move(*parsed);
  }
  HeadlessPlayer player;
  if (o.HasFile && !player.Form.LoadUndoFile(o.File)) {
    err << "kelvane-cli: " << o.File << ": cannot be read\n";
    return kExitFile;
  }
  // The history verbs read the history as loaded and step editors of their own.
  if (IsHistoryCommand(o.Command)) {
    const int exit = RunHistoryCommand(o.History, player.Editor(), out, err);
    out.flush();
    if (!out) {
      err << "kelvane-cli: the output could not be written\n";
      return kExitFile;
    }
    return exit;
  }
  bool stepped = !o.At || StepTo(player, *o.At, err);
  TVeskEdit& editor = player.Editor();
  if (o.Command == "text") {
    const std::string text = editor.GetText();
    out << (o.Utf8 ? cp932::ToUtf8(text) : text);
  } else if (o.Command == "scan") {
    PrintScan(editor, o, out);
  } else if (o.Command == "info") {
    player.Form.UpdateStatus(true);
    out << player.Window.StatusText << "\n";
    if (auto report = BuildUndoInfo(*editor.Undo, player.Form.FFileName)) out << ReplaceAll(*report, "\r\n", "\n") << "\n";
  } else if (o.Command == "edit") {
    stepped = RunEditScript(script, editor, player.EditWindow, out, err) && stepped;
    if (o.Out && !SaveTo(player, *o.Out, err)) return kExitFile;
  } else if (!SaveTo(player, *o.Out, err)) {
    return kExitFile;
  }
  out.flush();
  if (!out) {
    err << "kelvane-cli: the output could not be written\n";
    return kExitFile;
  }
  return stepped ? kExitOk : kExitStep;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "--version")) {
    if (args[0] == "--help") out << kUsage;
    else out << "kelvane-cli " << kAppTitle << " " << kVersionText << "\n";
    if (out.flush()) return kExitOk;
    err << "kelvane-cli: the output could not be written\n";
    return kExitFile;
  }
  CliOptions options;
  try {
    options = ParseArgs(args);
  } catch (const UsageError& e) {
    err << "kelvane-cli: " << e.what() << "\n" << kUsage;
    return kExitUsage;
  }
  try {
    return RunCommand(options, out, err);
  } catch (const std::exception& e) {
    err << "kelvane-cli: " << e.what() << "\n";
    return kExitFile;
  }
}

}  // namespace kelvane
