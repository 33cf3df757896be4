// The player's window on no display.
#include "headless/HeadlessPlayerHost.h"

#include "platform/FileSystem.h"

namespace kelvane {

bool HeadlessPlayerHost::AskOkCancel(const std::string& title, const std::string& text) {
  Questions.push_back(title + "\n" + text);
  if (Answers.empty()) return true;
  bool ok = Answers.front();
  Answers.pop_front();
  return ok;
}

std::optional<std::string> HeadlessPlayerHost::RunOpenDialog() {
  if (DialogAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = DialogAnswers.front();
  DialogAnswers.pop_front();
  return answer;
}

std::optional<std::string> HeadlessPlayerHost::RunSaveDialog(const std::string& title, const std::string& fileName) {
  SaveDialogTitles.push_back(title);
  SaveDialogPresets.push_back(fileName);
  return RunOpenDialog();
}

bool HeadlessPlayerHost::FileExists(const std::string& path) const { return kelvane::FileExists(path); }

}  // namespace kelvane
