// Replay editors: copies of a history stepped with the editor's own code.
#include "history/Replay.h"

#include <algorithm>

#include "editor/Errors.h"

namespace kelvane {

namespace {

std::string Line(int64_t y) { return "line " + std::to_string(y); }

std::string Lines(int64_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

}  // namespace

std::string DescribeMisfit(const TUndoData& r, const TVeskEdit& text, bool redoing) {
  const int64_t count = text.Items.Count();
  const int64_t y = r.Caret.Y;
  const std::string has = "the text has " + Lines(count);
  if (y < 0) return Line(y) + " is before the text";
  switch (r.Mode) {
    case umInsert:
    case umDelete:
      return Line(y) + " is past the end: " + has;
    case umEnter:
      if (y >= count) return Line(y) + " is past the end: " + has;
      if (!redoing) return "no line after " + Line(y) + " to join: " + has;
      break;
    case umChange:
      if (r.Count < 0) return "a change of " + std::to_string(r.Count) + " lines";
      if (y > count) return Line(y) + " is past the end: " + has;
      return "lines " + std::to_string(y) + " to " + std::to_string(y + r.Count - 1) + " run past the end: " + has;
    default:
      break;
  }
  return "the record does not fit the text";
}

TReplayEditor::TReplayEditor(std::unique_ptr<EditHost> host)
    : host_(std::move(host)), editor_(std::make_unique<TVeskEdit>(*host_)) {
  TVeskEdit& e = *editor_;
  e.CreateWnd();
  e.Perform(WM_SIZE, 0, MakeLParam(640, 480));
  e.Perform(WM_SETREDRAW, 0);  // frozen for good: nothing is drawn or scanned
}

void TReplayEditor::Load(const TVeskEdit& source, bool takeUndo, int64_t base) {
  TVeskEdit& e = *editor_;
  e.ClearText();
  e.Items[0].Assign(std::string_view(source.Items[0].Text));
  for (int32_t y = 1; y < source.Items.Count(); ++y) e.AddLine(source.Items[y].Text);
  const TUndoList& from = takeUndo ? source.Undo->FUndoList : source.Undo->FRedoList;
  TUndoList& to = takeUndo ? e.Undo->FUndoList : e.Undo->FRedoList;
  for (int32_t i = 0; i < from.Count(); ++i) to.Add(from[i]);
  base_ = base;
}

int64_t TReplayEditor::High() const {
  const TVeskUndo& h = *editor_->Undo;
  return base_ + h.FUndoList.Count() + h.FRedoList.Count();
}

const TUndoData& TReplayEditor::Record(int64_t k) const {
  const TVeskUndo& h = *editor_->Undo;
  if (k < Point()) return h.FUndoList[k - base_];
  return h.FRedoList[int64_t{h.FRedoList.Count()} - 1 - (k - Point())];
}

const TUndoData* TReplayEditor::Next(bool forward) const {
  const TUndoList& list = forward ? editor_->Undo->FRedoList : editor_->Undo->FUndoList;
  return list.Count() == 0 ? nullptr : &list[list.Count() - 1];
}

TStepResult TReplayEditor::Step(bool forward) {
  const TUndoData* next = Next(forward);
  if (!next) return {TStepFailure::End, {}};
  const int64_t before = Point();
  try {
    if (forward) editor_->RedoStep();
    else editor_->UndoStep();
  } catch (const EVeskError& error) {
    return {TStepFailure::Misfit, DescribeMisfit(*next, *editor_, forward) + " (" + error.what() + ")"};
  }
  // A mode outside 0 … 3 is no edit: the editor leaves the record where it is.
  if (Point() == before) return {TStepFailure::Mode, "mode " + std::to_string(next->Mode) + " is no kind of edit"};
  return {};
}

TStepResult WalkTo(TReplayEditor& e, int64_t p) {
  p = std::clamp(p, e.Low(), e.High());
  while (e.Point() != p) {
    TStepResult step = e.Step(p > e.Point());
    if (!step) return step;
  }
  return {};
}

THistoryReplay::THistoryReplay(const TVeskEdit& source, const TEditHostFactory& newHost)
    : below_(newHost()), above_(newHost()) {
  below_.Load(source, true, 0);
  above_.Load(source, false, source.Undo->FUndoList.Count());
}

TStepResult THistoryReplay::Seek(int64_t p) { return WalkTo(Holding(p), p); }

std::optional<std::string> THistoryReplay::TextAt(int64_t p) {
  TReplayEditor& e = Holding(p);
  if (!Seek(p) || e.Point() != p) return std::nullopt;
  return e.Editor().GetText();
}

}  // namespace kelvane
