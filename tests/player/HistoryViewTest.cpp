// The history view: records in history order, each described as the user made
// it, the same whichever stack it sits on, while the raw modes flip.
#include <gtest/gtest.h>

#include "player/HistoryView.h"
#include "tests/support/EditorFixture.h"

namespace kelvane::test {
namespace {

struct TMade {
  TEditKind Kind;
  TPoint Pos;
  std::string Added;    // "-" when the record does not hold it
  std::string Removed;
  friend bool operator==(const TMade&, const TMade&) = default;
};

std::ostream& operator<<(std::ostream& os, const TMade& m) {
  return os << "{kind " << int(m.Kind) << " at " << m.Pos.X << "," << m.Pos.Y << " +" << m.Added << " -" << m.Removed
            << "}";
}

std::vector<TMade> Described(const HistoryView& view) {
  std::vector<TMade> out;
  for (int32_t k = 0; k < view.Size(); ++k) {
    const THistoryEdit e = view.Edit(k);
    out.push_back({e.Kind, e.Pos, e.HasAdded ? std::string(e.Added) : "-",
                   e.HasRemoved ? std::string(e.Removed) : "-"});
  }
  return out;
}

// Typing, a line break, deleting backwards and forwards, a selection replaced
// by typing and one replaced by two lines.
struct RecordedHistory : EditorFixture {
  HistoryView view{*edit.Undo};
  RecordedHistory() {
    edit.SetText("abc\r\ndef");
    edit.SetCaret({3, 0});
    edit.InputText("XY");                   // 0 insert at 3,0
    edit.NewLine();                         // 1 enter at 5,0
    edit.BackSpaceKey();                    // 2 delete the break: "\r\n" at 5,0
    edit.DeleteKey();                       // 3 delete the next break at 5,0
    edit.SetCaret({0, 0});
    edit.SelAnchor = {2, 0};
    edit.Selected = true;
    edit.InputText("Q");                    // 4 change of line 0 (the selection)
    edit.SelAnchor = {0, 0};
    edit.Selected = true;
    edit.CaretPos = {1, 0};
    edit.InputText("1\r\n2");               // 5 change of line 0 into two lines
  }
};

TEST(HistoryView, DescribesEachRecordAsMadeWhicheverStackItSitsOn) {
  RecordedHistory h;
  ASSERT_EQ(h.view.Size(), 6);
  const std::vector<TMade> asRecorded = Described(h.view);
  EXPECT_EQ(asRecorded[0], (TMade{TEditKind::Insert, {3, 0}, "-", "-"}));  // recorded without its text
  EXPECT_EQ(asRecorded[1], (TMade{TEditKind::Enter, {5, 0}, "-", "-"}));
  EXPECT_EQ(asRecorded[2], (TMade{TEditKind::Delete, {5, 0}, "-", "\r\n"}));
  EXPECT_EQ(asRecorded[3], (TMade{TEditKind::Delete, {5, 0}, "-", "\r\n"}));
  EXPECT_EQ(asRecorded[4], (TMade{TEditKind::Change, {0, 0}, "-", "abcXYdef\r\n"}));
  EXPECT_EQ(asRecorded[5].Kind, TEditKind::Change);

  const TEditKindCounts kinds = h.view.KindCounts();
  EXPECT_EQ(kinds, (TEditKindCounts{1, 2, 1, 2, 0}));
  const TEditKindCounts rawBefore = h.view.RawCounts();

  // Half-way back: the undone records now sit on the redo stack with their
  // modes flipped, yet each reads as it was made, and now holds the text the
  // user's edit added.
  for (int i = 0; i < 3; ++i) h.edit.UndoStep();
  EXPECT_EQ(h.view.Position(), 3);
  EXPECT_EQ(h.view.Edit(3).Mode, umInsert);  // raw: applying deletes the break again
  const std::vector<TMade> halfWay = Described(h.view);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(halfWay[k], asRecorded[k]) << k;
  EXPECT_EQ(halfWay[3], asRecorded[3]);
  EXPECT_EQ(halfWay[4], (TMade{TEditKind::Change, {0, 0}, "QcXYdef\r\n", "-"}));
  EXPECT_EQ(halfWay[5].Added, "1\r\n2cXYdef\r\n");
  EXPECT_EQ(h.view.KindCounts(), kinds);
  EXPECT_NE(h.view.RawCounts(), rawBefore);

  // All the way back and forward: the first insertion now holds its text too.
  while (h.edit.CanUndo()) h.edit.UndoStep();
  EXPECT_EQ(Described(h.view)[0], (TMade{TEditKind::Insert, {3, 0}, "XY", "-"}));
  while (h.edit.CanRedo()) h.edit.RedoStep();
  EXPECT_EQ(Described(h.view)[0], (TMade{TEditKind::Insert, {3, 0}, "XY", "-"}));
  EXPECT_EQ(Described(h.view)[3], asRecorded[3]);
  EXPECT_EQ(h.view.RawCounts(), rawBefore);
}

TEST(HistoryView, CountsAgainOnlyWhenRecordsJoinOrLeave) {
  RecordedHistory h;
  const uint64_t undoRevision = h.edit.Undo->FUndoList.Revision();
  h.edit.UndoStep();
  h.edit.UndoStep();
  EXPECT_EQ(h.view.KindCounts(), (TEditKindCounts{1, 2, 1, 2, 0}));
  EXPECT_EQ(h.edit.Undo->FUndoList.Revision(), undoRevision);  // steps move records: nothing to count again
  // A new edit empties the redo stack: two changes leave, an insertion joins.
  h.edit.InputText("z");
  EXPECT_EQ(h.view.KindCounts(), (TEditKindCounts{2, 2, 1, 0, 0}));
  // A file's unknown mode is counted apart; indexes are checked.
  AddUndoData(h.edit.Undo->FRedoList, 9, {0, 0}, "", 0);
  EXPECT_EQ(h.view.KindCounts()[static_cast<size_t>(TEditKind::Unknown)], 1);
  EXPECT_EQ(h.view.Edit(h.view.Size() - 1).Kind, TEditKind::Unknown);
  EXPECT_THROW(h.view.Edit(h.view.Size()), EListError);
  EXPECT_THROW(h.view.Edit(-1), EListError);
}

}  // namespace
}  // namespace kelvane::test
