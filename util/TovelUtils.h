// Small string helpers shared by the player.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// Source with every occurrence of Find replaced by Replace, searching from the
// left; the search goes on right behind each inserted Replace, so inserted text
// is never searched again. An empty Find replaces nothing. Works on code page
// 932 bytes directly: the pairs it is used for (0x01 0x01, CR LF) never occur
// inside a double-byte character.
std::string ReplaceAll(std::string_view source, std::string_view find, std::string_view replace);

}  // namespace kelvane

namespace kelvane {

// The file name of a path without its folder.
std::string ExtractFileName(std::string_view path);
// The folder of a path with its trailing separator ("" when it names none).
std::string ExtractFilePath(std::string_view path);
// The extension of a path's file name, from its last "." on ("" when it has none).
std::string ExtractFileExt(std::string_view path);
// ASCII letters lower-cased; other bytes unchanged.
std::string LowerAscii(std::string_view s);
// A signed 32-bit decimal number: leading blanks and a sign allowed; an empty
// value, trailing characters or a value outside the range give Default.
int32_t StrToIntDef(std::string_view s, int32_t def);

}  // namespace kelvane
