// Qt's own texts in the user's language.
#include "qt/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <memory>

namespace kelvane {

QTranslator* InstallQtTranslations(const QLocale& locale) {
  auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) return nullptr;
  if (!QCoreApplication::installTranslator(translator.get())) return nullptr;
  return translator.release();  // the application owns it
}

}  // namespace kelvane
