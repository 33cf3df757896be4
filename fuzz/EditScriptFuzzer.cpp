// Fuzz target: the input as an `edit` script, parsed as kelvane-cli parses it
// and, when it parses, played to the editor on the headless window as the
// command line plays it, one command at a time; the editor's invariants must
// hold after each, and undo-all then redo-all must give the text back.
#include <cstdint>
#include <sstream>
#include <string>

#include "cli/EditScript.h"
#include "fuzz/Invariants.h"
#include "headless/HeadlessPlayer.h"

namespace {

// Commands played per input: a bound on the history's per-step line rescans.
constexpr size_t kMaxCommands = 300;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvane;
  const std::string script(reinterpret_cast<const char*>(data), size);
  std::string error;
  std::optional<std::vector<TScriptCommand>> commands = ParseEditScript(script, error);
  if (!commands) return 0;
  if (commands->size() > kMaxCommands) commands->resize(kMaxCommands);
  HeadlessPlayer player;
  std::ostringstream out, err;
  for (const TScriptCommand& c : *commands) {
    const bool ok = RunEditScript({c}, player.Editor(), player.EditWindow, out, err);
    // Every record the script made was made by the editor, so each one fits.
    if (!ok) fuzz::Fail("an edit of the script failed", err.str());
    fuzz::CheckEditor(player.Editor(), c.Verb);
  }
  fuzz::CheckUndoAllRedoAll(player.Editor(), static_cast<int>(kMaxCommands) * 64);
  return 0;
}
