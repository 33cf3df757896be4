// kelvane-cli entry point. On Windows the arguments come from the UTF-16
// command line (the narrow ones are in the ANSI code page, where a Japanese
// file name arrives as "?"), and the standard streams carry bytes as they
// are: text mode would turn every CR LF of the output into CR CR LF.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/Codepage.h"

namespace {

std::vector<std::string> Utf8Arguments() {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) {
    const std::wstring_view arg(wide[i]);
    args.push_back(kelvane::unicode::Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
  }
  if (wide) ::LocalFree(wide);
  return args;
}

}  // namespace

int main() {
  // A console shows the UTF-8 of info and of the messages as it is meant.
  ::SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::ios::sync_with_stdio(false);
  return kelvane::RunCli(Utf8Arguments(), std::cout, std::cerr);
}

#else

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return kelvane::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}

#endif
