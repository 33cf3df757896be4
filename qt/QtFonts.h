// Fonts on Qt: the Japanese family names the program asks for, mapped to fonts
// installed here, and TFontSpec -> QFont.
#pragma once

#include <QFont>

#include "platform/Types.h"

namespace kelvane {

// Maps the Windows Japanese family names to installed fonts (the IPA fonts, or
// any family that writes Japanese). Idempotent; needs a QGuiApplication.
void InstallFontSubstitutions();

// Pixel-sized, kerning off: the editor measures characters one by one and the
// drawing must land where the measurement says. Installs the substitutions.
QFont ToQFont(const TFontSpec& spec);

}  // namespace kelvane
