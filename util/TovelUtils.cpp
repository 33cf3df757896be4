// Small string helpers shared by the player.
#include "util/TovelUtils.h"

namespace kelvane {

std::string ReplaceAll(std::string_view source, std::string_view find, std::string_view replace) {
  if (find.empty()) return std::string(source);
  std::string result;
  result.reserve(source.size());
  size_t start = 0;
  for (size_t at; (at = source.find(find, start)) != std::string_view::npos; start = at + find.size()) {
    result.append(source, start, at - start);
    result.append(replace);
  }
  result.append(source, start);
  return result;
}

}  // namespace kelvane

namespace kelvane {

// Windows also ends a folder with "\\" and a drive with ":" ("C:memo.eud").
// Paths are UTF-8 inside the program, so 0x5C is a separator there, never
// the trail byte of a code page 932 character.
#ifdef _WIN32
constexpr std::string_view kPathDelimiters = "/\\:";
#else
constexpr std::string_view kPathDelimiters = "/";
#endif

std::string ExtractFileName(std::string_view path) {
  size_t slash = path.find_last_of(kPathDelimiters);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string ExtractFilePath(std::string_view path) {
  const size_t slash = path.find_last_of(kPathDelimiters);
  return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}

std::string ExtractFileExt(std::string_view path) {
  size_t at = path.find_last_of(std::string(kPathDelimiters) + ".");
  if (at == std::string_view::npos || path[at] != '.') return {};
  return std::string(path.substr(at));
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return def;
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return def;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return def;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return def;
  return static_cast<int32_t>(value);
}

}  // namespace kelvane
