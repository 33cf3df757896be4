// The editor control's window on Qt: events in, host requests out.
#include "qt/QtEditWidget.h"

#include <QClipboard>
#include <QCursor>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleHints>
#include <QWheelEvent>
#include <algorithm>
#include <exception>

#include "platform/Codepage.h"
#include "qt/QtFonts.h"

namespace kelvane {

namespace {

constexpr size_t kHorz = 0;
constexpr size_t kVert = 1;
constexpr int kWheelNotch = 120;

// Keys the control handles on WM_KEYDOWN; 0 for the rest.
uint32_t VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_End: return VK_END;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: break;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint32_t>('A' + (key - Qt::Key_A));
  return 0;
}

// Keys the control takes as characters.
std::optional<uint32_t> CharKey(int key) {
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    default: return std::nullopt;
  }
}

// Control characters in key text (Escape, Delete, ...) are not typing.
QString Printable(const QString& text) {
  QString out;
  for (QChar c : text) {
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) out += c;
  }
  return out;
}

}  // namespace

QtEditWidget::QtEditWidget(QWidget* parent) : QWidget(parent) {
  OnError = [](const std::string& message) { qWarning("QtEditWidget: %s", message.c_str()); };
  setAttribute(Qt::WA_InputMethodEnabled);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  QWidget::setCursor(Qt::IBeamCursor);
  canvas_ = std::make_unique<QtCanvas>(image_);
  const std::array<Qt::Orientation, 2> orientation{Qt::Horizontal, Qt::Vertical};
  for (size_t i = 0; i < bars_.size(); ++i) {
    bars_[i] = std::make_unique<QScrollBar>(orientation[i], this);
    bars_[i]->setFocusPolicy(Qt::NoFocus);
    bars_[i]->setCursor(Qt::ArrowCursor);
    bars_[i]->installEventFilter(this);
    const auto kind = i == kVert ? ScrollBarKind::Vert : ScrollBarKind::Horz;
    QObject::connect(bars_[i].get(), &QAbstractSlider::actionTriggered, this,
                     [this, kind](int action) { Guard([&] { OnBarAction(kind, action); }); });
  }
  QObject::connect(&blink_, &QTimer::timeout, this, [this] {
    blinkOn_ = !blinkOn_;
    update(CaretRect());
  });
  editor_ = std::make_unique<TVeskEdit>(*this);
  Layout();
  editor_->CreateWnd();
  created_ = true;
  Layout();
}

// The control goes first: its destructor may still talk to the host.
QtEditWidget::~QtEditWidget() {
  editor_.reset();
  canvas_->End();
}

void QtEditWidget::Guard(const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& ex) {
    if (OnError) OnError(ex.what());
  } catch (...) {
    if (OnError) OnError("unknown exception");
  }
}

// Rows are drawn straight onto the surface, so every message may have changed it.
void QtEditWidget::Send(uint32_t msg, WPARAM wParam, LPARAM lParam) {
  editor_->Perform(msg, wParam, lParam);
  if (redraw_) update();
}

void QtEditWidget::PumpChars() {
  while (!chars_.empty()) {
    const uint32_t c = chars_.front();
    chars_.pop_front();
    Send(WM_CHAR, c);
  }
}

// ---- window and surface -------------------------------------------------------

QSize QtEditWidget::ClientSize() const {
  const int barWidth = barShown_[kVert] ? bars_[kVert]->sizeHint().width() : 0;
  const int barHeight = barShown_[kHorz] ? bars_[kHorz]->sizeHint().height() : 0;
  return {std::max(0, width() - barWidth), std::max(0, height() - barHeight)};
}

// Showing or hiding a bar from inside WM_SIZE resizes the client again; that
// is done after the current pass rather than inside it.
void QtEditWidget::Layout() {
  if (inLayout_) {
    relayout_ = true;
    return;
  }
  inLayout_ = true;
  for (int pass = 0; pass < 4; ++pass) {
    relayout_ = false;
    const QSize client = ClientSize();
    bars_[kVert]->setGeometry(client.width(), 0, width() - client.width(), client.height());
    bars_[kHorz]->setGeometry(0, client.height(), client.width(), height() - client.height());
    for (size_t i = 0; i < bars_.size(); ++i) bars_[i]->setVisible(barShown_[i]);
    ResizeSurface(client);
    if (created_) editor_->Perform(WM_SIZE, 0, MakeLParam(static_cast<uint32_t>(client.width()),
                                                          static_cast<uint32_t>(client.height())));
    fullPaint_ = true;
    if (!relayout_) break;
  }
  inLayout_ = false;
  update();
}

// The window surface holds the screen's pixels: the control draws in its own
// pixels and Qt scales the painting, so text is sharp on a high-density screen.
bool QtEditWidget::ResizeSurface(QSize client) {
  const qreal ratio = devicePixelRatioF();
  if (image_.deviceIndependentSize().toSize() == client && image_.devicePixelRatio() == ratio) return false;
  canvas_->End();
  image_ = QImage((QSizeF(client) * ratio).toSize(), QImage::Format_RGB32);
  image_.setDevicePixelRatio(ratio);
  image_.fill(ToQColor(editor_->ResolveColor(editor_->Color)));
  return true;
}

void QtEditWidget::resizeEvent(QResizeEvent*) {
  Guard([&] { Layout(); });
}

void QtEditWidget::Invalidate() {
  fullPaint_ = true;
  if (redraw_) update();
}

// The control's rows are repainted as a whole; a partial request costs the same.
void QtEditWidget::InvalidateRect(const TRect&) { Invalidate(); }

// The control's own Paint asks for this too; inside a paint it is a no-op.
void QtEditWidget::UpdateNow() {
  if (painting_ || !redraw_) return;
  repaint();
}

void QtEditWidget::SetRedraw(bool on) {
  if (on == redraw_) return;
  if (!on) {
    canvas_->End();
    frozen_ = image_;  // shared until something draws on the surface, which then detaches
  }
  redraw_ = on;
  if (on) {
    frozen_ = QImage();
    for (size_t i = 0; i < bars_.size(); ++i) {
      if (barStale_[i]) SyncBar(i);
    }
    RestartBlink();
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    Invalidate();
  }
}

void QtEditWidget::paintEvent(QPaintEvent*) {
  Guard([&] {
    // Moved to a screen of another density: the surface follows, drawn anew.
    if (redraw_ && ResizeSurface(ClientSize())) fullPaint_ = true;
    if (redraw_ && fullPaint_) {
      fullPaint_ = false;
      painting_ = true;
      try {
        editor_->Paint();
      } catch (...) {
        painting_ = false;
        throw;
      }
      painting_ = false;
    }
    canvas_->End();
    QPainter p(this);
    p.drawImage(0, 0, redraw_ ? image_ : frozen_);
    if (barShown_[kHorz] && barShown_[kVert]) {
      const QSize client = ClientSize();
      p.fillRect(QRect(QPoint(client.width(), client.height()), size()), palette().window());
    }
    if (!redraw_) return;
    preedit_.Paint(p, ToQFont(editor_->Font()), CaretRect(), ClientSize().width(),
                   ToQColor(editor_->ResolveColor(editor_->Font().Color)),
                   ToQColor(editor_->ResolveColor(editor_->Color)));
    // While composing, the composition's own cursor is the one that shows.
    if (hasFocus() && caret_.Visible() && blinkOn_ && preedit_.Empty()) {
      // Inverted, as a system caret is, so it shows on any background.
      p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      p.fillRect(CaretRect(), Qt::white);
    }
  });
}

// ---- caret --------------------------------------------------------------------

QRect QtEditWidget::CaretRect() const {
  const int height = caret_.Height > 0 ? caret_.Height : (editor_ ? editor_->LineHeight : 0);
  return {caret_.Pos, QSize(std::max(1, caret_.Width), std::max(1, height))};
}

// A frozen window shows its old picture, caret included; the caret is set
// going again when the window thaws.
void QtEditWidget::UpdateCaretArea() {
  if (redraw_) update(CaretRect());
}

void QtEditWidget::RestartBlink() {
  blinkOn_ = true;
  if (!redraw_) return;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (caret_.Exists && flash > 0) {
    blink_.start(flash / 2);
  } else {
    blink_.stop();
  }
  UpdateCaretArea();
}

void QtEditWidget::CreateCaret(int width, int height) {
  UpdateCaretArea();
  caret_ = {};
  caret_.Exists = true;
  caret_.Width = width;
  caret_.Height = height;
  RestartBlink();
}

void QtEditWidget::DestroyCaret() {
  UpdateCaretArea();
  caret_ = {};
  blink_.stop();
}

void QtEditWidget::ShowCaret() {
  if (caret_.Exists && caret_.ShowCount < 1) ++caret_.ShowCount;
  RestartBlink();
}

void QtEditWidget::HideCaret() {
  if (caret_.Exists) --caret_.ShowCount;
  UpdateCaretArea();
}

void QtEditWidget::SetCaretPos(int x, int y) {
  UpdateCaretArea();
  caret_.Pos = {x, y};
  RestartBlink();
}

// ---- scroll bars --------------------------------------------------------------

// Qt's maximum is the last position of the page's top; the control's is the last line.
// A frozen window keeps the numbers and shows them when it thaws: during a
// jump through the history they change on every step.
void QtEditWidget::SyncBar(size_t i) {
  barStale_[i] = !redraw_;
  if (!redraw_) return;
  const TScrollInfo& b = info_[i];
  QScrollBar& bar = *bars_[i];
  const QSignalBlocker block(&bar);
  const int page = std::max(0, b.Page);
  const int64_t top = page > 0 ? int64_t{b.Max} - page + 1 : b.Max;
  bar.setRange(b.Min, static_cast<int>(std::max<int64_t>(b.Min, top)));
  bar.setPageStep(std::max(1, page));
  bar.setValue(b.Pos);
}

void QtEditWidget::SetScrollInfo(ScrollBarKind bar, const TScrollInfo& info, bool) {
  info_[Index(bar)].Assign(info);
  SyncBar(Index(bar));
}

void QtEditWidget::SetScrollPos(ScrollBarKind bar, int pos, bool) {
  info_[Index(bar)].SetPos(pos);
  SyncBar(Index(bar));
}

void QtEditWidget::ShowScrollBar(ScrollBarKind bar, bool show) {
  if (barShown_[Index(bar)] == show) return;
  barShown_[Index(bar)] = show;
  Layout();
}

void QtEditWidget::OnBarAction(ScrollBarKind kind, int action) {
  const size_t i = Index(kind);
  const uint32_t msg = kind == ScrollBarKind::Vert ? WM_VSCROLL : WM_HSCROLL;
  uint32_t code = SB_ENDSCROLL;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove:
      info_[i].TrackPos = bars_[i]->sliderPosition();
      Send(msg, SB_THUMBTRACK);
      return;
    default: return;
  }
  Send(msg, code);
  // Keyboard and wheel actions on the bar have no release to end them; the
  // end puts the bar where the control says (Qt moves it after this signal).
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) Send(msg, SB_ENDSCROLL);
}

bool QtEditWidget::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease) {
    for (size_t i = 0; i < bars_.size(); ++i) {
      if (watched != bars_[i].get()) continue;
      const uint32_t msg = i == kVert ? WM_VSCROLL : WM_HSCROLL;
      Guard([&] {
        if (bars_[i]->isSliderDown()) {
          info_[i].TrackPos = bars_[i]->sliderPosition();
          Send(msg, SB_THUMBPOSITION);
        }
        Send(msg, SB_ENDSCROLL);
      });
    }
  }
  return QWidget::eventFilter(watched, e);
}

// ---- keyboard -----------------------------------------------------------------

bool QtEditWidget::event(QEvent* e) {
  // Tab is the control's, not focus navigation. Plain editing keys are the
  // control's even where they are shortcuts elsewhere; a key with Ctrl or Alt
  // goes to the window's shortcuts first (as a menu accelerator would) and
  // reaches the control as a key press when no shortcut takes it.
  if (e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      keyPressEvent(key);
      return true;
    }
  } else if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool chord = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
    if (!chord && (VirtualKey(key->key()) != 0 || CharKey(key->key()))) {
      e->accept();
      return true;
    }
  }
  return QWidget::event(e);
}

void QtEditWidget::keyPressEvent(QKeyEvent* e) {
  eventMods_ = e->modifiers();
  Guard([&] {
    if (const uint32_t vk = VirtualKey(e->key())) Send(WM_KEYDOWN, vk);
    if (const auto c = CharKey(e->key())) {
      chars_.push_back(*c);
    } else if (!(e->modifiers() & Qt::ControlModifier)) {
      const QString text = Printable(e->text());
      for (char b : cp932::FromUtf16(text.toStdU16String())) chars_.push_back(static_cast<unsigned char>(b));
    }
    PumpChars();
  });
  eventMods_.reset();
  e->accept();
}

void QtEditWidget::keyReleaseEvent(QKeyEvent* e) {
  eventMods_ = e->modifiers();
  Guard([&] {
    if (const uint32_t vk = VirtualKey(e->key())) Send(WM_KEYUP, vk);
    PublishSelection();
  });
  eventMods_.reset();
  e->accept();
}

std::optional<uint32_t> QtEditWidget::PeekChar(bool remove) {
  if (chars_.empty()) return std::nullopt;
  const uint32_t c = chars_.front();
  if (remove) chars_.pop_front();
  return c;
}

bool QtEditWidget::IsKeyDown(uint32_t vk) const {
  const Qt::KeyboardModifiers mods = eventMods_ ? *eventMods_ : QGuiApplication::queryKeyboardModifiers();
  const Qt::MouseButtons buttons = eventButtons_ ? *eventButtons_ : QGuiApplication::mouseButtons();
  switch (vk) {
    case VK_SHIFT: return mods & Qt::ShiftModifier;
    case VK_CONTROL: return mods & Qt::ControlModifier;
    case VK_MENU: return mods & Qt::AltModifier;
    case VK_LBUTTON: return buttons & Qt::LeftButton;
    case VK_RBUTTON: return buttons & Qt::RightButton;
    default: return false;
  }
}

// ---- mouse --------------------------------------------------------------------

WPARAM QtEditWidget::MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) const {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (mods & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (mods & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

LPARAM QtEditWidget::PackPoint(QPoint p) {
  return MakeLParam(static_cast<uint16_t>(static_cast<int16_t>(p.x())),
                    static_cast<uint16_t>(static_cast<int16_t>(p.y())));
}

// One mouse message for E; while it is handled, E's modifiers and buttons
// answer the control's key-state questions.
void QtEditWidget::SendMouse(QMouseEvent* e, uint32_t msg) {
  eventMods_ = e->modifiers();
  eventButtons_ = e->buttons();
  Guard([&] { Send(msg, MouseKeys(e->buttons(), e->modifiers()), PackPoint(e->position().toPoint())); });
  eventMods_.reset();
  eventButtons_.reset();
}

void QtEditWidget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) SendMouse(e, WM_LBUTTONDOWN);
  if (e->button() == Qt::RightButton) SendMouse(e, WM_RBUTTONDOWN);
}

void QtEditWidget::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) SendMouse(e, WM_MOUSEMOVE);
}

void QtEditWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) SendMouse(e, WM_LBUTTONUP);
  Guard([&] { PublishSelection(); });
}

void QtEditWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) SendMouse(e, WM_LBUTTONDBLCLK);
  if (e->button() == Qt::RightButton) SendMouse(e, WM_RBUTTONDOWN);
  Guard([&] { PublishSelection(); });
}

// The X selection: the selected text, as other programs (and input methods
// that reconvert what is selected) read it. Set once a selection gesture
// ends, not at every step of one.
void QtEditWidget::PublishSelection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard || !clipboard->supportsSelection() || !editor_->Selected) return;
  const std::string text = editor_->BoxMode ? editor_->GetBoxText() : editor_->GetSelText();
  if (text.empty()) return;
  QString unicode = QString::fromStdU16String(cp932::ToUtf16(text));
  unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (clipboard->ownsSelection() && unicode == published_) return;
  published_ = unicode;
  clipboard->setText(unicode, QClipboard::Selection);
}

// Touchpads send fractions of a notch; they add up to whole notches.
void QtEditWidget::wheelEvent(QWheelEvent* e) {
  eventMods_ = e->modifiers();
  Guard([&] {
    wheelRest_ += e->angleDelta().y();
    const WPARAM keys = MouseKeys(e->buttons(), e->modifiers());
    const LPARAM where = PackPoint(e->globalPosition().toPoint());
    while (wheelRest_ >= kWheelNotch || wheelRest_ <= -kWheelNotch) {
      const int notch = wheelRest_ > 0 ? kWheelNotch : -kWheelNotch;
      wheelRest_ -= notch;
      Send(WM_MOUSEWHEEL, keys | (static_cast<WPARAM>(static_cast<uint16_t>(static_cast<int16_t>(notch))) << 16), where);
    }
  });
  eventMods_.reset();
  e->accept();
}

void QtEditWidget::focusInEvent(QFocusEvent*) {
  Guard([&] { Send(WM_SETFOCUS); });
}

void QtEditWidget::focusOutEvent(QFocusEvent*) {
  Guard([&] { Send(WM_KILLFOCUS); });
}

// ---- input method -------------------------------------------------------------

// ---- surrounding text and reconversion ------------------------------------------
//
// The input method sees the caret's line as UTF-16, where every character of
// code page 932 is one unit. It reconverts by taking a stretch of that text
// away (the selection, as a rule) and committing what replaces it: the stretch
// is selected, and the commit replaces the selection as any input-method result
// over a selection does, in one record. Taken away with no commit yet, the
// stretch stays (selected) until the commit comes, so nothing is lost.

namespace {

// Characters in Bytes, as the decoder counts them: a lead byte with a trail
// byte behind it is one, every other byte one.
int Utf16Length(std::string_view bytes) {
  int units = 0;
  for (size_t i = 0; i < bytes.size(); ++i, ++units) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (cp932::IsLeadByte(b) && i + 1 < bytes.size() && cp932::IsTrailByte(static_cast<unsigned char>(bytes[i + 1])))
      ++i;
  }
  return units;
}

// The byte column of the UTF-16 position Index in Bytes (clamped to the line).
int32_t ColumnOfUtf16(std::string_view bytes, int64_t index) {
  size_t i = 0;
  for (int64_t units = 0; i < bytes.size() && units < index; ++units) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    i += cp932::IsLeadByte(b) && i + 1 < bytes.size() && cp932::IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))
             ? 2
             : 1;
  }
  return static_cast<int32_t>(i);
}

}  // namespace

const std::string& QtEditWidget::CaretLine() const {
  const TVeskEdit& e = *editor_;
  return e.Items[std::clamp(e.CaretPos.Y, 0, e.Items.Count() - 1)].Text;
}

void QtEditWidget::SelectForReplacement(int start, int length) {
  TVeskEdit& e = *editor_;
  const std::string& line = CaretLine();
  const int cursor = Utf16Length(std::string_view(line).substr(0, ClampToSize(e.CaretPos.X, line.size())));
  const int32_t y = std::clamp(e.CaretPos.Y, 0, e.Items.Count() - 1);
  const TPoint from{ColumnOfUtf16(line, int64_t{cursor} + start), y};
  const TPoint to{ColumnOfUtf16(line, int64_t{cursor} + start + length), y};
  const TVeskEdit::TOrderedRange sel = TVeskEdit::OrderRange(e.SelAnchor, e.CaretPos);
  if (e.Selected && !e.BoxMode && sel.Top == y && sel.Bottom == y && sel.Left == from.X && sel.Right == to.X) return;
  if (e.Selected) e.SetSelected(false);
  // As a word selection is made: the anchor first, then the caret to the end.
  const TCaretHidden hidden(e);
  e.SelAnchor = from;
  e.LastCaretLine = y;
  e.Selected = from != to;
  e.SetCaret(to);
  e.Invalidate();
}

void QtEditWidget::inputMethodEvent(QInputMethodEvent* e) {
  Guard([&] {
    preedit_.Set(*e);
    if (e->replacementLength() > 0) SelectForReplacement(e->replacementStart(), e->replacementLength());
    if (!e->commitString().isEmpty()) {
      imeResult_ = cp932::FromUtf16(e->commitString().toStdU16String());
      Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    }
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);  // the candidates follow the clause
    update();
  });
  e->accept();
}

QVariant QtEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle:
      if (!editor_ || preedit_.Empty()) return CaretRect();
      return preedit_.CursorRect(ToQFont(editor_->Font()), CaretRect(), ClientSize().width());
    case Qt::ImFont: return editor_ ? ToQFont(editor_->Font()) : font();
    case Qt::ImSurroundingText: return editor_ ? QString::fromStdU16String(cp932::ToUtf16(CaretLine())) : QString();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition: {
      if (!editor_) return 0;
      const TVeskEdit& ed = *editor_;
      const std::string& line = CaretLine();
      const bool anchorHere = query == Qt::ImAnchorPosition && ed.Selected && !ed.BoxMode &&
                              ed.SelAnchor.Y == ed.CaretPos.Y;
      const int32_t column = anchorHere ? ed.SelAnchor.X : ed.CaretPos.X;
      return Utf16Length(std::string_view(line).substr(0, ClampToSize(column, line.size())));
    }
    case Qt::ImCurrentSelection: {
      if (!editor_ || !editor_->Selected || editor_->BoxMode) return QString();
      const std::string text = editor_->GetSelText();
      // Text over several lines is not offered for reconversion.
      if (text.find("\r\n") != std::string::npos) return QString();
      return QString::fromStdU16String(cp932::ToUtf16(text));
    }
    default: return QWidget::inputMethodQuery(query);
  }
}

// The composition goes where the caret is, which the query above reports.
bool QtEditWidget::SetImeCompositionWindow(int, int, const TFontSpec*) {
  if (redraw_) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);  // a thaw updates it
  return true;
}

// ---- clipboard ----------------------------------------------------------------

bool QtEditWidget::SetClipboardText(const std::string& cp932) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  QString text = QString::fromStdU16String(cp932::ToUtf16(cp932));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  clipboard->setText(text);
  return true;
}

std::optional<std::string> QtEditWidget::GetClipboardText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* mime = clipboard ? clipboard->mimeData() : nullptr;
  if (!mime || !mime->hasText()) return std::nullopt;
  QString text = clipboard->text();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return cp932::FromUtf16(text.toStdU16String());
}

// ---- the rest -----------------------------------------------------------------

// Qt holds the mouse for the widget while a button is down; nothing to do.
void QtEditWidget::SetCapture() {}
void QtEditWidget::ReleaseCapture() {}

void QtEditWidget::SetCursor(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::Arrow: QWidget::setCursor(Qt::ArrowCursor); break;
    case TCursorShape::IBeam: QWidget::setCursor(Qt::IBeamCursor); break;
    case TCursorShape::Drag: QWidget::setCursor(Qt::DragMoveCursor); break;
    case TCursorShape::NoDrop: QWidget::setCursor(Qt::ForbiddenCursor); break;
  }
}

TPoint QtEditWidget::MousePos() const {
  const QPoint p = mapFromGlobal(QCursor::pos());
  return {p.x(), p.y()};
}

TColor QtEditWidget::GetSysColor(int index) const {
  const QColor c = QtSysColor(index);
  return RGB(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()), static_cast<unsigned>(c.blue()));
}

std::unique_ptr<Bitmap> QtEditWidget::CreateBitmap() {
  return std::make_unique<QtBitmap>([this] { return devicePixelRatioF(); });
}
std::unique_ptr<Picture> QtEditWidget::CreatePicture() { return std::make_unique<QtPicture>(); }

}  // namespace kelvane
