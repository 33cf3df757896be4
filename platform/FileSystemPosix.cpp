// Files as the program uses them, on POSIX systems.
#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <random>

namespace kelvane {

namespace {

constexpr int kMaxLinkDepth = 40;

class TFd {
 public:
  explicit TFd(int fd = -1) : fd_(fd) {}
  ~TFd() { Close(); }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // The close's own result: on some file systems a write error shows only here.
  bool Close() {
    if (fd_ < 0) return true;
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool Fail(std::string* reason, const std::string& what, int error) {
  if (reason) *reason = what + ": " + std::strerror(error);
  return false;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// Where Path leads once every symbolic link is followed, a dangling last one
// included: saving through a link always writes the file the link names.
bool FollowLinks(std::string path, std::string& out, std::string* reason) {
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      out = path;
      return true;
    }
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return Fail(reason, path, errno);
    target.resize(static_cast<size_t>(n));
    path = !target.empty() && target[0] == '/' ? target : FolderOf(path) + "/" + target;
  }
  return Fail(reason, path, ELOOP);
}

bool WriteAll(int fd, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string RandomTempName() {
  static std::mt19937_64 random{std::random_device{}() ^ static_cast<uint64_t>(::getpid())};
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string name(kSaveTempPrefix);
  for (int i = 0; i < 8; ++i) name += kDigits[random() % 36];
  return name;
}

// Copies left by a killed save. Each live save holds a lock on its copy, so
// a copy whose lock can be taken belongs to no one.
void RemoveStaleTemps(int dir) {
  TFd scan(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* listing = scan.Valid() ? ::fdopendir(scan.Get()) : nullptr;
  if (!listing) return;
  scan.Release();  // the listing owns it now
  for (struct dirent* e; (e = ::readdir(listing)) != nullptr;) {
    const std::string_view name = e->d_name;
    if (name.substr(0, kSaveTempPrefix.size()) != kSaveTempPrefix) continue;
    TFd fd(::openat(dir, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0) ::unlinkat(dir, e->d_name, 0);
  }
  ::closedir(listing);
}

// The copy being written: unnamed where the system has such files, so that a
// kill leaves nothing behind; otherwise under a temporary name, locked.
struct TTempFile {
  TFd Fd;
  std::string Name;  // empty while unnamed
};

bool CreateTemp(int dir, const std::string& folder, mode_t mode, TTempFile& temp, std::string* reason) {
#ifdef O_TMPFILE
  temp.Fd.Reset(::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
  if (temp.Fd.Valid()) return ::flock(temp.Fd.Get(), LOCK_EX) == 0 || Fail(reason, folder, errno);
#endif
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = RandomTempName();
    const int fd = ::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return Fail(reason, folder, errno);
    temp.Fd.Reset(fd);
    temp.Name = std::move(name);
    return ::flock(fd, LOCK_EX) == 0 || Fail(reason, folder, errno);
  }
  return Fail(reason, folder, EEXIST);
}

// Gives an unnamed copy its temporary name, once it is complete.
bool NameTemp(int dir, const std::string& folder, TTempFile& temp, std::string* reason) {
  if (!temp.Name.empty()) return true;
  const std::string self = "/proc/self/fd/" + std::to_string(temp.Fd.Get());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = RandomTempName();
    if (::linkat(AT_FDCWD, self.c_str(), dir, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp.Name = std::move(name);
      return true;
    }
    if (errno != EEXIST) return Fail(reason, folder, errno);
  }
  return Fail(reason, folder, EEXIST);
}

// Writes over the target itself, so that its other hard links see the text.
bool WriteInPlace(const std::string& path, std::string_view bytes, std::string* reason) {
  TFd fd(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.Valid()) return Fail(reason, path, errno);
  if (!WriteAll(fd.Get(), bytes) || ::ftruncate(fd.Get(), static_cast<off_t>(bytes.size())) != 0 ||
      ::fsync(fd.Get()) != 0)
    return Fail(reason, path, errno);
  return fd.Close() || Fail(reason, path, errno);
}

// What the new file must be like: the old one's permissions and owner, or the
// usual ones for a new file. False (with the reason) when it may not be written.
bool CheckTarget(const std::string& path, struct stat& target, bool& exists, std::string* reason) {
  exists = ::stat(path.c_str(), &target) == 0;
  if (!exists) return errno == ENOENT || Fail(reason, path, errno);
  if (!S_ISREG(target.st_mode)) return Fail(reason, path, S_ISDIR(target.st_mode) ? EISDIR : EINVAL);
  // A read-only file stays as it is, even for a user who could replace it.
  if ((target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return Fail(reason, path, EACCES);
  if (::access(path.c_str(), W_OK) != 0) return Fail(reason, path, errno);
  return true;
}

bool WriteTemp(TTempFile& temp, const struct stat* old, mode_t mode, std::string_view bytes,
               const std::string& folder, std::string* reason) {
  const int fd = temp.Fd.Get();
  // Owner first: changing it may clear the set-id bits that fchmod then restores.
  if (old) (void)!::fchown(fd, old->st_uid, old->st_gid);  // kept where allowed
  if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0) return Fail(reason, folder, errno);
  return true;
}

}  // namespace

bool ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::string out;
  out.reserve(std::min(count, static_cast<size_t>(st.st_size)));
  constexpr size_t kChunk = 1 << 16;
  while (out.size() < count) {
    const size_t at = out.size();
    out.resize(std::min(count, at + kChunk));
    const ssize_t n = ::read(fd.Get(), out.data() + at, out.size() - at);
    if (n < 0 && errno == EINTR) {
      out.resize(at);
      continue;
    }
    if (n < 0) return false;
    out.resize(at + static_cast<size_t>(n));
    if (n == 0) break;
  }
  bytes = std::move(out);
  return true;
}

bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& piece) {
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // A small file needs no large buffer; one byte more sees the end in one read.
  std::string buffer(std::min<size_t>(1 << 16, static_cast<size_t>(st.st_size) + 1), '\0');
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    piece(std::string_view(buffer.data(), static_cast<size_t>(n)));
  }
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileStart(path, static_cast<std::size_t>(-1), bytes);
}

bool WriteFileAtomically(const std::string& givenPath, std::string_view bytes, std::string* reason) {
  std::string path;
  if (!FollowLinks(givenPath, path, reason)) return false;
  struct stat target {};
  bool exists = false;
  if (!CheckTarget(path, target, exists, reason)) return false;
  const std::string folder = FolderOf(path);
  const std::string name = NameOf(path);
  TFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.Valid()) return Fail(reason, folder, errno);
  RemoveStaleTemps(dir.Get());

  const mode_t mode = exists ? target.st_mode & 07777 : DefaultFileMode();
  TTempFile temp;
  if (!CreateTemp(dir.Get(), folder, mode, temp, reason)) return false;
  bool ok = WriteTemp(temp, exists ? &target : nullptr, mode, bytes, folder, reason) &&
            NameTemp(dir.Get(), folder, temp, reason);
  if (ok && exists && target.st_nlink > 1) {
    ok = WriteInPlace(path, bytes, reason);
    // A failed write in place may have torn the shared file: the full copy
    // then takes this name, so at least this name keeps the new text whole.
    if (ok) ok = ::unlinkat(dir.Get(), temp.Name.c_str(), 0) == 0 || Fail(reason, folder, errno);
    else (void)::renameat(dir.Get(), temp.Name.c_str(), dir.Get(), name.c_str());
  } else if (ok) {
    ok = ::renameat(dir.Get(), temp.Name.c_str(), dir.Get(), name.c_str()) == 0 || Fail(reason, path, errno);
    if (!ok) ::unlinkat(dir.Get(), temp.Name.c_str(), 0);
  } else if (!temp.Name.empty()) {
    ::unlinkat(dir.Get(), temp.Name.c_str(), 0);
  }
  if (!temp.Fd.Close() && ok) ok = Fail(reason, folder, errno);
  // The rename is durable only once the folder is.
  if (ok && ::fsync(dir.Get()) != 0) ok = Fail(reason, folder, errno);
  return ok;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

std::string ProgramFolder() {
  std::string exe(PATH_MAX, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size());
  if (n <= 0) return "./";
  exe.resize(static_cast<size_t>(n));
  return exe.substr(0, exe.find_last_of('/') + 1);
}

}  // namespace kelvane
