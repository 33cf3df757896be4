// kelvane: the player window (--at N opens at history point N); with
// --screenshot, renders the window into a PNG without showing it and exits.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "qt/QtPlayerWindow.h"
#include "qt/QtTranslations.h"
#include "player/UnitMain.h"

namespace {

bool WantsScreenshot(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool screenshot = WantsScreenshot(argc, argv);
  // No display to draw on: render offscreen rather than fail.
  if (screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");

  QApplication app(argc, argv);
  QApplication::setApplicationName("Kelvane");
  // No display name: Qt would append it to every caption, and the captions
  // are the program's own ("（´д｀）Kelvane - FILE", "上書確認").
  QApplication::setDesktopFileName("kelvane");
  kelvane::InstallQtTranslations();
  QStringList args = QApplication::arguments();
  args.removeFirst();

  if (screenshot) {
    const std::optional<kelvane::TScreenshotOptions> options = kelvane::ParseScreenshotArgs(args);
    if (!options) {
      std::fputs("usage: kelvane --screenshot OUT.png [--size WxH] [--at N] [--panels history,timeline,diff] [--diff-from A] [FILE]\n", stderr);
      return 2;
    }
    return kelvane::RunScreenshot(*options);
  }

  const std::optional<kelvane::TWindowOptions> options = kelvane::ParseWindowArgs(args);
  if (!options) {
    std::fputs("usage: kelvane [FILE.eud] [--at N]\n", stderr);
    return 2;
  }
  kelvane::QtPlayerWindow window;
  window.show();
  kelvane::StartWindow(window, *options);
  return QApplication::exec();
}
