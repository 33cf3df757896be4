// The benchmark history: a simulated person edits the generated text. Each
// edit goes through THistoryBuilder, so every record is the one the editor
// itself would have made on the text as it stood.
#include "bench/BenchHistory.h"

#include <algorithm>
#include <limits>

#include "bench/BenchText.h"
#include "editor/VeskEdit.h"
#include "headless/HeadlessEditHost.h"
#include "player/UndoFile.h"
#include "tools/HistoryBuilder.h"

namespace kelvane {

namespace {

// The text has its own stream, so it depends on the seed and the line count only.
constexpr uint64_t kTextStream = 0x5445585453545245ull;

std::string BaseText(const TBenchText& words, const TBenchHistoryShape& shape) {
  TBenchRandom rnd(shape.Seed ^ kTextStream);
  return words.Text(rnd, shape.Lines);
}

// One edit per call, each giving exactly one record: about 60 % typing (now and
// then a paste), 25 % removing, 10 % Enter and 5 % rewriting a few lines. Most
// edits go on where the previous one left the caret; some move a few lines
// away, a few jump anywhere.
class TBenchPerson {
 public:
  TBenchPerson(TVeskEdit& editor, const TBenchText& words, uint64_t seed)
      : editor_(editor), words_(words), builder_(editor), rnd_(seed) {}

  void Edit() {
    MoveCaret();
    const int32_t kind = rnd_.Below(100);
    if (kind < 60) {
      Type();
    } else if (kind < 85) {
      Remove();
    } else if (kind < 95) {
      builder_.Enter(editor_.CaretPos);
    } else {
      Rewrite();
    }
    Note(editor_.CaretPos.Y);
    ++stats_.Modes[editor_.Undo->FUndoList.Top().Mode & 3];
  }

  const TBenchHistoryStats& Stats() const { return stats_; }

 private:
  int32_t LineCount() const { return editor_.Items.Count(); }
  const TVeskItem& Line(int32_t y) const { return editor_.Items[y]; }
  int32_t Length(int32_t y) const { return Line(y).TextLength(); }

  int32_t PrevBoundary(int32_t y, int32_t x) const {
    int32_t i = x - 1;
    while (i > 0 && Line(y).WidthAt(static_cast<size_t>(i)) == 0) --i;
    return std::max(i, 0);
  }
  int32_t NextBoundary(int32_t y, int32_t x) const {
    int32_t i = x + 1;
    while (i < Length(y) && Line(y).WidthAt(static_cast<size_t>(i)) == 0) ++i;
    return std::min(i, Length(y));
  }
  TPoint AnywhereOn(int32_t y) { return editor_.NormalizePos({rnd_.Below(Length(y) + 1), y}); }

  void Note(int32_t y) {
    y = std::clamp(y, 0, LineCount() - 1);
    stats_.LongestLine = std::max(stats_.LongestLine, Length(y));
  }

  void MoveCaret() {
    const int32_t where = rnd_.Below(100);
    TPoint c = editor_.NormalizePos(editor_.CaretPos);
    if (where < 72) {
      // Going on from the last edit.
    } else if (where < 92) {
      c.Y = std::clamp(c.Y + rnd_.Between(-12, 12), 0, LineCount() - 1);
      c = rnd_.Percent(35) ? TPoint{Length(c.Y), c.Y} : AnywhereOn(c.Y);
    } else {
      c = AnywhereOn(rnd_.Below(LineCount()));
    }
    editor_.CaretPos = c;
  }

  void Type() {
    const TPoint c = editor_.CaretPos;
    if (!rnd_.Percent(5)) {
      builder_.Insert(c, words_.Typed(rnd_));
      return;
    }
    // A paste: whole lines go in at the start of a line.
    const bool wholeLines = rnd_.Percent(60);
    builder_.Insert(wholeLines ? TPoint{0, c.Y} : c, words_.Block(rnd_, wholeLines));
  }

  void Remove() {
    const int32_t how = rnd_.Below(100);
    const TPoint c = editor_.CaretPos;
    if (Length(c.Y) == 0 && LineCount() == 1) {
      builder_.Enter(c);  // nothing to remove
    } else if (how < 45) {
      Backspace(c);
    } else if (how < 60) {
      DeleteKey(c);
    } else if (how < 85) {
      WordBack(c);
    } else {
      Selection(c);
    }
  }

  void Backspace(TPoint c) {
    if (c.X > 0) {
      const int32_t p = PrevBoundary(c.Y, c.X);
      builder_.Delete({p, c.Y}, c.X - p);
    } else if (c.Y > 0) {
      builder_.Delete({Length(c.Y - 1), c.Y - 1}, 2);
    } else {
      DeleteKey(c);
    }
  }

  void DeleteKey(TPoint c) {
    if (c.X < Length(c.Y)) {
      builder_.Delete(c, NextBoundary(c.Y, c.X) - c.X);
    } else if (c.Y + 1 < LineCount()) {
      builder_.Delete(c, 2);
    } else {
      Backspace(c);
    }
  }

  // The run of characters of one class before the caret.
  void WordBack(TPoint c) {
    if (c.X == 0) {
      Backspace(c);
      return;
    }
    const std::string& classes = Line(c.Y).Classes();
    int32_t p = PrevBoundary(c.Y, c.X);
    const char cls = classes[static_cast<size_t>(p)];
    while (p > 0) {
      const int32_t q = PrevBoundary(c.Y, p);
      if (classes[static_cast<size_t>(q)] != cls) break;
      p = q;
    }
    builder_.Delete({p, c.Y}, c.X - p);
  }

  // From the caret to a later place on the same line or up to four lines down.
  void Selection(TPoint c) {
    if (rnd_.Percent(50) && c.Y + 1 < LineCount()) {
      const int32_t last = std::min(LineCount() - 1, c.Y + rnd_.Between(1, 4));
      int32_t count = Length(c.Y) - c.X;
      for (int32_t y = c.Y + 1; y < last; ++y) count += 2 + Length(y);
      count += 2 + AnywhereOn(last).X;
      builder_.Delete(c, count);
    } else if (c.X < Length(c.Y)) {
      const int32_t end = editor_.NormalizePos({rnd_.Between(c.X + 1, Length(c.Y)), c.Y}).X;
      builder_.Delete(c, end - c.X);
    } else {
      Backspace(c);
    }
  }

  // 1 … 5 lines from the caret's become 0 … 6 lines, some of them the old ones
  // touched up, the rest new.
  void Rewrite() {
    const int32_t y = editor_.CaretPos.Y;
    const int32_t count = std::min(rnd_.Between(1, 5), LineCount() - y);
    const int32_t after = rnd_.Between(0, 6);
    std::string lines;
    for (int32_t i = 0; i < after; ++i) {
      if (i < count && rnd_.Percent(60)) {
        std::string old = Line(y + i).Text;
        const size_t at = static_cast<size_t>(AnywhereOn(y + i).X);
        lines += old.insert(at, words_.Typed(rnd_));
      } else {
        lines += words_.Line(rnd_);
      }
      lines += "\r\n";
    }
    builder_.Change(y, count, std::move(lines));
    for (int32_t i = 0; i < after; ++i) Note(y + i);
  }

  TVeskEdit& editor_;
  const TBenchText& words_;
  THistoryBuilder builder_;
  TBenchRandom rnd_;
  TBenchHistoryStats stats_;
};

}  // namespace

std::string BenchBaseText(const TBenchHistoryShape& shape) { return BaseText(TBenchText(), shape); }

TBenchHistoryStats BuildBenchHistory(TVeskEdit& editor, const TBenchHistoryShape& shape) {
  const TBenchText words;
  editor.SetText(BaseText(words, shape));
  const int32_t total = shape.UndoRecords + shape.RedoRecords;
  editor.Undo->FMaxUndo = std::numeric_limits<int32_t>::max();  // nothing may be dropped while recording
  TBenchPerson person(editor, words, shape.Seed);
  while (editor.Undo->FUndoList.Count() < total) person.Edit();
  THistoryBuilder(editor).UndoNewest(shape.RedoRecords);
  editor.Undo->FMaxUndo = kMaxUndo;
  TBenchHistoryStats stats = person.Stats();
  stats.LinesAtEnd = editor.Items.Count();
  return stats;
}

std::string BuildBenchHistoryFile(const TBenchHistoryShape& shape, TBenchHistoryStats* stats) {
  HeadlessEditHost host;
  TVeskEdit editor(host);
  const TBenchHistoryStats made = BuildBenchHistory(editor, shape);
  if (stats) *stats = made;
  return BuildUndoFile(editor);
}

}  // namespace kelvane
