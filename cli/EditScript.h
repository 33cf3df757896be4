// Scripts of editor messages for `kelvane-cli edit`: one command a line, read
// and checked whole before anything runs, then played to the control on the
// headless window.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kelvane {

class TVeskEdit;
class HeadlessEditHost;

struct TScriptCommand {
  int LineNo = 0;
  std::string Verb;
  std::vector<int64_t> Numbers;  // codes, coordinates, positions
  std::string Text;              // code page 932 bytes (TEXT arguments), or a name
  std::string Value;             // the value of "set"
  bool Shift = false, Ctrl = false, Alt = false;
};

// Parses the whole script; on the first line it does not know, returns nothing
// and says why (with the line number) in Error.
std::optional<std::vector<TScriptCommand>> ParseEditScript(const std::string& script, std::string& error);

// Plays the commands; "dump" and "records" print to Out. An operation that
// fails is reported on Err and the rest still runs; returns false if any failed.
bool RunEditScript(const std::vector<TScriptCommand>& commands, TVeskEdit& editor, HeadlessEditHost& host,
                   std::ostream& out, std::ostream& err);

// Sets a published property by its name; false for an unknown name or a value
// of the wrong form (Booleans true/false, integers, colours as 0x-hexadecimal).
bool SetPropertyByName(TVeskEdit* editor, const std::string& name, const std::string& value);

}  // namespace kelvane
