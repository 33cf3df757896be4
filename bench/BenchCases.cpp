// Loading and full-jump cases, shared by the generated and the real histories.
#include "bench/BenchCases.h"

#include "platform/FileSystem.h"

namespace kelvane {

std::unique_ptr<HeadlessPlayer> LoadedPlayer(benchmark::State& state, const std::string& path) {
  if (!FileExists(path)) {
    state.SkipWithError(("no such history, skipped: " + path).c_str());
    return nullptr;
  }
  auto player = std::make_unique<HeadlessPlayer>();
  if (!player->Form.LoadUndoFile(path)) {
    state.SkipWithError(("cannot load " + path).c_str());
    return nullptr;
  }
  return player;
}

void ReportSteps(benchmark::State& state, int64_t steps) {
  state.SetItemsProcessed(state.iterations() * steps);
  state.counters["steps"] = static_cast<double>(steps);
  state.counters["per_step"] = benchmark::Counter(static_cast<double>(steps),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

void LoadCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  const int32_t records = player->Form.FUndoPos + player->Editor().Undo->FRedoList.Count();
  for (auto _ : state) {
    state.PauseTiming();
    player.reset();
    player = std::make_unique<HeadlessPlayer>();
    state.ResumeTiming();
    if (!player->Form.LoadUndoFile(path)) {
      state.SkipWithError(("cannot load " + path).c_str());
      break;
    }
  }
  state.counters["records"] = records;
  state.counters["lines"] = player->Editor().Items.Count();
}  // the last player is freed after the timed loop

void JumpToFirstCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  TFormKelvane& form = player->Form;
  const int32_t loaded = form.FUndoPos;
  for (auto _ : state) {
    if (!Guarded(state, [&] { form.textUndoFirstExecute(); })) break;
    state.PauseTiming();
    const bool ok = Guarded(state, [&] { form.StepHistory(loaded, false); });
    state.ResumeTiming();
    if (!ok) break;
  }
  ReportSteps(state, loaded);
}

void JumpToLastCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  TFormKelvane& form = player->Form;
  const int32_t total = form.FUndoPos + form.Editor->Undo->FRedoList.Count();
  if (!Guarded(state, [&] { form.textUndoFirstExecute(); })) return;
  for (auto _ : state) {
    if (!Guarded(state, [&] { form.textUndoLastExecute(); })) break;
    state.PauseTiming();
    const bool ok = Guarded(state, [&] { form.textUndoFirstExecute(); });
    state.ResumeTiming();
    if (!ok) break;
  }
  ReportSteps(state, total);
}

void RoundTripCase(benchmark::State& state, const std::string& path) {
  std::unique_ptr<HeadlessPlayer> player = LoadedPlayer(state, path);
  if (!player) return;
  TFormKelvane& form = player->Form;
  const int32_t loaded = form.FUndoPos;
  const int32_t total = loaded + form.Editor->Undo->FRedoList.Count();
  for (auto _ : state) {
    if (!Guarded(state, [&] {
          form.textUndoFirstExecute();
          form.textUndoLastExecute();
        }))
      break;
    state.PauseTiming();
    const bool ok = Guarded(state, [&] { form.StepHistory(loaded - total, false); });
    state.ResumeTiming();
    if (!ok) break;
  }
  ReportSteps(state, int64_t{loaded} + total);
}

}  // namespace kelvane
