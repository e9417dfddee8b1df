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

// Called before the application object is made: the font lists name the
// installed families as a Japanese desktop does ("IPAゴシック", "IPA明朝"),
// whatever the session's language, unless the user chose a language for
// fontconfig (FC_LANG) already.
void nameFontsInJapanese();

// The face of the program's own texts on screen that are not part of a
// form: the dialogs and the form view's format name.
inline constexpr char kScreenTextFace[] = "ＭＳ ゴシック";

// The font of a dialog that names `face` at `pointSize` points. The
// proportional Gothic and Mincho take their fixed-pitch sisters: the IPA
// substitutes of the proportional faces draw full-width letters and digits
// ("発注用Ａ４", "１６番２１号") hardly wider than half-width ones.
QFont widgetFont(const QString& face, int pointSize);

// The family that draws `family` bold: the family itself when it has a bold
// face (or nothing better is installed), else an installed family with a
// real bold whose characters have its widths and read back whole from a PDF
// (the IPA faces have regular weights only: fonts-migmix's MigMix faces
// stand in for the Gothic ones).
QString boldFamily(const QString& family);

}  // namespace belvorine
