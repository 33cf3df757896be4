// Editing costs: typing character by character into texts of growing size
// (the cost per keystroke must not grow with the text), a 1,000-line paste,
// and undoing and redoing both.
#include <benchmark/benchmark.h>

#include "bench/BenchText.h"
#include "headless/HeadlessPlayer.h"
#include "platform/Codepage.h"

namespace kelvane {

namespace {

constexpr int kKeystrokes = 10000;

std::unique_ptr<HeadlessPlayer> PlayerWithLines(int32_t lines) {
  auto player = std::make_unique<HeadlessPlayer>();
  TBenchRandom rnd(static_cast<uint64_t>(lines));
  player->Editor().SetText(TBenchText().Text(rnd, lines));
  return player;
}

// The characters typed: Japanese and ASCII, one keystroke each.
std::vector<std::string> Keystrokes() {
  const std::string text = cp932::FromUtf8("桜の季節になりました。Spring has come. ");
  std::vector<std::string> keys;
  for (size_t i = 0; keys.size() < kKeystrokes; i = (i + 1) % text.size()) {
    const bool lead = cp932::IsLeadByte(static_cast<unsigned char>(text[i]));
    keys.push_back(text.substr(i, lead ? 2 : 1));
    if (lead) ++i;
  }
  return keys;
}

// Types the keys one by one, breaking the line now and then as a writer would.
void TypeKeys(TVeskEdit& e, const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    e.InputText(key);
    if (e.CaretPos.X > 80) e.NewLine();
  }
}

void BM_TypeCharacters(benchmark::State& state) {
  const std::vector<std::string> keys = Keystrokes();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<HeadlessPlayer> player = PlayerWithLines(static_cast<int32_t>(state.range(0)));
    TVeskEdit& e = player->Editor();
    e.SetCaret({0, e.Items.Count() / 2});
    state.ResumeTiming();
    TypeKeys(e, keys);
    state.PauseTiming();
    player.reset();
    state.ResumeTiming();
  }
  state.counters["per_key"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kKeystrokes,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_UndoRedoTyping(benchmark::State& state) {
  std::unique_ptr<HeadlessPlayer> player = PlayerWithLines(20000);
  TVeskEdit& e = player->Editor();
  e.SetCaret({0, 10000});
  TypeKeys(e, Keystrokes());
  const int32_t records = e.Undo->FUndoList.Count();
  for (auto _ : state) {
    while (e.CanUndo()) e.UndoStep();
    while (e.CanRedo()) e.RedoStep();
  }
  state.counters["per_step"] = benchmark::Counter(static_cast<double>(state.iterations()) * records * 2,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PasteThousandLines(benchmark::State& state) {
  TBenchRandom rnd(1000);
  const std::string block = TBenchText().Text(rnd, 1000) + "\r\n";
  std::unique_ptr<HeadlessPlayer> player = PlayerWithLines(20000);
  TVeskEdit& e = player->Editor();
  for (auto _ : state) {
    e.SetCaret({3, 10000});
    e.InputText(block);
    state.PauseTiming();
    e.UndoStep();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(block.size()));
}

void BM_UndoRedoPaste(benchmark::State& state) {
  TBenchRandom rnd(1000);
  const std::string block = TBenchText().Text(rnd, 1000) + "\r\n";
  std::unique_ptr<HeadlessPlayer> player = PlayerWithLines(20000);
  TVeskEdit& e = player->Editor();
  e.SetCaret({3, 10000});
  e.InputText(block);
  for (auto _ : state) {
    e.UndoStep();
    e.RedoStep();
  }
}

}  // namespace

BENCHMARK(BM_TypeCharacters)->Arg(2000)->Arg(20000)->Arg(80000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoRedoTyping)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteThousandLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedoPaste)->Unit(benchmark::kMicrosecond);

}  // namespace kelvane
