// The player window offscreen as the explorer's tests drive it: dialogs
// answered by the test, keys sent where the focus is, the idle updates run.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "headless/HeadlessEditHost.h"
#include "player/UndoFile.h"
#include "qt/QtExplorer.h"
#include "qt/QtHistoryPanels.h"
#include "qt/QtPlayerWindow.h"
#include "tests/support/DigitsHistory.h"
#include "tools/HistoryBuilder.h"

namespace kelvane::test {

// "0123456" typed a digit at a time, the last two undone: point 5 of 7.
inline std::string DigitsFile() { return DigitsHistoryFile(2); }

struct TExplorerWindow {
  explicit TExplorerWindow(const std::string& file) {
    w.MessageBox = [this](const std::string& text) { messages.push_back(text); };
    w.QuestionBox = [this](const std::string&, const std::string&) { return answer; };
    w.OpenDialog = [](const std::string&) { return std::nullopt; };
    w.SaveDialog = [](const std::string&, const std::string&, const std::string&) { return std::nullopt; };
    X().AskPoint = [this](int32_t, int32_t) { return point; };
    X().AskLabel = [this](const std::string&, const std::string& initial) {
      return label ? label : std::optional<std::string>(initial);
    };
    w.show();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    w.EditWidget().setFocus();
    StartWindow(w, {{file}, std::nullopt});
    Idle();
  }
  QtExplorer& X() { return w.Explorer(); }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* to = QApplication::activePopupWidget();  // a popup takes every key while it is up
    if (!to) to = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
    QTest::keyClick(to, Qt::Key(key), mods);
    Idle();
  }
  void Idle() {
    w.Form().UpdateActions();
    X().UpdateActions();
    w.Panels().Update();
  }
  std::string Status() { return w.StatusLabel().text().toStdString(); }
  std::string Text() { return w.EditWidget().Editor().GetText(); }

  QtPlayerWindow w;
  std::vector<std::string> messages;
  bool answer = true;
  std::optional<int64_t> point;
  std::optional<std::string> label;
};

}  // namespace kelvane::test
