// Benchmarks on the generated history (20,000 lines, 40,960 undo and 4,096
// redo records): generating, loading, parsing, jumping, single steps, writing.
#include <benchmark/benchmark.h>

#include "bench/BenchCases.h"
#include "player/UndoFile.h"

namespace kelvane {

namespace {

void ParseCase(benchmark::State& state, const TBenchFile& file) {
  std::unique_ptr<HeadlessPlayer> player;
  for (auto _ : state) {
    state.PauseTiming();
    player.reset();
    player = std::make_unique<HeadlessPlayer>();
    state.ResumeTiming();
    ReadUndoFileInto(player->Editor(), file.Bytes);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.Bytes.size()));
}

// Undo then redo at the loaded point, as the toolbar buttons do it.
void UndoRedoCase(benchmark::State& state, const TBenchFile& file) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, file.Path);
  if (!player) return;
  TFormKelvane& form = player->Form;
  for (auto _ : state) {
    if (!Guarded(state, [&] {
          form.textUndoExecute();
          form.textRedoExecute();
        }))
      break;
  }
  ReportSteps(state, 2);
}

void BuildFileCase(benchmark::State& state, const TBenchFile& file) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, file.Path);
  if (!player) return;
  for (auto _ : state) benchmark::DoNotOptimize(BuildUndoFile(player->Editor()));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.Bytes.size()));
}

void WriteFileCase(benchmark::State& state, const TBenchFile& file, const std::string& target) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, file.Path);
  if (!player) return;
  for (auto _ : state) {
    if (!player->Form.WriteUndoFile(target)) {
      state.SkipWithError(("cannot write " + target).c_str());
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.Bytes.size()));
}

void GenerateCase(benchmark::State& state, const TBenchHistoryShape& shape) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildBenchHistoryFile(shape));
  state.counters["records"] = shape.UndoRecords + shape.RedoRecords;
}

}  // namespace

void RegisterHistoryBenchmarks(TBenchLibrary& library) {
  const TBenchHistoryShape shape;
  // The history is built when the first of these runs, not at registration.
  auto file = [&library, shape]() -> const TBenchFile& { return library.History(shape); };
  const std::string written = library.ScratchPath("written.eud");
  using benchmark::RegisterBenchmark;
  using benchmark::State;

  InMilliseconds(RegisterBenchmark("Generated/Generate", [shape](State& s) { GenerateCase(s, shape); }));
  InMilliseconds(RegisterBenchmark("Generated/Load", [file](State& s) { LoadCase(s, file().Path); }));
  InMilliseconds(RegisterBenchmark("Generated/Parse", [file](State& s) { ParseCase(s, file()); }));
  InMilliseconds(RegisterBenchmark("Generated/JumpToFirst", [file](State& s) { JumpToFirstCase(s, file().Path); }));
  InMilliseconds(RegisterBenchmark("Generated/JumpToLast", [file](State& s) { JumpToLastCase(s, file().Path); }));
  RegisterBenchmark("Generated/UndoRedoStep", [file](State& s) { UndoRedoCase(s, file()); })
      ->Unit(benchmark::kMicrosecond)
      ->UseRealTime();
  InMilliseconds(RegisterBenchmark("Generated/BuildUndoFile", [file](State& s) { BuildFileCase(s, file()); }));
  InMilliseconds(
      RegisterBenchmark("Generated/WriteUndoFile", [file, written](State& s) { WriteFileCase(s, file(), written); }));
}

}  // namespace kelvane
