// Scanning throughput: one line at a time on typical Japanese and ASCII lines
// (warm width cache), one line of a megabyte, and every line of the
// 20,000-line benchmark text; plus lines of growing length to show the cost is
// linear.
#include <benchmark/benchmark.h>

#include "bench/BenchText.h"
#include "headless/HeadlessPlayer.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

std::string JapaneseLine() {
  // A typical line of prose: kanji, kana, full-width punctuation, a few ASCII words.
  return cp932::FromUtf8("　春の朝、駅までの道で桜の花びらが舞っていた。Version 2.0 の説明書を読む。");
}

std::string AsciiLine() { return "    if (count > limit) { return Status::kTooMany; }  // see the notes above"; }

std::string Repeated(const std::string& piece, size_t bytes) {
  std::string s;
  while (s.size() + piece.size() <= bytes) s += piece;
  return s;
}

void ScanLine(benchmark::State& state, const std::string& text) {
  HeadlessPlayer player;
  TVeskItem item(&player.Editor(), text);
  item.Scan();  // warms the width cache
  for (auto _ : state) {
    item.Scan();
    benchmark::DoNotOptimize(item.Widths().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_ScanJapaneseLine(benchmark::State& state) { ScanLine(state, JapaneseLine()); }
void BM_ScanAsciiLine(benchmark::State& state) { ScanLine(state, AsciiLine()); }
void BM_ScanMegabyteLine(benchmark::State& state) { ScanLine(state, Repeated(JapaneseLine() + AsciiLine(), 1 << 20)); }
void BM_ScanLength(benchmark::State& state) {
  ScanLine(state, Repeated(cp932::FromUtf8("桜の花 web "), static_cast<size_t>(state.range(0))));
}

void BM_ScanAllBenchText(benchmark::State& state) {
  HeadlessPlayer player;
  TBenchRandom rnd(20000);
  player.Editor().SetText(TBenchText().Text(rnd, 20000));
  int64_t bytes = 0;
  for (int32_t i = 0; i < player.Editor().Items.Count(); ++i) bytes += player.Editor().Items[i].TextLength();
  for (auto _ : state) player.Editor().Items.ScanAll();
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["lines"] = player.Editor().Items.Count();
}

}  // namespace

BENCHMARK(BM_ScanJapaneseLine);
BENCHMARK(BM_ScanAsciiLine);
BENCHMARK(BM_ScanMegabyteLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanLength)->RangeMultiplier(8)->Range(64, 1 << 21)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScanAllBenchText)->Unit(benchmark::kMillisecond);

}  // namespace kelvane
