// The selection: its state and extent, the selected text, word and block
// selection, the clipboard commands, and what a text drop does to the text.
#include <algorithm>
#include <optional>

#include "editor/VeskEdit.h"

namespace kelvane {

namespace {

constexpr char kCrLf[] = "\r\n";

bool Before(TPoint a, TPoint b) { return a.Y < b.Y || (a.Y == b.Y && a.X < b.X); }

}  // namespace

TVeskEdit::TOrderedRange TVeskEdit::OrderRange(TPoint a, TPoint b) {
  TOrderedRange r;
  if (b.Y < a.Y) std::swap(a, b);
  r.Left = a.X;
  r.Top = a.Y;
  r.Right = b.X;
  r.Bottom = b.Y;
  if (r.Top == r.Bottom && r.Right < r.Left) std::swap(r.Left, r.Right);
  return r;
}

void TVeskEdit::SetSelected(bool on) {
  if (on != Selected) Invalidate();
  Selected = on;
  if (!on) LineSelect = false;
  if (on && !MouseDown) CollapseSelection();
}

std::string TVeskEdit::GetRangeText(TPoint a, TPoint b) const {
  const TOrderedRange r = OrderRange(a, b);
  const int32_t last = Items.Count() - 1;
  if (r.Top > last || r.Bottom < 0) return {};
  const int32_t top = std::max(r.Top, 0);
  const int32_t bottom = std::min(r.Bottom, last);
  const std::string& first = Items[top].Text;
  const size_t left = top == r.Top ? ClampToSize(r.Left, first.size()) : 0;
  if (top == bottom) {
    const size_t right = bottom == r.Bottom ? ClampToSize(r.Right, first.size()) : first.size();
    return right > left ? first.substr(left, right - left) : std::string();
  }
  std::string out = first.substr(left);
  for (int32_t i = top + 1; i < bottom; ++i) {
    out += kCrLf;
    out += Items[i].Text;
  }
  const std::string& end = Items[bottom].Text;
  out += kCrLf;
  out.append(end, 0, bottom == r.Bottom ? ClampToSize(r.Right, end.size()) : end.size());
  return out;
}

std::string TVeskEdit::GetBoxLineText(int32_t line) const {
  if (line < 0 || line >= Items.Count()) return {};
  const TVeskItem& item = Items[line];
  int32_t start = 0, end = 0;
  if (item.Text.empty() || !item.ColumnSpan(BoxLeftX, BoxRightX, start, end)) return {};
  return item.Text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(end - start));
}

std::string TVeskEdit::GetBoxText() const {
  const TOrderedRange r = OrderRange(SelAnchor, CaretPos);
  std::string out = GetBoxLineText(r.Top);
  for (int32_t i = r.Top + 1; i <= r.Bottom; ++i) {
    out += kCrLf;
    out += GetBoxLineText(i);
  }
  return out;
}

std::string TVeskEdit::GetSelText() const {
  if (!Selected) return {};
  return BoxMode ? GetBoxText() : GetRangeText(SelAnchor, CaretPos);
}

void TVeskEdit::CopyToClipboard() {
  if (Selected) FHost.SetClipboardText(GetSelText());
}

bool TVeskEdit::SelectWord(TPoint p) {
  if (p.Y < 0 || p.X < 0 || p.Y >= Items.Count()) return false;
  const std::string c = Items[p.Y].Classes();
  const int32_t n = static_cast<int32_t>(c.size());
  if (n == 0 || p.X >= n) return false;
  const auto at = [&c](int32_t i) { return c[static_cast<size_t>(i)]; };
  int32_t start = p.X;
  while (start > 0 && at(start - 1) == at(start)) --start;
  int32_t end = p.X + 1;
  while (end < n && at(end - 1) == at(end)) ++end;
  const TCaretHidden hidden(*this);
  SelAnchor = {start, p.Y};
  LastCaretLine = p.Y;
  Selected = true;
  SetCaret({end, p.Y});
  return true;
}

void TVeskEdit::SelectBlock() {
  SetSelected(false);
  const int32_t count = Items.Count();
  int32_t first = std::clamp(CaretPos.Y, 0, count - 1);
  while (first > 0 && !Items[first - 1].Text.empty()) --first;
  int32_t last = first;
  while (last + 1 < count && !Items[last + 1].Text.empty()) ++last;
  const TCaretHidden hidden(*this);
  SelAnchor = {0, first};
  LastCaretLine = first;
  Selected = true;
  SetCaret({Items[last].TextLength(), last});
}

void TVeskEdit::CopyCommand() {
  if (!Selected) return;
  CopyToClipboard();
  SetSelected(false);
}

void TVeskEdit::CutCommand() {
  if (!Selected) return;
  if (BoxMode) {
    BoxFillKind = 0;
    BoxRemove();
    return;
  }
  CopyToClipboard();
  DeleteSelection();
  Invalidate();
}

void TVeskEdit::BoxRemove() {
  if (!Selected || !BoxMode) return;
  if (BoxFillKind == 0) CopyToClipboard();
  DeleteSelection();
  Invalidate();
}

void TVeskEdit::PasteCommand() {
  if (!FHost.HasFocus()) return;
  const std::optional<std::string> text = FHost.GetClipboardText();
  // Plain text ends at its first NUL, as the platforms' clipboards have it.
  const std::string_view pasted = text ? UpToNul(*text) : std::string_view();
  if (pasted.empty()) return;
  InputText(pasted);
}

void TVeskEdit::DropDraggedText(bool copy, bool overwrite) {
  if (!Selected || DragText.empty()) return;
  const TPoint drop = NormalizePos(DragPos);
  const TPoint anchor = SelAnchor;
  const TPoint caret = CaretPos;
  const TOrderedRange r = OrderRange(anchor, caret);
  const std::string text = DragText;

  if (!BoxMode) {
    const bool before = Before(drop, {r.Left, r.Top});
    if (!before && Before(drop, {r.Right, r.Bottom})) return;  // dropped on itself
    if (before) {
      // The source lies after the drop, so removing it first leaves the drop position valid.
      copy ? SetSelected(false) : DeleteSelection();
      CaretPos = drop;
      InputText(text);
      return;
    }
    SetSelected(false);
    CaretPos = drop;
    InputText(text);
    if (!copy) {
      SelAnchor = anchor;
      CaretPos = caret;
      Selected = true;
      DeleteSelection();
    }
    SetCaret(drop);
    return;
  }

  // Box: the source columns on the drop line, to tell a drop on the box itself
  // and how many bytes left of the drop the removal takes away.
  int32_t start = 0, end = 0;
  const bool onSourceLine = drop.Y >= r.Top && drop.Y <= r.Bottom;
  const bool spans = onSourceLine && Items[drop.Y].ColumnSpan(BoxLeftX, BoxRightX, start, end);
  if (spans && drop.X + 1 >= start && drop.X + 1 < end) {  // dropped on itself
    SetSelected(false);
    return;
  }
  const int32_t removedBefore = spans && drop.X + 1 >= end ? end - start : 0;
  const int32_t anchorX = BoxAnchorX, caretX = BoxCaretX, leftX = BoxLeftX, rightX = BoxRightX;
  const auto removeSource = [&] {
    SelAnchor = anchor;
    CaretPos = caret;
    BoxAnchorX = anchorX;
    BoxCaretX = caretX;
    BoxLeftX = leftX;
    BoxRightX = rightX;
    BoxMode = true;
    Selected = true;
    BoxFillKind = 1;
    DeleteSelection();
  };
  // Pasted left of the box's right edge on lines the box covers, the block
  // would shift or overwrite the source before it is removed by its pixels:
  // such a move removes the source first and drops where the text now stands.
  const int32_t rows = static_cast<int32_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  const int32_t dropX = Items[drop.Y].XOfColumn(int64_t{drop.X} + 1, false);
  const bool overlaps = drop.Y <= r.Bottom && int64_t{drop.Y} + rows - 1 >= r.Top;
  const TPoint landed{drop.X - removedBefore, drop.Y};
  SetSelected(false);
  BoxOverwrite = overwrite;
  if (!copy && overlaps && dropX < rightX) {
    removeSource();
    CaretPos = landed;
    DropBox(text);
  } else {
    CaretPos = drop;
    DropBox(text);
    if (!copy) removeSource();
  }
  SetCaret(copy ? drop : landed);
  SetSelected(false);
}

}  // namespace kelvane
