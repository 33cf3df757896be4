// The player's logic on the headless window: opening, status and scroll bar,
// single steps, first and last, jumps, auto-play, saving and its failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/DigitsHistory.h"
#include "headless/HeadlessPlayer.h"
#include "editor/Errors.h"
#include "player/UndoFile.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/TempFolder.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {
namespace {

using A = TPlayerAction;

std::string SevenDigitsFile(int undone = 2) { return DigitsHistoryFile(undone); }

struct Player : HeadlessPlayer {
  TTempFolder dir;
  HeadlessPlayerHost& W() { return Window; }
  std::string Text() { return Editor().GetText(); }
  bool Enabled(A a) { return Window.Action(a).Enabled; }
  bool Checked(A a) { return Window.Action(a).Checked; }
};

TEST(FormKelvane, StartsEmpty) {
  Player p;
  EXPECT_EQ(p.W().Caption, "（´д｀）Kelvane");
  EXPECT_EQ(p.W().StatusText, " Undo:0 Redo:0 Total:0");
  EXPECT_FALSE(p.W().HistoryEnabled);
  for (A a : {A::textUndo, A::textRedo, A::textUndoFirst, A::textUndoLast, A::textUndoAuto, A::textRedoAuto, A::fileSave})
    EXPECT_FALSE(p.Enabled(a));
  EXPECT_TRUE(p.Enabled(A::fileOpen));
  EXPECT_TRUE(p.W().AcceptsDrops);
  EXPECT_EQ(p.W().DialogFolder, p.W().ProgramDir);
}

TEST(FormKelvane, OpensFromTheCommandLineOnlyUndoFilesThatExist) {
  Player p;
  const std::string path = p.dir.Write("memo.eud", SevenDigitsFile());
  p.Form.FormCreate({p.dir.Path("missing.eud"), path});  // only the first argument counts
  EXPECT_EQ(p.W().StatusText, " Undo:0 Redo:0 Total:0");
  p.Form.FormCreate({path});
  EXPECT_EQ(p.W().Caption, "（´д｀）Kelvane - memo.eud");
  EXPECT_EQ(p.W().StatusText, " Undo:5 Redo:2 Total:7");
  EXPECT_EQ(p.W().HistoryMax, 7);
  EXPECT_EQ(p.W().HistoryPos, 5);
  EXPECT_TRUE(p.W().HistoryEnabled);
  EXPECT_EQ(p.Text(), "01234");
  EXPECT_TRUE(p.Enabled(A::fileSave));
  EXPECT_TRUE(p.Enabled(A::textUndoLast));
}

TEST(FormKelvane, StepsFirstAndLast) {
  Player p;
  ASSERT_TRUE(p.Form.OpenUndoFile(p.dir.Write("a.eud", SevenDigitsFile())));
  p.Form.Execute(A::textUndo);
  EXPECT_EQ(p.Text(), "0123");
  EXPECT_EQ(p.W().StatusText, " Undo:4 Redo:3 Total:7");
  p.Form.Execute(A::textRedo);
  p.Form.Execute(A::textRedo);
  EXPECT_EQ(p.Text(), "012345");
  p.Form.Execute(A::textUndoFirst);
  EXPECT_EQ(p.Text(), "");
  EXPECT_EQ(p.W().HistoryPos, 0);
  p.Form.UpdateActions();
  EXPECT_FALSE(p.Enabled(A::textUndo));
  p.Form.Execute(A::textUndo);  // nothing to undo: nothing happens
  p.Form.Execute(A::textUndoLast);
  EXPECT_EQ(p.Text(), "0123456");
  EXPECT_EQ(p.W().StatusText, " Undo:7 Redo:0 Total:7");
  EXPECT_TRUE(p.Editor().Enabled());
  EXPECT_TRUE(p.EditWindow.Redraw);
}

TEST(FormKelvane, ScrollBarTrackingMovesTheTextButNotTheLabel) {
  Player p;
  p.Form.OpenUndoFile(p.dir.Write("a.eud", SevenDigitsFile()));
  p.Form.ScrollBarUndoScroll(TScrollCode::scTrack, 2);
  EXPECT_EQ(p.Text(), "01");
  EXPECT_EQ(p.Form.FUndoPos, 2);
  EXPECT_EQ(p.W().StatusText, " Undo:5 Redo:2 Total:7");
  p.Form.ScrollBarUndoScroll(TScrollCode::scTrack, 6);
  EXPECT_EQ(p.Text(), "012345");
  p.Form.ScrollBarUndoScroll(TScrollCode::scPosition, 3);
  EXPECT_EQ(p.W().StatusText, " Undo:3 Redo:4 Total:7");
  EXPECT_EQ(p.W().HistoryPos, 3);
  p.Form.ScrollBarUndoScroll(TScrollCode::scPageUp, 0);
  p.Form.ScrollBarUndoScroll(TScrollCode::scLineUp, 0);
  EXPECT_EQ(p.Text(), "0");
  p.Form.ScrollBarUndoScroll(TScrollCode::scLineDown, 0);
  p.Form.ScrollBarUndoScroll(TScrollCode::scTop, 0);  // keyboard Home: nothing
  EXPECT_EQ(p.Text(), "01");
}

TEST(FormKelvane, AnEditAfterUndosEmptiesRedoOnKeyRelease) {
  Player p;
  p.Form.OpenUndoFile(p.dir.Write("a.eud", SevenDigitsFile()));
  p.Form.Execute(A::textUndo);
  THistoryBuilder(p.Editor()).Insert({4, 0}, "x");
  p.Form.EditorKeyUp();
  EXPECT_EQ(p.W().StatusText, " Undo:5 Redo:0 Total:5");
  EXPECT_EQ(p.W().HistoryMax, 5);

  // Last goes by the scroll bar, as the status last set it: an edit the
  // status has not seen yet (made with the mouse) is no step to take.
  THistoryBuilder(p.Editor()).Insert({0, 0}, "y");
  p.Form.textUndoLastExecute();
  EXPECT_EQ(p.W().StatusText, " Undo:5 Redo:0 Total:5");
}

TEST(FormKelvane, AutoPlayStopsAtTheEndAndReverses) {
  Player p;
  p.Form.OpenUndoFile(p.dir.Write("a.eud", SevenDigitsFile()));
  p.Form.Execute(A::textUndoAuto);
  EXPECT_TRUE(p.W().Timer);
  EXPECT_TRUE(p.Checked(A::textUndoAuto));
  p.Form.TimerAutoTimer();
  p.Form.TimerAutoTimer();
  EXPECT_EQ(p.Text(), "012");
  p.Form.Execute(A::textRedoAuto);  // reverses without stopping the timer
  EXPECT_TRUE(p.W().Timer);
  EXPECT_FALSE(p.Checked(A::textUndoAuto));
  p.Form.TimerAutoTimer();
  EXPECT_EQ(p.Text(), "0123");
  p.Form.Execute(A::textRedoAuto);  // a click on the running action stops it
  EXPECT_FALSE(p.W().Timer);
  p.Form.Execute(A::textUndoAuto);
  for (int i = 0; i < 4; ++i) p.Form.TimerAutoTimer();
  EXPECT_EQ(p.Text(), "");
  EXPECT_FALSE(p.W().Timer);  // stopped by itself at the end of the stack
  EXPECT_FALSE(p.Checked(A::textUndoAuto));
}

TEST(FormKelvane, DroppedFiles) {
  Player p;
  const std::string upper = p.dir.Write("UP.EUD", SevenDigitsFile(0));
  const std::string other = p.dir.Write("x.txt", SevenDigitsFile(3));
  p.Form.WMDropFiles({other});
  EXPECT_EQ(p.W().StatusText, " Undo:0 Redo:0 Total:0");
  p.Form.WMDropFiles({p.dir.Write("b.eud", SevenDigitsFile(4)), other, upper});
  EXPECT_EQ(p.Form.FFileName, upper);  // each opened in turn; the last stays
  EXPECT_EQ(p.W().StatusText, " Undo:7 Redo:0 Total:7");
}

TEST(FormKelvane, SaveAsAppendsTheExtensionAndRefusesOthers) {
  Player p;
  const std::string first = p.dir.Write("first.eud", SevenDigitsFile());
  p.Form.OpenUndoFile(first);
  p.W().DialogAnswers = {p.dir.Path("second")};
  p.Form.Execute(A::fileSaveAs);
  EXPECT_EQ(p.W().SaveDialogTitles.back(), "名前を付けて保存（´д｀）");
  EXPECT_EQ(p.W().SaveDialogPresets.back(), first);
  EXPECT_EQ(ReadBytes(p.dir.Path("second.eud")), ReadBytes(first));
  EXPECT_EQ(p.Form.FFileName, p.dir.Path("second.eud"));
  EXPECT_EQ(p.W().Caption, "（´д｀）Kelvane - second.eud");

  p.W().DialogAnswers = {p.dir.Path("third.txt")};
  p.Form.Execute(A::fileSaveAs);
  EXPECT_FALSE(std::filesystem::exists(p.dir.Path("third.txt")));
  EXPECT_EQ(p.W().Messages.back(), "SaveErr(`々´)!!! second.eud");  // the file current before
}

// Changes the working folder for one test and goes back however it ends.
struct TWorkingFolder {
  std::filesystem::path Old = std::filesystem::current_path();
  explicit TWorkingFolder(const std::string& to) { std::filesystem::current_path(PathOf(to)); }
  ~TWorkingFolder() { std::filesystem::current_path(Old); }
};

TEST(FormKelvane, PathsAreKeptAbsoluteAndDialogsFollowTheCurrentFile) {
  Player p;
  EXPECT_EQ(p.W().DialogFolder, p.W().ProgramDir);  // before any file
  std::filesystem::create_directories(PathOf(p.dir.Path("docs")));
  const std::string file = p.dir.Write("docs/memo.eud", SevenDigitsFile());
  {
    const TWorkingFolder cd(p.dir.Path("docs"));
    ASSERT_TRUE(p.Form.OpenUndoFile("memo.eud"));  // as "cd docs; kelvane memo.eud" gives it
  }
  EXPECT_EQ(PathOf(p.Form.FFileName), PathOf(file));  // either separator on Windows
  EXPECT_EQ(PathOf(p.W().DialogFolder), PathOf(p.dir.Path("docs/")));
  p.Form.Execute(A::textUndo);
  p.W().DialogAnswers = {std::nullopt};
  p.Form.Execute(A::fileSaveAs);
  EXPECT_EQ(PathOf(p.W().SaveDialogPresets.back()), PathOf(file));
  p.Form.Execute(A::fileSave);  // from another working folder, into the file it came from
  EXPECT_EQ(ReadBytes(file), SevenDigitsFile(3));

  {
    const TWorkingFolder cd(p.dir.Path(""));
    ASSERT_TRUE(p.Form.SaveUndoFile("copy.eud"));
  }
  EXPECT_EQ(PathOf(p.Form.FFileName), PathOf(p.dir.Path("copy.eud")));
  EXPECT_EQ(PathOf(p.W().DialogFolder), PathOf(p.dir.Path("")));
}

TEST(FormKelvane, SaveAsksBeforeOverwriting) {
  Player p;
  const std::string path = p.dir.Write("memo.eud", SevenDigitsFile());
  p.Form.OpenUndoFile(path);
  p.Form.Execute(A::textUndo);
  p.W().Answers = {false};
  p.Form.Execute(A::fileSave);
  EXPECT_EQ(p.W().Questions.back(), "上書確認\nmemo.eudを上書しますか（´д｀）？");
  EXPECT_EQ(ReadBytes(path), SevenDigitsFile());
  p.Form.Execute(A::fileSave);
  EXPECT_EQ(ReadBytes(path), SevenDigitsFile(3));
}

// A state that would not read back as it is stays unwritten, the old file
// kept, with the line or record and the reason in the message; everything the
// file can hold still writes.
TEST(FormKelvane, StatesTheFileCannotHoldAreRefusedByName) {
  const std::string old = SevenDigitsFile();
  const struct {
    std::string Text, RecordText, Reason;
  } cases[] = {
      {std::string("a\r\nb\0c", 7), "", "line 2 of the text holds a NUL byte"},
      {"a\rb", "", "line 1 of the text holds a CR without LF"},
      {"a\r\nb\nc", "", "line 2 of the text holds an LF without CR"},
      {"a\x01\x01", "", "line 1 of the text holds two 0x01 bytes in a row"},
      {"a\x01\r\nb", "", "line 1 of the text holds a 0x01 byte right before a line break"},
      {"ab", "x\x01\r\n", "undo record 2 holds a 0x01 byte right before a line break"},
      {"ab", std::string("x\0", 2), "undo record 2 holds a NUL byte"},
  };
  for (const auto& c : cases) {
    Player p;
    const std::string file = p.dir.Write("keep.eud", old);
    p.Editor().SetText(c.Text);
    THistoryBuilder b(p.Editor());
    b.Insert({0, 0}, "z");
    AddUndoData(p.Editor().Undo->FUndoList, umDelete, {0, 0}, c.RecordText, 0);
    EXPECT_FALSE(p.Form.SaveUndoFile(file)) << c.Reason;
    ASSERT_FALSE(p.W().Messages.empty());
    EXPECT_EQ(p.W().Messages.back(), "SaveErr(`々´)!!! \n" + c.Reason + ", which an undo file cannot hold");
    EXPECT_EQ(ReadBytes(file), old) << c.Reason;
  }
  // A single 0x01, and one after a line break, read back as they are.
  Player p;
  p.Editor().SetText("a\x01b\r\n\x01c");
  THistoryBuilder(p.Editor()).Insert({0, 0}, "\x01");
  const std::string file = p.dir.Path("ok.eud");
  ASSERT_TRUE(p.Form.SaveUndoFile(file));
  EXPECT_EQ(ReadBytes(file), BuildUndoFile(p.Editor()));
}

TEST(FormKelvane, SaveWithoutAFileRunsSaveAs) {
  Player p;
  THistoryBuilder(p.Editor()).Insert({0, 0}, "x");
  p.W().DialogAnswers = {std::nullopt};
  p.Form.Execute(A::fileSave);
  EXPECT_EQ(p.W().SaveDialogPresets.back(), "");
  EXPECT_TRUE(p.W().Questions.empty());
}

TEST(FormKelvane, SaveFailures) {
  Player p;
  // Nothing to save: two messages, nothing written.
  EXPECT_FALSE(p.Form.SaveUndoFile(p.dir.Path("empty.eud")));
  EXPECT_EQ(p.W().Messages, (std::vector<std::string>{"UndoDataがありません。", "SaveErr(`々´)!!! "}));
  EXPECT_FALSE(std::filesystem::exists(p.dir.Path("empty.eud")));

  // A read-only file stays as it was.
  const std::string locked = p.dir.Write("locked.eud", "old");
  ::chmod(locked.c_str(), 0444);
  THistoryBuilder(p.Editor()).Insert({0, 0}, "x");
  EXPECT_FALSE(p.Form.SaveUndoFile(locked));
  EXPECT_EQ(ReadBytes(locked), "old");
  // The system's reason follows on a line of its own, naming the file.
  const std::string lockedMessage = p.W().Messages.back();
  EXPECT_EQ(lockedMessage.rfind("SaveErr(`々´)!!! \n", 0), 0u) << lockedMessage;
  EXPECT_NE(lockedMessage.find("locked.eud: "), std::string::npos) << lockedMessage;

  // A folder that does not exist.
  EXPECT_FALSE(p.Form.SaveUndoFile(p.dir.Path("no/such/x.eud")));
  EXPECT_EQ(p.W().Messages.back().rfind("SaveErr(`々´)!!! \n", 0), 0u) << p.W().Messages.back();
  EXPECT_EQ(p.Form.FFileName, "");
  EXPECT_EQ(p.dir.Names(), std::vector<std::string>{"locked.eud"});  // no stray temporary file
}

TEST(FormKelvane, AJumpThatFailsThawsTheEditorAndShowsWhereItStopped) {
  Player p;
  // Two good records under one that cannot fit (its line does not exist).
  const std::string file = "TEXT=ab\nudMODE=0\nudCARET_X=0\nudCARET_Y=0\nudCOUNT=1\nudTEXT=\n"
                           "udMODE=0\nudCARET_X=0\nudCARET_Y=9\nudCOUNT=1\nudTEXT=\n"
                           "udMODE=0\nudCARET_X=1\nudCARET_Y=0\nudCOUNT=1\nudTEXT=\n";
  p.Form.OpenUndoFile(p.dir.Write("bad.eud", file));
  EXPECT_THROW(p.Form.Execute(A::textUndoFirst), EListError);
  EXPECT_EQ(p.Text(), "a");
  EXPECT_TRUE(p.Editor().Enabled());
  EXPECT_TRUE(p.EditWindow.Redraw);
  EXPECT_TRUE(p.EditWindow.WindowEnabled);
  EXPECT_EQ(p.W().StatusText, " Undo:2 Redo:1 Total:3");
  EXPECT_EQ(p.Form.FUndoPos, 2);
}

TEST(FormKelvane, VersionAndInfoMessages) {
  Player p;
  p.Form.Execute(A::helpVersion);
  EXPECT_EQ(p.W().Messages.back(), "（´д｀）Kelvane\tVer0.002_3(2009/05/16)");
  p.Form.Execute(A::undoInfo);  // nothing to report
  EXPECT_EQ(p.W().Messages.size(), 1u);
  p.Form.OpenUndoFile(p.dir.Write("i.eud", SevenDigitsFile()));
  p.Form.Execute(A::undoInfo);
  EXPECT_EQ(p.W().Messages.back().substr(0, 18), "FileName\ti.eud\r\nto");
}

TEST(FormKelvane, OpenIgnoresOtherFiles) {
  Player p;
  EXPECT_FALSE(p.Form.OpenUndoFile(p.dir.Write("a.txt", SevenDigitsFile())));
  EXPECT_FALSE(p.Form.OpenUndoFile(p.dir.Path("none.eud")));
  EXPECT_EQ(p.Form.FFileName, "");
  p.W().DialogAnswers = {p.dir.Write("d.Eud", SevenDigitsFile())};
  p.Form.Execute(A::fileOpen);
  EXPECT_EQ(p.W().StatusText, " Undo:5 Redo:2 Total:7");
}

}  // namespace
}  // namespace kelvane::test
