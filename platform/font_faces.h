#pragma once
// The face names that stored layouts and the dialogs name ("ＭＳ 明朝" ...)
// and the installed fonts that draw them.

#include <QFont>
#include <QString>

namespace belvorine {

// Makes Qt draw the four "ＭＳ …" faces with their metric-compatible IPA
// fonts. Called once at start-up, before any font is made.
void installFontSubstitutions();

// A font of `face` at `pointSize` points, with the substitution applied.
QFont faceFont(const QString& face, int pointSize);

}  // namespace belvorine
