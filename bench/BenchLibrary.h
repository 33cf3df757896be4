// TBenchLibrary: the generated histories the benchmarks run on, each built on
// first use and kept for the process as undo-file bytes and as a file in a
// private temporary folder that goes away with the library.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "bench/BenchHistory.h"

namespace kelvane {

struct TBenchFile {
  std::string Bytes;
  std::string Path;
  TBenchHistoryStats Stats;
};

class TBenchLibrary {
 public:
  TBenchLibrary();
  ~TBenchLibrary();
  TBenchLibrary(const TBenchLibrary&) = delete;
  TBenchLibrary& operator=(const TBenchLibrary&) = delete;

  const TBenchFile& History(const TBenchHistoryShape& shape);
  // A path in the temporary folder, for benchmarks that write files.
  std::string ScratchPath(std::string_view name) const;

 private:
  std::filesystem::path folder_;
  std::map<TBenchHistoryShape, TBenchFile> files_;
};

}  // namespace kelvane
