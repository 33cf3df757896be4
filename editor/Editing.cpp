// Editing operations with history: typing, pasting, line breaks, tabs,
// deletions, replacing and removing the selection, prefixing lines, box drops.
#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

#include "editor/VeskEdit.h"

namespace kelvane {

namespace {

constexpr char kCrLf[] = "\r\n";

int32_t ToCount(int64_t n) { return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max())); }

// What undoing InsertText (S) must remove: the bytes it put in, each break two.
int32_t InsertedLength(std::string_view s) {
  const std::vector<std::string_view> pieces = InsertedPieces(s);
  int64_t n = 2 * (static_cast<int64_t>(pieces.size()) - 1);
  for (std::string_view p : pieces) n += static_cast<int64_t>(p.size());
  return ToCount(n);
}

// Lines of a block: split at CR LF, lone CR or lone LF; a trailing break adds
// no line, and an empty text is one empty line.
std::vector<std::string> BlockLines(std::string_view s) {
  std::vector<std::string_view> pieces = SplitAtBreaks(s);
  if (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
  return {pieces.begin(), pieces.end()};
}

bool HasLine(const TVeskItems& items, int64_t y) { return y >= 0 && y < items.Count(); }

// Lines First … Last, each followed by CR LF, as a change record holds them.
std::string LinesWithBreaks(const TVeskItems& items, int32_t first, int32_t last) {
  std::string old;
  for (int32_t i = first; i <= last; ++i) {
    old += items.Get(i).Text;
    old += kCrLf;
  }
  return old;
}

}  // namespace

void TVeskEdit::AddUndo(uint8_t mode, TPoint pos, std::string text, int32_t count) {
  TUndoData& r = Undo->NewRecord();
  r.Mode = mode;
  r.Caret = pos;
  r.Count = count;
  r.Text = std::move(text);
}

void TVeskEdit::InputText(std::string_view s) {
  if (Selected) {
    ReplaceSelection(s);
    if (Selected) return;  // the selection could not be replaced; nothing changed
    Invalidate();
  } else {
    if (!HasLine(Items, CaretPos.Y)) return;
    AddUndo(umInsert, CaretPos, {}, InsertedLength(s));
  }
  const TCaretHidden hidden(*this);
  InsertText(s);
  SetCaret(CaretPos);
}

void TVeskEdit::NewLine() {
  const bool replaced = Selected;
  if (Selected) {
    if (BoxMode) BoxFillKind = 1;
    ReplaceSelection(kCrLf);
    if (Selected) return;
    Invalidate();
  }
  if (!HasLine(Items, CaretPos.Y)) return;
  const TCaretHidden hidden(*this);
  if (!replaced) AddUndo(umEnter, CaretPos, {}, 2);
  SplitLine();
}

void TVeskEdit::TabKey() {
  if (Host().IsKeyDown(VK_CONTROL)) {
    Host().FocusNextControl(false);  // the dialog-control message with -1: the previous control
    return;
  }
  InputText("\t");
}

namespace {

// Backspace and Delete: a selection goes whole (a box's columns are removed);
// otherwise RemoveOne takes one character or line break, with the caret hidden.
void RemoveSelectionOr(TVeskEdit& e, void (TVeskEdit::*removeOne)()) {
  if (e.Selected) {
    if (e.BoxMode) e.BoxFillKind = 1;
    e.DeleteSelection();
    e.RepaintLines(e.TopLine, e.TopLine + e.VisibleLines);
    return;
  }
  if (!HasLine(e.Items, e.CaretPos.Y)) return;
  const TCaretHidden hidden(e);
  (e.*removeOne)();
}

// Records and removes the bytes of one character, From … To of line Y, with
// the caret standing at From; then puts the caret there again.
void TakeCharacter(TVeskEdit& e, int32_t y, int32_t fromX, int32_t toX) {
  TVeskItem& line = e.Items.Get(y);
  const size_t from = ClampToSize(fromX, line.Text.size());
  const size_t to = std::max(from, ClampToSize(toX, line.Text.size()));
  e.AddUndo(umDelete, e.CaretPos, line.Text.substr(from, to - from), ToCount(static_cast<int64_t>(to - from)));
  line.EraseBytes(from, to - from);
  e.SetCaret(e.CaretPos);
}

}  // namespace

void TVeskEdit::BackSpaceKey() { RemoveSelectionOr(*this, &TVeskEdit::DeleteBack); }

void TVeskEdit::DeleteBack() {
  const int32_t y = CaretPos.Y;
  const int32_t x = CaretPos.X;
  if (x <= 0) {
    if (y == 0) return;
    CaretCharLeft();
    AddUndo(umDelete, CaretPos, kCrLf, 0);  // the position after the step, unlike every other record
    TVeskItem& above = Items.Get(y - 1);
    above.Assign(above.Text + Items.Get(y).Text);
    Items.Delete(y);
    SetCaret(CaretPos);
    RepaintLines(y - 1, TopLine + VisibleLines);
  } else {
    CaretCharLeft();
    TakeCharacter(*this, y, CaretPos.X, x);
    RepaintLines(y, y + 1);
  }
  FireChange();
}

void TVeskEdit::DeleteKey() { RemoveSelectionOr(*this, &TVeskEdit::DeleteChar); }

void TVeskEdit::DeleteChar() {
  const int32_t y = CaretPos.Y;
  const int32_t n = Items.Get(y).TextLength();
  if (n > 0 && CaretPos.X < n) {
    CaretCharRight();
    const int32_t x2 = CaretPos.X;
    CaretCharLeft();
    TakeCharacter(*this, y, CaretPos.X, x2);
    RepaintLines(y, y);
    PlaceCaret();
  } else if (y < Items.Count() - 1) {
    AddUndo(umDelete, CaretPos, kCrLf, 1);
    TVeskItem& line = Items.Get(y);
    line.Assign(line.Text + Items.Get(y + 1).Text);
    Items.Delete(y + 1);
    SetCaret(CaretPos);
    RepaintLines(y, TopLine + VisibleLines);
    UpdateVScrollBar(true);
  }
  FireChange();
}

void TVeskEdit::DeleteToEnd(int32_t line) { DeleteLinePart(line, true); }

void TVeskEdit::DeleteToStart(int32_t line) { DeleteLinePart(line, false); }

// The part of the line after the caret (ToEnd) or before it goes, recorded as
// one deletion; OnChange fires once the caret shows again.
void TVeskEdit::DeleteLinePart(int32_t line, bool toEnd) {
  if (!HasLine(Items, line)) return;
  if (Selected) SetSelected(false);
  {
    const TCaretHidden hidden(*this);
    const std::string& text = Items.Get(line).Text;
    const size_t at = ClampToSize(CaretPos.X, text.size());
    if (toEnd) {
      AddUndo(umDelete, {CaretPos.X, line}, text.substr(at), 0);
      Items.KeepHead(line, CaretPos.X);
    } else {
      AddUndo(umDelete, {0, line}, text.substr(0, at), 0);
      Items.DropHead(line, CaretPos.X);
    }
    RepaintLines(line, line);
    if (!toEnd) {
      CaretPos.X = 0;
      PlaceCaret();
    }
  }
  FireChange();
}

void TVeskEdit::ReplaceLines(int32_t first, int32_t last, std::string_view newText, TPoint pos) {
  if (!HasLine(Items, first) || !HasLine(Items, last) || first > last) return;
  std::vector<std::string> lines = BlockLines(newText);
  const int32_t k = ToCount(static_cast<int64_t>(lines.size()));
  AddUndo(umChange, pos, LinesWithBreaks(Items, first, last), k);
  Items.DeleteRange(int64_t{first} + 1, int64_t{last} - first);
  for (int32_t i = 1; i < k; ++i) InsertLine(first + i, {});
  for (int32_t i = 0; i < k; ++i) Items[first + i].Assign(std::move(lines[static_cast<size_t>(i)]));
  SetCaret(CaretPos);
  Invalidate();
  FireChange();
}

void TVeskEdit::PrefixLines(std::string_view s) {
  TOrderedRange r = OrderRange(SelAnchor, CaretPos);
  if (r.Top < r.Bottom && r.Right == 0) --r.Bottom;  // the line the selection ends on at column 0 is not in it
  r.Top = std::clamp(r.Top, 0, Items.Count() - 1);
  r.Bottom = std::clamp(r.Bottom, r.Top, Items.Count() - 1);
  SetSelected(false);
  std::string text;
  for (int32_t i = r.Top; i <= r.Bottom; ++i) {
    text.append(s);
    text += Items[i].Text;
    text += kCrLf;
  }
  ReplaceLines(r.Top, r.Bottom, text, {0, r.Top});
}

void TVeskEdit::DeleteSelection() {
  if (!Selected) return;
  const TOrderedRange r = OrderRange(SelAnchor, CaretPos);
  if (!HasLine(Items, r.Top) || !HasLine(Items, r.Bottom)) return;
  if (BoxMode) {
    std::string old = LinesWithBreaks(Items, r.Top, r.Bottom);
    SetSelected(false);
    AddUndo(umChange, {r.Left, r.Top}, std::move(old), r.Bottom - r.Top + 1);
    if (BoxFillKind != 4) BoxFillText.clear();
    for (int32_t i = r.Top; i <= r.Bottom; ++i) Items[i].FillBox(BoxFillText);
    SetCaret({r.Left, r.Top});
  } else {
    AddUndo(umDelete, {r.Left, r.Top}, GetRangeText(SelAnchor, CaretPos), 0);
    CaretPos = {r.Left, r.Top};
    SetSelected(false);
    TVeskItem& top = Items[r.Top];
    const std::string& bottom = Items[r.Bottom].Text;
    std::string joined = top.Text.substr(0, ClampToSize(r.Left, top.Text.size()));
    joined.append(bottom, ClampToSize(r.Right, bottom.size()));
    top.Assign(std::move(joined));
    Items.DeleteRange(int64_t{r.Top} + 1, int64_t{r.Bottom} - r.Top);
    SetCaret(CaretPos);
  }
  FireChange();
}

void TVeskEdit::ReplaceSelection(std::string_view s) {
  if (!Selected) return;
  try {
    // The lines the region holds once the caller has inserted S; never fewer than one.
    const int32_t k = ToCount(static_cast<int64_t>(InsertedPieces(s).size()));
    const TOrderedRange r = OrderRange(SelAnchor, CaretPos);
    std::string old = LinesWithBreaks(Items, r.Top, r.Bottom);
    SetSelected(false);
    if (BoxMode) {
      AddUndo(umChange, {0, r.Top}, std::move(old), (r.Bottom - r.Top) + k);
      for (int32_t i = r.Top; i <= r.Bottom; ++i) Items[i].FillBox({});
    } else {
      AddUndo(umChange, {0, r.Top}, std::move(old), k);
      TVeskItem& top = Items[r.Top];
      const std::string& bottom = Items[r.Bottom].Text;
      std::string joined = top.Text.substr(0, ClampToSize(r.Left, top.Text.size()));
      joined.append(bottom, ClampToSize(r.Right, bottom.size()));
      top.Assign(std::move(joined));
      Items.DeleteRange(int64_t{r.Top} + 1, int64_t{r.Bottom} - r.Top);
    }
    SetCaret({r.Left, r.Top});
  } catch (const std::exception&) {
    // silently: the caller sees the selection still on and stops
  }
}

void TVeskEdit::PasteBox(std::string_view s) {
  std::vector<std::string> lines = BlockLines(s);
  const int32_t k = ToCount(static_cast<int64_t>(lines.size()));
  const TPoint origin = Selected ? TPoint{std::min(SelAnchor.X, CaretPos.X), std::min(SelAnchor.Y, CaretPos.Y)}
                                 : CaretPos;
  if (!HasLine(Items, origin.Y)) return;
  const int32_t last = ToCount(int64_t{origin.Y} + k - 1);
  AddUndo(umChange, origin, LinesWithBreaks(Items, origin.Y, std::min(last, Items.Count() - 1)), k);
  while (Items.Count() - 1 < last) AddLine({});
  const int32_t px = Items[origin.Y].XOfColumn(int64_t{origin.X} + 1, false);
  for (int32_t j = 0; j < k; ++j) {
    Items[origin.Y + j].InsertAtX(BoxOverwrite ? 1 : 0, px, std::move(lines[static_cast<size_t>(j)]));
  }
  Invalidate();
  FireChange();
}

void TVeskEdit::DropBox(std::string_view s) {
  if (s.empty()) return;
  const TCaretHidden hidden(*this);
  PasteBox(s);
}

}  // namespace kelvane
