// TBenchText: made-up Shift-JIS text for the benchmark history: whole lines as
// a mixed Japanese document holds them, and the short pieces a person types or
// pastes in one go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/BenchRandom.h"

namespace kelvane {

constexpr int32_t kBenchMaxLineBytes = 120;

class TBenchText {
 public:
  TBenchText();  // converts the word lists to code page 932 once

  // One line, no break: empty, prose, prose with ASCII, code, a list item or a
  // heading; at most kBenchMaxLineBytes bytes.
  std::string Line(TBenchRandom& rnd) const;
  // Lines joined by CR LF (no break after the last).
  std::string Text(TBenchRandom& rnd, int32_t lines) const;
  // What one typed insert commits: 1 … 8 characters (a phrase, a word, digits,
  // punctuation, a Tab or a full-width space).
  std::string Typed(TBenchRandom& rnd) const;
  // A pasted block of 2 … 8 lines, with a trailing CR LF when WholeLines.
  std::string Block(TBenchRandom& rnd, bool wholeLines) const;

 private:
  std::string Phrase(TBenchRandom& rnd) const;
  std::string Sentence(TBenchRandom& rnd) const;
  std::string Number(TBenchRandom& rnd) const;
  std::string CodeToken(TBenchRandom& rnd) const;
  std::string FillProse(TBenchRandom& rnd, std::string line, size_t target, bool withAscii) const;

  std::vector<std::string> kanji_, katakana_, particles_, adverbs_, endings_, punct_, bullets_;
  std::vector<std::string> ascii_, symbols_;
  std::string wideSpace_, comma_, open_, close_;
};

// The first Max characters of a code page 932 string.
std::string FirstChars(const std::string& s, int32_t max);

}  // namespace kelvane
