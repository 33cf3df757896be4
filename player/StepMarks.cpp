// What one history step changed, as marks over the text.
#include "player/StepMarks.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/Codepage.h"

namespace kelvane {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Where text inserted at At ends: recorded text breaks lines at CR LF alone.
TPoint EndOfInserted(TPoint at, std::string_view text) {
  const size_t last = text.rfind(kCrLf);
  if (last == std::string_view::npos) return {at.X + static_cast<int32_t>(text.size()), at.Y};
  int32_t breaks = 0;
  for (size_t p = text.find(kCrLf); p != std::string_view::npos; p = text.find(kCrLf, p + 2)) ++breaks;
  return {static_cast<int32_t>(text.size() - last - 2), at.Y + breaks};
}

// The first character boundary at or before (Down) or after (Up) byte Col.
size_t CharBoundary(std::string_view line, size_t col, bool up) {
  size_t i = 0;
  while (i < col && i < line.size()) {
    const size_t next = i + (cp932::IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1);
    if (next > col) return up ? next : i;
    i = next;
  }
  return std::min(i, line.size());
}

// The lines Y … Y+Count−1 as a change record holds them, each ending CR LF.
std::string BlockOf(const TVeskEdit& e, int32_t y, int32_t count) {
  std::string block;
  for (int32_t i = 0; i < count && y + i < e.Items.Count(); ++i) {
    block += e.Items[y + i].Text;
    block += kCrLf;
  }
  return block;
}

// Offset Off of a block starting at line Y, as a position: an offset inside a
// line's CR LF stands at the line's end, or (Up) at the next line's start.
TPoint PositionInBlock(const TVeskEdit& e, int32_t y, size_t off, bool up) {
  for (int32_t line = y; line < e.Items.Count(); ++line) {
    const std::string& text = e.Items[line].Text;
    if (off <= text.size()) return {static_cast<int32_t>(CharBoundary(text, off, up)), line};
    if (off < text.size() + 2) return up ? TPoint{0, line + 1} : TPoint{static_cast<int32_t>(text.size()), line};
    off -= text.size() + 2;
  }
  const int32_t last = e.Items.Count() - 1;
  return {e.Items[last].TextLength(), last};
}

// A change record after its step: its lines are the block as it was; the
// block now stands in the text. What differs between the two, once the bytes
// both share at the front and the back are left out, is what changed.
void ChangeMarks(const TVeskEdit& e, const TUndoData& applied, TChangeMarks& marks) {
  const int32_t y = applied.Caret.Y;
  const std::string now = BlockOf(e, y, applied.Count);
  const std::string_view before = applied.Text;
  const size_t shorter = std::min(now.size(), before.size());
  size_t head = 0;
  while (head < shorter && now[head] == before[head]) ++head;
  size_t tail = 0;
  while (tail < shorter - head && now[now.size() - 1 - tail] == before[before.size() - 1 - tail]) ++tail;
  const TPoint from = PositionInBlock(e, y, head, false);
  if (head + tail < now.size()) {
    const TPoint to = PositionInBlock(e, y, now.size() - tail, true);
    if (to.Y > from.Y || to.X > from.X) marks.Tinted.push_back({from, to});
  }
  if (head + tail < before.size()) marks.Removed.push_back(from);
}

}  // namespace

TStepProbe ProbeStep(const TVeskEdit& e, bool redo) {
  const TUndoList& from = redo ? e.Undo->FRedoList : e.Undo->FUndoList;
  TStepProbe p;
  if (from.Count() == 0) return p;
  const TUndoData& r = from[int64_t{from.Count()} - 1];
  if (r.Caret.Y < 0 || r.Caret.Y >= e.Items.Count()) return p;
  p.Valid = true;
  p.Redo = redo;
  p.Mode = r.Mode;
  p.LineLength = e.Items[r.Caret.Y].TextLength();
  p.At = {std::clamp(r.Caret.X, 0, p.LineLength), r.Caret.Y};
  p.UndoCount = e.Undo->FUndoList.Count();
  return p;
}

TChangeMarks StepMarks(const TVeskEdit& e, const TStepProbe& probe) {
  TChangeMarks marks;
  const TUndoList& to = probe.Redo ? e.Undo->FUndoList : e.Undo->FRedoList;
  if (!probe.Valid || e.Undo->FUndoList.Count() != probe.UndoCount + (probe.Redo ? 1 : -1) || to.Count() == 0)
    return marks;
  const TUndoData& applied = to[int64_t{to.Count()} - 1];  // now the record that takes the step back
  switch (probe.Mode) {
    case umInsert:  // took bytes out
      if (!applied.Text.empty()) marks.Removed.push_back(probe.At);
      break;
    case umDelete:  // put its text in
      if (!applied.Text.empty()) marks.Tinted.push_back({probe.At, EndOfInserted(probe.At, applied.Text)});
      break;
    case umEnter:
      if (probe.Redo) {
        marks.Tinted.push_back({probe.At, {0, probe.At.Y + 1}});
      } else {
        marks.Removed.push_back({probe.LineLength, probe.At.Y});
      }
      break;
    case umChange:
      ChangeMarks(e, applied, marks);
      break;
    default:
      break;
  }
  return marks;
}

}  // namespace kelvane
