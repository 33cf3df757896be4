// The benchmark cases shared by the generated and the real histories, and the
// registration of each group (the histories come from main's TBenchLibrary).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "bench/BenchLibrary.h"
#include "headless/HeadlessPlayer.h"

namespace kelvane {

// Runs Step; an exception skips the benchmark with its message. False then.
template <typename F>
bool Guarded(benchmark::State& state, F&& step) {
  try {
    step();
    return true;
  } catch (const std::exception& e) {
    state.SkipWithError((std::string("a history step failed: ") + e.what()).c_str());
    return false;
  }
}

// A fresh player with Path loaded; null, with the benchmark skipped, when that fails.
std::unique_ptr<HeadlessPlayer> LoadedPlayer(benchmark::State& state, const std::string& path);

// The slow cases are timed in milliseconds of wall time (writing waits for the disk).
inline benchmark::internal::Benchmark* InMilliseconds(benchmark::internal::Benchmark* b) {
  return b->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Reports Steps history steps per iteration: steps per second and time per step.
void ReportSteps(benchmark::State& state, int64_t steps);

// TFormKelvane::LoadUndoFile into a fresh player (the player is made untimed).
void LoadCase(benchmark::State& state, const std::string& path);
// One jump from the loaded point to the first state, or from the first to the
// last; the way back is untimed.
void JumpToFirstCase(benchmark::State& state, const std::string& path);
void JumpToLastCase(benchmark::State& state, const std::string& path);
// From the loaded point to the first state and on to the last; the way back
// to the loaded point is untimed.
void RoundTripCase(benchmark::State& state, const std::string& path);

void RegisterHistoryBenchmarks(TBenchLibrary& library);
void RegisterRealBenchmarks();
void RegisterScalingBenchmarks(TBenchLibrary& library);
void RegisterAnalysisBenchmarks(TBenchLibrary& library);

}  // namespace kelvane
