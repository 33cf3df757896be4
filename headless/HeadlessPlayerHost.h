// The player's window on no display: it keeps what the window would show
// (caption, status, scroll bar, action states, timer, messages) and answers
// message boxes and file dialogs from scripted answers.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/PlayerHost.h"

namespace kelvane {

struct THeadlessAction {
  bool Enabled = true;
  bool Checked = false;
};

class HeadlessPlayerHost : public PlayerHost {
 public:
  std::string Caption;
  std::string StatusText;
  int HistoryMax = 0;
  int HistoryPos = 0;
  bool HistoryEnabled = true;
  std::array<THeadlessAction, kPlayerActionCount> Actions{};
  bool Timer = false;
  std::vector<std::string> Messages;          // every message box shown, in order
  std::vector<std::string> Questions;         // title + "\n" + text of each OK/Cancel box
  std::deque<bool> Answers;                   // OK (true) or Cancel; OK when none is queued
  std::deque<std::optional<std::string>> DialogAnswers;  // nullopt cancels; cancel when none
  std::vector<std::string> SaveDialogTitles;
  std::vector<std::string> SaveDialogPresets;
  std::string DialogFolder;
  std::string ProgramDir = "./";
  bool AcceptsDrops = false;

  THeadlessAction& Action(TPlayerAction a) { return Actions[static_cast<size_t>(a)]; }

  void SetCaption(const std::string& text) override { Caption = text; }
  void SetStatusText(const std::string& text) override { StatusText = text; }
  void SetHistoryMax(int max) override { HistoryMax = max; }
  int GetHistoryMax() const override { return HistoryMax; }
  void SetHistoryPos(int pos) override { HistoryPos = pos; }
  void SetHistoryEnabled(bool enabled) override { HistoryEnabled = enabled; }
  void SetActionEnabled(TPlayerAction a, bool enabled) override { Action(a).Enabled = enabled; }
  void SetActionChecked(TPlayerAction a, bool checked) override { Action(a).Checked = checked; }
  bool ActionChecked(TPlayerAction a) const override { return Actions[static_cast<size_t>(a)].Checked; }
  void SetTimerEnabled(bool enabled) override { Timer = enabled; }
  bool TimerEnabled() const override { return Timer; }
  void ShowMessage(const std::string& text) override { Messages.push_back(text); }
  bool AskOkCancel(const std::string& title, const std::string& text) override;
  void SetDialogFolder(const std::string& folder) override { DialogFolder = folder; }
  std::optional<std::string> RunOpenDialog() override;
  std::optional<std::string> RunSaveDialog(const std::string& title, const std::string& fileName) override;
  bool FileExists(const std::string& path) const override;
  std::string ProgramFolder() const override { return ProgramDir; }
  void AcceptDroppedFiles(bool accept) override { AcceptsDrops = accept; }
};

}  // namespace kelvane
