// The control as an object: construction, properties and their setters,
// metrics, the message entry point and the non-input messages.
#include <algorithm>
#include <utility>

#include "editor/VeskEdit.h"

namespace kelvane {

namespace {
const TFontSpec kDefaultFont{"ＭＳ Ｐゴシック", 12};
const char kFullWidthSpace[] = "\x81\x40";
}  // namespace

TVeskEdit::TVeskEdit(EditHost& host) : FHost(host), FFont(kDefaultFont) {
  TextBitmap = FHost.CreateBitmap();
  RulerBitmap = FHost.CreateBitmap();
  FPicture = FHost.CreatePicture();
  ClearWidthCache();
  TFontSpec rulerFont = FFont;
  rulerFont.Name = "ＭＳ ゴシック";
  RulerBitmap->GetCanvas().SetFont(rulerFont);
  TextBitmap->GetCanvas().SetFont(FFont);
  ColorSelSpace = ColorSelText ^ 0x00FFFFFFu;
  KeywordColors.fill(FFont.Color);
  InsertLine(0, {});
  FHost.SetCursor(FCursor);
  FDragRestoreCursor = FCursor;
  Undo = std::make_unique<TVeskUndo>(*this);
}

TVeskEdit::~TVeskEdit() = default;

// ---- messages ----------------------------------------------------------------

TVeskEdit::Handler TVeskEdit::FindHandler(uint32_t msg) {
  static constexpr std::pair<uint32_t, Handler> kTable[] = {
      {WM_SIZE, &TVeskEdit::WMSize},
      {WM_SETFOCUS, &TVeskEdit::WMSetFocus},
      {WM_KILLFOCUS, &TVeskEdit::WMKillFocus},
      {WM_SETREDRAW, &TVeskEdit::WMSetRedraw},
      {WM_ERASEBKGND, &TVeskEdit::WMEraseBkgnd},
      {WM_GETDLGCODE, &TVeskEdit::WMGetDlgCode},
      {EM_CANUNDO, &TVeskEdit::WMCanUndo},
      {WM_UNDO, &TVeskEdit::WMUndo},
      {CM_FONTCHANGED, &TVeskEdit::CMFontChanged},
      {WM_MOUSEACTIVATE, &TVeskEdit::WMMouseActivate},
      {WM_COPY, &TVeskEdit::WMCopy},
      {WM_CUT, &TVeskEdit::WMCut},
      {WM_PASTE, &TVeskEdit::WMPaste},
      {WM_VSCROLL, &TVeskEdit::WMVScroll},
      {WM_HSCROLL, &TVeskEdit::WMHScroll},
      {WM_MOUSEWHEEL, &TVeskEdit::WMMouseWheel},
      {WM_KEYDOWN, &TVeskEdit::WMKeyDown},
      {WM_KEYUP, &TVeskEdit::WMKeyUp},
      {WM_CHAR, &TVeskEdit::WMChar},
      {WM_IME_COMPOSITION, &TVeskEdit::WMImeComposition},
      {WM_IME_NOTIFY, &TVeskEdit::WMImeNotify},
      {WM_IME_REQUEST, &TVeskEdit::WMImeRequest},
      {WM_LBUTTONDOWN, &TVeskEdit::WMLButtonDown},
      {WM_MOUSEMOVE, &TVeskEdit::WMMouseMove},
      {WM_LBUTTONUP, &TVeskEdit::WMLButtonUp},
      {WM_LBUTTONDBLCLK, &TVeskEdit::WMLButtonDblClk},
      {WM_RBUTTONDOWN, &TVeskEdit::WMRButtonDown},
  };
  for (const auto& [number, handler] : kTable) {
    if (number == msg) return handler;
  }
  return nullptr;
}

LRESULT TVeskEdit::Perform(uint32_t msg, WPARAM wParam, LPARAM lParam) {
  if (Handler h = FindHandler(msg)) return (this->*h)(wParam, lParam);
  return DefaultHandler(msg, wParam, lParam);
}

// Messages without a handler of their own: a button press on the window, or on
// its client area seen from outside, takes the keyboard focus first.
LRESULT TVeskEdit::DefaultHandler(uint32_t msg, WPARAM wParam, LPARAM /*lParam*/) {
  constexpr WPARAM HTCLIENT = 1;
  switch (msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
      if (wParam == HTCLIENT && !FHost.HasFocus()) FHost.SetFocus();
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (!FHost.HasFocus()) FHost.SetFocus();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT TVeskEdit::WMMouseActivate(WPARAM, LPARAM) {
  constexpr LRESULT MA_ACTIVATE = 1;
  try {
    FHost.SetFocus();
  } catch (const std::exception&) {
    // taking the focus on activation may fail; the click still goes on
  }
  return MA_ACTIVATE;
}

LRESULT TVeskEdit::WMCanUndo(WPARAM, LPARAM) { return CanUndo() ? 1 : 0; }

LRESULT TVeskEdit::WMUndo(WPARAM, LPARAM) {
  if (!CanUndo()) return 0;
  UndoStep();
  return 1;
}

LRESULT TVeskEdit::WMSize(WPARAM, LPARAM lParam) {
  const auto packed = static_cast<uintptr_t>(lParam);
  SetViewSize(static_cast<int32_t>(LoWord(packed)), static_cast<int32_t>(HiWord(packed)));
  return 0;
}

LRESULT TVeskEdit::WMSetFocus(WPARAM, LPARAM) {
  if (CaretShown) {
    FHost.CreateCaret(CaretWidth, LineHeight);
    PlaceCaret();
    FHost.ShowCaret();
  } else {
    FHost.HideCaret();
  }
  return 0;
}

LRESULT TVeskEdit::WMKillFocus(WPARAM, LPARAM) {
  FHost.HideCaret();
  FHost.DestroyCaret();
  return 0;
}

LRESULT TVeskEdit::WMSetRedraw(WPARAM wParam, LPARAM) {
  const bool thawing = wParam != 0 && FFrozen;
  FFrozen = wParam == 0;
  FHost.SetRedraw(wParam != 0);
  if (thawing) KeepPositionsInText();  // what the frozen batch's changes left to do
  if (thawing) Items.DropSpares();     // the batch's lines given back are not kept past it
  if (thawing && FCaretStale) {
    FCaretStale = false;
    PlaceCaretAtDocPoint();
  }
  if (wParam != 0 && FRulerStale) BuildRuler();
  return 0;
}

LRESULT TVeskEdit::WMEraseBkgnd(WPARAM, LPARAM) { return 1; }

LRESULT TVeskEdit::WMGetDlgCode(WPARAM, LPARAM) {
  return static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
}

LRESULT TVeskEdit::CMFontChanged(WPARAM, LPARAM) {
  ApplyFont(FFont);
  return 0;
}

LRESULT TVeskEdit::WMCopy(WPARAM, LPARAM) {
  CopyCommand();
  return 0;
}

LRESULT TVeskEdit::WMCut(WPARAM, LPARAM) {
  CutCommand();
  return 0;
}

LRESULT TVeskEdit::WMPaste(WPARAM, LPARAM) {
  PasteCommand();
  return 0;
}

// ---- window and metrics ------------------------------------------------------

void TVeskEdit::CreateWnd() { RecalcMetrics(); }

void TVeskEdit::RecalcMetrics() {
  Canvas& canvas = MeasureCanvas();
  CharHeight = canvas.TextExtent(" ").cy;
  LineHeight = CharHeight + ExternalLeading;
  SpaceWidth = canvas.TextExtent(" ").cx;
  WideSpaceWidth = canvas.TextExtent(kFullWidthSpace).cx;
  CrMarkWidth = static_cast<uint8_t>(canvas.TextExtentW(std::u16string_view(&CrMarkChar, 1)).cx);
  EofMarkWidth = static_cast<uint8_t>(canvas.TextExtent("[EOF]").cx);
  CountVisibleLines();
  SetupRulerBitmap();
  SetShowLineNo(FShowLineNo);
  SetShowRuler(FShowRuler);
  SetShowTab(FShowTab);
  SetShowNumRef(FShowNumRef);
  SetShowNameRef(FShowNameRef);
  if (FAutoWrap) {
    FHost.ShowScrollBar(ScrollBarKind::Horz, false);
  } else {
    SetHScrollMax(FHScrollMax);
  }
  PlaceCaret();
  Invalidate();
}

void TVeskEdit::ApplyFont(const TFontSpec& font) {
  FFont = font;
  TextBitmap->GetCanvas().SetFont(font);
  ColorText = font.Color;
  ClearWidthCache();
  PlaceCaret();
  RecalcMetrics();
  SetViewSize(ViewWidth, ViewHeight);
}

void TVeskEdit::SetViewSize(int32_t width, int32_t height) {
  ViewWidth = width;
  ViewHeight = height;
  CountVisibleLines();
  RulerBitmap->SetSize(ViewWidth, RulerBitmap->Height());
  RefreshRuler();
}

void TVeskEdit::CountVisibleLines() {
  const int32_t room = ViewHeight - TopMargin();
  VisibleLines = (room <= 0 || LineHeight <= 0) ? 1 : room / LineHeight;
}

// ---- properties with setters -------------------------------------------------

void TVeskEdit::SetEnabled(bool enabled) {
  FEnabled = enabled;
  FHost.SetEnabled(enabled);
}

void TVeskEdit::SetAutoWrap(bool value) {
  if (value == FAutoWrap) return;
  FAutoWrap = value;
  SetViewSize(ViewWidth, ViewHeight);
  Invalidate();
}

void TVeskEdit::SetShowLineNo(bool value) {
  FShowLineNo = value;
  LineNoWidth = value ? MeasureCanvas().TextExtent("00000").cx : 0;
  SetCaret(CaretPos);
}

void TVeskEdit::SetShowTab(bool value) {
  FShowTab = value;
  SetTabChars(TabChars);
}

void TVeskEdit::SetTabChars(int32_t n) {
  TabChars = static_cast<uint8_t>(std::clamp(n, 1, 255));
  TabWidth = static_cast<uint8_t>((static_cast<uint32_t>(TabChars) * static_cast<uint32_t>(SpaceWidth)) % 256);
}

void TVeskEdit::SetShowRuler(bool value) {
  FShowRuler = value;
  FTopMargin = value ? 14 : 4;
  TFontSpec rulerFont = RulerBitmap->GetCanvas().Font();
  rulerFont.Name = "Arial";
  RulerBitmap->GetCanvas().SetFont(rulerFont);
  SetCaret(CaretPos);
  BuildRuler();
}

void TVeskEdit::SetShowGrid(bool value) {
  FShowGrid = value;
  RefreshRuler();
  Invalidate();
}

void TVeskEdit::SetHScrollMax(int32_t value) {
  FHScrollMax = value;
  UpdateHScrollBar();
}

void TVeskEdit::SetConfCaretVisible(bool value) {
  FConfCaretVisible = value;
  CaretShown = value;
  if (value) {
    SetCaret({0, TopLine + VerticalCaretMargin}, {.HForce = true, .VCenter = true});
    SetSelected(false);
  }
  SetCaretShown(value);
}

void TVeskEdit::SetShowNumRef(bool value) {
  FShowNumRef = value;
  Items.ScanAll();
  PlaceCaret();
}

void TVeskEdit::SetShowNameRef(bool value) {
  FShowNameRef = value;
  Items.ScanAll();
  PlaceCaret();
}

// ---- history entry points, events ---------------------------------------------

void TVeskEdit::UndoStep() {
  if (Selected) SetSelected(false);
  Undo->Undo();
}

void TVeskEdit::RedoStep() {
  if (Selected) SetSelected(false);
  Undo->Redo();
}

// Every change of the text ends here, edits and history steps alike: the
// positions kept between operations are brought back into the text first, so
// a later Shift+click or drop never starts from a line that is gone.
void TVeskEdit::FireChange() {
  // A frozen window's batch (a jump) does this once, when it thaws.
  if (!DefersScan()) KeepPositionsInText();
  if (!FChangeMarks.Empty()) ClearChangeMarks();  // they name places in the text as it was
  if (OnChange) OnChange(*this);
}

void TVeskEdit::KeepPositionsInText() {
  SelAnchor = NormalizePos(SelAnchor);
  DragPos = NormalizePos(DragPos);
}

}  // namespace kelvane
