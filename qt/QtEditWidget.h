// QtEditWidget: the editor control's window on Qt. It owns a TVeskEdit and
// turns Qt events into the control's messages, and the control's requests
// (caret, scroll bars, clipboard, input method) into Qt calls.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "editor/VeskEdit.h"
#include "platform/EditHost.h"
#include "qt/QtCanvas.h"
#include "qt/QtPreedit.h"

namespace kelvane {

class QtEditWidget : public QWidget, public EditHost {
 public:
  explicit QtEditWidget(QWidget* parent = nullptr);
  ~QtEditWidget() override;
  QtEditWidget(const QtEditWidget&) = delete;
  QtEditWidget& operator=(const QtEditWidget&) = delete;

  TVeskEdit& Editor() { return *editor_; }
  QScrollBar& Bar(ScrollBarKind bar) { return *bars_[Index(bar)]; }
  // The client area: the widget without the visible scroll bars.
  QSize ClientSize() const;
  // What is being composed in the input method (drawn at the caret).
  const QString& PreeditText() const { return preedit_.Text(); }
  // The caret's box in widget pixels (shown or not).
  QRect CaretRect() const;

  // Exceptions caught at the event boundary land here (default: qWarning).
  std::function<void(const std::string&)> OnError;

  // EditHost.
  bool HasWindow() const override { return true; }
  bool HasFocus() const override { return hasFocus(); }
  TSize OuterSize() const override { return {width(), height()}; }
  Canvas& Surface() override { return *canvas_; }
  void Invalidate() override;
  void InvalidateRect(const TRect& r) override;
  void UpdateNow() override;
  void SetRedraw(bool on) override;
  bool RedrawEnabled() const override { return redraw_; }
  void SetEnabled(bool enabled) override { setEnabled(enabled); }

  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void ShowCaret() override;
  void HideCaret() override;
  void SetCaretPos(int x, int y) override;

  void SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool redraw) override;
  void SetScrollPos(ScrollBarKind bar, int pos, bool redraw) override;
  TScrollInfo GetScrollInfo(ScrollBarKind bar) const override { return info_[Index(bar)]; }
  void ShowScrollBar(ScrollBarKind bar, bool show) override;

  bool SetImeCompositionWindow(int x, int y, const TFontSpec* font) override;
  std::string ImeResultString() override { return imeResult_; }
  // Qt hands the result over once, as the commit string; nothing is echoed.
  bool ImeEchoesResultAsChars() const override { return false; }

  bool SetClipboardText(const std::string& cp932) override;
  std::optional<std::string> GetClipboardText() override;

  bool IsKeyDown(uint32_t vk) const override;
  std::optional<uint32_t> PeekChar(bool remove) override;

  void SetFocus() override { setFocus(Qt::OtherFocusReason); }
  void FocusNextControl(bool forward) override { focusNextPrevChild(forward); }
  void SetCapture() override;
  void ReleaseCapture() override;
  void SetCursor(TCursorShape shape) override;
  TPoint MousePos() const override;

  TColor GetSysColor(int index) const override;

  std::unique_ptr<Bitmap> CreateBitmap() override;
  std::unique_ptr<Picture> CreatePicture() override;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  struct TCaret {
    bool Exists = false;
    int Width = 0;
    int Height = 0;
    int ShowCount = 0;
    QPoint Pos;
    bool Visible() const { return Exists && ShowCount > 0; }
  };
  static size_t Index(ScrollBarKind bar) { return static_cast<size_t>(bar); }

  // Runs one piece of event handling; exceptions go to OnError.
  void Guard(const std::function<void()>& body);
  void Send(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
  void PumpChars();
  void Layout();
  bool ResizeSurface(QSize client);
  void SyncBar(size_t i);
  void OnBarAction(ScrollBarKind bar, int action);
  void UpdateCaretArea();
  void RestartBlink();
  WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) const;
  static LPARAM PackPoint(QPoint p);
  void SendMouse(QMouseEvent* e, uint32_t msg);
  const std::string& CaretLine() const;
  void PublishSelection();
  // Selects the stretch an input method takes away (UTF-16, from the caret).
  void SelectForReplacement(int start, int length);

  QImage image_;  // the window surface, the size of the client area
  std::unique_ptr<QtCanvas> canvas_;
  std::array<std::unique_ptr<QScrollBar>, 2> bars_;
  std::array<TScrollInfo, 2> info_{};
  std::array<bool, 2> barShown_{true, true};
  std::array<bool, 2> barStale_{false, false};  // changed while frozen, shown on thaw
  bool laidOut_ = false;
  bool inLayout_ = false;
  bool relayout_ = false;

  bool redraw_ = true;
  bool fullPaint_ = true;
  bool painting_ = false;
  bool created_ = false;

  TCaret caret_;
  QTimer blink_;
  bool blinkOn_ = true;

  std::deque<uint32_t> chars_;
  std::optional<Qt::KeyboardModifiers> eventMods_;  // of the event being handled
  std::optional<Qt::MouseButtons> eventButtons_;
  std::string imeResult_;
  QString published_;  // the text last put in the X selection
  QtPreedit preedit_;
  int wheelRest_ = 0;  // wheel units short of one notch
  QImage frozen_;      // what the screen shows while redrawing is off

  std::unique_ptr<TVeskEdit> editor_;  // last: it talks to everything above
};

}  // namespace kelvane
