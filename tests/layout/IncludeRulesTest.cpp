// The source tree keeps its layers: checked on the tree itself, and shown to
// catch each kind of breach on a planted tree.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/layout/IncludeRules.h"
#include "tests/support/TempFolder.h"

namespace kelvane {
namespace {

using test::TTempFolder;
using test::WriteBytes;

std::string Describe(const std::vector<TIncludeViolation>& found) {
  std::string text;
  for (const TIncludeViolation& v : found)
    text += v.File + ":" + std::to_string(v.Line) + ": " + v.Include + " (" + v.Reason + ")\n";
  return text;
}

TEST(IncludeRules, TheTreeKeepsItsLayers) {
  const std::vector<TIncludeViolation> found = FindIncludeViolations(KELVANE_SOURCE_DIR);
  EXPECT_TRUE(found.empty()) << Describe(found);
}

TEST(IncludeRules, EveryKindOfBreachIsFound) {
  const TTempFolder temp;
  const std::filesystem::path root = temp.Path("tree");
  for (const char* folder : {"platform", "util", "editor/keywords", "player", "history", "qt"})
    std::filesystem::create_directories(root / folder);
  WriteBytes(root / "editor/keywords/Words.h", "#include \"platform/Types.h\"\n#include \"player/UnitMain.h\"\n");
  WriteBytes(root / "player/Form.cpp", "#include <string>\n  #  include \"headless/HeadlessPlayer.h\"\n");
  WriteBytes(root / "platform/Seam.h", "#include <QImage>\n#include \"editor/VeskEdit.h\"\n");
  WriteBytes(root / "util/Text.cpp", "#include \"platform/Codepage.h\"\n#include <windows.h>\n");
  WriteBytes(root / "editor/Caret.cpp", "#include <QtGui/QPainter>\n#include \"cli/Hex.h\"\n");
  WriteBytes(root / "platform/Files.cpp", "#include <windows.h>\n");  // the seam's file services may
  WriteBytes(root / "history/Replay.cpp", "#include \"player/HistoryView.h\"\n#include \"headless/HeadlessEditHost.h\"\n");
  WriteBytes(root / "qt/Window.cpp", "#include <QWidget>\n#include \"player/UnitMain.h\"\n");  // a port may

  const std::vector<TIncludeViolation> found = FindIncludeViolations(root);
  std::vector<std::string> where;
  for (const TIncludeViolation& v : found) where.push_back(v.File + ":" + std::to_string(v.Line));
  // Layer by layer from the bottom, then by file and line.
  EXPECT_EQ(where, (std::vector<std::string>{"platform/Seam.h:1", "platform/Seam.h:2", "util/Text.cpp:1",
                                             "util/Text.cpp:2", "editor/Caret.cpp:1", "editor/Caret.cpp:2",
                                             "editor/keywords/Words.h:2", "player/Form.cpp:2", "history/Replay.cpp:2"}))
      << Describe(found);
}

}  // namespace
}  // namespace kelvane
