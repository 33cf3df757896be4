#include "qt/QtPreedit.h"

#include <QTextCharFormat>
#include <QTextLayout>
#include <algorithm>
#include <memory>

namespace kelvane {

namespace {

// A one-line layout of the text with the input method's formats.
std::unique_ptr<QTextLayout> LayOut(const QString& text, const QFont& font,
                                    const QList<QTextLayout::FormatRange>& formats) {
  auto layout = std::make_unique<QTextLayout>(text, font);
  layout->setFormats(formats);
  layout->beginLayout();
  QTextLine line = layout->createLine();
  if (line.isValid()) line.setNumColumns(static_cast<int>(text.size()) + 1);
  layout->endLayout();
  return layout;
}

}  // namespace

void QtPreedit::Set(const QInputMethodEvent& e) {
  text_ = e.preeditString();
  attributes_ = e.attributes();
  cursor_ = static_cast<int>(text_.size());
  cursorShown_ = true;
  for (const QInputMethodEvent::Attribute& a : attributes_) {
    if (a.type == QInputMethodEvent::Cursor) {
      cursor_ = std::clamp(a.start, 0, static_cast<int>(text_.size()));
      cursorShown_ = a.length != 0;
    }
  }
}

QRect QtPreedit::Box(const QFont& font, const QRect& caret, int clientWidth) const {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(text_);
  const int left = std::max(0, std::min(caret.left(), clientWidth - width));
  return {left, caret.top(), width, std::max(caret.height(), metrics.height())};
}

void QtPreedit::Paint(QPainter& p, const QFont& font, const QRect& caret, int clientWidth, const QColor& text,
                      const QColor& background) const {
  if (text_.isEmpty()) return;
  QList<QTextLayout::FormatRange> formats;
  for (const QInputMethodEvent::Attribute& a : attributes_) {
    if (a.type != QInputMethodEvent::TextFormat) continue;
    const QTextCharFormat format = qvariant_cast<QTextFormat>(a.value).toCharFormat();
    if (format.isValid() && a.length > 0) formats.append({a.start, a.length, format});
  }
  QFont shown = font;
  if (formats.isEmpty()) shown.setUnderline(true);
  const std::unique_ptr<QTextLayout> layout = LayOut(text_, shown, formats);
  const QRect box = Box(font, caret, clientWidth);
  p.save();
  p.fillRect(box, background);
  p.setPen(text);
  const QPointF origin(box.left(), box.top() + (box.height() - layout->lineAt(0).height()) / 2);
  layout->draw(&p, origin);
  if (cursorShown_) layout->drawCursor(&p, origin, cursor_, 1);
  p.restore();
}

QRect QtPreedit::CursorRect(const QFont& font, const QRect& caret, int clientWidth) const {
  const std::unique_ptr<QTextLayout> layout = LayOut(text_, font, {});
  const QRect box = Box(font, caret, clientWidth);
  const int x = box.left() + static_cast<int>(layout->lineAt(0).cursorToX(cursor_));
  return {x, caret.top(), 1, caret.height()};
}

}  // namespace kelvane
