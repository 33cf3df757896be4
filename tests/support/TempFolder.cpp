// A temporary folder of a test's own, and whole-file reading and writing.
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
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

fs::path PathOf(std::string_view utf8) {
  return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8Of(const fs::path& path) {
  const std::u8string u = path.u8string();
  return std::string(reinterpret_cast<const char*>(u.data()), u.size());
}

// A name no one else holds: create_directory fails on one that exists.
TTempFolder::TTempFolder() {
  static std::mt19937_64 random{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path dir = fs::temp_directory_path() / ("kelvane-cli-test." + std::to_string(random() % 1000000000));
    std::error_code ec;
    if (fs::create_directory(dir, ec)) {
      dir_ = dir;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::string TTempFolder::Path(std::string_view name) const { return Utf8Of(dir_ / PathOf(name)); }

std::string TTempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string path = Path(name);
  WriteBytes(PathOf(path), bytes);
  return path;
}

std::vector<std::string> TTempFolder::Names() const {
  std::vector<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir_)) names.push_back(Utf8Of(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kelvane::test
