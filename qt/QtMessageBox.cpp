// The player's plain message box.
#include "qt/QtMessageBox.h"

#include <QDialogButtonBox>
#include <algorithm>
#include <QPainter>
#include <QPushButton>
#include <QTextOption>
#include <QVBoxLayout>
#include <memory>

namespace kelvane {

int MessageTabStop(const QFontMetrics& metrics) { return 8 * std::max(1, metrics.averageCharWidth()); }

QtTabbedText::QtTabbedText(const QString& text, QWidget* parent) : QWidget(parent), text_(text) {
  text_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
}

QSize QtTabbedText::sizeHint() const {
  const QFontMetrics metrics(font());
  return metrics.size(Qt::TextExpandTabs, text_, MessageTabStop(metrics));
}

void QtTabbedText::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(font());
  p.setPen(palette().color(QPalette::WindowText));
  QTextOption option(Qt::AlignLeft | Qt::AlignTop);
  option.setWrapMode(QTextOption::NoWrap);
  option.setTabStopDistance(MessageTabStop(QFontMetrics(font())));
  p.drawText(QRectF(rect()), text_, option);
}

QtMessageDialog::QtMessageDialog(QWidget* parent, const QString& title, const QString& text) : QDialog(parent) {
  setWindowTitle(title);
  auto layout = std::make_unique<QVBoxLayout>();
  layout->setSizeConstraint(QLayout::SetFixedSize);
  text_ = std::make_unique<QtTabbedText>(text, this).release();  // the dialog owns it
  layout->addWidget(text_);
  auto buttons = std::make_unique<QDialogButtonBox>(QDialogButtonBox::Ok, this);
  buttons->setCenterButtons(true);
  QObject::connect(buttons.get(), &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons.release());
  setLayout(layout.release());
}

}  // namespace kelvane
