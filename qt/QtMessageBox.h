// The player's plain message box: the application title as caption, the text
// with its tabs at stops every eight average character widths of the font (in
// pixels, so the statistics report's columns line up in a proportional font),
// no icon and an OK button.
#pragma once

#include <QDialog>
#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace kelvane {

// Pixels between two tab stops for text in this font.
int MessageTabStop(const QFontMetrics& metrics);

// Lines of text with tabs expanded at the stops above; sized to its text.
class QtTabbedText : public QWidget {
 public:
  explicit QtTabbedText(const QString& text, QWidget* parent = nullptr);
  const QString& Text() const { return text_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QString text_;  // line breaks as LF
};

class QtMessageDialog : public QDialog {
 public:
  QtMessageDialog(QWidget* parent, const QString& title, const QString& text);
  QtTabbedText& Text() { return *text_; }

 private:
  QtTabbedText* text_ = nullptr;  // owned by the dialog
};

}  // namespace kelvane
