// Files as the program uses them, on Windows. Paths go to the system as
// UTF-16 through the wide calls only: the C++ library would read a narrow
// path in the ANSI code page, where 春.eud is not found.
#include "platform/FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/Codepage.h"

namespace kelvane {

namespace {

// A copy older than this is no live save's: saving one file takes seconds.
constexpr uint64_t kStaleAge100ns = 10ull * 60 * 10'000'000;

class THandle {
 public:
  explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  ~THandle() { Close(); }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  bool Close() {
    if (!Valid()) return true;
    const HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    return ::CloseHandle(h) != 0;
  }

 private:
  HANDLE h_;
};

std::wstring Wide(std::string_view utf8) {
  const std::u16string u = unicode::Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

std::string Narrow(std::wstring_view wide) {
  return unicode::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

// The system's words for an error, in UTF-8, without the closing line break.
std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ' ||
                              message.back() == L'.'))
    message.pop_back();
  return message.empty() ? "error " + std::to_string(error) : Narrow(message);
}

bool Fail(std::string* reason, std::string_view what, DWORD error) {
  if (reason) *reason = std::string(what) + ": " + SystemMessage(error);
  return false;
}

bool StartsWith(std::wstring_view s, std::wstring_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The absolute path with the long-path prefix, so that a name of 255
// characters still works in a deep folder.
std::wstring SystemPath(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty() || StartsWith(wide, L"\\\\?\\")) return wide;
  const DWORD need = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (need == 0) return wide;
  std::wstring full(need, L'\0');
  const DWORD n = ::GetFullPathNameW(wide.c_str(), need, full.data(), nullptr);
  if (n == 0 || n >= need) return wide;
  full.resize(n);
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// The path the handle's file really has: links and junctions followed.
std::wstring FinalPath(HANDLE h, const std::wstring& fallback) {
  std::wstring out(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD n = ::GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), FILE_NAME_NORMALIZED);
    if (n == 0) return fallback;
    if (n < out.size()) {
      out.resize(n);
      return out;
    }
    out.assign(n + 1, L'\0');
  }
  return fallback;
}

std::wstring RandomTempName() {
  static std::atomic<uint32_t> counter{0};
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  uint64_t seed = static_cast<uint64_t>(now.QuadPart) * 0x9E3779B97F4A7C15ull ^
                  (uint64_t{::GetCurrentProcessId()} << 32) ^ counter.fetch_add(1);
  static constexpr wchar_t kDigits[] = L"0123456789abcdefghijklmnopqrstuvwxyz";
  std::wstring name = Wide(kSaveTempPrefix);
  for (int i = 0; i < 8; ++i, seed /= 36) name += kDigits[seed % 36];
  return name;
}

uint64_t Ticks(const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

// Copies left by a killed save: a live save keeps its copy open without
// sharing it and finishes in seconds, so an old one that can be deleted is no one's.
void RemoveStaleTemps(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW((folder + L"\\" + Wide(kSaveTempPrefix) + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (Ticks(now) - Ticks(found.ftLastWriteTime) < kStaleAge100ns) continue;
    ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

bool WriteAll(HANDLE h, std::string_view bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!::WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

// The full copy, written and flushed under a temporary name beside the target.
bool WriteTemp(const std::wstring& folder, std::string_view bytes, std::wstring& tempPath, std::string* reason) {
  const std::string where = Narrow(folder);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + L"\\" + RandomTempName();
    THandle h(::CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.Valid() && ::GetLastError() == ERROR_FILE_EXISTS) continue;
    if (!h.Valid()) return Fail(reason, where, ::GetLastError());
    bool ok = WriteAll(h.Get(), bytes) && ::FlushFileBuffers(h.Get());
    const DWORD error = ::GetLastError();
    ok = h.Close() && ok;
    if (ok) return true;
    ::DeleteFileW(tempPath.c_str());
    return Fail(reason, where, error);
  }
  return Fail(reason, where, ERROR_FILE_EXISTS);
}

bool WriteInPlace(const std::wstring& path, std::string_view bytes, std::string* reason) {
  THandle h(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
  if (!h.Valid() || !WriteAll(h.Get(), bytes) || !::SetEndOfFile(h.Get()) || !::FlushFileBuffers(h.Get()))
    return Fail(reason, Narrow(path), ::GetLastError());
  return h.Close() || Fail(reason, Narrow(path), ::GetLastError());
}

// Puts the copy in the target's place. Replacing keeps the old file's
// attributes and security (its owner among them); a new file is moved there.
bool PutInPlace(const std::wstring& temp, const std::wstring& target, bool exists, std::string* reason) {
  if (exists && ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                               REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  if (::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  const DWORD error = ::GetLastError();
  ::DeleteFileW(temp.c_str());
  return Fail(reason, Narrow(target), error);
}

struct TTarget {
  std::wstring Path;
  bool Exists = false;
  DWORD Links = 1;
};

// Where the bytes must go, and whether they may: a folder or a read-only
// file is refused, and a link leads to the file it names.
bool FindTarget(const std::string& given, TTarget& target, std::string* reason) {
  target.Path = SystemPath(given);
  const DWORD attrs = ::GetFileAttributesW(target.Path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || Fail(reason, given, error);
  }
  THandle h(::CreateFileW(target.Path.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h.Valid()) return Fail(reason, given, ::GetLastError());
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(h.Get(), &info)) return Fail(reason, given, ::GetLastError());
  if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (reason) *reason = given + ": is a folder";
    return false;
  }
  // A read-only file stays as it is, even for a user who could replace it.
  if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return Fail(reason, given, ERROR_ACCESS_DENIED);
  target.Path = FinalPath(h.Get(), target.Path);
  target.Exists = true;
  target.Links = info.nNumberOfLinks;
  return true;
}

}  // namespace

bool ReadFileStart(const std::string& path, std::size_t count, std::string& bytes) {
  THandle h(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!h.Valid() || !::GetFileSizeEx(h.Get(), &size)) return false;
  std::string out(std::min<uint64_t>(count, static_cast<uint64_t>(size.QuadPart)), '\0');
  size_t done = 0;
  while (done < out.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 24));
    DWORD n = 0;
    if (!::ReadFile(h.Get(), out.data() + done, chunk, &n, nullptr)) return false;
    if (n == 0) break;
    done += n;
  }
  out.resize(done);
  bytes = std::move(out);
  return true;
}

bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& piece) {
  THandle h(::CreateFileW(SystemPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!h.Valid() || !::GetFileSizeEx(h.Get(), &size)) return false;  // a folder has no size
  // A small file needs no large buffer; one byte more sees the end in one read.
  std::string buffer(static_cast<size_t>(std::min<uint64_t>(1 << 16, static_cast<uint64_t>(size.QuadPart) + 1)), '\0');
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(h.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n, nullptr)) return false;
    if (n == 0) return true;
    piece(std::string_view(buffer.data(), n));
  }
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileStart(path, static_cast<std::size_t>(-1), bytes);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
  TTarget target;
  if (!FindTarget(path, target, reason)) return false;
  const std::wstring folder = FolderOf(target.Path);
  RemoveStaleTemps(folder);
  std::wstring temp;
  if (!WriteTemp(folder, bytes, temp, reason)) return false;
  if (target.Exists && target.Links > 1) {
    // A failed write in place may have torn the shared file: the full copy
    // then takes this name, so at least this name keeps the new text whole.
    if (!WriteInPlace(target.Path, bytes, reason)) {
      ::MoveFileExW(temp.c_str(), target.Path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
      return false;
    }
    ::DeleteFileW(temp.c_str());
    return true;
  }
  return PutInPlace(temp, target.Path, target.Exists, reason);
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attrs = ::GetFileAttributesW(SystemPath(path).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = Wide(path);
  if (wide.empty()) return path;
  const DWORD need = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (need == 0) return path;
  std::wstring full(need, L'\0');
  const DWORD n = ::GetFullPathNameW(wide.c_str(), need, full.data(), nullptr);
  if (n == 0 || n >= need) return path;
  full.resize(n);
  return Narrow(full);
}

std::string ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return ".\\";
    if (n < buffer.size()) {
      const std::wstring exe(buffer.data(), n);
      return Narrow(exe.substr(0, exe.find_last_of(L"\\/") + 1));
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace kelvane
