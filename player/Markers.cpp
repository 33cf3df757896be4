// Markers and their side file: the list, and the one-object-a-line format read
// by a small parser of its own (the logic links no JSON library).
#include "player/Markers.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "platform/Codepage.h"

namespace kelvane {

size_t TMarkerList::Add(TMarker marker) {
  const auto at = std::upper_bound(items_.begin(), items_.end(), marker.Point,
                                   [](int32_t point, const TMarker& m) { return point < m.Point; });
  return static_cast<size_t>(items_.insert(at, std::move(marker)) - items_.begin());
}

void TMarkerList::Rename(size_t i, std::string label) { items_.at(i).Label = std::move(label); }

void TMarkerList::Remove(size_t i) {
  if (i >= items_.size()) throw std::out_of_range("marker index");
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
}

void TMarkerList::Assign(std::vector<TMarker> markers) {
  std::stable_sort(markers.begin(), markers.end(), [](const TMarker& a, const TMarker& b) { return a.Point < b.Point; });
  items_ = std::move(markers);
}

// Markers past the end all lead to the end, so the order of their targets is
// the order of the list.
std::optional<size_t> TMarkerList::Next(int32_t point, int32_t total) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (MarkerTarget(items_[i], total) > point) return i;
  }
  return std::nullopt;
}

std::optional<size_t> TMarkerList::Previous(int32_t point, int32_t total) const {
  for (size_t i = items_.size(); i-- > 0;) {
    if (MarkerTarget(items_[i], total) < point) {
      // The first of the markers at that point, as Next would reach it.
      while (i > 0 && MarkerTarget(items_[i - 1], total) == MarkerTarget(items_[i], total)) --i;
      return i;
    }
  }
  return std::nullopt;
}

std::string MarksPathOf(const std::string& undoPath) { return undoPath + ".marks"; }

// ---- the side file's lines ----------------------------------------------------

namespace {

struct TBadLine {
  std::string Why;
};

// One line's JSON, just enough of it: an object whose values may be anything
// JSON allows; "point" and "label" are read, the rest is skipped.
class TLineReader {
 public:
  explicit TLineReader(std::string_view s) : s_(s) {}

  TMarker Marker() {
    std::optional<int32_t> point;
    std::optional<std::string> label;
    Expect('{');
    if (!Take('}')) {
      do {
        const std::string key = String();
        Expect(':');
        if (key == "point") {
          point = Point();
        } else if (key == "label") {
          SkipBlank();
          if (Peek() != '"') throw TBadLine{"\"label\" is not a string"};
          label = String();
        } else {
          SkipValue(0);
        }
      } while (Take(','));
      Expect('}');
    }
    SkipBlank();
    if (i_ != s_.size()) throw TBadLine{"text after the object"};
    if (!point) throw TBadLine{"no \"point\""};
    if (!label) throw TBadLine{"no \"label\""};
    return {*point, std::move(*label)};
  }

 private:
  static constexpr int kMaxDepth = 32;

  char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
  void SkipBlank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n')) ++i_;
  }
  bool Take(char c) {
    SkipBlank();
    if (Peek() != c) return false;
    ++i_;
    return true;
  }
  void Expect(char c) {
    if (!Take(c)) throw TBadLine{std::string("'") + c + "' expected at byte " + std::to_string(i_ + 1)};
  }

  int32_t Point() {
    SkipBlank();
    const size_t start = i_;
    int64_t v = 0;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
      v = std::min<int64_t>(v * 10 + (s_[i_] - '0'), int64_t{std::numeric_limits<int32_t>::max()} + 1);
      ++i_;
    }
    const char after = Peek();
    if (i_ == start || after == '.' || after == 'e' || after == 'E' || (s_[start] == '0' && i_ - start > 1))
      throw TBadLine{"\"point\" is not a whole number from 0 on"};
    if (v > std::numeric_limits<int32_t>::max()) throw TBadLine{"\"point\" is too large"};
    return static_cast<int32_t>(v);
  }

  unsigned Hex4() {
    if (i_ + 4 > s_.size()) throw TBadLine{"a short \\u escape"};
    unsigned v = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[i_++];
      v <<= 4;
      if (c >= '0' && c <= '9') v |= static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f') v |= static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F') v |= static_cast<unsigned>(c - 'A' + 10);
      else throw TBadLine{"a bad \\u escape"};
    }
    return v;
  }

  std::string String() {
    Expect('"');
    std::string out;
    for (;;) {
      if (i_ >= s_.size()) throw TBadLine{"a string without its end"};
      const char c = s_[i_++];
      if (c == '"') break;
      if (static_cast<unsigned char>(c) < 0x20) throw TBadLine{"a control character in a string"};
      if (c != '\\') {
        out += c;
        continue;
      }
      const char e = Peek();
      ++i_;
      switch (e) {
        case '"': case '\\': case '/': out += e; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          std::u16string units(1, static_cast<char16_t>(Hex4()));
          if (units[0] >= 0xD800 && units[0] <= 0xDBFF && s_.substr(i_, 2) == "\\u") {
            i_ += 2;
            units += static_cast<char16_t>(Hex4());
          }
          const bool pair = units.size() == 2 && units[1] >= 0xDC00 && units[1] <= 0xDFFF;
          if ((units[0] >= 0xD800 && units[0] <= 0xDFFF && !pair) || (units.size() == 2 && !pair))
            throw TBadLine{"a lone surrogate"};
          out += unicode::Utf16ToUtf8(units);
          break;
        }
        default: throw TBadLine{"a bad escape"};
      }
    }
    if (unicode::Utf16ToUtf8(unicode::Utf8ToUtf16(out)) != out) throw TBadLine{"a string that is not UTF-8"};
    return out;
  }

  void SkipValue(int depth) {
    if (depth > kMaxDepth) throw TBadLine{"nested too deep"};
    SkipBlank();
    const char c = Peek();
    if (c == '"') {
      String();
    } else if (c == '{' || c == '[') {
      const char close = c == '{' ? '}' : ']';
      ++i_;
      if (Take(close)) return;
      do {
        if (c == '{') {
          String();
          Expect(':');
        }
        SkipValue(depth + 1);
      } while (Take(','));
      Expect(close);
    } else {
      const size_t start = i_;
      while (i_ < s_.size() && std::string_view("+-.0123456789eEaflnrstu").find(s_[i_]) != std::string_view::npos) ++i_;
      const std::string_view word = s_.substr(start, i_ - start);
      const bool number = !word.empty() && (word[0] == '-' || (word[0] >= '0' && word[0] <= '9'));
      if (!number && word != "true" && word != "false" && word != "null") throw TBadLine{"a value JSON does not know"};
    }
  }

  std::string_view s_;
  size_t i_ = 0;
};

void PutJsonString(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20) {
      out += "\\u00";
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

TMarksRead ParseMarks(std::string_view bytes) {
  TMarksRead read;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  for (int number = 1; !bytes.empty(); ++number) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (line.find_first_not_of(" \t\r") == std::string_view::npos) continue;
    try {
      read.Markers.push_back(TLineReader(line).Marker());
    } catch (const TBadLine& bad) {
      read.Notices.push_back("line " + std::to_string(number) + ": " + bad.Why);
    }
  }
  return read;
}

std::string FormatMarks(const std::vector<TMarker>& markers) {
  std::string out;
  for (const TMarker& m : markers) {
    out += "{\"point\":" + std::to_string(m.Point) + ",\"label\":";
    PutJsonString(out, m.Label);
    out += "}\n";
  }
  return out;
}

}  // namespace kelvane
