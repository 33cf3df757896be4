// Whether a step costs the same however long the history and the text are:
// a round trip (first state, then last) on generated histories of 10,240 …
// 40,960 records and on texts of 5,000 … 80,000 lines. Per step should stay flat.
#include <benchmark/benchmark.h>

#include "bench/BenchCases.h"

namespace kelvane {

void RegisterScalingBenchmarks(TBenchLibrary& library) {
  struct Size {
    int32_t Records;
    int32_t Lines;
  };
  for (const Size size : {Size{10240, 20000}, Size{20480, 20000}, Size{40960, 20000}, Size{40960, 5000},
                          Size{40960, 80000}}) {
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
