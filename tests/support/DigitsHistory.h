// "0123456" typed a digit at a time, as an undo file: the smallest history of
// the player's tests, with Undone of its records waiting on the redo stack.
#pragma once

#include <string>

#include "headless/HeadlessEditHost.h"
#include "player/UndoFile.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {

inline std::string DigitsHistoryFile(int undone) {
  HeadlessEditHost host;
  TVeskEdit edit(host);
  THistoryBuilder b(edit);
  for (int i = 0; i < 7; ++i) b.Insert({i, 0}, std::to_string(i));
  b.UndoNewest(undone);
  return BuildUndoFile(edit);
}

}  // namespace kelvane::test
