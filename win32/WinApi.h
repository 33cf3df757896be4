// The one way a file of the Windows port reaches the Windows headers. The
// seam (platform/Messages.h, Types.h, Canvas.h) names its message, key,
// scroll and colour constants as Windows does, and Windows makes them macros;
// so the seam is declared first, Windows after it, and then each macro the
// seam also defines is checked to carry the seam's value and undone, as are
// TextOut (it would rename Canvas::TextOut) and RGB. After this header both
// WM_SIZE and kelvane::WM_SIZE are the seam's; everything else of Windows is
// as usual. Include it last.
#pragma once

#include "platform/Canvas.h"
#include "platform/EditHost.h"
#include "platform/Messages.h"
#include "platform/PlayerHost.h"
#include "platform/Types.h"

// Every seam constant that Windows defines as well.
#define KELVANE_SEAM_WINDOWS_NAMES(X) \
  X(CFS_POINT) \
  X(COLOR_BTNFACE) \
  X(COLOR_HIGHLIGHT) \
  X(COLOR_HIGHLIGHTTEXT) \
  X(COLOR_WINDOW) \
  X(COLOR_WINDOWTEXT) \
  X(DLGC_WANTARROWS) \
  X(DLGC_WANTCHARS) \
  X(EM_CANUNDO) \
  X(GCS_RESULTSTR) \
  X(IMN_CLOSECANDIDATE) \
  X(IMN_OPENCANDIDATE) \
  X(IMN_SETOPENSTATUS) \
  X(IMR_QUERYCHARPOSITION) \
  X(IMR_RECONVERTSTRING) \
  X(MK_CONTROL) \
  X(MK_LBUTTON) \
  X(MK_RBUTTON) \
  X(MK_SHIFT) \
  X(SB_BOTTOM) \
  X(SB_ENDSCROLL) \
  X(SB_LEFT) \
  X(SB_LINEDOWN) \
  X(SB_LINELEFT) \
  X(SB_LINERIGHT) \
  X(SB_LINEUP) \
  X(SB_PAGEDOWN) \
  X(SB_PAGELEFT) \
  X(SB_PAGERIGHT) \
  X(SB_PAGEUP) \
  X(SB_RIGHT) \
  X(SB_THUMBPOSITION) \
  X(SB_THUMBTRACK) \
  X(SB_TOP) \
  X(VK_BACK) \
  X(VK_CONTROL) \
  X(VK_DELETE) \
  X(VK_DOWN) \
  X(VK_END) \
  X(VK_ESCAPE) \
  X(VK_F2) \
  X(VK_HOME) \
  X(VK_INSERT) \
  X(VK_LBUTTON) \
  X(VK_LEFT) \
  X(VK_MENU) \
  X(VK_NEXT) \
  X(VK_PRIOR) \
  X(VK_RBUTTON) \
  X(VK_RETURN) \
  X(VK_RIGHT) \
  X(VK_SHIFT) \
  X(VK_SPACE) \
  X(VK_TAB) \
  X(VK_UP) \
  X(WM_CHAR) \
  X(WM_COPY) \
  X(WM_CUT) \
  X(WM_DROPFILES) \
  X(WM_ERASEBKGND) \
  X(WM_GETDLGCODE) \
  X(WM_HSCROLL) \
  X(WM_IME_COMPOSITION) \
  X(WM_IME_NOTIFY) \
  X(WM_IME_REQUEST) \
  X(WM_KEYDOWN) \
  X(WM_KEYUP) \
  X(WM_KILLFOCUS) \
  X(WM_LBUTTONDBLCLK) \
  X(WM_LBUTTONDOWN) \
  X(WM_LBUTTONUP) \
  X(WM_MBUTTONDOWN) \
  X(WM_MOUSEACTIVATE) \
  X(WM_MOUSEMOVE) \
  X(WM_MOUSEWHEEL) \
  X(WM_NCLBUTTONDOWN) \
  X(WM_NCMBUTTONDOWN) \
  X(WM_NCRBUTTONDOWN) \
  X(WM_PASTE) \
  X(WM_RBUTTONDOWN) \
  X(WM_SETFOCUS) \
  X(WM_SETREDRAW) \
  X(WM_SIZE) \
  X(WM_UNDO) \
  X(WM_VSCROLL)

namespace kelvane::win32::seam {
#define KELVANE_SEAM_COPY(name) inline constexpr auto name##_ = ::kelvane::name;
KELVANE_SEAM_WINDOWS_NAMES(KELVANE_SEAM_COPY)
#undef KELVANE_SEAM_COPY
}  // namespace kelvane::win32::seam

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <imm.h>
#include <shellapi.h>
#include <wincodec.h>

// The message numbers go to TVeskEdit::Perform unchanged: they must be Windows' own.
#define KELVANE_SEAM_CHECK(name) \
  static_assert(static_cast<unsigned long long>(name) == static_cast<unsigned long long>(::kelvane::win32::seam::name##_), \
                #name " differs between the seam and Windows");
KELVANE_SEAM_WINDOWS_NAMES(KELVANE_SEAM_CHECK)
#undef KELVANE_SEAM_CHECK
#undef KELVANE_SEAM_WINDOWS_NAMES

#undef TextOut
#undef RGB
// Not checked above: the seam's DLGC_WANTTAB is 0x04, the bit Windows calls
// DLGC_WANTALLKEYS (its own DLGC_WANTTAB is 0x02). The control asks for every
// key, Tab among them, and answers 0x85 as it always has; in the port the
// name means the seam's value.
#undef DLGC_WANTTAB
#undef CFS_POINT
#undef COLOR_BTNFACE
#undef COLOR_HIGHLIGHT
#undef COLOR_HIGHLIGHTTEXT
#undef COLOR_WINDOW
#undef COLOR_WINDOWTEXT
#undef DLGC_WANTARROWS
#undef DLGC_WANTCHARS
#undef EM_CANUNDO
#undef GCS_RESULTSTR
#undef IMN_CLOSECANDIDATE
#undef IMN_OPENCANDIDATE
#undef IMN_SETOPENSTATUS
#undef IMR_QUERYCHARPOSITION
#undef IMR_RECONVERTSTRING
#undef MK_CONTROL
#undef MK_LBUTTON
#undef MK_RBUTTON
#undef MK_SHIFT
#undef SB_BOTTOM
#undef SB_ENDSCROLL
#undef SB_LEFT
#undef SB_LINEDOWN
#undef SB_LINELEFT
#undef SB_LINERIGHT
#undef SB_LINEUP
#undef SB_PAGEDOWN
#undef SB_PAGELEFT
#undef SB_PAGERIGHT
#undef SB_PAGEUP
#undef SB_RIGHT
#undef SB_THUMBPOSITION
#undef SB_THUMBTRACK
#undef SB_TOP
#undef VK_BACK
#undef VK_CONTROL
#undef VK_DELETE
#undef VK_DOWN
#undef VK_END
#undef VK_ESCAPE
#undef VK_F2
#undef VK_HOME
#undef VK_INSERT
#undef VK_LBUTTON
#undef VK_LEFT
#undef VK_MENU
#undef VK_NEXT
#undef VK_PRIOR
#undef VK_RBUTTON
#undef VK_RETURN
#undef VK_RIGHT
#undef VK_SHIFT
#undef VK_SPACE
#undef VK_TAB
#undef VK_UP
#undef WM_CHAR
#undef WM_COPY
#undef WM_CUT
#undef WM_DROPFILES
#undef WM_ERASEBKGND
#undef WM_GETDLGCODE
#undef WM_HSCROLL
#undef WM_IME_COMPOSITION
#undef WM_IME_NOTIFY
#undef WM_IME_REQUEST
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_KILLFOCUS
#undef WM_LBUTTONDBLCLK
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_MBUTTONDOWN
#undef WM_MOUSEACTIVATE
#undef WM_MOUSEMOVE
#undef WM_MOUSEWHEEL
#undef WM_NCLBUTTONDOWN
#undef WM_NCMBUTTONDOWN
#undef WM_NCRBUTTONDOWN
#undef WM_PASTE
#undef WM_RBUTTONDOWN
#undef WM_SETFOCUS
#undef WM_SETREDRAW
#undef WM_SIZE
#undef WM_UNDO
#undef WM_VSCROLL
