// The editor's text: one record per line holding its Shift-JIS bytes and the
// per-byte strings the scanner derives from them, and the line list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/BlockVector.h"

namespace kelvane {

class TVeskEdit;

// One line: its bytes and what the scanner derives from them. The derived
// strings are read through the accessors. A line changed while its editor
// defers scanning (its window frozen, as during a jump through the history)
// is scanned when they are first read, so a line nobody reads is never
// scanned; outside such a batch a change is scanned at once. The widths are
// kept right through every change (re-measured around the change alone) while
// no character reference is shown, so that the caret can be placed on a line
// without scanning it.
//
// Invariant (checked in debug builds): once read, Attrs and Widths each have
// exactly Text.size() entries, and Widths is 0 exactly at the bytes that begin
// no character.
class TVeskItem {
 public:
  explicit TVeskItem(TVeskEdit* owner, std::string text = {});

  TVeskEdit* Owner;  // the editor holding the line; not owned
  // The line's bytes, no line break. Change them through the operations
  // below; after a change made directly, call TextChanged.
  std::string Text;

  const std::string& Attrs() const;   // attribute code per byte (editor/Attributes.h)
  uint8_t AttrAt(size_t i) const { return static_cast<uint8_t>(Attrs()[i]); }
  // The referenced character at the "&" of a shown reference, else 0.
  char16_t RefCharAt(size_t i) const;
  std::u16string RefChars() const;  // one per byte
  const std::string& Widths() const;  // pixel width per byte (unsigned), 0 at non-starting bytes
  uint8_t WidthAt(size_t i) const { return static_cast<uint8_t>(Widths()[i]); }
  // The character class of every byte (both bytes of a double-byte character
  // get the class of the pair), worked out when asked: only word selection
  // and the scanner's keywords need them.
  std::string Classes() const;

  void Scan();         // derives everything now
  void TextChanged();  // Text was changed directly: everything is derived again
  int32_t TextLength() const { return static_cast<int32_t>(Text.size()); }
  // Inserts bytes before the 1-based position Pos (clamped to 1 … length+1).
  void InsertBytes(int64_t pos, std::string_view bytes);
  // Removes Count bytes from the 0-based offset At on (clamped to the line).
  void EraseBytes(size_t at, size_t count);
  // The Count bytes from At on (clamped) replaced by Bytes.
  void ReplaceBytes(size_t at, size_t count, std::string_view bytes);
  void Append(std::string_view bytes);
  // Replaces the bytes.
  void Assign(std::string text);
  void Assign(std::string_view text);

  // The x of the 0-based column Col: the widths of the bytes before it summed,
  // counted from the last column asked for, so that a caret moving along a
  // long line costs what it moves.
  int64_t PrefixWidth(size_t col) const;

  void CheckInvariants() const;

  // Pixel geometry within the line (x from the line's first character; columns
  // are 1-based byte positions, the editor's column X being position X+1).
  int32_t XOfColumn(int64_t pos, bool half) const;
  int32_t ColumnAtX(int32_t x) const;
  bool ColumnSpan(int32_t x1, int32_t x2, int32_t& start, int32_t& end) const;
  int32_t WidthBetween(int64_t start, int64_t end) const;
  int32_t LineWidth() const;
  // Box operations: the part of the line inside the owner's box selection
  // removed or filled; a string put in at pixel x (0 insert, 1 overwrite).
  void FillBox(std::string_view fill);
  void InsertAtX(int mode, int32_t x, std::string s);

 private:
  friend class TLineScanner;
  friend class TVeskItems;

  void Reuse(TVeskEdit* owner, std::string_view text);  // as if made anew, its storage kept

  int32_t ColumnWalk(int64_t x, bool atMiddleGoesBefore) const;
  void PadTo(int64_t x);
  std::pair<size_t, int64_t> CharacterAtX(int64_t x) const;

  bool DefersScan() const;
  bool WidthsNeedAttrs() const;  // widths depend on shown references
  void Derive() const;           // the full scan, on a const line
  void MeasureWidths() const;    // the widths alone, from the bytes
  // Bytes At … At+Removed−1 were replaced by Inserted bytes: the derived
  // strings follow, re-measured around the change, or marked to derive.
  void Spliced(size_t at, size_t removed, size_t inserted);
  void Remeasure(size_t from, size_t changedEnd) const;

  // What the scan derives from the bytes. Most lines of a long text are never
  // read, so a line holds only a pointer until something reads it.
  struct TDerived {
    std::string Attrs;
    std::string Widths;
    std::unique_ptr<std::u16string> RefChars;  // only where a reference is shown
    bool AttrsStale = true;
    bool WidthsStale = true;
    size_t MemoCol = 0;  // the last column PrefixWidth answered, and its x
    int64_t MemoX = 0;
  };
  TDerived& Made() const;  // the derived part, made (all stale) on first use
  bool AttrsStale() const { return !d_ || d_->AttrsStale; }
  bool WidthsStale() const { return !d_ || d_->WidthsStale; }

  mutable std::unique_ptr<TDerived> d_;
};

// The line list: owns its records. The editor keeps it non-empty. The blocks
// hold plain pointers, so that a line put in or taken out moves the rest of
// its block with one memmove rather than element by element.
class TVeskItems {
 public:
  TVeskItems() = default;
  ~TVeskItems() { Clear(); }
  TVeskItems(const TVeskItems&) = delete;
  TVeskItems& operator=(const TVeskItems&) = delete;

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // The record at I; an index outside 0 … Count−1 raises EListError.
  TVeskItem& Get(int64_t i);
  const TVeskItem& Get(int64_t i) const;
  TVeskItem& operator[](int32_t i) { return *items_[static_cast<size_t>(i)]; }
  const TVeskItem& operator[](int32_t i) const { return *items_[static_cast<size_t>(i)]; }
  // The record at I, or null outside the list.
  const TVeskItem* Find(int64_t i) const { return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)] : nullptr; }

  void Add(std::unique_ptr<TVeskItem> r);
  void Insert(int32_t i, std::unique_ptr<TVeskItem> r);  // before I; appended when I ≥ Count
  void InsertRange(int32_t i, std::vector<std::unique_ptr<TVeskItem>> r);  // all at once, as Insert
  void Delete(int64_t i);  // frees the record when I is a valid index
  // Lines First … First+Count−1 at once; a range outside the list raises EListError.
  void DeleteRange(int64_t first, int64_t count);
  void Clear();
  void KeepHead(int32_t i, int64_t n);  // line I keeps its first N bytes
  void DropHead(int32_t i, int64_t n);  // line I loses its first N bytes
  void ScanAll();

  // A line of Owner holding Text, unscanned: a record an earlier delete gave
  // back where there is one, so that its storage serves again, else a new one.
  std::unique_ptr<TVeskItem> Make(TVeskEdit* owner, std::string_view text);
  void DropSpares() { std::vector<std::unique_ptr<TVeskItem>>().swap(spare_); }  // those kept for Make freed

 private:
  void Release(TVeskItem* r);  // kept for Make, or freed

  BlockVector<TVeskItem*> items_;  // each owned: freed when it leaves the list
  // Records deleted lately while their editor defers scanning, for Make: a
  // walk through the history takes lines out and puts lines in all the time,
  // and each new line is four allocations. Only short ones are kept, and only
  // until the batch ends (DropSpares), so a text costs no more after a jump.
  std::vector<std::unique_ptr<TVeskItem>> spare_;
};

// The pieces of a text split at CR LF (a trailing CR LF gives no final empty piece).
class TAEStrList {
 public:
  void Add(std::string s) { items_.push_back(std::move(s)); }
  const std::string& Get(int32_t i) const { return items_.at(static_cast<size_t>(i)); }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  void Clear() { items_.clear(); }

 private:
  std::vector<std::string> items_;
};

// Fills List with the pieces of S between CR LF pairs; false if splitting failed.
bool SplitAtCrLf(TAEStrList& list, std::string_view s);

// The pieces of S between line breaks of any kind (CR LF, a lone CR, a lone
// LF). The last piece is always there, empty when S ends with a break.
std::vector<std::string_view> SplitAtBreaks(std::string_view s);
// The pieces of S between CR LF pairs, each break one cut: joined again with
// CR LF they give S exactly ("a\r\n" gives "a" and "", "" gives "").
std::vector<std::string_view> SplitAtCrLfKeepingEnd(std::string_view s);
void SplitAtCrLfKeepingEnd(std::string_view s, std::vector<std::string_view>& pieces);  // into Pieces, cleared first

// S up to its first NUL byte, which ends a text wherever it is read.
std::string_view UpToNul(std::string_view s);
// The lines InsertText makes of S: without a CR the text stays in one line
// (a lone LF is a byte like any other); with one, every CR LF, lone CR and
// lone LF breaks, and a NUL ends the text. A trailing break gives an empty
// last piece; there is always at least one piece.
std::vector<std::string_view> InsertedPieces(std::string_view s);

// Clamps a 64-bit column or count into the range a line can have.
constexpr size_t ClampToSize(int64_t v, size_t size) {
  return v <= 0 ? 0 : (static_cast<uint64_t>(v) >= size ? size : static_cast<size_t>(v));
}

}  // namespace kelvane
