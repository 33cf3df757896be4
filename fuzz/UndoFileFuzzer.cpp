// Fuzz target: an undo file read into the player's editor, the history walked
// by steps the input chooses, the state written and read back into a fresh
// editor, which must then hold the same text and the same two stacks.
//
// Input: the file's bytes. The reader stops at the first NUL, so the bytes
// after it (never read as the file) are the walk: each is a signed number of
// steps, back (undo) when negative, forward (redo) when positive.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "fuzz/Invariants.h"
#include "headless/HeadlessPlayer.h"
#include "player/UndoFile.h"

namespace kelvane::fuzz {

namespace {

// Single steps per input, all moves together; each rescans a line of at most
// the input's size.
constexpr int kMaxSteps = 2048;

struct EditorState {
  std::string Text;
  int32_t Undo, Redo;
  bool operator==(const EditorState&) const = default;
};

EditorState StateOf(const TVeskEdit& e) {
  return {e.GetText(), e.Undo->FUndoList.Count(), e.Undo->FRedoList.Count()};
}

// One step; a record that does not fit the text is refused before anything
// changes. False when the step moved no record (none there, a mode the
// history does not know, or a refused record).
bool Step(TVeskEdit& e, bool back) {
  if (back ? !e.CanUndo() : !e.CanRedo()) return false;
  const EditorState before = StateOf(e);
  try {
    back ? e.UndoStep() : e.RedoStep();
  } catch (const EListError&) {
    Require(StateOf(e) == before, "a refused step changed the text or the stacks");
    return false;
  }
  return e.Undo->FUndoList.Count() != before.Undo;
}

void Walk(TVeskEdit& e, std::string_view moves) {
  int budget = kMaxSteps;
  for (unsigned char m : moves) {
    const int delta = static_cast<int8_t>(m);
    for (int i = 0; i < std::abs(delta) && budget > 0; ++i, --budget) {
      if (!Step(e, delta < 0)) break;
      CheckEditor(e);
    }
  }
}

// What in Text the file has no way to hold as it is (a NUL, a lone CR or LF,
// two 0x01 in a row, 0x01 before CR LF), for the report of a difference; empty
// when there is nothing.
std::string Unholdable(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("\r\n")) {
      ++i;
      continue;
    }
    const char* what = rest[0] == '\0'                   ? "a NUL"
                       : rest[0] == '\r' || rest[0] == '\n' ? "a lone CR or LF"
                       : rest.starts_with("\x01\x01")     ? "two 0x01 in a row"
                       : rest.starts_with("\x01\r\n")     ? "0x01 before CR LF"
                                                          : nullptr;
    if (what) return std::string(what) + " at byte " + std::to_string(i);
  }
  return {};
}

std::string UnholdableInStack(const TUndoList& list) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (std::string found = Unholdable(list[i].Text); !found.empty())
      return "(record " + std::to_string(i) + " holds " + found + ")";
  }
  return "(no record holds what the file cannot)";
}

void CheckReadBack(const TVeskEdit& a, const TVeskEdit& b) {
  if (a.GetText() != b.GetText()) {
    const std::string found = Unholdable(a.GetText());
    Fail("the text read back differs from the text written", found.empty() ? "" : "(it holds " + found + ")");
  }
  if (!SameRecords(a.Undo->FUndoList, b.Undo->FUndoList))
    Fail("the undo stack read back differs", UnholdableInStack(a.Undo->FUndoList));
  if (!SameRecords(a.Undo->FRedoList, b.Undo->FRedoList))
    Fail("the redo stack read back differs", UnholdableInStack(a.Undo->FRedoList));
}

// Reads Bytes into the player's editor as opening the file does: an error on
// the way ends the read and what was applied stays.
void Read(TVeskEdit& e, std::string_view bytes) {
  try {
    ReadUndoFileInto(e, bytes);
  } catch (const EVeskError&) {
  }
}

}  // namespace

}  // namespace kelvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kelvane;
  using namespace kelvane::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  const std::string_view moves = nul == std::string_view::npos ? std::string_view{} : input.substr(nul + 1);

  HeadlessPlayer first;
  Read(first.Editor(), input);
  CheckEditor(first.Editor());
  Walk(first.Editor(), moves);

  // A state the file cannot hold is refused by the writer, and that is all;
  // every other state must read back as the format promises.
  if (UnwritableReason(first.Editor())) return 0;
  const std::string file = BuildUndoFile(first.Editor());
  HeadlessPlayer second;
  Read(second.Editor(), file);
  CheckEditor(second.Editor());
  CheckReadBack(first.Editor(), second.Editor());
  return 0;
}
