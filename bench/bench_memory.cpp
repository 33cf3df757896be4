// kelvane_mem_bench: the heap a loaded history holds, and the most it held while
// loading, against the budget of 8 bytes per text byte and 64 per record.
// Every allocation of the process goes through the counting operator new
// below, sized as the allocator really hands it out (malloc_usable_size), so
// each block's rounding counts; its header does not. Times are not the point
// here: each case runs once.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "bench/BenchCases.h"
#include "platform/FileSystem.h"

namespace {

std::atomic<int64_t> gLive{0};
std::atomic<int64_t> gPeak{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const int64_t live = gLive += static_cast<int64_t>(malloc_usable_size(p));
  int64_t peak = gPeak.load();
  while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
  }
  return p;
}

void Free(void* p) noexcept {
  if (p == nullptr) return;
  gLive -= static_cast<int64_t>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }

namespace kelvane {
namespace {

// What one player holds once Path is loaded, and the most the process held
// over its start while loading. The budget is the text's bytes (CR LF
// included) times 8 plus 64 per record.
void LoadMemoryCase(benchmark::State& state, const std::string& path, bool roundTrip) {
  if (!FileExists(path)) {
    state.SkipWithError(("no such history, skipped: " + path).c_str());
    return;
  }
  for (auto _ : state) {
    const int64_t before = gLive.load();
    gPeak = before;
    auto player = std::make_unique<HeadlessPlayer>();
    if (!player->Form.LoadUndoFile(path)) {
      state.SkipWithError(("cannot load " + path).c_str());
      return;
    }
    const int64_t loadPeak = gPeak.load() - before;
    if (roundTrip) {  // every line the history touches has been read since
      if (!Guarded(state, [&] {
            player->Form.textUndoFirstExecute();
            player->Form.textUndoLastExecute();
          }))
        return;
    }
    const int64_t live = gLive.load() - before;
    const TVeskEdit& editor = player->Editor();
    const double textBytes = static_cast<double>(editor.GetText().size());
    const double records = static_cast<double>(editor.Undo->FUndoList.Count() + editor.Undo->FRedoList.Count());
    const double budget = 8 * textBytes + 64 * records;
    state.counters["text_MB"] = textBytes / 1e6;
    state.counters["records"] = records;
    state.counters["lines"] = editor.Items.Count();
    state.counters["held_MB"] = static_cast<double>(live) / 1e6;
    state.counters["held/budget"] = static_cast<double>(live) / budget;
    state.counters["per_line"] = static_cast<double>(live) / editor.Items.Count();
    if (!roundTrip) state.counters["peak/budget"] = static_cast<double>(loadPeak) / budget;
  }
}

// A text of Lines lines of one character each, as in a list of short entries.
std::string ShortLinesFile(TBenchLibrary& library, int32_t lines) {
  std::string text = "[TEXT]\r\nTEXT=";
  for (int32_t i = 0; i < lines; ++i) text.append(i + 1 < lines ? "a\x01\x01" : "a");
  text.append("\r\n[UNDO]\r\nudMODE=0\r\nudCARET_X=0\r\nudCARET_Y=0\r\nudCOUNT=1\r\nudTEXT=\r\n[REDO]\r\n");
  const std::string path = library.ScratchPath("short-lines.eud");
  if (!WriteFileAtomically(path, text)) return {};
  return path;
}

void Register(TBenchLibrary& library) {
  using benchmark::RegisterBenchmark;
  using benchmark::State;
  const std::string generated = library.History(TBenchHistoryShape{}).Path;
  const std::string shortLines = ShortLinesFile(library, 1'000'000);
  struct Case {
    std::string Name, Path;
  };
  std::vector<Case> cases{{"Generated", generated}, {"ShortLines", shortLines}};
  for (const char* name : {"options", "eval", "usr_01", "change"})
    cases.push_back({std::string("Real/") + name, std::string(KELVANE_SHARED_DATA) + "/" + name + ".eud"});
  for (const Case& c : cases) {
    const std::string path = c.Path;
    RegisterBenchmark(("Memory/" + c.Name + "/Load").c_str(), [path](State& s) { LoadMemoryCase(s, path, false); })
        ->Iterations(1);
    RegisterBenchmark(("Memory/" + c.Name + "/RoundTrip").c_str(), [path](State& s) { LoadMemoryCase(s, path, true); })
        ->Iterations(1);
  }
}

}  // namespace
}  // namespace kelvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kelvane::TBenchLibrary library;
  kelvane::Register(library);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::ClearRegisteredBenchmarks();
  benchmark::Shutdown();
  return 0;
}
