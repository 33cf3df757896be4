// A key held down for the life of a scope, in the thread's key state that
// GetKeyState and the accelerator tables read. Windows only; like
// win32/WinApi.h, include it after the other headers.
#pragma once

#include "win32/WinApi.h"

namespace kelvane::test {

class TKeyHeld {
 public:
  explicit TKeyHeld(int vk) : vk_(vk) { Set(0x80); }
  ~TKeyHeld() { Set(0); }
  TKeyHeld(const TKeyHeld&) = delete;
  TKeyHeld& operator=(const TKeyHeld&) = delete;

 private:
  void Set(BYTE state) {
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[vk_] = state;
    ::SetKeyboardState(keys);
  }
  int vk_;
};

}  // namespace kelvane::test
