// The panels' words.
#include "history/PanelText.h"

#include <algorithm>
#include <initializer_list>

#include "history/HistoryAnalysis.h"
#include "history/HistorySearch.h"
#include "platform/Codepage.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

constexpr size_t kExcerptChars = 48;  // enough to recognise an edit; the tool tip has the rest
constexpr size_t kTipChars = 400;
constexpr size_t kTintTipBytes = 120;

bool Contains(std::string_view text, std::string_view needle) { return CountOccurrences(text, needle) > 0; }

std::string Num(int64_t n) { return std::to_string(n); }

// Joins the parts in one allocation.
std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (const std::string_view part : parts) out += part;
  return out;
}

// Cuts UTF-8 text after Limit characters.
std::string CutChars(const std::string& text, size_t limit) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (chars++ == limit) return text.substr(0, i) + "…";
  }
  return text;
}

std::string EditText(const TTimelineEdit& e, size_t limit) {
  if (!e.Known) return "（適用できない記録）";
  std::string text;
  if (!e.Removed.empty()) text += Cat({"−", Excerpt(e.Removed, limit)});
  if (!e.Added.empty()) text += Cat({text.empty() ? "＋" : "  ＋", Excerpt(e.Added, limit)});
  return text;
}

const char* KindName(TEditKind kind) {
  switch (kind) {
    case TEditKind::Insert: return "挿入";
    case TEditKind::Delete: return "削除";
    case TEditKind::Enter: return "改行";
    case TEditKind::Change: return "行の置き換え";
    case TEditKind::Unknown: break;
  }
  return "不明な記録";
}

std::string Lines(int32_t first, int32_t count) {
  if (count == 0) return "行なし";
  if (count == 1) return Cat({"行 ", Num(first + 1)});
  return Cat({"行 ", Num(first + 1), "–", Num(int64_t{first} + count)});
}

std::string FailureText(TStepFailure why) {
  switch (why) {
    case TStepFailure::Misfit: return "文書に合いません";
    case TStepFailure::Mode: return "種類が不正です";
    default: return "適用できません";
  }
}

std::string StopText(const TTimelineStop& stop, bool forward) {
  const std::string why = Cat({FailureText(stop.Why), stop.Detail.empty() ? "" : ": ", stop.Detail});
  return forward ? Cat({"位置 ", Num(stop.Record), " から先へは進めません（記録 ", Num(stop.Record), " が", why, "）"})
                 : Cat({"位置 ", Num(stop.Record + 1), " から前へは戻れません（記録 ", Num(stop.Record), " が", why, "）"});
}

}  // namespace

// ---- the history list ----------------------------------------------------------

const char* KindCaption(TEditKind kind) {
  static constexpr std::array<const char*, kEditKindCount> kCaptions = {"挿入", "削除", "改行", "行の置換", "不明"};
  return kCaptions[static_cast<size_t>(kind)];
}

std::string Excerpt(std::string_view bytes, size_t limit) {
  std::string text = cp932::ToUtf8Marked(bytes);
  text = ReplaceAll(ReplaceAll(ReplaceAll(ReplaceAll(text, "\r\n", "↵"), "\n", "↵"), "\r", "↵"), "\t", "→");
  return CutChars(text, limit);
}

std::string HistoryCell(const TTimeline& timeline, int64_t k, int column) {
  const TTimelineEdit e = timeline.Edit(k);
  switch (column) {
    case kHistoryIndex: return Num(k);
    case kHistoryKind: return KindCaption(e.Kind);
    case kHistoryPlace: return Cat({Num(int64_t{e.Pos.Y} + 1), ":", Num(int64_t{e.Pos.X} + 1)});
    default: return EditText(e, kExcerptChars);
  }
}

std::string HistoryTip(const TTimeline& timeline, int64_t k) {
  return Cat({"記録 ", Num(k), " → 位置 ", Num(k + 1), "\n", EditText(timeline.Edit(k), kTipChars)});
}

std::string MarkerLabels(const TPanelMarkers& markers, int64_t k) {
  std::string labels;
  auto it = std::lower_bound(markers.begin(), markers.end(), k + 1,
                             [](const auto& m, int64_t point) { return m.first < point; });
  for (; it != markers.end() && it->first == k + 1; ++it) labels += (labels.empty() ? "" : "・") + it->second;
  return labels;
}

std::string MarkedCell(const std::string& labels, const std::string& cell) {
  return labels.empty() ? cell : "◆" + labels + "  " + cell;
}

std::string MarkedTip(const std::string& labels, const std::string& tip) {
  return labels.empty() ? tip : "マーカー: " + labels + "\n" + tip;
}

std::vector<int64_t> MatchingRecords(const TTimeline& timeline, std::string_view needle) {
  std::vector<int64_t> records;
  for (int64_t k = 0; k < timeline.Records(); ++k) {
    const TTimelineEdit e = timeline.Edit(k);
    if (Contains(e.Added, needle) || Contains(e.Removed, needle)) records.push_back(k);
  }
  return records;
}

std::optional<std::string> SearchBytes(const std::string& utf8) {
  const std::string text = ReplaceAll(ReplaceAll(utf8, "\r\n", "\n"), "\n", "\r\n");
  std::string bytes = cp932::FromUtf8(text);
  // What has no code page 932 form comes back as "?".
  if (std::count(bytes.begin(), bytes.end(), '?') > std::count(text.begin(), text.end(), '?')) return std::nullopt;
  return bytes;
}

std::vector<TPointRange> SearchHistory(THistoryAnalysis& analysis, const std::string& utf8) {
  if (utf8.empty()) return {};
  const std::optional<std::string> needle = SearchBytes(utf8);
  return needle ? analysis.Find(*needle) : std::vector<TPointRange>{};
}

// ---- the timeline --------------------------------------------------------------

std::string TimelineTip(const TTimeline& timeline, int64_t point, const std::string* marker) {
  std::string text = Cat({"位置 ", Num(point)});
  if (!timeline.Reaches(point)) text += "（再生できない位置）";
  if (point > 0) {
    const TTimelineEdit e = timeline.Edit(point - 1);  // the record that led here
    text += Cat({"\n", KindName(e.Kind), " · ", Num(int64_t{e.Pos.Y} + 1), "行目"});
  }
  if (marker) text += Cat({"\nマーカー: ", *marker});
  return text;
}

// ---- the diff pane -------------------------------------------------------------

TDiffCounts DiffCounts(const TTextDiff& diff) {
  TDiffCounts counts;
  for (const TLineBlock& b : diff.Blocks()) counts.Removed += b.OldCount, counts.Added += b.NewCount;
  return counts;
}

std::string DiffPointsTitle(int64_t from, int64_t to) { return Cat({"位置 ", Num(from), " → 位置 ", Num(to)}); }

std::string DiffHeader(int64_t from, int64_t to, const TTextDiff& diff) {
  if (diff.Equal()) return DiffPointsTitle(from, to) + "　違いなし";
  const TDiffCounts c = DiffCounts(diff);
  return Cat({DiffPointsTitle(from, to), "　削除 ", Num(c.Removed), " 行・追加 ", Num(c.Added), " 行"});
}

std::string DiffHunkTitle(const TDiffRow& row) {
  return Cat({"@@ ", Lines(row.OldLine, row.OldCount), " → ", Lines(row.NewLine, row.NewCount), " @@"});
}

// ---- the provenance tint -------------------------------------------------------

std::string TintTip(const TTimeline& timeline, int32_t record) {
  if (record < 0) return "最初からある文";
  const TTimelineEdit edit = timeline.Edit(record);
  const std::string added = ReplaceAll(cp932::ToUtf8Marked(edit.Added.substr(0, kTintTipBytes)), "\r\n", "↵");
  return Cat({"記録 ", Num(record), "（位置 ", Num(int64_t{record} + 1), " の直前）で入力: ", added,
              "\nCtrl+クリックでその直後へ"});
}

// ---- the check -----------------------------------------------------------------

std::string CheckNotice(const TTimeline& timeline) {
  if (timeline.Complete()) return {};
  std::vector<std::string> parts;
  if (timeline.StopAbove().Record >= 0) parts.push_back(StopText(timeline.StopAbove(), true));
  if (timeline.StopBelow().Record >= 0) parts.push_back(StopText(timeline.StopBelow(), false));
  std::string text = "この履歴には適用できない記録があります。";
  for (size_t i = 0; i < parts.size(); ++i) text += (i ? "。" : "") + parts[i];
  return text + "。タイムラインの灰色の部分には行けません。";
}

}  // namespace kelvane
