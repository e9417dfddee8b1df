#pragma once
// The page geometries the renderer tests and the fuzz targets draw on.

#include "form/page_geometry.h"

namespace belvorine::test {

// A4 portrait on a 600 dpi printer without unprintable border, 5 mm margins.
inline PageGeometry a4At600() {
    PageGeometry g;
    g.resolutionX = g.resolutionY = 600;
    g.printableWidth = g.paperWidth = 4961;
    g.printableHeight = g.paperHeight = 7016;
    g.marginBoxLeft = g.marginBoxTop = 600 * 500 * 100 / 2540;
    g.marginBoxRight = 4961 * 100 - 600 * 500 * 100 / 2540;
    g.marginBoxBottom = 7016 * 100 - 600 * 500 * 100 / 2540;
    return g;
}

// The screen geometry of the form view: the margin box at the device's
// corner, as if the paper were drawn at (0, 0) with scale 100.
inline PageGeometry screenAt96() {
    PageGeometry g;
    g.resolutionX = g.resolutionY = 96;
    g.paperWidth = 793;
    g.paperHeight = 1122;
    return g;
}

}  // namespace belvorine::test
