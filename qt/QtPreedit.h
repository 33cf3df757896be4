// QtPreedit: the text an input method is composing, drawn by the editor widget
// at the caret. Linux input methods leave the drawing to the application and
// describe the text's look in attributes: which clause is being converted
// (usually highlighted), underlines, and their own cursor inside the text.
#pragma once

#include <QFont>
#include <QInputMethodEvent>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QString>

namespace kelvane {

class QtPreedit {
 public:
  // Takes the pre-edit text, formats and cursor of an input-method event.
  void Set(const QInputMethodEvent& e);
  void Clear() { *this = QtPreedit(); }
  const QString& Text() const { return text_; }
  bool Empty() const { return text_.isEmpty(); }

  // Where the text goes: it starts at the caret (Caret is the caret's box),
  // moved left as far as needed to stay inside ClientWidth.
  QRect Box(const QFont& font, const QRect& caret, int clientWidth) const;
  // Draws the text on Background in the box; without formats of its own the
  // whole text is underlined.
  void Paint(QPainter& p, const QFont& font, const QRect& caret, int clientWidth, const QColor& text,
             const QColor& background) const;
  // The input method's cursor inside the text, as a box of the caret's height:
  // its candidate window opens there.
  QRect CursorRect(const QFont& font, const QRect& caret, int clientWidth) const;

 private:
  QString text_;
  QList<QInputMethodEvent::Attribute> attributes_;
  int cursor_ = 0;
  bool cursorShown_ = true;
};

}  // namespace kelvane
