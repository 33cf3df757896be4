// Text at the Windows boundary.
#include "win32/WinText.h"

#include <algorithm>

#include "platform/Codepage.h"

namespace kelvane {

std::wstring ToWide(std::string_view utf8) {
  const std::u16string u = unicode::Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

std::string FromWide(std::wstring_view wide) {
  return unicode::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::wstring Cp932ToWide(std::string_view cp932) {
  const std::u16string u = cp932::ToUtf16(cp932);
  return std::wstring(u.begin(), u.end());
}

std::string WideToCp932(std::wstring_view wide) {
  return cp932::FromUtf16(std::u16string(wide.begin(), wide.end()));
}

LOGFONTW ToLogFont(const TFontSpec& spec) {
  LOGFONTW log{};
  log.lfHeight = -std::max(spec.Height, 1);
  log.lfWeight = spec.Bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = spec.Italic;
  log.lfUnderline = spec.Underline;
  log.lfStrikeOut = spec.StrikeOut;
  log.lfCharSet = spec.Charset == TFontCharset::ShiftJis ? SHIFTJIS_CHARSET : DEFAULT_CHARSET;
  log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  log.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring name = ToWide(spec.Name).substr(0, LF_FACESIZE - 1);
  std::copy(name.begin(), name.end(), log.lfFaceName);
  return log;
}

}  // namespace kelvane
