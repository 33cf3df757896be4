// What the player window's logic needs from its window: caption, status label,
// history scroll bar, action states, timer, message boxes, file dialogs and a
// few file-system facts. The editor itself is reached through its own host.
#pragma once

#include <optional>
#include <string>

namespace kelvane {

// The player's actions, in the order of its action list.
enum class TPlayerAction : uint8_t {
  fileOpen, fileSave, fileSaveAs, helpVersion, textUndo, textRedo,
  textUndoFirst, textUndoLast, textUndoAuto, textRedoAuto, undoInfo,
};
constexpr int kPlayerActionCount = 11;

class PlayerHost {
 public:
  virtual ~PlayerHost() = default;

  virtual void SetCaption(const std::string& text) = 0;  // UTF-8
  virtual void SetStatusText(const std::string& text) = 0;

  // The history scroll bar (minimum 0, page 0).
  virtual void SetHistoryMax(int max) = 0;
  virtual int GetHistoryMax() const = 0;
  virtual void SetHistoryPos(int pos) = 0;
  virtual void SetHistoryEnabled(bool enabled) = 0;

  virtual void SetActionEnabled(TPlayerAction action, bool enabled) = 0;
  virtual void SetActionChecked(TPlayerAction action, bool checked) = 0;
  virtual bool ActionChecked(TPlayerAction action) const = 0;

  virtual void SetTimerEnabled(bool enabled) = 0;  // the 100 ms auto-play timer
  virtual bool TimerEnabled() const = 0;

  // Message boxes: plain (application title, OK) and OK/Cancel with a question icon.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual bool AskOkCancel(const std::string& title, const std::string& text) = 0;

  // File dialogs; nullopt when the user cancels. Paths are UTF-8.
  virtual void SetDialogFolder(const std::string& folder) = 0;
  virtual std::optional<std::string> RunOpenDialog() = 0;
  virtual std::optional<std::string> RunSaveDialog(const std::string& title,
                                                   const std::string& fileName) = 0;

  virtual bool FileExists(const std::string& path) const = 0;
  virtual std::string ProgramFolder() const = 0;  // with its trailing separator
  virtual void AcceptDroppedFiles(bool accept) = 0;
};

}  // namespace kelvane
