// An editor on the headless window, with its window created and sized, for
// tests of the editor's logic.
#pragma once

#include <string>
#include <vector>

#include "editor/VeskEdit.h"
#include "platform/Codepage.h"
#include "headless/HeadlessEditHost.h"

namespace kelvane::test {

struct EditorFixture {
  HeadlessEditHost host;
  TVeskEdit edit{host};

  EditorFixture() {
    edit.CreateWnd();
    edit.Perform(WM_SIZE, 0, MakeLParam(640, 480));
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (int32_t i = 0; i < edit.Items.Count(); ++i) out.push_back(edit.Items[i].Text);
    return out;
  }
  TUndoList& UndoList() { return edit.Undo->FUndoList; }
  TUndoList& RedoList() { return edit.Undo->FRedoList; }
};

// Code page 932 bytes of a UTF-8 literal.
inline std::string Sjis(std::string_view utf8) { return cp932::FromUtf8(utf8); }

}  // namespace kelvane::test
