// The record under a character.
#include "history/ProvenanceLookup.h"

#include <algorithm>

#include "history/PanelColors.h"

namespace kelvane {

TProvenanceLookup::TProvenanceLookup(THistoryAnalysis& analysis, TVeskEdit& editor, std::function<int64_t()> point)
    : analysis_(analysis), editor_(editor), point_(std::move(point)) {}

const TProvenance* TProvenanceLookup::Current() {
  const int64_t point = point_();
  if (!analysis_.Timeline().Reaches(point)) return nullptr;
  const TProvenance& p = analysis_.Blame(point);
  if (p.Point() != point || p.LineCount() != editor_.Items.Count()) return nullptr;
  return &p;
}

void TProvenanceLookup::Tint(int32_t line, std::vector<TTintRun>& runs) {
  const TProvenance* p = Current();
  if (!p || line >= p->LineCount()) return;
  const int64_t point = p->Point();
  for (const TTagSpan& s : p->Spans(line)) {
    if (s.Record >= 0) runs.push_back({s.Begin, s.End, AgeColor(s.Record, point)});
  }
}

std::optional<int32_t> TProvenanceLookup::RecordAt(TPoint at) {
  const TProvenance* p = Current();
  if (!p || at.Y < 0 || at.Y >= p->LineCount() || at.X < 0 || at.X >= p->LineLength(at.Y)) return std::nullopt;
  for (const TTagSpan& s : p->Spans(at.Y)) {
    if (at.X >= s.Begin && at.X < s.End) return s.Record;
  }
  return std::nullopt;
}

// The caret column nearest to the point, or the one before when the point
// lies left of that column's edge.
std::optional<int32_t> TProvenanceLookup::RecordAtClient(int x, int y) {
  TVeskEdit& e = editor_;
  if (x < e.TextLeft()) return std::nullopt;
  const TPoint doc = e.DocPointAtClient(x, y);
  const int32_t lastRow = e.TopLine + (y - e.TopMargin()) / std::max(e.LineHeight, 1);
  if (doc.Y != lastRow) return std::nullopt;  // below the last line
  TPoint pos = e.PosAtDocPoint(doc.X, doc.Y);
  if (pos.X > 0 && doc.X < e.Items[pos.Y].PrefixWidth(static_cast<size_t>(pos.X))) --pos.X;
  return RecordAt(pos);
}

}  // namespace kelvane
