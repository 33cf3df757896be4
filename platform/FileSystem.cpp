// Files as the program uses them (POSIX).
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kelvane {

namespace {

mode_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFileAtomically(const std::string& givenPath, std::string_view bytes) {
  namespace fs = std::filesystem;
  // Through a link, the file it points to is replaced, not the link.
  std::error_code ec;
  fs::path resolved = givenPath;
  if (fs::is_symlink(givenPath, ec)) {
    resolved = fs::weakly_canonical(givenPath, ec);
    if (ec) return false;
  }
  const std::string path = resolved.string();
  struct stat target {};
  const bool exists = ::stat(path.c_str(), &target) == 0;
  mode_t mode = DefaultFileMode();
  if (exists) {
    if (!S_ISREG(target.st_mode)) return false;
    // A read-only file stays as it is, even for a user who could replace it.
    if ((target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0) return false;
    mode = target.st_mode & 07777;
  }
  const fs::path folder = fs::path(path).parent_path();
  std::string temp = (folder / ("." + fs::path(path).filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, mode) == 0;
  ok = ok && WriteAll(fd, bytes);
  ok = ::fsync(fd) == 0 && ok;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

std::string ProgramFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string folder = exe.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace kelvane
