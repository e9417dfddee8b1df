#pragma once
// The program's images, drawn from the SVG sources compiled into it.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace belvorine {

// The sizes at which the icon "BELVOR" is drawn: for the windows and, as
// PNG files of the hicolor icon theme, for the desktop's menu.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The icon "BELVOR" of the main window and every dialog.
QIcon belvorIcon();

// The image `name` (":/images/name.svg") drawn at `size` logical pixels for
// the device pixel ratio `ratio`, on a transparent ground.
QImage svgImage(const QString& name, QSize size, qreal ratio = 1.0);
QPixmap svgPixmap(const QString& name, QSize size, qreal ratio = 1.0);

}  // namespace belvorine
