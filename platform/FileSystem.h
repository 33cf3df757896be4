// Files as the program uses them: whole-file reading, writing that never
// leaves a half-written file behind, existence, and the program's own folder.
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// The whole file, or false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// Writes Bytes to Path through a temporary file in the same folder that is
// renamed over the target, so a failure never destroys the old file. A target
// that is read-only is refused. True when the file was written.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);

// The folder of the running program, with its trailing separator.
std::string ProgramFolder();

}  // namespace kelvane
