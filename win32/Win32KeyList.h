// The key list (F1): every key of the window and of the editor in two
// columns, over the window until the next key or click.
#pragma once

#include <string>
#include <vector>

#include "win32/WinApi.h"

namespace kelvane {

struct TKeyRow {
  std::string Keys;
  std::string What;
};

struct TKeyList {
  std::vector<TKeyRow> Window;
  std::vector<TKeyRow> Editor;
};

// Shows the list centred on Owner and returns once a key (not a modifier
// alone) or a click has closed it; that key or click does nothing else.
void ShowKeyList(HWND owner, HFONT font, const TKeyList& list);

}  // namespace kelvane
