// The player window's logic.
#include "player/UnitMain.h"

#include "player/UndoFile.h"
#include "player/UndoInfo.h"
#include "platform/FileSystem.h"
#include "util/TovelUtils.h"

namespace kelvane {

namespace {

bool HasUndoFileExt(const std::string& path) { return LowerAscii(ExtractFileExt(path)) == kUndoFileExt; }

// Freezes and disables the editor for a batch; thaws it however the batch ends.
class BatchGuard {
 public:
  explicit BatchGuard(TFormKelvane& form) : form_(form) { form_.BeginBatch(); }
  ~BatchGuard() { form_.EndBatch(); }
  BatchGuard(const BatchGuard&) = delete;
  BatchGuard& operator=(const BatchGuard&) = delete;

 private:
  TFormKelvane& form_;
};

}  // namespace

TFormKelvane::TFormKelvane(PlayerHost& host, EditHost& editHost)
    : Editor(nullptr), FOwnedEditor(std::make_unique<TVeskEdit>(editHost)), FHost(host) {
  Editor = FOwnedEditor.get();
  FHistory = std::make_unique<HistoryView>(*Editor->Undo);
  FHost.SetCaption(kAppTitle);
  ApplyEditorSettings();
}

TFormKelvane::TFormKelvane(PlayerHost& host, TVeskEdit& editor)
    : Editor(&editor), FHost(host), FHistory(std::make_unique<HistoryView>(*editor.Undo)) {
  FHost.SetCaption(kAppTitle);
  ApplyEditorSettings();
}

void TFormKelvane::ApplyEditorSettings() {
  TVeskEdit& e = *Editor;
  e.SetFont(TFontSpec{"ＭＳ Ｐゴシック", 16});
  e.SetAutoWrap(false);
  e.LeftMargin = 10;
  e.RightMargin = 10;
  e.ShowSpaceSgl = e.ShowSpaceDbl = e.ShowSpaceErr = true;
  e.ShowCR = e.ShowEOF = true;
  e.SetShowLineNo(true);
  e.SetShowTab(true);
  e.SetShowGrid(false);
  e.SetShowRuler(false);
  e.Color = RGB(239, 239, 239);
  e.ColorText = SysColor(COLOR_WINDOWTEXT);
  e.ColorUniBack = RGB(0, 0, 0);
  e.ColorUniText = RGB(128, 0, 128);
  e.ColorCrEof = RGB(0, 128, 128);
  e.ColorGrid = RGB(160, 160, 164);
  e.ColorLineNo = SysColor(COLOR_WINDOWTEXT);
  e.ColorRuler = RGB(128, 128, 128);
  e.ColorSelBack = SysColor(COLOR_HIGHLIGHT);
  e.ColorSelText = SysColor(COLOR_HIGHLIGHTTEXT);
  e.ColorSelCr = RGB(255, 127, 127);
  e.ColorSpaceSgl = RGB(221, 221, 221);
  e.ColorSpaceDbl = RGB(224, 224, 224);
  e.ColorSpaceErr = RGB(255, 0, 0);
  e.ColorMargin = RGB(239, 239, 239);
  e.ExternalLeading = 2;
  e.VerticalCaretMargin = 0;
  e.VScrollLines = 3;
  e.SetHScrollMax(7000);
  e.WheelPageScroll = false;
  e.WheelScrollCount = 3;
  e.GridType = gtGrid;
  e.GridCol = 50;
  e.GridRow = 3;
  e.GridLineStyle = TPenStyle::psDot;
  e.SpaceSglStyle = e.SpaceDblStyle = sdsLineA;
  e.SetConfCaretVisible(true);
  e.TextDrag = false;
}

void TFormKelvane::FormCreate(const std::vector<std::string>& args) {
  UpdateStatus(true);
  FHost.AcceptDroppedFiles(true);
  FHost.SetDialogFolder(FHost.ProgramFolder());
  if (!args.empty() && FHost.FileExists(args.front())) OpenUndoFile(args.front());
  UpdateActions();
}

// ---- files -------------------------------------------------------------------

// Every path the form keeps is absolute (FFileName is the full path of the
// current file), so a later save lands where the file came from whatever
// the working folder is by then.
bool TFormKelvane::OpenUndoFile(const std::string& givenPath) {
  const std::string path = AbsolutePath(givenPath);
  if (!HasUndoFileExt(path) || !FHost.FileExists(path)) return false;
  FFileName = path;
  LoadUndoFile(path);
  SetTitle(ExtractFileName(path));
  FHost.SetDialogFolder(ExtractFilePath(path));  // the next dialog opens where this file is
  return true;
}

bool TFormKelvane::LoadUndoFile(const std::string& path) {
  if (!FHost.FileExists(path)) return false;
  bool read = false;
  try {
    // Read as it is walked: the file is never held whole.
    TUndoFileReader reader(*Editor);
    read = ReadFileInPieces(path, [&reader](std::string_view piece) { reader.Feed(piece); });
    if (read) reader.Finish();
  } catch (const std::exception&) {
    read = false;  // what was applied stays
  }
  if (!read) {
    if (OnLoaded) OnLoaded();  // the history is not the one it was, whatever was read of it
    return false;
  }
  FFileName = AbsolutePath(path);
  SetTitle(ExtractFileName(path));
  Editor->Invalidate();
  UpdateStatus(true);
  if (OnLoaded) OnLoaded();
  return true;
}

bool TFormKelvane::WriteUndoFile(const std::string& path) {
  if (!Editor->CanUndo() && !Editor->CanRedo()) {
    FHost.ShowMessage("UndoDataがありません。");
    return false;
  }
  FSaveError.clear();
  // A state the file cannot hold is not written: it would read back short,
  // silently, and the old file stays as it is.
  if (std::optional<std::string> why = UnwritableReason(*Editor)) {
    FSaveError = *why + ", which an undo file cannot hold";
    return false;
  }
  try {
    return WriteFileAtomically(path, BuildUndoFile(*Editor), &FSaveError);
  } catch (const std::exception& e) {
    FSaveError = e.what();
    return false;
  }
}

bool TFormKelvane::SaveUndoFile(const std::string& givenPath) {
  const std::string path = AbsolutePath(givenPath);
  FSaveError.clear();
  if (HasUndoFileExt(path) && WriteUndoFile(path)) {
    FFileName = path;
    SetTitle(ExtractFileName(path));
    FHost.SetDialogFolder(ExtractFilePath(path));
    return true;
  }
  // The system's reason, when there is one, on a line of its own.
  FHost.ShowMessage("SaveErr(`々´)!!! " + ExtractFileName(FFileName) + (FSaveError.empty() ? "" : "\n" + FSaveError));
  return false;
}

void TFormKelvane::SetTitle(const std::string& name) { FHost.SetCaption(std::string(kAppTitle) + " - " + name); }

void TFormKelvane::WMDropFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (HasUndoFileExt(path)) OpenUndoFile(path);
  }
}

// ---- status and history --------------------------------------------------------

void TFormKelvane::UpdateStatus(bool full) {
  const int32_t u = FHistory->Position();
  const int32_t total = FHistory->Size();
  const int32_t r = total - u;
  FHost.SetHistoryMax(total);
  FUndoPos = u;
  FHost.SetHistoryEnabled(total > 0);
  if (!full) return;
  FHost.SetHistoryPos(u);
  FHost.SetStatusText(" Undo:" + std::to_string(u) + " Redo:" + std::to_string(r) + " Total:" + std::to_string(total));
}

void TFormKelvane::BeginBatch() {
  Editor->Perform(WM_SETREDRAW, 0);
  Editor->SetEnabled(false);
}

void TFormKelvane::EndBatch() {
  Editor->Perform(WM_SETREDRAW, 1);
  Editor->Invalidate();
  Editor->SetEnabled(true);
}

void TFormKelvane::StepHistory(int32_t delta, bool tracking) {
  if (delta == 0) return;
  try {
    BatchGuard batch(*this);
    if (delta < 0) {
      for (int64_t i = 0; i < -int64_t{delta}; ++i) Editor->UndoStep();
    } else {
      for (int32_t i = 0; i < delta; ++i) Editor->RedoStep();
    }
  } catch (...) {
    // The state reached stays; the status must show it, or the next jump would
    // be measured from a point the history is no longer at.
    UpdateStatus(true);
    throw;
  }
  UpdateStatus(!tracking);
}

void TFormKelvane::textUndoExecute() {
  if (!Editor->CanUndo()) return;
  if (OnStepping) OnStepping(false);
  Editor->UndoStep();
  if (OnStepped) OnStepped(false);
  UpdateStatus(true);
}

void TFormKelvane::textRedoExecute() {
  if (!Editor->CanRedo()) return;
  if (OnStepping) OnStepping(true);
  Editor->RedoStep();
  if (OnStepped) OnStepped(true);
  UpdateStatus(true);
}

void TFormKelvane::textUndoFirstExecute() {
  if (FUndoPos > 0) StepHistory(-FUndoPos, false);
}

// By the scroll bar's maximum, as the status last set it: an edit made with
// the mouse alone shows in the status only at the next update.
void TFormKelvane::textUndoLastExecute() {
  const int32_t max = FHost.GetHistoryMax();
  if (FUndoPos < max) StepHistory(max - FUndoPos, false);
}

void TFormKelvane::ScrollBarUndoScroll(TScrollCode code, int32_t pos) {
  switch (code) {
    case TScrollCode::scLineUp:
    case TScrollCode::scPageUp:
      if (Editor->CanUndo()) textUndoExecute();
      break;
    case TScrollCode::scLineDown:
    case TScrollCode::scPageDown:
      if (Editor->CanRedo()) textRedoExecute();
      break;
    case TScrollCode::scTrack:
      if (pos != FUndoPos) StepHistory(pos - FUndoPos, true);
      break;
    case TScrollCode::scPosition:
      if (pos != FUndoPos) StepHistory(pos - FUndoPos, false);
      break;
    case TScrollCode::scEndScroll:
      UpdateStatus(true);
      break;
    case TScrollCode::scTop:
    case TScrollCode::scBottom:
      break;
  }
}

void TFormKelvane::EditorKeyUp() { UpdateStatus(true); }

// ---- auto-play -------------------------------------------------------------------

void TFormKelvane::textUndoAutoExecute(TPlayerAction sender) { FHost.SetTimerEnabled(FHost.ActionChecked(sender)); }

void TFormKelvane::TimerAutoTimer() {
  if (FHost.ActionChecked(TPlayerAction::textUndoAuto)) {
    textUndoExecute();
    FHost.SetTimerEnabled(Editor->CanUndo());
    FHost.SetActionChecked(TPlayerAction::textUndoAuto, FHost.TimerEnabled());
  } else if (FHost.ActionChecked(TPlayerAction::textRedoAuto)) {
    textRedoExecute();
    FHost.SetTimerEnabled(Editor->CanRedo());
    FHost.SetActionChecked(TPlayerAction::textRedoAuto, FHost.TimerEnabled());
  }
}

// ---- the other actions -------------------------------------------------------------

void TFormKelvane::fileOpenExecute() {
  if (std::optional<std::string> path = FHost.RunOpenDialog()) OpenUndoFile(*path);
}

void TFormKelvane::fileSaveExecute() {
  if (!FHost.FileExists(FFileName)) {
    fileSaveAsExecute();
    return;
  }
  if (FHost.AskOkCancel("上書確認", ExtractFileName(FFileName) + "を上書しますか（´д｀）？")) SaveUndoFile(FFileName);
}

void TFormKelvane::fileSaveAsExecute() {
  const std::string preset = FHost.FileExists(FFileName) ? FFileName : std::string();
  std::optional<std::string> chosen = FHost.RunSaveDialog("名前を付けて保存（´д｀）", preset);
  if (!chosen) return;
  std::string path = *chosen;
  if (ExtractFileExt(path).empty()) path += kUndoFileExt;
  SaveUndoFile(path);
}

void TFormKelvane::helpVersionExecute() { FHost.ShowMessage(std::string(kAppTitle) + "\t" + kVersionText); }

void TFormKelvane::undoInfoExecute() {
  if (std::optional<std::string> report = BuildUndoInfo(*Editor->Undo, FFileName)) FHost.ShowMessage(*report);
}

void TFormKelvane::Execute(TPlayerAction action) {
  switch (action) {
    case TPlayerAction::fileOpen: fileOpenExecute(); break;
    case TPlayerAction::fileSave: fileSaveExecute(); break;
    case TPlayerAction::fileSaveAs: fileSaveAsExecute(); break;
    case TPlayerAction::helpVersion: helpVersionExecute(); break;
    case TPlayerAction::textUndo: textUndoExecute(); break;
    case TPlayerAction::textRedo: textRedoExecute(); break;
    case TPlayerAction::textUndoFirst: textUndoFirstExecute(); break;
    case TPlayerAction::textUndoLast: textUndoLastExecute(); break;
    case TPlayerAction::textUndoAuto:
    case TPlayerAction::textRedoAuto: {
      const TPlayerAction other =
          action == TPlayerAction::textUndoAuto ? TPlayerAction::textRedoAuto : TPlayerAction::textUndoAuto;
      const bool checked = !FHost.ActionChecked(action);
      FHost.SetActionChecked(action, checked);
      if (checked) FHost.SetActionChecked(other, false);
      textUndoAutoExecute(action);
      break;
    }
    case TPlayerAction::undoInfo: undoInfoExecute(); break;
  }
}

void TFormKelvane::UpdateActions() {
  const bool canUndo = Editor->CanUndo();
  const bool canRedo = Editor->CanRedo();
  FHost.SetActionEnabled(TPlayerAction::fileSave, FHost.FileExists(FFileName));
  for (TPlayerAction a : {TPlayerAction::textUndo, TPlayerAction::textUndoFirst, TPlayerAction::textUndoAuto})
    FHost.SetActionEnabled(a, canUndo);
  for (TPlayerAction a : {TPlayerAction::textRedo, TPlayerAction::textUndoLast, TPlayerAction::textRedoAuto})
    FHost.SetActionEnabled(a, canRedo);
  for (TPlayerAction a : {TPlayerAction::fileOpen, TPlayerAction::fileSaveAs, TPlayerAction::helpVersion,
                          TPlayerAction::undoInfo})
    FHost.SetActionEnabled(a, true);
}

}  // namespace kelvane
