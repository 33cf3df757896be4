// Keyword groups the scanner marks in every line: the list starts with eight
// groups, each a list of words (expected in lower case; matching is against the
// lower-cased line). Group g (1 … 8) is item g − 1.
#pragma once

#include <string>
#include <vector>

#include "editor/Errors.h"

namespace kelvane {

class TKeywordItem {
 public:
  std::vector<std::string> Words;  // code page 932 bytes
};

class TKeywordList {
 public:
  static constexpr int kGroupCount = 8;
  TKeywordList() : items_(kGroupCount) {}

  // Item I (0-based); an index outside the list raises EListError.
  TKeywordItem& Items(int i) {
    if (i < 0 || i >= Count()) throw EListError(i);
    return items_[static_cast<size_t>(i)];
  }
  const TKeywordItem& Items(int i) const { return const_cast<TKeywordList*>(this)->Items(i); }
  int Count() const { return static_cast<int>(items_.size()); }
  // Frees every group, groups included.
  void Clear() { items_.clear(); }
  bool HasWords() const {
    for (const TKeywordItem& item : items_) {
      if (!item.Words.empty()) return true;
    }
    return false;
  }

 private:
  std::vector<TKeywordItem> items_;
};

}  // namespace kelvane
