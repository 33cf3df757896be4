// Line records, the line list and the CR LF splitter.
#include "editor/LineStore.h"

#include <algorithm>
#include <cassert>

#include "editor/Errors.h"
#include "editor/VeskEdit.h"

namespace kelvane {

TVeskItem::TVeskItem(TVeskEdit* owner, std::string text) : Owner(owner), Text(std::move(text)) {}

bool TVeskItem::DefersScan() const { return Owner && Owner->DefersScan(); }

bool TVeskItem::WidthsNeedAttrs() const { return Owner && (Owner->ShowNumRef() || Owner->ShowNameRef()); }

TVeskItem::TDerived& TVeskItem::Made() const {
  if (!d_) d_ = std::make_unique<TDerived>();
  return *d_;
}

const std::string& TVeskItem::Attrs() const {
  if (AttrsStale()) Derive();
  return d_->Attrs;
}

const std::string& TVeskItem::Widths() const {
  if (WidthsStale()) {
    if (WidthsNeedAttrs()) {
      Derive();
    } else {
      MeasureWidths();
    }
  }
  return d_->Widths;
}

char16_t TVeskItem::RefCharAt(size_t i) const {
  if (AttrsStale()) Derive();
  return d_->RefChars ? (*d_->RefChars)[i] : u'\0';
}

std::u16string TVeskItem::RefChars() const {
  if (AttrsStale()) Derive();
  return d_->RefChars ? *d_->RefChars : std::u16string(Text.size(), u'\0');
}

void TVeskItem::Scan() { Derive(); }

void TVeskItem::TextChanged() {
  if (d_) {
    d_->AttrsStale = d_->WidthsStale = true;
    d_->MemoCol = 0;
    d_->MemoX = 0;
  }
  if (!DefersScan()) Derive();
}

void TVeskItem::InsertBytes(int64_t pos, std::string_view bytes) {
  const size_t at = ClampToSize(pos - 1, Text.size());
  Text.insert(at, bytes);
  Spliced(at, 0, bytes.size());
}

void TVeskItem::EraseBytes(size_t at, size_t count) { ReplaceBytes(at, count, {}); }

void TVeskItem::ReplaceBytes(size_t at, size_t count, std::string_view bytes) {
  at = std::min(at, Text.size());
  count = std::min(count, Text.size() - at);
  Text.replace(at, count, bytes);
  Spliced(at, count, bytes.size());
}

void TVeskItem::Append(std::string_view bytes) {
  const size_t at = Text.size();
  Text.append(bytes);
  Spliced(at, 0, bytes.size());
}

void TVeskItem::Assign(std::string text) {
  const size_t old = Text.size();
  Text = std::move(text);
  Spliced(0, old, Text.size());
}

void TVeskItem::Assign(std::string_view text) {
  const size_t old = Text.size();
  Text.assign(text);
  Spliced(0, old, Text.size());
}

void TVeskItem::Spliced(size_t at, size_t removed, size_t inserted) {
  if (!DefersScan()) {  // outside a batch a change is scanned at once
    Derive();
    return;
  }
  if (!d_) return;  // nothing derived yet, nothing to keep right
  TDerived& d = *d_;
  d.AttrsStale = true;
  if (d.WidthsStale || WidthsNeedAttrs()) {
    d.WidthsStale = true;
    d.MemoCol = 0;
    d.MemoX = 0;
    return;
  }
  // From the start of the character holding the byte before the change: a
  // lead byte there may have taken the first changed byte as its trail.
  size_t from = at;
  if (from > 0) {
    --from;
    while (from > 0 && d.Widths[from] == 0) --from;
  }
  if (d.MemoCol > from) {  // the columns before From keep their x
    for (size_t k = from; k < std::min(d.MemoCol, d.Widths.size()); ++k) d.MemoX -= static_cast<uint8_t>(d.Widths[k]);
    d.MemoCol = from;
  }
  d.Widths.replace(at, removed, inserted, '\0');
  Remeasure(from, at + inserted);
}

int64_t TVeskItem::PrefixWidth(size_t col) const {
  const std::string& w = Widths();
  TDerived& d = *d_;
  col = std::min(col, w.size());
  if (d.MemoCol > w.size()) {
    d.MemoCol = 0;
    d.MemoX = 0;
  }
  int64_t x = d.MemoX;
  if (col >= d.MemoCol) {
    for (size_t k = d.MemoCol; k < col; ++k) x += static_cast<uint8_t>(w[k]);
  } else {
    for (size_t k = col; k < d.MemoCol; ++k) x -= static_cast<uint8_t>(w[k]);
  }
  d.MemoCol = col;
  d.MemoX = x;
  return x;
}

void TVeskItem::CheckInvariants() const {
#ifndef NDEBUG
  const size_t n = Text.size();
  if (!d_) return;
  assert(d_->AttrsStale || d_->Attrs.size() == n);
  assert(d_->WidthsStale || d_->Widths.size() == n);
  assert(!d_->RefChars || d_->RefChars->size() == n);
#endif
}

// The derived part goes: a line nobody reads holds only its bytes and a null
// pointer, however it was made.
void TVeskItem::Reuse(TVeskEdit* owner, std::string_view text) {
  Owner = owner;
  Text.assign(text);
  d_.reset();
}

namespace {
constexpr size_t kSpareLines = 2048;
constexpr size_t kSpareCapacity = 512;  // bytes of text a kept record may hold
}  // namespace

std::unique_ptr<TVeskItem> TVeskItems::Make(TVeskEdit* owner, std::string_view text) {
  if (spare_.empty()) return std::make_unique<TVeskItem>(owner, std::string(text));
  std::unique_ptr<TVeskItem> r = std::move(spare_.back());
  spare_.pop_back();
  r->Reuse(owner, text);
  return r;
}

void TVeskItems::Release(TVeskItem* r) {
  std::unique_ptr<TVeskItem> owned(r);
  if (!r->DefersScan() || spare_.size() >= kSpareLines || r->Text.capacity() > kSpareCapacity) return;
  if (spare_.capacity() == 0) spare_.reserve(kSpareLines);
  spare_.push_back(std::move(owned));
}

TVeskItem& TVeskItems::Get(int64_t i) { return *items_[CheckedIndex(i, Count())]; }

const TVeskItem& TVeskItems::Get(int64_t i) const { return *items_[CheckedIndex(i, Count())]; }

void TVeskItems::Add(std::unique_ptr<TVeskItem> r) { Insert(Count(), std::move(r)); }

void TVeskItems::Insert(int32_t i, std::unique_ptr<TVeskItem> r) {
  size_t at = i < 0 ? 0 : std::min<size_t>(static_cast<size_t>(i), items_.size());
  items_.insert(at, r.get());
  r.release();  // the list owns it from here
}

void TVeskItems::InsertRange(int32_t i, std::vector<std::unique_ptr<TVeskItem>> r) {
  size_t at = i < 0 ? 0 : std::min<size_t>(static_cast<size_t>(i), items_.size());
  std::vector<TVeskItem*> raw;
  raw.reserve(r.size());
  for (const std::unique_ptr<TVeskItem>& p : r) raw.push_back(p.get());
  items_.insert(at, std::move(raw));
  for (std::unique_ptr<TVeskItem>& p : r) p.release();
}

void TVeskItems::Delete(int64_t i) { Release(items_.take(CheckedIndex(i, Count()))); }

void TVeskItems::DeleteRange(int64_t first, int64_t count) {
  if (count <= 0) return;
  CheckedIndex(first, Count());
  CheckedIndex(first + count - 1, Count());
  for (int64_t k = first; k < first + count; ++k) Release(items_[static_cast<size_t>(k)]);
  items_.erase(static_cast<size_t>(first), static_cast<size_t>(count));
}

void TVeskItems::Clear() {
  for (size_t k = 0; k < items_.size(); ++k) delete items_[k];
  items_.clear();
  spare_.clear();
}

void TVeskItems::KeepHead(int32_t i, int64_t n) {
  TVeskItem& line = Get(i);
  const size_t keep = ClampToSize(n, line.Text.size());
  line.EraseBytes(keep, line.Text.size() - keep);
}

void TVeskItems::DropHead(int32_t i, int64_t n) {
  TVeskItem& line = Get(i);
  line.EraseBytes(0, ClampToSize(n, line.Text.size()));
}

// Every line is derived again: at once outside a batch, else when read.
void TVeskItems::ScanAll() {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->TextChanged();
}

bool SplitAtCrLf(TAEStrList& list, std::string_view s) {
  list.Clear();
  try {
    while (!s.empty()) {
      size_t brk = s.find("\r\n");
      if (brk == std::string_view::npos) {
        list.Add(std::string(s));
        break;
      }
      list.Add(std::string(s.substr(0, brk)));
      s.remove_prefix(brk + 2);
    }
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

std::vector<std::string_view> SplitAtBreaks(std::string_view s) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\r' && s[i] != '\n') continue;
    pieces.push_back(s.substr(start, i - start));
    if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    start = i + 1;
  }
  pieces.push_back(s.substr(start));
  return pieces;
}

std::vector<std::string_view> SplitAtCrLfKeepingEnd(std::string_view s) {
  std::vector<std::string_view> pieces;
  SplitAtCrLfKeepingEnd(s, pieces);
  return pieces;
}

void SplitAtCrLfKeepingEnd(std::string_view s, std::vector<std::string_view>& pieces) {
  pieces.clear();
  for (size_t brk; (brk = s.find("\r\n")) != std::string_view::npos; s.remove_prefix(brk + 2))
    pieces.push_back(s.substr(0, brk));
  pieces.push_back(s);
}

std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

std::vector<std::string_view> InsertedPieces(std::string_view s) {
  if (s.find('\r') == std::string_view::npos) return {s};
  return SplitAtBreaks(UpToNul(s));
}

}  // namespace kelvane
