// QtPlayerWindow: the player's main window on Qt, and the PlayerHost of its
// TFormKelvane: tool bar with the status label, the history scroll bar, the
// editor widget, the actions, the auto-play timer, message boxes, file dialogs
// and dropped files. Also the screenshot mode of the program.
#pragma once

#include <QAction>
#include <QLabel>
#include <QMimeData>
#include <QMainWindow>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/PlayerHost.h"
#include "qt/QtEditWidget.h"
#include "player/UnitMain.h"

namespace kelvane {

class QtExplorer;
class QtHistoryPanels;

class QtPlayerWindow : public QMainWindow, public PlayerHost {
 public:
  explicit QtPlayerWindow(QWidget* parent = nullptr);
  ~QtPlayerWindow() override;
  QtPlayerWindow(const QtPlayerWindow&) = delete;
  QtPlayerWindow& operator=(const QtPlayerWindow&) = delete;

  TFormKelvane& Form() { return *form_; }
  QtEditWidget& EditWidget() { return *edit_; }
  QAction& Action(TPlayerAction a) { return *actions_[static_cast<size_t>(a)]; }
  QLabel& StatusLabel() { return *label_; }
  QScrollBar& HistoryBar() { return *bar_; }
  QTimer& AutoTimer() { return auto_; }
  QtExplorer& Explorer() { return *explorer_; }
  QtHistoryPanels& Panels() { return *panels_; }

  // Runs one handler as the window's events do: exceptions become a message,
  // and the action states are refreshed once the application is idle.
  void Guard(const std::function<void()>& body);
  // Passes the local files among Urls to the form, as a drop does.
  void DropUrls(const QList<QUrl>& urls);
  void DropPaths(const QStringList& paths);

  // What the modal boxes and dialogs do; tests replace them. Paths are UTF-8.
  std::function<void(const std::string& text)> MessageBox;
  std::function<bool(const std::string& title, const std::string& text)> QuestionBox;
  std::function<std::optional<std::string>(const std::string& folder)> OpenDialog;
  std::function<std::optional<std::string>(const std::string& title, const std::string& folder,
                                           const std::string& fileName)>
      SaveDialog;

  // PlayerHost.
  void SetCaption(const std::string& text) override;
  void SetStatusText(const std::string& text) override;
  void SetHistoryMax(int max) override;
  int GetHistoryMax() const override { return bar_->maximum(); }
  void SetHistoryPos(int pos) override;
  void SetHistoryEnabled(bool enabled) override;
  void SetActionEnabled(TPlayerAction action, bool enabled) override;
  void SetActionChecked(TPlayerAction action, bool checked) override;
  bool ActionChecked(TPlayerAction action) const override;
  void SetTimerEnabled(bool enabled) override;
  bool TimerEnabled() const override { return auto_.isActive(); }
  void ShowMessage(const std::string& text) override;
  bool AskOkCancel(const std::string& title, const std::string& text) override;
  void SetDialogFolder(const std::string& folder) override { folder_ = folder; }
  std::optional<std::string> RunOpenDialog() override;
  std::optional<std::string> RunSaveDialog(const std::string& title, const std::string& fileName) override;
  bool FileExists(const std::string& path) const override;
  std::string ProgramFolder() const override;
  void AcceptDroppedFiles(bool accept) override { setAcceptDrops(accept); }

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildActions();
  void BuildToolBar();
  void OnBarAction(int action);
  void OnBarWheel(const QWheelEvent& e);
  void ScheduleUpdate() { idle_.start(); }

  QtEditWidget* edit_ = nullptr;  // owned by the window as its child
  QScrollBar* bar_ = nullptr;
  QLabel* label_ = nullptr;
  QToolBar* tools_ = nullptr;
  int wheelRest_ = 0;  // wheel units over the history bar short of one notch
  std::array<QAction*, kPlayerActionCount> actions_{};
  QTimer auto_;
  QTimer idle_;  // zero interval: fires once the event queue is empty
  std::string folder_;
  std::unique_ptr<TFormKelvane> form_;
  std::unique_ptr<QtExplorer> explorer_;  // goes before the form
  std::unique_ptr<QtHistoryPanels> panels_;  // goes before the explorer
};

// kelvane [FILE] [--at N]: what the form is started with, and the point to
// open at (clamped to the history, as kelvane-cli --at is).
struct TWindowOptions {
  std::vector<std::string> FormArgs;
  std::optional<int64_t> At;
};
// Nullopt when --at has no whole number after it.
std::optional<TWindowOptions> ParseWindowArgs(const QStringList& args);
// Starts the form with the options, as the program does once its window shows.
void StartWindow(QtPlayerWindow& window, const TWindowOptions& options);

// The local files a drop names (text/uri-list of file URLs), decoded.
QStringList DroppedPaths(const QMimeData& mime);

// kelvane --screenshot OUT.png [--size WxH] [--at N] [--panels history,timeline,diff] [--diff-from A] [FILE]
struct TScreenshotOptions {
  QString Output;
  int Width = 640;
  int Height = 480;
  std::optional<int> At;
  QStringList Panels;          // among history, timeline, diff, and tint (the provenance tint)
  std::optional<int> DiffFrom;  // point A of the diff pane (which it opens)
  QString File;
};

// The options from the arguments after the program name; nullopt on a usage error.
std::optional<TScreenshotOptions> ParseScreenshotArgs(const QStringList& args);

// Opens the file, steps to the point asked for, renders the window at the size
// asked for into the PNG. 0 on success, 1 when the file cannot be opened or the
// PNG not written. Needs a QApplication.
int RunScreenshot(const TScreenshotOptions& options);

}  // namespace kelvane
