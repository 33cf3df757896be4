// The screenshot mode of kelvane.exe.
#include "win32/Screenshot.h"

#include <algorithm>
#include <exception>

#include "util/TovelUtils.h"
#include "win32/Win32HistoryPanels.h"
#include "win32/Win32PlayerWindow.h"
#include "win32/WinText.h"

namespace kelvane {

namespace {

constexpr int kMaxSide = 16384;

// "WxH" with both sides from 1 to the largest side.
bool ParseSize(const std::string& text, TScreenshotOptions& options) {
  const size_t x = LowerAscii(text).find('x');
  if (x == std::string::npos) return false;
  options.Width = StrToIntDef(text.substr(0, x), 0);
  options.Height = StrToIntDef(text.substr(x + 1), 0);
  return options.Width > 0 && options.Height > 0 && options.Width <= kMaxSide && options.Height <= kMaxSide &&
         text.find_first_of(" \t+-") == std::string::npos;
}

// "history,diff": known names only.
bool ParsePanels(const std::string& list, TScreenshotOptions& options) {
  for (size_t from = 0; from <= list.size();) {
    const size_t comma = std::min(list.find(',', from), list.size());
    const std::string name = list.substr(from, comma - from);
    if (!name.empty()) {
      if (name != "history" && name != "timeline" && name != "diff" && name != "tint") return false;
      options.Panels.push_back(name);
    }
    from = comma + 1;
  }
  return true;
}

bool ParseNumber(const std::string& text, std::optional<int>& out) {
  constexpr int32_t kNoNumber = INT32_MIN;
  const int32_t n = StrToIntDef(text, kNoNumber);
  if (n == kNoNumber) return false;
  out = n;
  return true;
}

bool Wants(const TScreenshotOptions& options, const char* panel) {
  return std::find(options.Panels.begin(), options.Panels.end(), panel) != options.Panels.end();
}

void OpenPanels(Win32PlayerWindow& window, const TScreenshotOptions& options) {
  Win32HistoryPanels& panels = window.Panels();
  const int64_t total = window.Form().History().Size();
  if (options.DiffFrom) panels.SetDiffFrom(std::clamp<int64_t>(*options.DiffFrom, 0, total));
  for (const auto& [name, panel] : {std::pair{"history", TPanelId::history}, std::pair{"timeline", TPanelId::timeline},
                                    std::pair{"diff", TPanelId::diff}}) {
    if (Wants(options, name) || (panel == TPanelId::diff && options.DiffFrom)) panels.Show(panel, true);
  }
  if (Wants(options, "tint")) panels.SetTint(true);
}

}  // namespace

std::optional<TScreenshotOptions> ParseScreenshotArgs(const std::vector<std::string>& args) {
  TScreenshotOptions options;
  bool haveOutput = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--screenshot") {
      if (!hasValue || haveOutput) return std::nullopt;
      options.Output = args[++i];
      haveOutput = true;
    } else if (arg == "--size") {
      if (!hasValue || !ParseSize(args[++i], options)) return std::nullopt;
    } else if (arg == "--at") {
      if (!hasValue || !ParseNumber(args[++i], options.At)) return std::nullopt;
    } else if (arg == "--panels") {
      if (!hasValue || !ParsePanels(args[++i], options)) return std::nullopt;
    } else if (arg == "--diff-from") {
      if (!hasValue || !ParseNumber(args[++i], options.DiffFrom)) return std::nullopt;
    } else if (arg.rfind("--", 0) == 0 || !options.File.empty()) {
      return std::nullopt;
    } else {
      options.File = arg;
    }
  }
  if (!haveOutput || options.Output.empty()) return std::nullopt;
  return options;
}

int RunScreenshot(const TScreenshotOptions& options) {
  Win32PlayerWindow window(options.Width, options.Height);
  window.Quiet = true;
  window.Show(SW_SHOWNORMAL);
  // In front of everything: the picture may be taken from the screen.
  ::SetWindowPos(window.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  TFormKelvane& form = window.Form();
  form.FormCreate({});
  if (!options.File.empty()) {
    if (LowerAscii(ExtractFileExt(options.File)) != kUndoFileExt || !form.LoadUndoFile(options.File)) return 1;
  }
  if (options.At) {
    TVeskUndo& history = *form.Editor->Undo;
    const int32_t max = static_cast<int32_t>(history.FUndoList.Count() + history.FRedoList.Count());
    const int32_t at = std::clamp<int32_t>(*options.At, 0, max);
    try {
      form.StepHistory(at - form.FUndoPos, false);
    } catch (const std::exception&) {
      return 1;
    }
  }
  OpenPanels(window, options);
  form.UpdateActions();
  window.ProcessPending();
  window.Panels().FlushDiff();
  ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  window.ProcessPending();
  return window.SaveScreenshot(ToWide(options.Output)) ? 0 : 1;
}

}  // namespace kelvane
