// The file-name helpers on each system's paths: Windows also ends a folder
// with "\" and a drive with ":", POSIX only with "/".
#include <gtest/gtest.h>

#include "util/TovelUtils.h"

namespace kelvane {
namespace {

struct TNameCase {
  const char* Path;
  const char* Name;
  const char* Ext;
};

TEST(TovelUtils, FileNameAndExtensionOnThisSystemsPaths) {
  const TNameCase common[] = {
      {"/home/u/memo.eud", "memo.eud", ".eud"},
      {"memo.EUD", "memo.EUD", ".EUD"},
      {"dir.d/memo", "memo", ""},
      {"/a/b/", "", ""},
      {".eud", ".eud", ".eud"},
      {"春/表.eud", "表.eud", ".eud"},  // 表 is 0x5C in its code page 932 form, never in UTF-8
  };
  for (const TNameCase& c : common) {
    EXPECT_EQ(ExtractFileName(c.Path), c.Name) << c.Path;
    EXPECT_EQ(ExtractFileExt(c.Path), c.Ext) << c.Path;
    EXPECT_EQ(ExtractFilePath(c.Path) + ExtractFileName(c.Path), c.Path) << c.Path;
  }
#ifdef _WIN32
  const TNameCase windows[] = {
      {"C:\\Users\\u\\memo.eud", "memo.eud", ".eud"},
      {"C:memo.eud", "memo.eud", ".eud"},
      {"\\\\server\\share.d\\memo", "memo", ""},
      {"C:\\a.b\\c", "c", ""},
      {"Z:\\tmp/mixed\\春.eud", "春.eud", ".eud"},
  };
#else
  const TNameCase windows[] = {
      {"C:\\Users\\u\\memo.eud", "C:\\Users\\u\\memo.eud", ".eud"},
      {"a.b\\c", "a.b\\c", ".b\\c"},
      {"x:y.eud", "x:y.eud", ".eud"},
  };
#endif
  for (const TNameCase& c : windows) {
    EXPECT_EQ(ExtractFileName(c.Path), c.Name) << c.Path;
    EXPECT_EQ(ExtractFileExt(c.Path), c.Ext) << c.Path;
    EXPECT_EQ(ExtractFilePath(c.Path) + ExtractFileName(c.Path), c.Path) << c.Path;
  }
}

}  // namespace
}  // namespace kelvane
