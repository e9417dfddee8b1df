#pragma once
// The face names that stored layouts and the dialogs name ("ＭＳ 明朝" ...)
// and the installed fonts that draw them.

#include <QFont>
#include <QString>

namespace belvorine {

// Makes Qt draw the four "ＭＳ …" faces with their metric-compatible IPA
// fonts, and thicken a face without a bold of its own at every size. Called
// once at start-up, before any font is made.
void installFontSubstitutions();

// A font of `face` at `pointSize` points, with the substitution applied.
QFont faceFont(const QString& face, int pointSize);

// The family that draws `family` bold: the family itself when it has a bold
// face (or nothing better is installed), else an installed family with a
// real bold whose characters have its widths and read back whole from a PDF
// (the IPA faces have regular weights only: fonts-migmix's MigMix faces
// stand in for the Gothic ones).
QString boldFamily(const QString& family);

}  // namespace belvorine
