// What one history step changed, as marks for the editor to lay over the text:
// the bytes the step put in (a line break it made counts as its line's end)
// tinted, and a bar where it took text out. Worked out from the record the step
// applies and the few facts of the text it needs, read just before the step.
#pragma once

#include <cstdint>

#include "editor/ChangeMarks.h"
#include "editor/VeskEdit.h"

namespace kelvane {

// What the marks need of the text as it was before the step.
struct TStepProbe {
  bool Valid = false;
  bool Redo = false;
  uint8_t Mode = 0;       // of the record the step applies
  TPoint At;              // its position, kept inside its line
  int32_t LineLength = 0;  // of line At.Y (where an undone line break joins)
  int32_t UndoCount = 0;   // of the undo stack, to tell whether the step happened
};

// Before a single step back (Redo false) or forward; not valid when there is
// nothing to apply or the record names no line of the text.
TStepProbe ProbeStep(const TVeskEdit& e, bool redo);

// After the step: what it changed. Empty when the step did not happen or its
// record is of no known kind.
TChangeMarks StepMarks(const TVeskEdit& e, const TStepProbe& probe);

}  // namespace kelvane
