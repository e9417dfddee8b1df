#pragma once
// The program's images, drawn from the SVG sources compiled into it.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace belvorine {

// The icon "BELVOR" of the main window and every dialog.
QIcon belvorIcon();

// The image `name` (":/images/name.svg") drawn at `size` logical pixels for
// the device pixel ratio `ratio`.
QPixmap svgPixmap(const QString& name, QSize size, qreal ratio = 1.0);

}  // namespace belvorine
