// Files as the program uses them: whole-file reading, writing that never
// leaves a half-written file behind, existence, and the program's own folder.
// Paths are UTF-8 everywhere; each system's file (FileSystemPosix.cpp,
// FileSystemWin32.cpp) hands them over in the system's own form.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kelvane {

// The whole file, or false when it cannot be opened or read (a folder cannot).
bool ReadWholeFile(const std::string& path, std::string& bytes);
// At most Count bytes from the start of the file (fewer when it is shorter).
bool ReadFileStart(const std::string& path, std::size_t count, std::string& bytes);

// The file handed over in order, piece by piece, so that a large one is never
// held whole. False when it cannot be opened or read (a folder cannot); the
// pieces handed over before a read error stay handed over.
bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& piece);

// Writes Bytes to Path so that a failure or a kill never destroys the old
// file: a full copy is written and flushed beside it and renamed over it, and
// the folder is flushed after. Through a symbolic link (even one that leads
// nowhere yet) the file it names is written. A read-only target is refused.
// The target keeps its permissions, and its owner and group where the system
// allows; a target with other hard links is written in place once the full
// copy is safe, so every link sees the new text. On failure Reason (when
// given) gets the system's own words. True when the file was written.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

bool FileExists(const std::string& path);

// Path made absolute against the working folder (an empty path stays empty).
// ".." is left for the system: after a symbolic link it is not the folder
// the path's text suggests.
std::string AbsolutePath(const std::string& path);

// The folder of the running program, with its trailing separator.
std::string ProgramFolder();

// Names of the temporary copies saving makes. One that no save is working on
// was left by a save that was killed; the next save in its folder removes it.
inline constexpr std::string_view kSaveTempPrefix = ".kvsave-";

}  // namespace kelvane
