// The history played on editors of the analysis' own, so that looking into
// it never moves, redraws or deselects the user's editor. Each editor lives
// on a window its caller makes (the analysis names no port), stays frozen
// (WM_SETREDRAW 0, as a jump through the history freezes the player's) and
// is stepped with the editor's own UndoStep and RedoStep.
//
// The copy is taken at the source's point S, the one state whose text is
// known. Two editors split the history there: Below holds records 0 … S−1 on
// its undo stack and reaches points 0 … S; Above holds records S … T−1 on its
// redo stack and reaches points S … T. Every point is then at most one walk
// away from the state it was copied at, and each record is applied the way
// the player applies it from that state.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/VeskEdit.h"
#include "platform/EditHost.h"

namespace kelvane {

// Makes the window a replay editor lives on; it is never shown.
using TEditHostFactory = std::function<std::unique_ptr<EditHost>()>;

enum class TStepFailure : uint8_t { None, Misfit, Mode, End };

struct TStepResult {
  TStepFailure Failure = TStepFailure::None;
  std::string Detail;  // why, for a misfit or a mode
  explicit operator bool() const { return Failure == TStepFailure::None; }
};

// Why a record that does not fit was refused: the rule of TVeskUndo::CheckFits
// that it breaks, in words, on the text it was to be applied to.
std::string DescribeMisfit(const TUndoData& r, const TVeskEdit& text, bool redoing);

// One frozen editor holding a part of a history.
class TReplayEditor {
 public:
  explicit TReplayEditor(std::unique_ptr<EditHost> host);
  TReplayEditor(const TReplayEditor&) = delete;
  TReplayEditor& operator=(const TReplayEditor&) = delete;

  // Source's lines, and its undo records as records Base … (when TakeUndo) or
  // its redo records as records Base … on.
  void Load(const TVeskEdit& source, bool takeUndo, int64_t base);

  int64_t Low() const { return base_; }
  int64_t High() const;
  int64_t Point() const { return base_ + editor_->Undo->FUndoList.Count(); }
  // Record K (Low … High−1) as it stands now, on whichever stack.
  const TUndoData& Record(int64_t k) const;
  bool OnRedoStack(int64_t k) const { return k >= Point(); }
  // The record the next step applies, as it stands, or null at the end.
  const TUndoData* Next(bool forward) const;
  // Applies one record; nothing changes when it fails.
  TStepResult Step(bool forward);

  TVeskEdit& Editor() { return *editor_; }
  const TVeskEdit& Editor() const { return *editor_; }

 private:
  std::unique_ptr<EditHost> host_;
  std::unique_ptr<TVeskEdit> editor_;
  int64_t base_ = 0;
};

class THistoryReplay {
 public:
  THistoryReplay(const TVeskEdit& source, const TEditHostFactory& newHost);

  int64_t Split() const { return below_.High(); }
  int64_t Size() const { return above_.High(); }
  TReplayEditor& Below() { return below_; }
  TReplayEditor& Above() { return above_; }
  // The editor that holds point P (Below for the split point itself).
  TReplayEditor& Holding(int64_t p) { return p <= Split() ? below_ : above_; }
  // Steps the editor holding P there; fails, where the walk stopped, at a record that does not fit.
  TStepResult Seek(int64_t p);
  std::optional<std::string> TextAt(int64_t p);  // none when P cannot be reached
  const TUndoData& Record(int64_t k) { return Holding(k + 1).Record(k); }
  bool OnRedoStack(int64_t k) { return Holding(k + 1).OnRedoStack(k); }

 private:
  TReplayEditor below_;
  TReplayEditor above_;
};

// Steps E towards point P until it is there or a step fails.
TStepResult WalkTo(TReplayEditor& e, int64_t p);

}  // namespace kelvane
