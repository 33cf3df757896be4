// The layering rule on the #include lines. A lower folder may include only the
// folders listed for it; no lower folder includes a toolkit or window-system
// header. The ports and front ends above are free.
#include "tests/layout/IncludeRules.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <regex>
#include <string_view>

namespace kelvane {

namespace {

namespace fs = std::filesystem;

struct TLayerRule {
  std::string_view Folder;
  std::vector<std::string_view> MayInclude;  // project folders, itself included
  bool MayCallSystem = false;                // the seam's file services may include <windows.h>
};

// From the bottom up. A folder not named here (the ports, cli, tools, bench,
// tests, fuzz) may include anything.
// history/ runs editors of its own on windows its caller makes, so it names no port.
const std::array<TLayerRule, 5> kLayers = {{
    {"platform", {"platform"}, true},
    {"util", {"util"}},
    {"editor", {"platform", "util", "editor"}},
    {"player", {"platform", "util", "editor", "player"}},
    {"history", {"platform", "util", "editor", "player", "history"}},
}};

// Project folders a quoted include can name; anything else is the standard
// library's or the system's.
const std::array<std::string_view, 13> kProjectFolders = {
    "platform", "util", "editor", "player", "history", "headless", "qt",
    "win32",    "cli",  "tools",  "bench",  "tests",   "fuzz"};

bool IsToolkitHeader(std::string_view name, const TLayerRule& rule) {
  // Qt's headers are <QWidget>, <QtCore/...>, <qpa/...>; then the window systems'.
  static const std::regex kToolkit(
      R"(^(Q[A-Z]\w*|Qt\w*/.*|qpa/.*|X11/.*|xcb/.*|gtk/.*|glib\.h|wayland-.*|)"
      R"(windowsx\.h|winuser\.h|wingdi\.h|imm\.h|commctrl\.h|commdlg\.h|shellapi\.h|shlobj\.h|)"
      R"(wincodec\.h|ole2\.h|objbase\.h)$)",
      std::regex::icase);
  static const std::regex kSystem(R"(^windows\.h$)", std::regex::icase);
  return std::regex_match(name.begin(), name.end(), kToolkit) ||
         (!rule.MayCallSystem && std::regex_match(name.begin(), name.end(), kSystem));
}

std::string_view FirstComponent(std::string_view path) { return path.substr(0, path.find('/')); }

bool IsSource(const fs::path& p) {
  const std::string ext = p.extension().string();
  return ext == ".h" || ext == ".cpp" || ext == ".inc";
}

void ScanFile(const fs::path& root, const fs::path& file, const TLayerRule& rule,
              std::vector<TIncludeViolation>& out) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::ifstream in(file);
  const std::string relative = fs::relative(file, root).generic_string();
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    std::smatch m;
    if (!std::regex_search(text, m, kInclude)) continue;
    const std::string name = m[2].str();
    const std::string_view first = FirstComponent(name);
    std::string reason;
    if (IsToolkitHeader(name, rule)) {
      reason = "a toolkit or window-system header in " + std::string(rule.Folder) + "/";
    } else if (m[1].str() == "\"" && std::find(kProjectFolders.begin(), kProjectFolders.end(), first) !=
                                         kProjectFolders.end()) {
      if (std::find(rule.MayInclude.begin(), rule.MayInclude.end(), first) == rule.MayInclude.end())
        reason = std::string(rule.Folder) + "/ may not include " + std::string(first) + "/";
    }
    if (!reason.empty()) out.push_back({relative, number, name, reason});
  }
}

}  // namespace

std::vector<TIncludeViolation> FindIncludeViolations(const fs::path& root) {
  std::vector<TIncludeViolation> found;
  for (const TLayerRule& rule : kLayers) {
    const fs::path folder = root / rule.Folder;
    if (!fs::is_directory(folder)) continue;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) ScanFile(root, file, rule, found);
  }
  return found;
}

}  // namespace kelvane
