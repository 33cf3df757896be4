// A temporary folder of a test's own, removed with everything in it, and
// whole-file reading and writing for tests.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::test {

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::string Path(std::string_view name) const;
  // Writes Bytes to a new file in the folder; returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // The names in the folder, sorted: what a command left behind.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path dir_;
};

}  // namespace kelvane::test
