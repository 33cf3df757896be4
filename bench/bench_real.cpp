// Loading and full jumps on the real histories, when their folder is there
// (KELVANE_SHARED_DATA); each case skips with a message otherwise.
#include <benchmark/benchmark.h>

#include "bench/BenchCases.h"

namespace kelvane {

void RegisterRealBenchmarks() {
  using benchmark::RegisterBenchmark;
  using benchmark::State;
  for (const std::string name : {"options", "eval"}) {
    const std::string path = std::string(KELVANE_SHARED_DATA) + "/" + name + ".eud";
    const std::string prefix = "Real/" + name + "/";
    InMilliseconds(RegisterBenchmark((prefix + "Load").c_str(), [path](State& s) { LoadCase(s, path); }));
    InMilliseconds(RegisterBenchmark((prefix + "JumpToFirst").c_str(), [path](State& s) { JumpToFirstCase(s, path); }));
    InMilliseconds(RegisterBenchmark((prefix + "JumpToLast").c_str(), [path](State& s) { JumpToLastCase(s, path); }));
  }
}

}  // namespace kelvane
