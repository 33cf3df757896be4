// Font substitutions and TFontSpec -> QFont.
#include "qt/QtFonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>
#include <QStringList>

namespace kelvane {
namespace {

struct TFontAlias {
  const char* Name;       // UTF-8, as the program asks for it
  const char* Preferred;  // the installed family to use
  bool FixedPitch;
};

constexpr TFontAlias kAliases[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic", false},
    {"ＭＳ ゴシック", "IPAGothic", true},
    {"MS PGothic", "IPAPGothic", false},
    {"MS Gothic", "IPAGothic", true},
};

// The preferred family when installed, else a Japanese one (fixed pitch first
// when asked), else nothing.
QString PickFamily(const TFontAlias& alias, const QStringList& installed, const QStringList& japanese) {
  const QString preferred = QString::fromUtf8(alias.Preferred);
  if (installed.contains(preferred, Qt::CaseInsensitive)) return preferred;
  if (alias.FixedPitch) {
    for (const QString& family : japanese)
      if (QFontDatabase::isFixedPitch(family)) return family;
  }
  return japanese.isEmpty() ? QString() : japanese.first();
}

}  // namespace

void InstallFontSubstitutions() {
  bool done = true;
  for (const TFontAlias& alias : kAliases) done = done && !QFont::substitutes(QString::fromUtf8(alias.Name)).isEmpty();
  if (done || !QGuiApplication::instance()) return;
  const QStringList installed = QFontDatabase::families();
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  for (const TFontAlias& alias : kAliases) {
    const QString name = QString::fromUtf8(alias.Name);
    if (!QFont::substitutes(name).isEmpty()) continue;
    const QString family = PickFamily(alias, installed, japanese);
    if (!family.isEmpty()) QFont::insertSubstitution(name, family);
  }
}

QFont ToQFont(const TFontSpec& spec) {
  InstallFontSubstitutions();
  QFont font(QString::fromUtf8(spec.Name));
  font.setPixelSize(spec.Height > 0 ? spec.Height : 1);
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  font.setStrikeOut(spec.StrikeOut);
  font.setKerning(false);
  font.setStyleStrategy(QFont::NoSubpixelAntialias);
  return font;
}

}  // namespace kelvane
