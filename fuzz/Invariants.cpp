// The editor's invariants as the fuzz targets check them.
#include "fuzz/Invariants.h"

#include <cstdio>
#include <cstdlib>

#include "editor/VeskEdit.h"

namespace kelvane::fuzz {

namespace {

std::string Where(TPoint p) { return "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")"; }

void CheckInside(const TVeskEdit& e, TPoint p, std::string_view what, std::string_view after) {
  const bool lineExists = p.Y >= 0 && p.Y < e.Items.Count();
  if (lineExists && p.X >= 0 && p.X <= e.Items[p.Y].TextLength()) return;
  const std::string length = lineExists ? ", that line " + std::to_string(e.Items[p.Y].TextLength()) + " bytes" : "";
  Fail(what, Where(p) + " with " + std::to_string(e.Items.Count()) + " lines" + length + ", after " +
                 std::string(after));
}

}  // namespace

void Fail(std::string_view what, const std::string& detail) {
  std::fprintf(stderr, "invariant broken: %.*s %s\n", static_cast<int>(what.size()), what.data(), detail.c_str());
  std::abort();
}

void CheckEditor(const TVeskEdit& e, std::string_view after) {
  Require(e.Items.Count() > 0, "the line list is empty");
  for (int32_t y = 0; y < e.Items.Count(); ++y) {
    const TVeskItem& line = e.Items[y];
    const size_t n = line.Text.size();
    if (line.Attrs().size() != n || line.RefChars().size() != n || line.Widths().size() != n || line.Classes().size() != n)
      Fail("derived strings differ in length from the text",
           "on line " + std::to_string(y) + ", after " + std::string(after));
  }
  CheckInside(e, e.CaretPos, "caret outside the text", after);
  CheckInside(e, e.SelAnchor, "selection anchor outside the text", after);
}

bool SameRecords(const TUndoList& a, const TUndoList& b) {
  if (a.Count() != b.Count()) return false;
  for (int32_t i = 0; i < a.Count(); ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

void CheckUndoAllRedoAll(TVeskEdit& e, int maxSteps) {
  const std::string before = e.GetText();
  int undone = 0;
  for (; undone < maxSteps && e.CanUndo(); ++undone) {
    e.UndoStep();
    CheckEditor(e, "undo " + std::to_string(undone + 1) + " of undo-all");
  }
  for (int i = 0; i < undone; ++i) {
    if (!e.CanRedo())
      Fail("the redo stack ran out before every undone step was redone",
           std::to_string(i) + " of " + std::to_string(undone));
    e.RedoStep();
    CheckEditor(e, "redo " + std::to_string(i + 1) + " of redo-all");
  }
  if (e.GetText() != before)
    Fail("undoing everything and redoing it gives another text", std::to_string(undone) + " steps each way");
}

}  // namespace kelvane::fuzz
