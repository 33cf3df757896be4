// gen_history: writes the benchmark history as an undo file.
//
//   gen_history OUT.eud [--lines N] [--undo N] [--redo N] [--seed S]
//
// Defaults: 20,000 lines, 40,960 undo and 4,096 redo records, seed 20090516;
// the same arguments always give the same bytes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bench/BenchHistory.h"
#include "platform/FileSystem.h"

namespace {

int Usage() {
  std::fputs("usage: gen_history OUT.eud [--lines N] [--undo N] [--redo N] [--seed S]\n", stderr);
  return 2;
}

bool ParseCount(const char* s, int64_t max, int64_t& out) {
  char* end = nullptr;
  const long long v = std::strtoll(s, &end, 10);
  if (end == s || *end != '\0' || v < 0 || v > max) return false;
  out = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kelvane;
  if (argc < 2) return Usage();
  const std::string out = argv[1];
  TBenchHistoryShape shape;
  for (int i = 2; i < argc; i += 2) {
    const std::string_view key = argv[i];
    int64_t v = 0;
    if (i + 1 >= argc || !ParseCount(argv[i + 1], key == "--seed" ? INT64_MAX : 10'000'000, v)) return Usage();
    if (key == "--lines" && v > 0) {
      shape.Lines = static_cast<int32_t>(v);
    } else if (key == "--undo") {  // past the undo limit too: such a file loads whole
      shape.UndoRecords = static_cast<int32_t>(v);
    } else if (key == "--redo") {
      shape.RedoRecords = static_cast<int32_t>(v);
    } else if (key == "--seed") {
      shape.Seed = static_cast<uint64_t>(v);
    } else {
      return Usage();
    }
  }

  const auto start = std::chrono::steady_clock::now();
  TBenchHistoryStats stats;
  const std::string bytes = BuildBenchHistoryFile(shape, &stats);
  const auto built = std::chrono::steady_clock::now();
  if (!WriteFileAtomically(out, bytes)) {
    std::fprintf(stderr, "gen_history: cannot write %s\n", out.c_str());
    return 1;
  }
  const double ms = std::chrono::duration<double, std::milli>(built - start).count();
  const int32_t made = stats.Modes[0] + stats.Modes[1] + stats.Modes[2] + stats.Modes[3];
  std::printf("%s: %zu bytes, %d lines, %d undo + %d redo records, built in %.0f ms\n", out.c_str(), bytes.size(),
              stats.LinesAtEnd, shape.UndoRecords, shape.RedoRecords, ms);
  std::printf("records made: insert %d, delete %d, enter %d, change %d (of %d); longest line %d bytes\n",
              stats.Modes[0], stats.Modes[1], stats.Modes[2], stats.Modes[3], made, stats.LongestLine);
  return 0;
}
