// Saving that never loses the old file, on every system: names and folders
// that must or must not work, what a killed save leaves, and (on POSIX)
// links, permissions, owners, a full disk and a read-only mount.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "tests/support/TempFolder.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kelvane::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string Saved(const std::string& path, std::string_view bytes, bool expectOk = true) {
  std::string reason;
  EXPECT_EQ(WriteFileAtomically(path, bytes, &reason), expectOk) << path << ": " << reason;
  return reason;
}

std::string Read(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
  return bytes;
}

TEST(FileSystem, WritesReplacesAndLeavesNothingElse) {
  const TTempFolder temp;
  const std::string path = temp.Path("memo.eud");
  Saved(path, "first");
  Saved(path, std::string("second\r\n\0third", 14));
  EXPECT_EQ(Read(path), std::string("second\r\n\0third", 14));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(temp.Names(), Names{"memo.eud"});
  std::string head;
  ASSERT_TRUE(ReadFileStart(path, 6, head));
  EXPECT_EQ(head, "second");
  ASSERT_TRUE(ReadFileStart(path, 1000, head));
  EXPECT_EQ(head.size(), 14u);
}

// Japanese names go to the system whole (on Windows as UTF-16, never through
// the ANSI code page), and so do names as long as a folder entry can be.
TEST(FileSystem, JapaneseAndLongestNames) {
  const TTempFolder temp;
  Names expected;
  for (const std::string& name : {std::string("春の日記.eud"), std::string(248 - 4, 'a') + ".eud",
                                  std::string(255 - 4, 'b') + ".eud"}) {
    SCOPED_TRACE(name.size());
    const std::string path = temp.Path(name);
    Saved(path, "old");
    Saved(path, "new");
    EXPECT_EQ(Read(path), "new");
    EXPECT_TRUE(FileExists(path));
    expected.push_back(name);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(temp.Names(), expected);
}

TEST(FileSystem, PlacesThatCannotBeWrittenSayWhy) {
  const TTempFolder temp;
  fs::create_directory(PathOf(temp.Path("folder.eud")));
  for (const std::string& path : {temp.Path("folder.eud"), temp.Path("missing/out.eud")}) {
    const std::string reason = Saved(path, "x", false);
    EXPECT_NE(reason, "") << path;
    EXPECT_FALSE(FileExists(path)) << path;
  }
  std::string bytes;
  EXPECT_FALSE(ReadWholeFile(temp.Path("folder.eud"), bytes));
  EXPECT_FALSE(ReadWholeFile(temp.Path("missing.eud"), bytes));
  EXPECT_EQ(temp.Names(), Names{"folder.eud"});
}

// Even a user who could replace it leaves a read-only file alone.
TEST(FileSystem, ReadOnlyFileStaysAsItWas) {
  const TTempFolder temp;
  const std::string path = temp.Write("locked.eud", "old");
  fs::permissions(PathOf(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const std::string reason = Saved(path, "new", false);
  EXPECT_NE(reason.find("locked.eud"), std::string::npos) << reason;
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(temp.Names(), Names{"locked.eud"});
  fs::permissions(PathOf(path), fs::perms::owner_write, fs::perm_options::add);
}

// A copy left by a killed save is removed by the next save in its folder;
// other files that only look alike stay.
TEST(FileSystem, NextSaveRemovesWhatAKilledSaveLeft) {
  const TTempFolder temp;
  const std::string stale = temp.Write(std::string(kSaveTempPrefix) + "k1ll3d00", "half a file");
  fs::last_write_time(PathOf(stale), fs::file_time_type::clock::now() - std::chrono::hours(2));
  fs::create_directory(PathOf(temp.Path(std::string(kSaveTempPrefix) + "folder")));
  Saved(temp.Path("memo.eud"), "text");
  EXPECT_EQ(temp.Names(), (Names{std::string(kSaveTempPrefix) + "folder", "memo.eud"}));
}

TEST(FileSystem, ProgramFolderEndsWithItsSeparator) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
#ifdef _WIN32
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_TRUE(FileExists(folder + "platform_tests.exe")) << folder;
#else
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(FileExists(folder + "platform_tests")) << folder;
#endif
}

#ifndef _WIN32

struct stat StatOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

// A link, dangling or not, stays a link, and the file it names gets the bytes.
TEST(FileSystemPosix, SymbolicLinksAreFollowed) {
  const TTempFolder temp;
  fs::create_directory(PathOf(temp.Path("real")));
  const std::string live = temp.Path("live.eud");
  const std::string dangling = temp.Path("dangling.eud");
  temp.Write("real/live.eud", "old");
  fs::create_symlink("real/live.eud", PathOf(live));
  fs::create_symlink("real/later.eud", PathOf(dangling));
  Saved(live, "new");
  Saved(dangling, "born");
  EXPECT_TRUE(fs::is_symlink(PathOf(live)));
  EXPECT_TRUE(fs::is_symlink(PathOf(dangling)));
  EXPECT_EQ(Read(temp.Path("real/live.eud")), "new");
  EXPECT_EQ(Read(temp.Path("real/later.eud")), "born");
  fs::create_symlink("loop.eud", PathOf(temp.Path("loop.eud")));
  EXPECT_NE(Saved(temp.Path("loop.eud"), "x", false), "");
}

// Another name of the same file keeps seeing it: the file is written in place.
TEST(FileSystemPosix, HardLinksStayShared) {
  const TTempFolder temp;
  const std::string a = temp.Write("a.eud", "old");
  const std::string b = temp.Path("b.eud");
  fs::create_hard_link(PathOf(a), PathOf(b));
  Saved(a, "new and longer");
  Saved(a, "short");
  EXPECT_EQ(Read(b), "short");
  EXPECT_EQ(StatOf(a).st_ino, StatOf(b).st_ino);
  EXPECT_EQ(StatOf(a).st_nlink, 2u);
  EXPECT_EQ(temp.Names(), (Names{"a.eud", "b.eud"}));
}

TEST(FileSystemPosix, PermissionsOwnerAndGroupAreKept) {
  const TTempFolder temp;
  const std::string path = temp.Write("memo.eud", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  Saved(path, "new");
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
  ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
  Saved(path, "newer");
  EXPECT_EQ(StatOf(path).st_uid, 4321u);
  EXPECT_EQ(StatOf(path).st_gid, 8765u);
  EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
}

// A copy some live save is working on (it holds its lock) is not touched.
TEST(FileSystemPosix, ALiveSavesCopyStays) {
  const TTempFolder temp;
  const std::string busy = temp.Write(std::string(kSaveTempPrefix) + "busy0000", "being written");
  const int fd = ::open(busy.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  Saved(temp.Path("memo.eud"), "text");
  ::close(fd);
  EXPECT_EQ(temp.Names(), (Names{std::string(kSaveTempPrefix) + "busy0000", "memo.eud"}));
}

// A small tmpfs of the test's own; root only.
class TSmallMount {
 public:
  explicit TSmallMount(const std::string& dir, const char* options) : dir_(dir) {
    mounted_ = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
  }
  ~TSmallMount() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  TSmallMount(const TSmallMount&) = delete;
  TSmallMount& operator=(const TSmallMount&) = delete;
  bool Mounted() const { return mounted_; }
  bool MakeReadOnly() {
    return ::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

 private:
  std::string dir_;
  bool mounted_ = false;
};

TEST(FileSystemPosix, AFullDiskKeepsTheOldFile) {
  const TTempFolder temp;
  const std::string dir = temp.Path("small");
  fs::create_directory(PathOf(dir));
  const TSmallMount mount(dir, "size=64k");
  if (!mount.Mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
  const std::string path = dir + "/memo.eud";
  Saved(path, "old");
  const std::string reason = Saved(path, std::string(1 << 20, 'x'), false);
  EXPECT_NE(reason.find(std::strerror(ENOSPC)), std::string::npos) << reason;
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(fs::directory_entry(PathOf(path)).file_size(), 3u);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(PathOf(dir))) ++entries;
  EXPECT_EQ(entries, 1u);  // no copy left behind
}

TEST(FileSystemPosix, AReadOnlyFolderKeepsTheOldFile) {
  const TTempFolder temp;
  const std::string dir = temp.Path("frozen");
  fs::create_directory(PathOf(dir));
  TSmallMount mount(dir, "size=64k");
  const std::string path = dir + "/memo.eud";
  if (mount.Mounted()) {
    Saved(path, "old");
    ASSERT_TRUE(mount.MakeReadOnly());
  } else if (::geteuid() != 0) {
    Saved(path, "old");
    ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
  } else {
    GTEST_SKIP() << "root writes in any folder, and no read-only mount can be made here";
  }
  EXPECT_NE(Saved(path, "new", false), "");
  EXPECT_EQ(Read(path), "old");
  ::chmod(dir.c_str(), 0755);
}

// Killed at any moment, a save leaves the old file or the new one, whole,
// and nothing the next save does not clean up.
TEST(FileSystemPosix, KilledMidSaveTheFileIsWholeAndNothingStays) {
  const TTempFolder temp;
  const std::string path = temp.Path("big.eud");
  const std::string oldBytes(8 << 20, 'o');
  const std::string newBytes(12 << 20, 'n');
  Saved(path, oldBytes);
  for (int delayUs : {0, 500, 2000, 8000, 20000, 60000}) {
    SCOPED_TRACE(delayUs);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      WriteFileAtomically(path, newBytes);
      ::_exit(0);
    }
    ::usleep(static_cast<useconds_t>(delayUs));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = Read(path);
    EXPECT_TRUE(now == oldBytes || now == newBytes) << now.size() << " bytes";
    Saved(path, oldBytes);
    EXPECT_EQ(temp.Names(), Names{"big.eud"});
  }
}

#endif

}  // namespace
}  // namespace kelvane::test
