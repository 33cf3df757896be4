// The player on the headless platform: both hosts, the form, and the editor's
// window created at 640 × 480 with the focus, as the command line runs it.
#pragma once

#include "headless/HeadlessEditHost.h"
#include "headless/HeadlessPlayerHost.h"
#include "player/UnitMain.h"

namespace kelvane {

struct HeadlessPlayer {
  HeadlessEditHost EditWindow;
  HeadlessPlayerHost Window;
  TFormKelvane Form;

  HeadlessPlayer() : Form(Window, EditWindow) {
    TVeskEdit& editor = *Form.Editor;
    editor.CreateWnd();
    editor.Perform(WM_SIZE, 0, MakeLParam(640, 480));
    EditWindow.Focused = true;
    editor.Perform(WM_SETFOCUS);
    Form.FormCreate({});
  }
  TVeskEdit& Editor() { return *Form.Editor; }
};

}  // namespace kelvane
