// The real histories under KELVANE_SHARED_DATA, loaded into the player on the
// headless platform: the loaded state and its statistics, the file written back
// byte for byte, every revision reached both ways, and the records after walking.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "headless/HeadlessPlayer.h"
#include "platform/FileSystem.h"
#include "player/UndoFile.h"
#include "player/UndoInfo.h"
#include "tests/support/Sha256.h"

namespace kelvane::test {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, 4> kModeNames = {"insert", "delete", "enter", "change"};

struct TRevision {
  std::string Commit;
  std::string Date;
  int32_t Point = 0;
  std::string Sha256;
  size_t Bytes = 0;
  int32_t Lines = 0;
};

// What a manifest says, as far as these tests use it.
struct TManifest {
  int32_t Undo = 0;
  int32_t Redo = 0;
  std::string LoadedSha256;
  std::array<int64_t, 4> ModesInFile{};
  std::vector<TRevision> Revisions;  // the reachable ones, oldest first
};

TManifest ReadManifest(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const nlohmann::json j = nlohmann::json::parse(in);
  TManifest m;
  m.Undo = j.at("undo").get<int32_t>();
  m.Redo = j.at("redo").get<int32_t>();
  m.LoadedSha256 = j.at("loaded_sha256").get<std::string>();
  for (size_t i = 0; i < kModeNames.size(); ++i)
    m.ModesInFile[i] = j.at("modes_in_file").at(kModeNames[i]).get<int64_t>();
  for (const nlohmann::json& r : j.at("revisions")) {
    if (r.at("point").is_null()) continue;  // dropped past the record limit
    m.Revisions.push_back({r.at("commit").get<std::string>(), r.at("date").get<std::string>(),
                           r.at("point").get<int32_t>(), r.at("sha256").get<std::string>(),
                           r.at("bytes").get<size_t>(), r.at("lines").get<int32_t>()});
  }
  return m;
}

std::string Describe(const TUndoData& r) {
  return "mode " + std::to_string(r.Mode) + ", caret (" + std::to_string(r.Caret.X) + ", " +
         std::to_string(r.Caret.Y) + "), count " + std::to_string(r.Count) + ", text " +
         std::to_string(r.Text.size()) + " bytes";
}

// Both stacks and the text, to compare a state with one seen earlier.
struct THistorySnapshot {
  std::string Text;
  std::vector<TUndoData> Undo;
  std::vector<TUndoData> Redo;
};

THistorySnapshot Snapshot(const TVeskEdit& e) {
  THistorySnapshot s{e.GetText(), {}, {}};
  for (const auto& [list, out] : {std::pair{&e.Undo->FUndoList, &s.Undo}, std::pair{&e.Undo->FRedoList, &s.Redo}}) {
    for (int32_t i = 0; i < list->Count(); ++i) out->push_back((*list)[i]);
  }
  return s;
}

// Applying a record rewrites it into its inverse, which loses three details of
// how it was recorded: an insert record gets the text it inserts, an enter
// record counts 1 instead of 2, and a delete record counts its text (Backspace
// or Delete over a line break and a removed selection recorded 0 or 1). Was,
// as loaded, with those details taken from Now.
TUndoData AsRewritten(TUndoData was, const TUndoData& now) {
  switch (was.Mode) {
    case umInsert:
      if (was.Text.empty() && now.Text.size() == static_cast<size_t>(was.Count)) was.Text = now.Text;
      break;
    case umDelete: was.Count = static_cast<int32_t>(was.Text.size()); break;
    case umEnter: was.Count = 1; break;
    default: break;
  }
  return was;
}

// Where Now differs from Was: the text, a stack's size or its first record that
// differs, allowing for the rewriting above when asked to.
::testing::AssertionResult SameHistory(const THistorySnapshot& was, const THistorySnapshot& now,
                                       bool allowRewriting) {
  if (now.Text != was.Text) return ::testing::AssertionFailure() << "the text differs";
  for (const auto& [name, a, b] :
       {std::tuple{"undo", &was.Undo, &now.Undo}, std::tuple{"redo", &was.Redo, &now.Redo}}) {
    if (a->size() != b->size())
      return ::testing::AssertionFailure() << name << " stack holds " << b->size() << " records, not " << a->size();
    for (size_t i = 0; i < a->size(); ++i) {
      const TUndoData& expected = allowRewriting ? AsRewritten((*a)[i], (*b)[i]) : (*a)[i];
      if ((*b)[i] == expected) continue;
      ::testing::AssertionResult r = ::testing::AssertionFailure();
      r << name << " record " << i << " was " << Describe((*a)[i]);
      if (expected != (*a)[i]) r << " (" << Describe(expected) << " once applied)";
      return r << ", is " << Describe((*b)[i]);
    }
  }
  return ::testing::AssertionSuccess();
}

class RealHistory : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const fs::path dir = KELVANE_SHARED_DATA;
    if (!fs::is_directory(dir)) GTEST_SKIP() << "the real histories are not at " << dir;
    const std::string name = GetParam();
    path_ = (dir / (name + ".eud")).string();
    ASSERT_TRUE(ReadWholeFile(path_, fileBytes_)) << path_;
    manifest_ = ReadManifest(dir / (name + ".json"));
    ASSERT_FALSE(manifest_.Revisions.empty());
    ASSERT_TRUE(p_.Form.LoadUndoFile(path_)) << path_;
  }

  int32_t UndoCount() { return p_.Editor().Undo->FUndoList.Count(); }
  int32_t RedoCount() { return p_.Editor().Undo->FRedoList.Count(); }
  int32_t Total() const { return manifest_.Undo + manifest_.Redo; }

  // Jumps to Point as releasing the scroll bar's thumb there does.
  ::testing::AssertionResult WalkTo(int32_t point) {
    const int32_t from = p_.Form.FUndoPos;
    try {
      p_.Form.StepHistory(point - from, false);
    } catch (const std::exception& e) {
      // The step that threw left its record on top of the stack it came from.
      TUndoList& list = point < from ? p_.Editor().Undo->FUndoList : p_.Editor().Undo->FRedoList;
      return ::testing::AssertionFailure() << "walking " << from << " -> " << point << " stopped at "
                                           << UndoCount() << ": " << e.what() << "; record "
                                           << (list.Count() > 0 ? Describe(list.Top()) : "none");
    }
    if (UndoCount() != point || p_.Form.FUndoPos != point || p_.Window.HistoryPos != point)
      return ::testing::AssertionFailure() << "walking " << from << " -> " << point << " reached undo "
                                           << UndoCount() << ", FUndoPos " << p_.Form.FUndoPos
                                           << ", scroll bar " << p_.Window.HistoryPos;
    if (UndoCount() + RedoCount() != Total())
      return ::testing::AssertionFailure() << "records lost or gained: " << UndoCount() << " + " << RedoCount();
    return ::testing::AssertionSuccess();
  }

  ::testing::AssertionResult Shows(const TRevision& r) {
    const std::string text = p_.Editor().GetText();
    const std::string digest = Sha256Hex(text);
    if (text.size() == r.Bytes && p_.Editor().Items.Count() == r.Lines && digest == r.Sha256)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "point " << r.Point << " (" << r.Commit.substr(0, 8) << ", " << r.Date
                                         << ") shows " << text.size() << " bytes, " << p_.Editor().Items.Count()
                                         << " lines, " << digest << "; expected " << r.Bytes << " bytes, "
                                         << r.Lines << " lines, " << r.Sha256 << "; last point shown right: "
                                         << lastGood_;
  }

  // Walks to each revision in turn, checking the text there.
  void WalkThrough(const std::vector<TRevision>& revisions) {
    for (const TRevision& r : revisions) {
      ASSERT_TRUE(WalkTo(r.Point));
      ASSERT_TRUE(Shows(r));
      lastGood_ = r.Point;
    }
  }

  HeadlessPlayer p_;
  std::string path_;
  std::string fileBytes_;
  TManifest manifest_;
  int32_t lastGood_ = -1;
};

TEST_P(RealHistory, LoadsTheStacksTextAndStatistics) {
  EXPECT_EQ(UndoCount(), manifest_.Undo);
  EXPECT_EQ(RedoCount(), manifest_.Redo);
  EXPECT_EQ(Sha256Hex(p_.Editor().GetText()), manifest_.LoadedSha256);
  EXPECT_EQ(p_.Window.HistoryMax, Total());
  EXPECT_EQ(p_.Window.HistoryPos, manifest_.Undo);
  EXPECT_EQ(p_.Window.StatusText, " Undo:" + std::to_string(manifest_.Undo) + " Redo:" +
                                      std::to_string(manifest_.Redo) + " Total:" + std::to_string(Total()));

  std::array<int64_t, 4> modes{};
  for (const TUndoList* list : {&p_.Editor().Undo->FUndoList, &p_.Editor().Undo->FRedoList}) {
    for (int32_t i = 0; i < list->Count(); ++i) {
      const uint8_t m = (*list)[i].Mode;
      ASSERT_LT(m, modes.size()) << "record " << i;
      ++modes[m];
    }
  }
  EXPECT_EQ(modes, manifest_.ModesInFile);

  std::string report = "FileName\t" + std::string(GetParam()) + ".eud\r\ntotal\t: " + std::to_string(Total());
  for (size_t m = 0; m < modes.size(); ++m) {
    const int64_t n = manifest_.ModesInFile[m];
    report += "\r\n" + std::string(kModeNames[m]) + "\t: " + std::to_string(n) + "\t [" +
              std::to_string(n * 100 / Total()) + "%]";
  }
  EXPECT_EQ(BuildUndoInfo(*p_.Editor().Undo, p_.Form.FFileName), report);
}

TEST_P(RealHistory, WritesTheFileBackByteForByte) {
  const std::string written = BuildUndoFile(p_.Editor());
  if (written == fileBytes_) return;
  const size_t at = std::mismatch(written.begin(), written.end(), fileBytes_.begin(), fileBytes_.end()).first -
                    written.begin();
  ADD_FAILURE() << "the written file (" << written.size() << " bytes) differs from " << path_ << " ("
                << fileBytes_.size() << " bytes) from byte " << at << ", in line "
                << std::count(written.begin(), written.begin() + static_cast<ptrdiff_t>(at), '\n') + 1;
}

TEST_P(RealHistory, ReachesEveryRevisionUpAndDownAndComesBackAsLoaded) {
  const THistorySnapshot loaded = Snapshot(p_.Editor());
  const std::vector<TRevision>& up = manifest_.Revisions;
  ASSERT_NO_FATAL_FAILURE(WalkThrough(up));
  ASSERT_NO_FATAL_FAILURE(WalkThrough({up.rbegin(), up.rend()}));

  p_.Form.Execute(TPlayerAction::textUndoLast);
  EXPECT_EQ(UndoCount(), Total());
  EXPECT_EQ(up.back().Point, Total()) << "the newest revision is not at the end";
  EXPECT_TRUE(Shows(up.back()));

  p_.Form.Execute(TPlayerAction::textUndoFirst);
  EXPECT_EQ(UndoCount(), 0);
  if (up.front().Point == 0) {
    EXPECT_TRUE(Shows(up.front()));
  }

  // Every record has now been applied both ways at least once.
  ASSERT_TRUE(WalkTo(manifest_.Undo));
  const THistorySnapshot travelled = Snapshot(p_.Editor());
  EXPECT_TRUE(SameHistory(loaded, travelled, true));

  // Records in the form applying gives them must survive another round unchanged.
  ASSERT_TRUE(WalkTo(0));
  ASSERT_TRUE(WalkTo(Total()));
  ASSERT_TRUE(WalkTo(manifest_.Undo));
  EXPECT_TRUE(SameHistory(travelled, Snapshot(p_.Editor()), false));
}

INSTANTIATE_TEST_SUITE_P(Files, RealHistory, ::testing::Values("usr_01", "change", "options", "eval"),
                         [](const ::testing::TestParamInfo<const char*>& file) { return std::string(file.param); });

}  // namespace
}  // namespace kelvane::test
