// kelvane.exe: the player window (--at N opens at history point N); with
// --screenshot, renders the window with a file at a history point into a PNG
// and exits.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "util/TovelUtils.h"
#include "win32/Screenshot.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/WinText.h"
#include "win32/WindowStart.h"

namespace {

std::vector<std::string> Utf8Arguments() {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(kelvane::FromWide(wide[i]));
  if (wide) ::LocalFree(wide);
  return args;
}

// A GUI program has no console of its own; the usage goes to the one it was started from.
void Complain(const char* text) {
  if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::char_traits<char>::length(text)),
                &written, nullptr);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&controls);
  const std::vector<std::string> args = Utf8Arguments();
  if (std::find(args.begin(), args.end(), "--screenshot") != args.end()) {
    const std::optional<kelvane::TScreenshotOptions> options = kelvane::ParseScreenshotArgs(args);
    if (!options) {
      Complain(
          "usage: kelvane --screenshot OUT.png [--size WxH] [--at N] [--panels history,timeline,diff,tint]"
          " [--diff-from A] [FILE]\n");
      return 2;
    }
    return kelvane::RunScreenshot(*options);
  }
  const std::optional<kelvane::TWindowOptions> options = kelvane::ParseWindowArgs(args);
  if (!options) {
    Complain("usage: kelvane [FILE.eud] [--at N]\n");
    return 2;
  }
  kelvane::Win32PlayerWindow window;
  window.Show(show);
  kelvane::StartWindow(window, *options);
  return window.Run();
}
