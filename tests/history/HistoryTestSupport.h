// Recorded histories for the analysis' tests, made by the editor as a user
// makes them, and the brute-force oracle: the text at every point, stepped
// by the player.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "headless/HeadlessPlayer.h"
#include "history/HistoryAnalysis.h"

namespace kelvane::test {

struct TRecordedHistory {
  std::string Name;
  std::function<void(TVeskEdit&)> Make;  // edits on an empty editor
};

std::vector<TRecordedHistory> RecordedHistories();
inline void PrintTo(const TRecordedHistory& h, std::ostream* os) { *os << h.Name; }

// The text at every point 0 … T, stepped by the player; it is left where it was.
std::vector<std::string> TextsByPlayer(HeadlessPlayer& player);

std::unique_ptr<THistoryAnalysis> Analyse(const TVeskEdit& editor);

// The lines of a text, split at CR LF.
std::vector<std::string> SplitCrLf(const std::string& text);

// Whether Text holds Needle at a character start, found by walking each line
// character by character from its start.
bool ContainsByWalking(const std::string& text, const std::string& needle);

}  // namespace kelvane::test
