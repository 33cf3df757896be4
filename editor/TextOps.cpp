// Whole-text operations and the two raw operations at the caret. None of them
// records history; the editing operations and the history build on them.
#include <algorithm>
#include <limits>

#include "editor/VeskEdit.h"

namespace kelvane {

namespace {

int32_t SaturatedAdd(int32_t a, int64_t b) {
  int64_t sum = static_cast<int64_t>(a) + b;
  return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                   std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::string TVeskEdit::GetText() const {
  size_t total = 0;
  const int32_t n = Items.Count();
  for (int32_t i = 0; i < n; ++i) total += Items[i].Text.size() + 2;
  std::string out;
  out.reserve(total);
  for (int32_t i = 0; i < n; ++i) {
    if (i > 0) out += "\r\n";
    out += Items[i].Text;
  }
  return out;
}

// The lines are made unscanned: each is scanned when first read (painted, or
// measured for the caret), so a text of which one screen is shown costs one
// screen of scanning.
void TVeskEdit::SetText(std::string_view s) {
  ClearText();
  try {
    Items.Clear();
    for (;;) {
      const size_t brk = s.find("\r\n");
      Items.Add(std::make_unique<TVeskItem>(this, std::string(s.substr(0, brk))));
      if (brk == std::string_view::npos) break;
      s.remove_prefix(brk + 2);
    }
  } catch (const std::exception&) {
    if (Items.Count() == 0) InsertLine(0, {});  // the list is never empty
    return;  // keep the lines built so far, silently
  }
  Invalidate();
}

void TVeskEdit::ClearText() {
  Undo->Clear();
  Items.Clear();
  SetSelected(false);
  InsertLine(0, {});
  SetCaret({0, 0});
  SelAnchor = CaretPos;
}

void TVeskEdit::InsertLine(int32_t index, std::string_view s) {
  std::unique_ptr<TVeskItem> item = Items.Make(this, s);
  if (!DefersScan()) item->Scan();  // else when first read
  Items.Insert(index, std::move(item));
}

void TVeskEdit::AddLine(std::string_view s) { InsertLine(Items.Count(), s); }

void TVeskEdit::InsertText(std::string_view s) {
  if (s.empty()) return;
  // Exactly the pieces the recorded count is made of (InsertedLength), so
  // that undo takes away what was put in.
  std::vector<std::string_view> pieces = InsertedPieces(s);
  InsertPieces(pieces);
}

// A recorded text goes back as the bytes it holds: only CR LF was a line
// break, and a lone CR or LF was a byte of its line, as it is in the record.
void TVeskEdit::InsertRecordedText(std::string_view s) {
  if (s.empty()) return;
  if (s.find("\r\n") == std::string_view::npos) {  // one line: no list of pieces to build
    Items.Get(CaretPos.Y).InsertBytes(static_cast<int64_t>(CaretPos.X) + 1, s);
    CaretPos.X = SaturatedAdd(CaretPos.X, static_cast<int64_t>(s.size()));
    RepaintLines(CaretPos.Y, std::min(CaretPos.Y + 1, Items.Count() - 1));
    FireChange();
    return;
  }
  // A history step puts in many texts of several lines: the list of their
  // lines keeps its storage from one to the next (taken out while in use),
  // unless a long text made it large.
  constexpr size_t kKeptPieces = 256;
  std::vector<std::string_view> pieces = std::move(FPieceScratch);
  SplitAtCrLfKeepingEnd(s, pieces);
  InsertPieces(pieces);
  if (pieces.capacity() <= kKeptPieces) FPieceScratch = std::move(pieces);
}

void TVeskEdit::InsertPieces(std::vector<std::string_view>& pieces) {
  const int32_t y = CaretPos.Y;
  const int32_t x = CaretPos.X;
  TVeskItem& line = Items.Get(y);
  if (pieces.size() == 1) {  // no break, or none before a NUL
    line.InsertBytes(static_cast<int64_t>(x) + 1, pieces[0]);
    CaretPos.X = SaturatedAdd(CaretPos.X, static_cast<int64_t>(pieces[0].size()));
    RepaintLines(y, std::min(y + 1, Items.Count() - 1));
  } else {
    const size_t cut = ClampToSize(x, line.Text.size());
    std::string tail = line.Text.substr(cut);
    // The pieces followed by one empty piece: pieces[n-2] is the last piece
    // of the text (empty when it ends with a break) and takes the tail.
    pieces.push_back({});
    const size_t n = pieces.size();
    line.ReplaceBytes(cut, tail.size(), pieces[0]);
    for (size_t i = 1; i + 1 < n; ++i) InsertLine(SaturatedAdd(y, static_cast<int64_t>(i)), pieces[i]);
    const int32_t lastY = SaturatedAdd(y, static_cast<int64_t>(n - 2));
    if (!tail.empty()) Items.Get(lastY).Append(tail);  // the line holds pieces[n-2]: n ≥ 3 here
    CaretPos = {static_cast<int32_t>(pieces[n - 2].size()), lastY};
    RepaintLines(y, Items.Count() - 1);
  }
  FireChange();
}

void TVeskEdit::SplitLine() { SplitLine(true); }

void TVeskEdit::SplitLine(bool placeCaret) {
  const int32_t y = CaretPos.Y;
  const int32_t x = CaretPos.X;
  TVeskItem& line = Items.Get(y);
  const int32_t n = line.TextLength();
  if (x <= 0) {
    InsertLine(y, {});
  } else if (x >= n) {
    InsertLine(y + 1, {});
  } else {
    InsertLine(y + 1, std::string_view(line.Text).substr(static_cast<size_t>(x)));  // the line stays where it is
    Items.KeepHead(y, x);
  }
  if (placeCaret) {
    SetCaret({0, y + 1});
  } else {
    CaretPos = {0, y + 1};
  }
  RepaintLines(y, SaturatedAdd(y, VisibleLines));
  if (VisibleLines < static_cast<int64_t>(Items.Count()) + 2) UpdateVScrollBar(true);
  FireChange();
}

TPoint TVeskEdit::NormalizePos(TPoint p) const {
  const int32_t count = Items.Count();
  if (p.Y < 0) return {0, 0};
  if (p.Y >= count) return {Items[count - 1].TextLength(), count - 1};
  const TVeskItem& line = Items[p.Y];
  const int32_t len = line.TextLength();
  if (p.X >= len) return {len, p.Y};
  for (int32_t c = std::max(p.X, 0); c < len; ++c) {
    if (line.WidthAt(static_cast<size_t>(c)) != 0) return {c, p.Y};
  }
  return {len, p.Y};
}

}  // namespace kelvane
