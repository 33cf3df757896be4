// Line records, the line list and the CR LF splitter.
#include "editor/LineStore.h"

#include <cassert>

#include "editor/Errors.h"

namespace kelvane {

TVeskItem::TVeskItem(TVeskEdit* owner, std::string text) : Owner(owner), Text(std::move(text)) {}

void TVeskItem::InsertBytes(int64_t pos, std::string_view bytes) {
  size_t at = ClampToSize(pos - 1, Text.size());
  Text.insert(at, bytes);
  Scan();
}

void TVeskItem::Assign(std::string text) {
  Text = std::move(text);
  Scan();
}

void TVeskItem::CheckInvariants() const {
#ifndef NDEBUG
  const size_t n = Text.size();
  assert(Attrs.size() == n && RefChars.size() == n && Widths.size() == n && Classes.size() == n);
#endif
}

TVeskItem& TVeskItems::Get(int64_t i) { return *items_[CheckedIndex(i, Count())]; }

const TVeskItem& TVeskItems::Get(int64_t i) const { return *items_[CheckedIndex(i, Count())]; }

void TVeskItems::Add(std::unique_ptr<TVeskItem> r) { items_.push_back(std::move(r)); }

void TVeskItems::Insert(int32_t i, std::unique_ptr<TVeskItem> r) {
  size_t at = i < 0 ? 0 : std::min<size_t>(static_cast<size_t>(i), items_.size());
  items_.insert(at, std::move(r));
}

void TVeskItems::Delete(int64_t i) { items_.erase(CheckedIndex(i, Count())); }

void TVeskItems::DeleteRange(int64_t first, int64_t count) {
  if (count <= 0) return;
  CheckedIndex(first, Count());
  CheckedIndex(first + count - 1, Count());
  items_.erase(static_cast<size_t>(first), static_cast<size_t>(count));
}

void TVeskItems::Clear() { items_.clear(); }

void TVeskItems::KeepHead(int32_t i, int64_t n) {
  TVeskItem& line = Get(i);
  line.Text.resize(ClampToSize(n, line.Text.size()));
  line.Scan();
}

void TVeskItems::DropHead(int32_t i, int64_t n) {
  TVeskItem& line = Get(i);
  line.Text.erase(0, ClampToSize(n, line.Text.size()));
  line.Scan();
}

void TVeskItems::ScanAll() {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->Scan();
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
  for (size_t brk; (brk = s.find("\r\n")) != std::string_view::npos; s.remove_prefix(brk + 2))
    pieces.push_back(s.substr(0, brk));
  pieces.push_back(s);
  return pieces;
}

std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

std::vector<std::string_view> InsertedPieces(std::string_view s) {
  if (s.find('\r') == std::string_view::npos) return {s};
  return SplitAtBreaks(UpToNul(s));
}

}  // namespace kelvane
