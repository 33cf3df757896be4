// The benchmarks' generated histories and their temporary folder.
#include "bench/BenchLibrary.h"

#include <stdlib.h>

#include <stdexcept>

#include "platform/FileSystem.h"

namespace kelvane {

TBenchLibrary::TBenchLibrary() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a folder for " + pattern);
  folder_ = pattern;
}

TBenchLibrary::~TBenchLibrary() {
  std::error_code ec;
  std::filesystem::remove_all(folder_, ec);
}

const TBenchFile& TBenchLibrary::History(const TBenchHistoryShape& shape) {
  auto found = files_.find(shape);
  if (found != files_.end()) return found->second;
  TBenchFile file;
  file.Bytes = BuildBenchHistoryFile(shape, &file.Stats);
  file.Path = ScratchPath("history-" + std::to_string(files_.size()) + ".eud");
  if (!WriteFileAtomically(file.Path, file.Bytes)) throw std::runtime_error("cannot write " + file.Path);
  return files_.emplace(shape, std::move(file)).first->second;
}

std::string TBenchLibrary::ScratchPath(std::string_view name) const { return (folder_ / name).string(); }

}  // namespace kelvane
