// TFormKelvane: the player window's logic. It owns the editor, loads and saves
// undo files, walks the history (single steps, first and last, jumps from the
// scroll bar, auto-play) and keeps the status, scroll bar and actions current.
// Everything visible goes through its PlayerHost.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/VeskEdit.h"
#include "player/HistoryView.h"
#include "platform/PlayerHost.h"

namespace kelvane {

constexpr const char* kAppTitle = "（´д｀）Kelvane";
constexpr const char* kVersionText = "Ver0.002_3(2009/05/16)";
constexpr const char* kUndoFileExt = ".eud";

// The scroll actions of the history scroll bar.
enum class TScrollCode : uint8_t {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll,
};

class TFormKelvane {
 public:
  TFormKelvane(PlayerHost& host, EditHost& editHost);
  // On an editor a window already owns (the form does not own it).
  TFormKelvane(PlayerHost& host, TVeskEdit& editor);

  TVeskEdit* Editor;  // FOwnedEditor, or the window's
  std::string FFileName;
  int32_t FUndoPos = 0;

  // Start-up with the program's command-line arguments (without the program name).
  void FormCreate(const std::vector<std::string>& args);

  bool OpenUndoFile(const std::string& path);
  bool LoadUndoFile(const std::string& path);
  bool WriteUndoFile(const std::string& path);
  bool SaveUndoFile(const std::string& path);
  void UpdateStatus(bool full);
  void SetTitle(const std::string& name);
  void BeginBatch();
  void EndBatch();
  void StepHistory(int32_t delta, bool tracking);
  void WMDropFiles(const std::vector<std::string>& paths);

  // Event handlers.
  void EditorKeyUp();
  void ScrollBarUndoScroll(TScrollCode code, int32_t pos);
  void TimerAutoTimer();

  // Actions: Execute runs an action as the toolkit does (an auto action toggles
  // its check mark and that of its group first); UpdateActions runs every update
  // handler, as the toolkit does when idle.
  void Execute(TPlayerAction action);
  void UpdateActions();

  void fileOpenExecute();
  void fileSaveExecute();
  void fileSaveAsExecute();
  void helpVersionExecute();
  void textUndoExecute();
  void textRedoExecute();
  void textUndoFirstExecute();
  void textUndoLastExecute();
  void textUndoAutoExecute(TPlayerAction sender);
  void undoInfoExecute();

  // Told around every single history step (a tool button, key, timer tick or
  // line click on the scroll bar: textUndoExecute, textRedoExecute), never
  // around a jump; the argument says whether the step goes forward.
  std::function<void(bool redo)> OnStepping;
  std::function<void(bool redo)> OnStepped;
  // Told when an undo file has been loaded.
  std::function<void()> OnLoaded;

  PlayerHost& Host() { return FHost; }
  // The history as the views read it: in history order, each record as made.
  const HistoryView& History() const { return *FHistory; }
  // Why the last WriteUndoFile failed, in the system's words ("" when it gave none).
  const std::string& SaveError() const { return FSaveError; }

 private:
  void ApplyEditorSettings();

  std::unique_ptr<TVeskEdit> FOwnedEditor;
  PlayerHost& FHost;
  std::unique_ptr<HistoryView> FHistory;
  std::string FSaveError;
};

}  // namespace kelvane
