// A temporary folder of a test's own, removed with everything in it, and
// whole-file reading and writing for tests.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::test {

// Paths in UTF-8, as the program keeps them, and back: on Windows a narrow
// path given to the library would be read in the ANSI code page.
std::filesystem::path PathOf(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  std::string Path(std::string_view name) const;  // UTF-8
  // Writes Bytes to a new file in the folder; returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // The names in the folder, sorted: what a command left behind.
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path dir_;
};

}  // namespace kelvane::test
