// Whether a step costs the same however long the history and the text are:
// a round trip (first state, then last) on generated histories of 10,240 …
// 655,360 records (each four times the last) on 20,000 lines, and of 40,960
// records on texts of 2,000 … 200,000 lines. Per step should stay flat.
#include <benchmark/benchmark.h>

#include "bench/BenchCases.h"

namespace kelvane {

void RegisterScalingBenchmarks(TBenchLibrary& library) {
  struct Size {
    int32_t Records;
    int32_t Lines;
  };
  for (const Size size : {Size{10240, 20000}, Size{40960, 20000}, Size{163840, 20000}, Size{655360, 20000},
                          Size{40960, 2000}, Size{40960, 200000}}) {
    TBenchHistoryShape shape;
    shape.UndoRecords = size.Records;
    shape.RedoRecords = size.Records / 10;
    shape.Lines = size.Lines;
    const std::string name =
        "Scaling/RoundTrip/records:" + std::to_string(size.Records) + "/lines:" + std::to_string(size.Lines);
    InMilliseconds(benchmark::RegisterBenchmark(name.c_str(), [&library, shape](benchmark::State& s) {
      RoundTripCase(s, library.History(shape).Path);
    }));
  }
}

}  // namespace kelvane
