// Qt's own texts (dialog and message box buttons, the file dialog) in the
// user's language. The program's own texts are its own and stay as they are.
#pragma once

#include <QLocale>
#include <QTranslator>

namespace kelvane {

// Loads Qt's translation for Locale into the application, which owns it;
// null when there is none (English, or the translations are not installed).
QTranslator* InstallQtTranslations(const QLocale& locale = QLocale());

}  // namespace kelvane
