// Text at the Windows boundary: UTF-8 (paths, captions) and code page 932
// (the editor's text) to the UTF-16 the wide calls take and back, always
// through platform/Codepage and never the system's ANSI code page; and the
// GDI font for a font as the logic asks for it.
#pragma once

#include <string>
#include <string_view>

#include "win32/WinApi.h"

namespace kelvane {

std::wstring ToWide(std::string_view utf8);
std::string FromWide(std::wstring_view wide);
std::wstring Cp932ToWide(std::string_view cp932);
std::string WideToCp932(std::wstring_view wide);

// Pixel-sized: the height is the character height, without internal leading.
LOGFONTW ToLogFont(const TFontSpec& spec);

}  // namespace kelvane
