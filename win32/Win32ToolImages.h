// The player's tool images on GDI (open, undo, redo, save, save as, auto
// undo, auto redo, first, last, info: indices 0 to 9; the explorer's gauge
// and flag: 10 and 11), the same shapes the Qt port draws, and the program's
// image as a window icon.
#pragma once

#include "win32/WinApi.h"

namespace kelvane {

inline constexpr int kToolImageCount = 12;

// An image list of the 16 × 16 images; the caller destroys it.
HIMAGELIST CreateToolImages();
// The program's image at Size × Size pixels; the caller destroys it.
HICON CreateAppIcon(int size);

}  // namespace kelvane
