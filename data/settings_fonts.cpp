#include "data/settings_fonts.h"

#include "data/name_compare.h"
#include "platform/font_list.h"
#include "platform/sjis_text.h"

namespace belvorine {

int makeFontFromFace(LogFont& dest, std::string_view faceSjis) {
    for (const FontFace& face : japaneseFontFaces()) {
        if (sameNameIgnoringCase(sjisView(face.logFont.faceName), faceSjis)) {
            dest = face.logFont;
            dest.width = 0;
            return 1;
        }
    }
    return 0;
}

}  // namespace belvorine
