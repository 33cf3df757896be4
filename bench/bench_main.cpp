// kelvane_bench: every benchmark group, on histories built once per process.
#include <benchmark/benchmark.h>

#include "bench/BenchCases.h"

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kelvane::TBenchLibrary library;
  kelvane::RegisterHistoryBenchmarks(library);
  kelvane::RegisterRealBenchmarks();
  kelvane::RegisterScalingBenchmarks(library);
  kelvane::RegisterAnalysisBenchmarks(library);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::ClearRegisteredBenchmarks();  // they refer to the library
  benchmark::Shutdown();
  return 0;
}
