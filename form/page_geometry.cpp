#include "form/page_geometry.h"

namespace belvorine {

PageGeometry& printerGeometry(int format) {
    static PageGeometry geometries[kFormatCount];
    return geometries[format == 1 ? 1 : 0];
}

}  // namespace belvorine
