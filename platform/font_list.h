#pragma once
// The fonts of the Japanese character set that the program offers: the
// installed families that support Japanese and the four "ＭＳ …" faces that
// stored layouts name, each with the font record a dialog stores for it.

#include <vector>

#include <QString>

#include "records/records.h"

namespace belvorine {

struct FontFace {
    QString name;     // face name as shown
    LogFont logFont;  // face name in Shift-JIS, character set 128, size 16
};

// Every face in the order a list shows them: the four "ＭＳ …" faces first,
// then the installed families. A face whose name does not fit a font
// record's 31 Shift-JIS bytes is left out. Without a GUI application only
// the four "ＭＳ …" faces are listed.
std::vector<FontFace> japaneseFontFaces();

// The index in `faces` of the face that a stored font record names: the
// same name (ASCII letters in any case); else the same installed family
// under the name another locale gives it (the font database names a family
// after the language of the session: "IPAGothic" or "IPAゴシック"); else the
// first face whose name begins with it (ASCII case ignored). -1 for an
// empty name or none.
int findFontFace(const std::vector<FontFace>& faces, const QString& stored);

}  // namespace belvorine
