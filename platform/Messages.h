// Message, virtual-key, scroll and IME numbers the editor control is driven by.
// These are the classic window-procedure numbers; each front end translates its
// native events into them, and tests send them directly.
#pragma once

#include <cstdint>

namespace kelvane {

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

enum : uint32_t {
  WM_SIZE = 0x0005,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_SETREDRAW = 0x000B,
  WM_ERASEBKGND = 0x0014,
  WM_MOUSEACTIVATE = 0x0021,
  WM_GETDLGCODE = 0x0087,
  WM_NCLBUTTONDOWN = 0x00A1,
  WM_NCRBUTTONDOWN = 0x00A4,
  WM_NCMBUTTONDOWN = 0x00A7,
  EM_CANUNDO = 0x00C6,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_IME_COMPOSITION = 0x010F,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_MBUTTONDOWN = 0x0207,
  WM_MOUSEWHEEL = 0x020A,
  WM_DROPFILES = 0x0233,
  WM_IME_NOTIFY = 0x0282,
  WM_IME_REQUEST = 0x0288,
  WM_CUT = 0x0300,
  WM_COPY = 0x0301,
  WM_PASTE = 0x0302,
  WM_UNDO = 0x0304,
  // The toolkit's font-changed notification (the control's own number).
  CM_FONTCHANGED = 0xB000 + 0x0F,
};

// Dialog codes answered to WM_GETDLGCODE.
enum : uint32_t { DLGC_WANTARROWS = 0x01, DLGC_WANTTAB = 0x04, DLGC_WANTCHARS = 0x80 };

// Scroll bar codes (low word of WM_HSCROLL / WM_VSCROLL's first parameter).
enum : uint32_t {
  SB_LINEUP = 0, SB_LINELEFT = 0,
  SB_LINEDOWN = 1, SB_LINERIGHT = 1,
  SB_PAGEUP = 2, SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3, SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6, SB_LEFT = 6,
  SB_BOTTOM = 7, SB_RIGHT = 7,
  SB_ENDSCROLL = 8,
};
enum class ScrollBarKind : uint8_t { Horz = 0, Vert = 1 };  // SB_HORZ, SB_VERT

// Virtual-key codes.
enum : uint32_t {
  VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
  VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
  VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
  VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F2 = 0x71,
  VK_LBUTTON = 0x01, VK_RBUTTON = 0x02,
};

// Mouse key flags in the first parameter of mouse messages.
enum : uint32_t { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08 };

// IME.
enum : uint32_t {
  GCS_RESULTSTR = 0x0800,
  IMN_CLOSECANDIDATE = 0x0004,
  IMN_OPENCANDIDATE = 0x0005,
  IMN_SETOPENSTATUS = 0x0008,
  IMR_RECONVERTSTRING = 0x0004,
  IMR_QUERYCHARPOSITION = 0x0006,
  CFS_POINT = 0x0002,
};

constexpr uint32_t LoWord(uintptr_t v) { return static_cast<uint32_t>(v & 0xFFFF); }
constexpr uint32_t HiWord(uintptr_t v) { return static_cast<uint32_t>((v >> 16) & 0xFFFF); }
constexpr LPARAM MakeLParam(uint32_t lo, uint32_t hi) {
  return static_cast<LPARAM>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16));
}

}  // namespace kelvane
