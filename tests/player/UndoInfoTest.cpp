// The statistics report over both stacks.
#include <gtest/gtest.h>

#include "player/UndoInfo.h"
#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

TEST(UndoInfo, CountsBothStacksWithTruncatedShares) {
  EditorFixture f;
  EXPECT_FALSE(BuildUndoInfo(*f.edit.Undo, "/x/y.eud").has_value());
  f.edit.SetText("abc\r\n");
  for (int x : {0, 1, 2}) AddUndoData(f.UndoList(), umInsert, {x, 0}, "", 1);
  AddUndoData(f.UndoList(), umEnter, {3, 0}, "", 2);
  EXPECT_EQ(*BuildUndoInfo(*f.edit.Undo, "/home/u/memo.eud"),
            "FileName\tmemo.eud\r\ntotal\t: 4\r\ninsert\t: 3\t [75%]\r\ndelete\t: 0\t [0%]\r\n"
            "enter\t: 1\t [25%]\r\nchange\t: 0\t [0%]");
  f.edit.UndoStep();  // the break
  f.edit.UndoStep();  // an insertion: now a delete record on the redo stack
  EXPECT_EQ(*BuildUndoInfo(*f.edit.Undo, ""),
            "FileName\t\r\ntotal\t: 4\r\ninsert\t: 2\t [50%]\r\ndelete\t: 1\t [25%]\r\n"
            "enter\t: 1\t [25%]\r\nchange\t: 0\t [0%]");
}

TEST(UndoInfo, ThirdsAndUnknownModes) {
  EditorFixture f;
  for (uint8_t m : {0, 1, 2}) AddUndoData(f.UndoList(), m, {0, 0}, "", 0);
  const std::string thirds = *BuildUndoInfo(*f.edit.Undo, "a.eud");
  EXPECT_NE(thirds.find("insert\t: 1\t [33%]\r\ndelete\t: 1\t [33%]\r\nenter\t: 1\t [33%]"), std::string::npos);
  AddUndoData(f.RedoList(), 44, {0, 0}, "", 0);  // counted in the total only
  EXPECT_NE(BuildUndoInfo(*f.edit.Undo, "a.eud")->find("total\t: 4\r\ninsert\t: 1\t [25%]"), std::string::npos);
}

}  // namespace
}  // namespace kelvane::test
