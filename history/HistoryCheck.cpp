// The history check: static looks at every record, and walks both ways.
#include "history/HistoryCheck.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

#include "history/CharBounds.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

std::string HexByte(unsigned char b) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", b);
  return text;
}

class TChecker {
 public:
  TChecker(THistoryReplay& replay, const TTimeline& timeline) : replay_(replay), timeline_(timeline) {}

  std::vector<THistoryProblem> Run() {
    for (int64_t k = 0; k < timeline_.Records(); ++k) LookAt(k);
    for (const TTimelineStop* stop : {&timeline_.StopBelow(), &timeline_.StopAbove()}) {
      if (stop->Why == TStepFailure::Misfit) Add(stop->Record, TProblemKind::Misfit, stop->Detail);
    }
    for (TReplayEditor* e : {&replay_.Below(), &replay_.Above()}) {
      const int64_t low = std::max(e->Low(), timeline_.First());
      const int64_t high = std::min(e->High(), timeline_.Last());
      if (low > high) continue;
      WalkChecking(*e, high);
      WalkChecking(*e, low);
    }
    std::sort(found_.begin(), found_.end(), [](const THistoryProblem& a, const THistoryProblem& b) {
      return a.Record != b.Record ? a.Record < b.Record : a.Kind < b.Kind;
    });
    return std::move(found_);
  }

 private:
  // What a record shows without a text to apply it to: its mode and its texts.
  void LookAt(int64_t k) {
    const TUndoData& raw = replay_.Record(k);
    if (raw.Mode > umChange) Add(k, TProblemKind::Mode, "mode " + std::to_string(raw.Mode) + " is outside 0 to 3");
    const TTimelineEdit e = timeline_.Edit(k);
    if (e.Known) {
      CheckText(k, e.Added, "the added text");
      CheckText(k, e.Removed, "the removed text");
    } else {
      CheckText(k, raw.Text, "the record's text");
    }
  }

  void CheckText(int64_t k, std::string_view text, const std::string& which) {
    const size_t at = cp932::FindInvalid(text);
    if (at == std::string_view::npos) return;
    Add(k, TProblemKind::Encoding,
        which + ": byte " + HexByte(static_cast<unsigned char>(text[at])) + " at " + std::to_string(at) +
            " begins no character");
  }

  void WalkChecking(TReplayEditor& e, int64_t p) {
    while (e.Point() != p) {
      const bool forward = p > e.Point();
      const int64_t k = forward ? e.Point() : e.Point() - 1;
      CheckCaret(e, forward, k);
      TStepResult step = e.Step(forward);
      if (step.Failure == TStepFailure::Misfit) Add(k, TProblemKind::Misfit, step.Detail);
      if (!step) return;
    }
  }

  // The caret of an insertion, deletion or break on the line it acts on.
  void CheckCaret(const TReplayEditor& e, bool forward, int64_t k) {
    const TUndoData& raw = *e.Next(forward);
    const TEditKind kind = DescribeEdit(raw, forward).Kind;
    if (kind != TEditKind::Insert && kind != TEditKind::Delete && kind != TEditKind::Enter) return;
    const TVeskItems& lines = e.Editor().Items;
    const TPoint c = raw.Caret;
    if (c.Y < 0 || c.Y >= lines.Count()) return;  // a misfit, reported as one
    const std::string& line = lines[c.Y].Text;
    const std::string where = "column " + std::to_string(c.X) + " of line " + std::to_string(c.Y);
    if (c.X < 0 || static_cast<size_t>(c.X) > line.size()) {
      Add(k, TProblemKind::Caret, where + " is outside the line (" + std::to_string(line.size()) + " bytes)");
    } else if (!IsCharStart(line, static_cast<size_t>(c.X))) {
      Add(k, TProblemKind::Caret, where + " is inside a double-byte character");
    }
  }

  void Add(int64_t k, TProblemKind kind, std::string detail) {
    if (seen_.insert({k, kind}).second) found_.push_back({k, kind, std::move(detail)});
  }

  THistoryReplay& replay_;
  const TTimeline& timeline_;
  std::vector<THistoryProblem> found_;
  std::set<std::pair<int64_t, TProblemKind>> seen_;
};

}  // namespace

const char* ProblemName(TProblemKind kind) {
  switch (kind) {
    case TProblemKind::Misfit: return "misfit";
    case TProblemKind::Mode: return "mode";
    case TProblemKind::Caret: return "caret";
    case TProblemKind::Encoding: return "encoding";
  }
  return "?";
}

std::vector<THistoryProblem> CheckHistory(THistoryReplay& replay, const TTimeline& timeline) {
  return TChecker(replay, timeline).Run();
}

}  // namespace kelvane
