// The history's analysis on the generated history and on eval.eud: the
// timeline (to compare with a full jump), a diff of two random points, a
// search for a short text over every point, the provenance at the last
// point, and the memory the timeline and the provenance hold.
#include <benchmark/benchmark.h>

#include <random>

#include "bench/BenchCases.h"
#include "history/HistoryAnalysis.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

std::unique_ptr<THistoryAnalysis> Analysis(const HeadlessPlayer& player) {
  return std::make_unique<THistoryAnalysis>(*player.Form.Editor, [] { return std::make_unique<HeadlessEditHost>(); });
}

void TimelineCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  std::unique_ptr<THistoryAnalysis> analysis;
  for (auto _ : state) {
    state.PauseTiming();
    analysis.reset();
    analysis = Analysis(*player);
    state.ResumeTiming();
    benchmark::DoNotOptimize(&analysis->Timeline());
  }
  const TTimeline& t = analysis->Timeline();
  const double records = static_cast<double>(t.Records());
  state.counters["records"] = records;
  state.counters["index_bytes_per_record"] = static_cast<double>(t.IndexBytes()) / records;
  state.counters["text_bytes_per_record"] = static_cast<double>(t.TextBytes()) / records;
}

void DiffCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  std::unique_ptr<THistoryAnalysis> analysis = Analysis(*player);
  const int64_t total = analysis->Timeline().Records();
  std::mt19937 random(7);
  std::uniform_int_distribution<int64_t> point(0, total);
  int64_t blocks = 0;
  for (auto _ : state) {
    const int64_t a = point(random), b = point(random);
    blocks += static_cast<int64_t>(analysis->Diff(a, b)->Blocks().size());
  }
  state.counters["blocks"] = benchmark::Counter(static_cast<double>(blocks), benchmark::Counter::kAvgIterations);
}

// Next to the far ends, where most of the text differs and every walk is a
// full one (the pairs alternate, so the two texts kept never serve).
void DiffEndsCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  std::unique_ptr<THistoryAnalysis> analysis = Analysis(*player);
  const int64_t total = analysis->Timeline().Records();
  int64_t inset = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(analysis->Diff(inset, total - inset));
    inset = 1 - inset;
  }
}

void FindCase(benchmark::State& state, const std::string& path, std::string_view needleUtf8) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  std::unique_ptr<THistoryAnalysis> analysis = Analysis(*player);
  analysis->Timeline();
  const std::string needle = cp932::FromUtf8(needleUtf8);
  size_t ranges = 0;
  for (auto _ : state) ranges = analysis->Find(needle).size();
  state.counters["ranges"] = static_cast<double>(ranges);
}

void BlameLastCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  std::unique_ptr<THistoryAnalysis> analysis = Analysis(*player);
  const int64_t last = analysis->Timeline().Records();
  size_t memory = 0;
  for (auto _ : state) {
    analysis->Blame(0);  // back to the start, so that every record is played
    memory = analysis->Blame(last).MemoryBytes();
  }
  state.counters["memory_bytes"] = static_cast<double>(memory);
}

void Register(const std::string& prefix, const std::function<std::string()>& path) {
  using benchmark::RegisterBenchmark;
  using benchmark::State;
  InMilliseconds(RegisterBenchmark((prefix + "Timeline").c_str(), [path](State& s) { TimelineCase(s, path()); }));
  InMilliseconds(RegisterBenchmark((prefix + "DiffRandomPoints").c_str(), [path](State& s) { DiffCase(s, path()); }));
  InMilliseconds(RegisterBenchmark((prefix + "DiffFirstAndLast").c_str(), [path](State& s) { DiffEndsCase(s, path()); }));
  InMilliseconds(RegisterBenchmark((prefix + "FindShortText").c_str(), [path](State& s) { FindCase(s, path(), "して"); }));
  InMilliseconds(RegisterBenchmark((prefix + "BlameLast").c_str(), [path](State& s) { BlameLastCase(s, path()); }));
}

}  // namespace

void RegisterAnalysisBenchmarks(TBenchLibrary& library) {
  const TBenchHistoryShape shape;
  Register("Analysis/Generated/", [&library, shape] { return library.History(shape).Path; });
  Register("Analysis/eval/", [] { return std::string(KELVANE_SHARED_DATA) + "/eval.eud"; });
}

}  // namespace kelvane
