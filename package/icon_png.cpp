// Draws the program's icon into the PNG files of the hicolor icon theme:
// icon_png <folder> writes <folder>/<n>x<n>/apps/belvorine.png for every
// size the program draws its own icon at. The package installs them.

#include <QDir>

#include "resources/images.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int side : belvorine::kIconSizes) {
        const QString folder = root + QStringLiteral("/%1x%1/apps").arg(side);
        const QImage icon = belvorine::svgImage(QStringLiteral("belvor"), QSize(side, side));
        if (!QDir().mkpath(folder) || !icon.save(folder + QStringLiteral("/belvorine.png"))) {
            return 1;
        }
    }
    return 0;
}
