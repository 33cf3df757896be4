// TVeskEdit: the Shift-JIS editor control. Its state is grouped into small
// plain structs; its member functions live in one file per concern:
//   LineStore.cpp / TextOps.cpp  lines, whole-text and raw line operations
//   LineGeometry.cpp             pixel geometry within a line, box fill and insert
//   Scan.cpp                     scanning a line into attributes, classes, widths
//   UndoHistory.cpp              the history and how records are applied
//   Editing.cpp                  editing with history: typing, breaks, deletions, replacing
//   Selection.cpp                selection, its text, words and blocks, the clipboard
//   Control.cpp                  construction, properties, metrics, messages
//   Caret.cpp                    caret placement, following it, the scroll bars
//   CaretMoves.cpp               caret moves, client and document points, scroll messages
//   Paint.cpp                    painting the rows, the background picture
//   ChangeMarks.cpp              marks over the text showing what a change did
//   Ruler.cpp                    the ruler strip and the grid
//   Input.cpp                    keyboard, mouse and IME input
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/ChangeMarks.h"
#include "editor/LineStore.h"
#include "editor/UndoHistory.h"
#include "editor/gridlines/VeskGridLines.h"
#include "editor/keywords/VeskKeywords.h"
#include "platform/Canvas.h"
#include "platform/EditHost.h"
#include "platform/Messages.h"
#include "platform/Types.h"

namespace kelvane {

enum TVeskGridType : uint8_t { gtGrid, gtLines };
enum TSpaceDrawStyle : uint8_t { sdsLineA, sdsLineB, sdsFrameRect };

// Font metrics and view geometry (recomputed by RecalcMetrics and SetViewSize).
struct TVeskMetrics {
  int32_t ViewWidth = 0;
  int32_t ViewHeight = 0;
  int32_t CharHeight = 0;
  int32_t LineHeight = 0;
  int32_t SpaceWidth = 0;
  int32_t WideSpaceWidth = 0;
  int32_t LineNoWidth = 0;
  int32_t CaretWidth = 1;
  uint8_t TabChars = 5;
  uint8_t TabWidth = 0;
  char16_t TabMarkChar = 0x2192;
  char16_t CrMarkChar = 0x2193;
  uint8_t CrMarkWidth = 0;
  uint8_t EofMarkWidth = 0;
  int32_t VisibleLines = 1;
};

// How a caret placement treats the goal column and the view; the default
// follows the caret both ways and makes its column the goal.
struct TCaretOptions {
  bool KeepGoal = false;   // the goal column for line moves stays as it is
  bool NoHScroll = false;  // the view does not follow sideways
  bool NoVScroll = false;  // the view does not follow up or down
  bool HForce = false;     // sideways, follow even a caret that is only just out of view
  bool VCenter = false;    // up or down, bring the caret's line to the middle
};

struct TVeskCaretState {
  TPoint CaretPos;
  int32_t CaretDocX = 0;
  int32_t CaretDocLine = 0;
  int32_t CaretClientX = 0;
  int32_t CaretClientY = 0;
  int32_t GoalX = 0;
  int32_t LastCaretLine = 0;
  bool CaretShown = true;
};

struct TVeskScrollState {
  int32_t TopLine = 0;
  int32_t HScrollPos = 0;
};

struct TVeskSelectionState {
  TPoint SelAnchor;
  bool Selected = false;
  bool MouseDown = false;
  bool LineSelect = false;
  int32_t LineSelectAnchor = 0;
  bool BoxMode = false;
  int32_t BoxAnchorX = 0;
  int32_t BoxCaretX = 0;
  int32_t BoxLeftX = 0;
  int32_t BoxRightX = 0;
  int32_t BoxTop = 0;
  int32_t BoxLineSpan = 0;
  uint8_t BoxFillKind = 0;
  std::string BoxFillText;
  bool BoxOverwrite = false;
};

struct TVeskDragState {
  bool Dragging = false;
  TPoint DragPos;
  std::string DragText;
};

struct TVeskImeState {
  int32_t ImeSkipCount = 0;
};

// Published properties whose setter only stores the value, with their initial values.
struct TVeskProperties {
  int32_t LeftMargin = 10;
  int32_t RightMargin = 10;
  bool ShowSpaceSgl = true;
  bool ShowSpaceDbl = true;
  bool ShowSpaceErr = true;
  bool ShowCR = true;
  bool ShowEOF = true;
  TColor Color = 0xEFEFEF;
  TColor ColorText = SysColor(COLOR_WINDOWTEXT);
  TColor ColorUniBack = 0x000000;
  TColor ColorUniText = 0x800080;
  TColor ColorCrEof = 0x808000;
  TColor ColorGrid = 0xA4A0A0;
  TColor ColorLineNo = SysColor(COLOR_WINDOWTEXT);
  TColor ColorRuler = 0x808080;
  TColor ColorSelBack = SysColor(COLOR_HIGHLIGHT);
  TColor ColorSelText = SysColor(COLOR_HIGHLIGHTTEXT);
  TColor ColorSelCr = 0x7F7FFF;
  TColor ColorSpaceSgl = 0xDDDDDD;
  TColor ColorSpaceDbl = 0xE0E0E0;
  TColor ColorSpaceErr = 0x0000FF;
  TColor ColorSelSpace = 0;  // computed once in the constructor
  TColor ColorMargin = 0xEFEFEF;
  int32_t ExternalLeading = 2;
  int32_t VerticalCaretMargin = 0;
  int32_t VScrollLines = 3;
  bool WheelPageScroll = false;
  int32_t WheelScrollCount = 3;
  TVeskGridType GridType = gtGrid;
  int32_t GridCol = 50;
  int32_t GridRow = 3;
  TPenStyle GridLineStyle = TPenStyle::psDot;
  TSpaceDrawStyle SpaceSglStyle = sdsLineA;
  TSpaceDrawStyle SpaceDblStyle = sdsLineA;
  bool TextDrag = false;
  // Inherited properties the control makes public.
  bool TabStop = false;
  bool Visible = true;
};

// What the painting stand-in was asked to do, so that tests can check which
// rows an operation repaints. Only the last request of each kind is kept.
struct TVeskPaintLog {
  int64_t RepaintRequests = 0;
  int32_t LastRepaintFirst = -1;
  int32_t LastRepaintLast = -1;
  int64_t Invalidations = 0;
  int64_t RulerStripDraws = 0;
  int64_t RulerRefreshes = 0;
  int64_t RulerBuilds = 0;
  int64_t RowsPainted = 0;  // rows drawn by RepaintLines, all passes together
};

using TNotifyEvent = std::function<void(class TVeskEdit& sender)>;
// Key and character events: the handler may change the code or set it to 0.
using TKeyEvent = std::function<void(class TVeskEdit& sender, uint32_t& key)>;

class TVeskEdit : public TVeskMetrics,
                  public TVeskCaretState,
                  public TVeskScrollState,
                  public TVeskSelectionState,
                  public TVeskDragState,
                  public TVeskImeState,
                  public TVeskProperties {
 public:
  explicit TVeskEdit(EditHost& host);
  virtual ~TVeskEdit();
  TVeskEdit(const TVeskEdit&) = delete;
  TVeskEdit& operator=(const TVeskEdit&) = delete;

  // Owned objects.
  TVeskItems Items;
  std::unique_ptr<TVeskUndo> Undo;
  TKeywordList Keywords;
  std::unique_ptr<Bitmap> TextBitmap;
  std::unique_ptr<Bitmap> RulerBitmap;
  std::unique_ptr<Picture> FPicture;
  std::array<uint8_t, 15556> WidthCache{};
  std::array<TColor, 32> KeywordColors{};
  int64_t LineScans = 0;  // full scans of a line so far: what the tests of laziness watch

  // Events.
  TNotifyEvent OnChange;
  TNotifyEvent OnMoveCaret;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyEvent OnKeyPress;

  // The message entry point: one message number, two parameters, a result.
  LRESULT Perform(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Window life: the host calls CreateWnd once its window exists.
  void CreateWnd();
  void RecalcMetrics();
  void ApplyFont(const TFontSpec& font);
  void SetViewSize(int32_t width, int32_t height);
  void CountVisibleLines();

  // Properties with setters.
  const TFontSpec& Font() const { return FFont; }
  void SetFont(const TFontSpec& font) { ApplyFont(font); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  bool AutoWrap() const { return FAutoWrap; }
  void SetAutoWrap(bool value);
  int32_t TopMargin() const { return FTopMargin; }
  bool ShowLineNo() const { return FShowLineNo; }
  void SetShowLineNo(bool value);
  bool ShowTab() const { return FShowTab; }
  void SetShowTab(bool value);
  void SetTabChars(int32_t n);
  bool ShowRuler() const { return FShowRuler; }
  void SetShowRuler(bool value);
  bool ShowGrid() const { return FShowGrid; }
  void SetShowGrid(bool value);
  int32_t HScrollMax() const { return FHScrollMax; }
  void SetHScrollMax(int32_t value);
  // The background picture and its placement (drawn by the painting).
  Picture& GetPicture() { return *FPicture; }
  bool SetPicture(const std::string& path);  // false, and no picture, when unreadable
  void ClearPicture();
  int32_t PicturePosX() const { return FPicturePosX; }
  void SetPicturePosX(int32_t value);
  int32_t PicturePosY() const { return FPicturePosY; }
  void SetPicturePosY(int32_t value);
  int32_t PictureZoom() const { return FPictureZoom; }
  void SetPictureZoom(int32_t value);
  int32_t PictureWidth() const { return FPictureWidth; }
  int32_t PictureHeight() const { return FPictureHeight; }
  TCursorShape Cursor() const { return FCursor; }
  bool ConfCaretVisible() const { return FConfCaretVisible; }
  void SetConfCaretVisible(bool value);
  bool ShowNumRef() const { return FShowNumRef; }
  void SetShowNumRef(bool value);
  bool ShowNameRef() const { return FShowNameRef; }
  void SetShowNameRef(bool value);

  // Whole text and lines.
  std::string GetText() const;
  void SetText(std::string_view s);
  void ClearText();
  void InsertLine(int32_t index, std::string_view s);
  void AddLine(std::string_view s);
  void InsertText(std::string_view s);  // raw, at the caret; records nothing
  // Raw, at the caret, breaking lines at CR LF alone: a record's text put back.
  void InsertRecordedText(std::string_view s);
  void SplitLine();                     // raw, at the caret; records nothing
  // The same; without PlaceCaret only the caret's position moves, for a caller
  // that places the caret itself right after (a history step does).
  void SplitLine(bool placeCaret);
  TPoint NormalizePos(TPoint p) const;

  // History.
  virtual bool CanRedo() const { return Undo->CanRedo(); }
  virtual bool CanUndo() const { return Undo->CanUndo(); }
  void UndoStep();
  void RedoStep();

  // Editing with history (Editing.cpp).
  void InputText(std::string_view s);
  void NewLine();
  void TabKey();
  void BackSpaceKey();
  void DeleteBack();
  void DeleteKey();
  void DeleteChar();
  void DeleteToEnd(int32_t line);
  void DeleteToStart(int32_t line);
  void AddUndo(uint8_t mode, TPoint pos, std::string text, int32_t count);
  void ReplaceLines(int32_t first, int32_t last, std::string_view newText, TPoint pos);
  void PrefixLines(std::string_view s);
  void DeleteSelection();
  void ReplaceSelection(std::string_view s);
  void PasteBox(std::string_view s);
  void DropBox(std::string_view s);

  // Selection and clipboard (Selection.cpp).
  struct TOrderedRange {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  };
  static TOrderedRange OrderRange(TPoint a, TPoint b);
  void SetSelected(bool on);
  void CollapseSelection() { SelAnchor = CaretPos; }
  std::string GetRangeText(TPoint a, TPoint b) const;
  std::string GetBoxLineText(int32_t line) const;
  std::string GetBoxText() const;
  std::string GetSelText() const;
  void CopyToClipboard();
  bool SelectWord(TPoint p);
  void SelectBlock();
  void CopyCommand();
  void CutCommand();
  void BoxRemove();
  void PasteCommand();
  // The text effects of dropping dragged text at DragPos (the gesture is the
  // mouse handling's): Copy when Shift is held, Overwrite (box) when Ctrl is.
  void DropDraggedText(bool copy, bool overwrite);

  // Input (Input.cpp).
  void ExtendOrDropSelection();
  void SelectAll();
  bool InDropRange(int32_t column, int32_t line) const;
  bool InBoxRange(int32_t column1, int32_t line) const;

  // Scanning.
  uint8_t CharWidth(std::string_view text, size_t i);
  // The width stored for the character starting at byte I (references aside).
  uint8_t StoredCharWidth(std::string_view text, size_t i);
  // Lines changed now are scanned when first read, not at once: the window
  // is frozen, as during a jump, and draws nothing of them.
  // Whether the window is frozen (WM_SETREDRAW 0), kept here: a history step
  // asks it many times and the host's answer is a virtual call away.
  bool DefersScan() const { return FFrozen; }
  void ClearWidthCache() { WidthCache.fill(0); }
  Canvas& MeasureCanvas() { return TextBitmap->GetCanvas(); }

  // Caret, coordinates and scrolling.
  int32_t TextLeft() const { return LeftMargin + LineNoWidth; }
  TPoint DocPointOfPos(TPoint p) const;
  TPoint PosAtDocPoint(int32_t x, int32_t line) const;
  TPoint ClientPointOfPos(int32_t column, int32_t line) const;
  TPoint DocPointAtClient(int32_t cx, int32_t cy) const;
  void SetCaret(TPoint p, TCaretOptions options = {});
  void SetCaretAtX(int32_t x, int32_t line, TCaretOptions options = {});
  void CaretLineUp();
  void CaretLineDown();
  void CaretCharLeft();
  void CaretCharRight();
  void CaretLineStart();
  void CaretLineEnd();
  void CaretTextStart();
  void CaretTextEnd();
  void CaretNextLineStart(int32_t line);
  TPoint CharLeftOf(TPoint p) const;
  TPoint CharRightOf(TPoint p) const;
  void PageUp() { ScrollLines(-VisibleLines); }
  void PageDown() { ScrollLines(VisibleLines); }
  void PlaceCaret();
  void SetCaretShown(bool on);
  bool SetImePos(const TFontSpec* font, int32_t x, int32_t y);
  void ScrollToCaretV(bool vCenter);
  void ScrollToCaretH(bool hForce);
  void ScrollLines(int32_t n);
  void ScrollToLine(int32_t line) { ScrollLines(line - TopLine); }
  void SetHScrollPos(int32_t v);
  void HScrollTo(int32_t v);
  void UpdateVScrollBar(bool redraw);
  void UpdateHScrollBar();
  static int32_t AutoScrollStep(int32_t d);

  // Painting (Paint.cpp): the paint request, rows, marks and the margin.
  void Paint();
  void RepaintLines(int32_t first, int32_t last);
  void Invalidate();
  void PaintLineNo(int32_t y, bool star, int32_t line);
  // Kind: 0 single space, 1 full-width space, 2 error space, 3 tab.
  void DrawSpaceMark(int32_t x, int kind, bool selected, int32_t w, int32_t y);
  void DrawCrMark(int32_t x, bool selected, int32_t y);
  // One entry per byte of the line and one for its end: '2' selected, '1' not.
  std::string SelectionMap(int32_t line) const;
  TColor ResolveColor(TColor c) const;  // system colours to their value
  TOrderedRange SelBounds;              // the stream selection, ordered at each pass
  const TVeskPaintLog& PaintLog() const { return FPaintLog; }
  // Marks over the text (ChangeMarks.cpp): kept until the text changes.
  void SetChangeMarks(TChangeMarks marks);
  void ClearChangeMarks();
  const TChangeMarks& ChangeMarks() const { return FChangeMarks; }
  // The background under the text (ChangeMarks.cpp); empty for none. Repaints.
  void SetLineTint(TLineTint tint);
  bool HasLineTint() const { return static_cast<bool>(FLineTint); }

  // The ruler strip and the grid (Ruler.cpp).
  void DrawRulerStrip();
  void DrawRulerMarker();
  void RefreshRuler();
  void BuildRuler();
  void SetupRulerBitmap();
  void DrawGrid(Canvas& canvas);
  TVeskGridLines GridLines;

  void FireChange();
  // The selection anchor and the drop position brought back into the text.
  void KeepPositionsInText();
  EditHost& Host() { return FHost; }

 private:
  using Handler = LRESULT (TVeskEdit::*)(WPARAM, LPARAM);
  static Handler FindHandler(uint32_t msg);
  LRESULT DefaultHandler(uint32_t msg, WPARAM wParam, LPARAM lParam);
  void PlaceCaretAtDocPoint();
  void PaintBackground(Canvas& c);
  void PaintRow(Canvas& c, int32_t i, int32_t y);
  void PaintEndOfText(Canvas& c, int32_t x, int32_t y);
  void PaintChangeTint(Canvas& c, int32_t i, int32_t x0, int32_t y);
  void PaintLineTint(Canvas& c, int32_t i, int32_t x0, int32_t y);
  void PaintRemovalMarks(Canvas& c, int32_t i, int32_t x0, int32_t y);
  void RepaintAfterCaretMove(int32_t oldTop, bool caretMoved);
  LRESULT WMCanUndo(WPARAM, LPARAM);
  LRESULT WMUndo(WPARAM, LPARAM);
  LRESULT WMSize(WPARAM, LPARAM);
  LRESULT WMSetFocus(WPARAM, LPARAM);
  LRESULT WMKillFocus(WPARAM, LPARAM);
  LRESULT WMEraseBkgnd(WPARAM, LPARAM);
  LRESULT WMGetDlgCode(WPARAM, LPARAM);
  LRESULT WMSetRedraw(WPARAM, LPARAM);
  LRESULT CMFontChanged(WPARAM, LPARAM);
  LRESULT WMMouseActivate(WPARAM, LPARAM);
  LRESULT WMCopy(WPARAM, LPARAM);
  LRESULT WMCut(WPARAM, LPARAM);
  LRESULT WMPaste(WPARAM, LPARAM);
  LRESULT WMVScroll(WPARAM, LPARAM);
  LRESULT WMHScroll(WPARAM, LPARAM);
  LRESULT WMMouseWheel(WPARAM, LPARAM);
  LRESULT WMKeyDown(WPARAM, LPARAM);
  LRESULT WMKeyUp(WPARAM, LPARAM);
  LRESULT WMChar(WPARAM, LPARAM);
  LRESULT WMImeComposition(WPARAM, LPARAM);
  LRESULT WMImeNotify(WPARAM, LPARAM);
  LRESULT WMImeRequest(WPARAM, LPARAM);
  LRESULT WMLButtonDown(WPARAM, LPARAM);
  LRESULT WMMouseMove(WPARAM, LPARAM);
  LRESULT WMLButtonUp(WPARAM, LPARAM);
  LRESULT WMLButtonDblClk(WPARAM, LPARAM);
  LRESULT WMRButtonDown(WPARAM, LPARAM);
  void InsertTyped(std::string_view s);
  void InsertPieces(std::vector<std::string_view>& pieces);  // appends one empty piece
  void SkipEchoedChar(uint32_t ch);
  void DeleteLinePart(int32_t line, bool toEnd);
  void FollowBoxCaret(int32_t x);
  bool StartTextDrag(int32_t x, int32_t y, TPoint doc);

  EditHost& FHost;
  std::vector<std::string_view> FPieceScratch;  // a recorded text's lines, storage reused
  TFontSpec FFont;
  bool FEnabled = true;
  bool FAutoWrap = false;
  int32_t FTopMargin = 4;
  bool FShowLineNo = true;
  bool FShowTab = true;
  bool FShowRuler = false;
  bool FShowGrid = false;
  int32_t FHScrollMax = 7000;
  bool FConfCaretVisible = true;
  bool FShowNumRef = false;
  bool FShowNameRef = false;
  int32_t FPicturePosX = 0;
  int32_t FPicturePosY = 0;
  int32_t FPictureZoom = 100;
  int32_t FPictureWidth = 0;
  int32_t FPictureHeight = 0;
  void ApplyPicture();  // the held picture's zoomed size, then a repaint
  TCursorShape FCursor = TCursorShape::IBeam;
  TCursorShape FDragRestoreCursor = TCursorShape::IBeam;  // what a text drag gives back
  TVeskPaintLog FPaintLog;
  TChangeMarks FChangeMarks;
  TLineTint FLineTint;
  std::vector<TTintRun> FTintRuns;  // one row's runs, the buffer kept between rows
  bool FRulerStale = false;  // a build was asked for while the window was frozen
  bool FCaretStale = false;  // the caret was moved while the window was frozen
  bool FFrozen = false;      // as the last WM_SETREDRAW left the window
};

// Keeps the caret hidden while the editor updates and shows it again however
// the update ends. HideNow false: the caret is already out of sight and must
// not be hidden twice (a window system's hide calls may count up).
class TCaretHidden {
 public:
  explicit TCaretHidden(TVeskEdit& edit, bool hideNow = true) : edit_(edit) {
    if (hideNow) edit_.SetCaretShown(false);
  }
  ~TCaretHidden() { edit_.SetCaretShown(true); }
  TCaretHidden(const TCaretHidden&) = delete;
  TCaretHidden& operator=(const TCaretHidden&) = delete;

 private:
  TVeskEdit& edit_;
};

}  // namespace kelvane
