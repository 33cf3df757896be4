// Statistics as made: kinds, and characters per script.
#include "history/EditStats.h"

#include "history/CharBounds.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

TScript ScriptOfChar(char16_t u) {
  if (u >= 0x3041 && u <= 0x309F) return TScript::Hiragana;
  if (u >= 0x30A0 && u <= 0x30FF && u != 0x30FB) return TScript::Katakana;
  if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0xF900 && u <= 0xFAFF) ||
      (u >= 0x3005 && u <= 0x3007))
    return TScript::Kanji;
  return TScript::FullWidth;
}

}  // namespace

TScript ScriptOf(std::string_view text, size_t i) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (CharLength(text, i) == 2 && b != '\r') {
    const char16_t u = cp932::DecodeDouble(b, static_cast<unsigned char>(text[i + 1]));
    return u == cp932::kUnmapped ? TScript::Other : ScriptOfChar(u);
  }
  if (b >= 0xA1 && b <= 0xDF) return TScript::HalfWidthKatakana;
  if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) return TScript::AsciiAlnum;
  return TScript::Other;
}

void CountScripts(std::string_view text, TScriptCounts& counts) {
  for (size_t i = 0; i < text.size(); i += CharLength(text, i)) ++counts[static_cast<size_t>(ScriptOf(text, i))];
}

THistoryStats ComputeStats(const TTimeline& timeline) {
  THistoryStats stats;
  stats.Records = timeline.Records();
  for (int64_t k = 0; k < timeline.Records(); ++k) {
    const TTimelineEdit e = timeline.Edit(k);
    ++stats.Kinds[static_cast<size_t>(e.Kind)];
    if (!e.Known) continue;
    std::string_view added = e.Added, removed = e.Removed;
    if (e.Kind == TEditKind::Change) {
      const TCommonEnds common = CommonEnds(removed, added);
      added = added.substr(common.Prefix, added.size() - common.Prefix - common.Suffix);
      removed = removed.substr(common.Prefix, removed.size() - common.Prefix - common.Suffix);
    }
    CountScripts(added, stats.Added);
    CountScripts(removed, stats.Removed);
  }
  return stats;
}

}  // namespace kelvane
