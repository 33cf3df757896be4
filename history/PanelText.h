// The words the explorer's panels show, the same on every port (UTF-8): the
// history list's cells and tool tips and the search as bytes, the timeline's
// tool tip, the diff's header and messages, the provenance tint's legend and
// tool tip, and the notice of a history that cannot be walked to its ends.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/DiffRows.h"
#include "history/HistorySearch.h"
#include "history/TextDiff.h"
#include "history/Timeline.h"

namespace kelvane {

class THistoryAnalysis;

// ---- the history list
enum THistoryColumn : int { kHistoryIndex, kHistoryKind, kHistoryPlace, kHistoryText, kHistoryColumnCount };
inline constexpr std::array<const char*, kHistoryColumnCount> kHistoryHeaders = {"番号", "種類", "行:桁", "内容"};
inline constexpr char kHistorySearchHint[] = "履歴を検索（追加・削除された文字列）";
const char* KindCaption(TEditKind kind);
// Record K's cell in Column.
std::string HistoryCell(const TTimeline& timeline, int64_t k, int column);
std::string HistoryTip(const TTimeline& timeline, int64_t k);
// Markers as the panels take them: point and UTF-8 label, ordered by point.
using TPanelMarkers = std::vector<std::pair<int64_t, std::string>>;
// The labels of the markers at the point record K leads to (K+1), joined; "" for none.
std::string MarkerLabels(const TPanelMarkers& markers, int64_t k);
// A text cell or tool tip of a record with its markers' labels in front; as it was without any.
std::string MarkedCell(const std::string& labels, const std::string& cell);
std::string MarkedTip(const std::string& labels, const std::string& tip);
// One line of text: breaks as ↵, tabs as →, cut to Limit characters.
std::string Excerpt(std::string_view bytes, size_t limit);
// The records whose added or removed text contains Needle, ascending.
std::vector<int64_t> MatchingRecords(const TTimeline& timeline, std::string_view needle);
// A search as the user types it (LF or CR LF for a break), as the text's code
// page 932 bytes with CR LF breaks; none when a character of it has no code
// page 932 form, as such a text occurs nowhere.
std::optional<std::string> SearchBytes(const std::string& utf8);
// The point ranges at which the text of such a search stands: none for an
// empty one or one that occurs nowhere.
std::vector<TPointRange> SearchHistory(THistoryAnalysis& analysis, const std::string& utf8);

// ---- the timeline: the point under the mouse, the record that led there, a marker near it
std::string TimelineTip(const TTimeline& timeline, int64_t point, const std::string* marker);

// ---- the diff pane
inline constexpr char kDiffHint[] = "位置 A をマークすると、そこから今の位置までの違いをここに表示します。";
inline constexpr char kDiffUnreachable[] = "比較できません。\nどちらかの位置が、履歴をたどれる範囲の外にあります。";
inline constexpr char kDiffEqual[] = "違いはありません";
inline constexpr char kDiffNoBreak[] = "（末尾に改行なし）";
struct TDiffCounts {
  int32_t Removed = 0;
  int32_t Added = 0;
};
TDiffCounts DiffCounts(const TTextDiff& diff);
std::string DiffPointsTitle(int64_t from, int64_t to);
// The points, then what changed between them.
std::string DiffHeader(int64_t from, int64_t to, const TTextDiff& diff);
std::string DiffHunkTitle(const TDiffRow& row);

// ---- the provenance tint
inline constexpr char kTintOlder[] = "入力時期: 古い";
inline constexpr char kTintNewer[] = "新しい（色なし: 最初からある文）";
inline constexpr char kTintLegendTip[] =
    "文字の背景はそれを入力した記録の古さです。文字の上で止めると記録を、Ctrl+クリックでその直後へ移動します。";
// The record that typed a character, −1 for the text the history starts from.
std::string TintTip(const TTimeline& timeline, int32_t record);

// ---- the check: empty for a history walked to both ends
std::string CheckNotice(const TTimeline& timeline);

}  // namespace kelvane
