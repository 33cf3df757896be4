// The shipped sample history (samples/haru.eud): it loads with records on both
// stacks, saves back unchanged, every record fits the text it meets, and
// walking the whole history leads back to the loaded text.
#include <gtest/gtest.h>

#include <string>

#include "headless/HeadlessPlayer.h"
#include "platform/Codepage.h"
#include "platform/FileSystem.h"
#include "player/UndoFile.h"

namespace kelvane {
namespace {

const std::string kSample = std::string(KELVANE_SOURCE_DIR) + "/samples/haru.eud";

class SampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ReadWholeFile(kSample, file_)) << kSample;
    ASSERT_TRUE(player_.Form.LoadUndoFile(kSample));
    loaded_ = Editor().GetText();
  }

  TVeskEdit& Editor() { return player_.Editor(); }
  int32_t Undos() { return Editor().Undo->FUndoList.Count(); }
  int32_t Redos() { return Editor().Undo->FRedoList.Count(); }

  // A record must sit on a character start of the text it is applied to; a
  // column counted in the wrong encoding would land inside a character.
  void ExpectFits(const TUndoData& r, const char* stack) {
    EXPECT_EQ(Editor().NormalizePos(r.Caret), r.Caret)
        << stack << " record at " << r.Caret.X << "," << r.Caret.Y << " (point " << Undos() << ")";
  }

  HeadlessPlayer player_;
  std::string file_;
  std::string loaded_;
};

TEST_F(SampleTest, LoadsWithBothStacksInUse) {
  EXPECT_GT(Undos(), 0);
  EXPECT_GT(Redos(), 0);
  EXPECT_GE(Undos() + Redos(), 120);
  EXPECT_LE(Undos() + Redos(), 250);
}

// The sample is in the regular layout, so saving it unchanged gives the same bytes.
TEST_F(SampleTest, SavesBackToTheSameBytes) { EXPECT_EQ(BuildUndoFile(Editor()), file_); }

TEST_F(SampleTest, EveryStepFitsTheTextItMeets) {
  const int32_t total = Undos() + Redos();
  while (Editor().CanUndo()) {
    ExpectFits(Editor().Undo->FUndoList.Top(), "undo");
    player_.Form.textUndoExecute();
  }
  while (Editor().CanRedo()) {
    ExpectFits(Editor().Undo->FRedoList.Top(), "redo");
    player_.Form.textRedoExecute();
  }
  EXPECT_EQ(Undos(), total);
}

TEST_F(SampleTest, WalkingToTheStartAndTheEndComesBackToTheLoadedText) {
  const int32_t loadedAt = Undos();
  const int32_t total = Undos() + Redos();

  player_.Form.StepHistory(-loadedAt, false);
  EXPECT_EQ(Editor().GetText(), "");
  EXPECT_EQ(Redos(), total);

  player_.Form.StepHistory(total, false);
  const std::string complete = Editor().GetText();
  EXPECT_EQ(Undos(), total);
  EXPECT_NE(complete, loaded_);
  // Every byte is a character the code page maps, so the text survives UTF-8.
  EXPECT_EQ(cp932::FromUtf8(cp932::ToUtf8(complete)), complete);

  player_.Form.StepHistory(loadedAt - total, false);
  EXPECT_EQ(Editor().GetText(), loaded_);
  EXPECT_EQ(Undos(), loadedAt);
}

}  // namespace
}  // namespace kelvane
