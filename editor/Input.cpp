// Keyboard, mouse and IME input: what each key, typed character, composition
// result and mouse action does. The handlers decide; the caret, editing and
// selection operations do the work.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

#include "editor/VeskEdit.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

constexpr uint32_t kKeyA = 0x41, kKeyC = 0x43, kKeyR = 0x52, kKeyV = 0x56, kKeyX = 0x58, kKeyZ = 0x5A;
constexpr int32_t kDragReach = 18;     // a press this close to the boundary it maps to may start a drag
constexpr int32_t kLineSelectGap = 8;  // presses this far left of the text select whole lines
constexpr int32_t kBlockClickGap = 3;  // double-clicks this far left of the text select the block
constexpr size_t kReconvertHeader = 32;

int32_t ClientX(LPARAM l) { return static_cast<int16_t>(LoWord(static_cast<uintptr_t>(l))); }
int32_t ClientY(LPARAM l) { return static_cast<int16_t>(HiWord(static_cast<uintptr_t>(l))); }

void PutLe32(unsigned char* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

// ---- operations -----------------------------------------------------------------

void TVeskEdit::ExtendOrDropSelection() {
  if (!FHost.IsKeyDown(VK_SHIFT)) {
    SetSelected(false);
    return;
  }
  if (Selected) return;
  BoxMode = false;  // a box lasts for the selection it was made with
  SetSelected(true);
  BoxAnchorX = DocPointOfPos(SelAnchor).X;
}

void TVeskEdit::SelectAll() {
  BoxMode = false;
  LineSelect = false;  // typing then replaces the text instead of prefixing every line
  CaretTextStart();
  CollapseSelection();
  CaretTextEnd();
  Selected = true;
  Invalidate();
}

bool TVeskEdit::InDropRange(int32_t column, int32_t line) const {
  if (!Selected) return false;
  const TOrderedRange r = OrderRange(SelAnchor, CaretPos);
  if (line < r.Top || line > r.Bottom) return false;
  if (line == r.Top && column < r.Left) return false;
  return !(line == r.Bottom && column >= r.Right);
}

bool TVeskEdit::InBoxRange(int32_t column1, int32_t line) const {
  const TOrderedRange r = OrderRange(SelAnchor, CaretPos);
  if (line < r.Top || line > r.Bottom || line >= Items.Count()) return false;
  const int32_t x = Items[line].XOfColumn(column1, true);
  return BoxLeftX <= x && x < BoxRightX;
}

// The typed text goes into a box as its fill, to the head of selected lines,
// or into the text at the caret.
void TVeskEdit::InsertTyped(std::string_view s) {
  if (s.empty()) return;
  if (BoxMode && !GetSelText().empty()) {
    BoxFillText = std::string(s);
    BoxFillKind = 4;
    BoxRemove();
  } else if (LineSelect) {
    PrefixLines(s);
  } else {
    InputText(s);
  }
}

void TVeskEdit::FollowBoxCaret(int32_t x) {
  BoxCaretX = x;
  BoxLeftX = std::min(BoxAnchorX, BoxCaretX);
  BoxRightX = std::max(BoxAnchorX, BoxCaretX);
}

// ---- keyboard -------------------------------------------------------------------

LRESULT TVeskEdit::WMKeyDown(WPARAM wParam, LPARAM) {
  uint32_t key = static_cast<uint32_t>(wParam);
  if (OnKeyDown) OnKeyDown(*this, key);
  if (key == 0) return 0;
  const bool shift = FHost.IsKeyDown(VK_SHIFT);
  const bool ctrl = FHost.IsKeyDown(VK_CONTROL);

  // A navigation key: the selection is extended or dropped first; in a box the
  // moving edge follows the caret (vertical moves by the goal, so the edge does
  // not jump between lines of different character widths).
  const auto navigate = [&](void (TVeskEdit::*move)(), bool hideCaret, bool vertical) {
    ExtendOrDropSelection();
    {
      std::optional<TCaretHidden> hidden;
      if (hideCaret) hidden.emplace(*this, CaretShown);
      (this->*move)();
    }
    if (shift && Selected && BoxMode) {
      FollowBoxCaret(vertical ? GoalX : CaretDocX);
      Invalidate();
    }
  };
  const bool scrollOnly = ctrl || !FConfCaretVisible;

  switch (key) {
    case VK_PRIOR: navigate(&TVeskEdit::PageUp, false, false); break;
    case VK_NEXT: navigate(&TVeskEdit::PageDown, false, false); break;
    case VK_END: navigate(ctrl ? &TVeskEdit::CaretTextEnd : &TVeskEdit::CaretLineEnd, false, false); break;
    case VK_HOME: navigate(ctrl ? &TVeskEdit::CaretTextStart : &TVeskEdit::CaretLineStart, false, false); break;
    case VK_LEFT: navigate(&TVeskEdit::CaretCharLeft, true, false); break;
    case VK_RIGHT: navigate(&TVeskEdit::CaretCharRight, true, false); break;
    case VK_UP:
      if (scrollOnly) {
        ExtendOrDropSelection();
        ScrollLines(-VScrollLines);
      } else {
        navigate(&TVeskEdit::CaretLineUp, true, true);
      }
      break;
    case VK_DOWN:
      if (scrollOnly) {
        ExtendOrDropSelection();
        ScrollLines(VScrollLines);
      } else {
        navigate(&TVeskEdit::CaretLineDown, true, true);
      }
      break;
    case VK_INSERT:
      if (shift && ctrl) {
        DeleteToStart(CaretPos.Y);
      } else if (shift) {
        PasteCommand();
      }
      break;
    case VK_DELETE:
      if (shift && ctrl) {
        DeleteToEnd(CaretPos.Y);
      } else {
        DeleteKey();
      }
      break;
    default:
      if (!ctrl) break;
      switch (key) {
        case kKeyA: SelectAll(); break;
        case kKeyC: CopyCommand(); break;
        case kKeyR: RedoStep(); break;
        case kKeyV: PasteCommand(); break;
        case kKeyX: CutCommand(); break;
        case kKeyZ: UndoStep(); break;
        default: break;
      }
      break;
  }
  return 0;
}

LRESULT TVeskEdit::WMKeyUp(WPARAM wParam, LPARAM) {
  uint32_t key = static_cast<uint32_t>(wParam);
  if (OnKeyUp) OnKeyUp(*this, key);
  return 0;
}

LRESULT TVeskEdit::WMChar(WPARAM wParam, LPARAM) {
  uint32_t ch = LoWord(wParam);
  if (OnKeyPress) OnKeyPress(*this, ch);
  ch = LoWord(ch);
  switch (ch) {
    case 8: BackSpaceKey(); return 0;
    case 9: TabKey(); return 0;
    case 13: NewLine(); return 0;
    default: break;
  }
  std::string s;
  if (ch <= 0xFF && cp932::IsLeadByte(static_cast<unsigned char>(ch))) {
    // The trail byte comes as the next character message; without it the lead byte is dropped.
    const std::optional<uint32_t> next = FHost.PeekChar(false);
    if (!next || *next < 0x40 || *next > 0xFF) return 0;
    FHost.PeekChar(true);
    if (ImeSkipCount > 0) {
      ImeSkipCount = std::max(0, ImeSkipCount - 2);
      return 0;
    }
    s = {static_cast<char>(ch), static_cast<char>(*next)};
  } else if ((ch >= 0x20 && ch <= 0x7E) || (ch >= 0xA0 && ch <= 0xFF)) {
    if (ImeSkipCount > 0) {
      --ImeSkipCount;
      return 0;
    }
    s = {static_cast<char>(ch)};
  } else {
    return 0;
  }
  InsertTyped(s);
  return 0;
}

// ---- IME ----------------------------------------------------------------------

LRESULT TVeskEdit::WMImeComposition(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefaultHandler(WM_IME_COMPOSITION, wParam, lParam);
  if ((static_cast<uintptr_t>(lParam) & GCS_RESULTSTR) == 0) return result;
  const std::string s = FHost.ImeResultString();
  // Where the platform queues the result again as characters, those are
  // swallowed; elsewhere nothing may be, or typing after a result loses keys.
  ImeSkipCount = FHost.ImeEchoesResultAsChars()
                     ? static_cast<int32_t>(std::min<size_t>(s.size(), std::numeric_limits<int32_t>::max()))
                     : 0;
  InsertTyped(s);
  return result;
}

LRESULT TVeskEdit::WMImeNotify(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefaultHandler(WM_IME_NOTIFY, wParam, lParam);
  if (wParam == IMN_OPENCANDIDATE) {
    PlaceCaret();
  } else if (wParam == IMN_CLOSECANDIDATE) {
    SetCaretShown(CaretShown);
  }
  return result;
}

LRESULT TVeskEdit::WMImeRequest(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefaultHandler(WM_IME_REQUEST, wParam, lParam);
  if (wParam == IMR_QUERYCHARPOSITION) return 0;
  if (wParam != IMR_RECONVERTSTRING) return result;
  if (!Selected) SelectWord(CaretPos);
  const std::string s = GetSelText();
  // Text over several lines is not offered for reconversion.
  if (!Selected || s.find("\r\n") != std::string::npos) return result;
  if (s.size() > std::numeric_limits<uint32_t>::max() - kReconvertHeader) return result;
  const auto len = static_cast<uint32_t>(s.size());
  if (lParam != 0) {
    auto* out = reinterpret_cast<unsigned char*>(lParam);
    const uint32_t header[8] = {len + 32, 0, len, 32, len, 0, len, 0};
    for (size_t i = 0; i < 8; ++i) PutLe32(out + 4 * i, header[i]);
    if (!s.empty()) std::memcpy(out + kReconvertHeader, s.data(), s.size());
  }
  return static_cast<LRESULT>(s.size() + kReconvertHeader);
}

// ---- mouse ----------------------------------------------------------------------

// A press on the selection, near the boundary it maps to, picks the text up.
bool TVeskEdit::StartTextDrag(int32_t x, int32_t y, TPoint doc) {
  const TPoint at = PosAtDocPoint(doc.X, doc.Y);
  const int32_t px = ClientPointOfPos(at.X, at.Y).X;
  DragText.clear();
  const bool onSelection = BoxMode ? BoxLeftX <= doc.X && doc.X < BoxRightX && InBoxRange(at.X + 1, at.Y)
                                   : InDropRange(at.X, at.Y);
  if (!FConfCaretVisible || !TextDrag || x <= TextLeft() || y <= TopMargin() ||
      std::abs(int64_t{px} - x) >= kDragReach || !onSelection) {
    return false;
  }
  DragText = GetSelText();
  DragPos = at;
  if (!DragText.empty()) {
    Dragging = true;
    FCursor = TCursorShape::Drag;
    FHost.SetCursor(FCursor);
    FHost.SetCapture();
  }
  MouseDown = true;
  Invalidate();
  return true;
}

LRESULT TVeskEdit::WMLButtonDown(WPARAM wParam, LPARAM lParam) {
  const int32_t x = ClientX(lParam);
  const int32_t y = ClientY(lParam);
  const TPoint doc = DocPointAtClient(x, y);
  const bool ctrl = FHost.IsKeyDown(VK_CONTROL);
  const bool shift = FHost.IsKeyDown(VK_SHIFT);
  const bool alt = FHost.IsKeyDown(VK_MENU);
  SetCaretShown(false);
  if (Selected) {
    if (StartTextDrag(x, y, doc)) return 0;
    SetSelected(false);
  }
  DefaultHandler(WM_LBUTTONDOWN, wParam, lParam);  // takes the focus
  Dragging = false;
  MouseDown = true;
  LineSelect = x < TextLeft() - kLineSelectGap;
  SetCaretAtX(doc.X, doc.Y, {.HForce = true});
  BoxAnchorX = BoxCaretX = BoxLeftX = BoxRightX = CaretDocX;
  if (LineSelect) {
    BoxMode = false;
    LineSelectAnchor = CaretPos.Y;
    SelAnchor = {0, CaretPos.Y};
    CaretNextLineStart(CaretPos.Y);
  } else {
    if (!shift) SelAnchor = CaretPos;
    BoxMode = ctrl && alt;  // a box lasts for the selection it was made with
  }
  FCursor = FDragRestoreCursor;
  FHost.SetCursor(FCursor);
  FHost.SetCapture();  // moves outside the window still reach the selection
  SetSelected(true);
  return 0;
}

LRESULT TVeskEdit::WMMouseMove(WPARAM, LPARAM lParam) {
  if (!MouseDown) return 0;
  const int32_t x = ClientX(lParam);
  const int32_t y = ClientY(lParam);
  const TPoint doc = DocPointAtClient(x, y);
  if (!LineSelect && doc.X == CaretDocX && doc.Y == CaretDocLine) return 0;

  if (LineSelect) {
    const int32_t count = Items.Count();
    const int32_t line = std::min(doc.Y, count - 1);
    if (line < LineSelectAnchor) {
      // Upwards the anchor line stays selected whole: the anchor moves past its end.
      SelAnchor = LineSelectAnchor + 1 < count ? TPoint{0, LineSelectAnchor + 1}
                                               : TPoint{Items[LineSelectAnchor].TextLength(), LineSelectAnchor};
      SetCaret({0, line});
    } else {
      SelAnchor = {0, LineSelectAnchor};
      CaretNextLineStart(line);
    }
    Invalidate();
    return 0;
  }

  if (Dragging) {
    // The caret marks the drop point; CaretPos stays on the selection.
    DragPos = NormalizePos(PosAtDocPoint(doc.X, doc.Y));
    CaretShown = true;
    const TPoint d = DocPointOfPos(DragPos);
    CaretDocX = d.X;
    CaretDocLine = d.Y;
    const TPoint c = ClientPointOfPos(DragPos.X, DragPos.Y);
    CaretClientX = c.X;
    CaretClientY = c.Y;
    FHost.SetCaretPos(c.X, c.Y);
    SetImePos(&FFont, c.X, c.Y);
    if (FShowRuler) DrawRulerStrip();
    FHost.ShowCaret();
    return 0;
  }

  if (BoxMode) FollowBoxCaret(x - TextLeft() + HScrollPos);
  SetCaretAtX(doc.X, doc.Y);
  return 0;
}

LRESULT TVeskEdit::WMLButtonUp(WPARAM, LPARAM) {
  if (Dragging) {
    const bool ctrl = FHost.IsKeyDown(VK_CONTROL);
    const bool shift = FHost.IsKeyDown(VK_SHIFT);
    const bool outside = BoxMode ? !InBoxRange(DragPos.X + 1, DragPos.Y) : !InDropRange(DragPos.X, DragPos.Y);
    if (outside) {
      DropDraggedText(shift, ctrl);
    } else if (BoxMode) {
      SetSelected(false);
    }
    FCursor = FDragRestoreCursor;
    FHost.SetCursor(FCursor);
    Dragging = false;
  }
  FHost.ReleaseCapture();
  MouseDown = false;
  // A click without movement leaves no selection (nor a line selection).
  if (CaretPos == SelAnchor) SetSelected(false);
  SetCaretShown(true);
  return 0;
}

LRESULT TVeskEdit::WMLButtonDblClk(WPARAM, LPARAM lParam) {
  if (ClientX(lParam) < TextLeft() - kBlockClickGap || !SelectWord(CaretPos)) SelectBlock();
  return 0;
}

LRESULT TVeskEdit::WMRButtonDown(WPARAM wParam, LPARAM lParam) {
  return DefaultHandler(WM_RBUTTONDOWN, wParam, lParam);  // the focus; the popup menu is the host's
}

}  // namespace kelvane
