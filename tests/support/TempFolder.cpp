// A temporary folder of a test's own, and whole-file reading and writing.
#include "tests/support/TempFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kelvane::test {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

TTempFolder::TTempFolder() {
  std::string pattern = (fs::temp_directory_path() / "kelvane-cli-test.XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::string TTempFolder::Path(std::string_view name) const { return (dir_ / name).string(); }

std::string TTempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = Path(name);
  WriteBytes(path, bytes);
  return path;
}

std::vector<std::string> TTempFolder::Names() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kelvane::test
