#include "resources/images.h"

#include <QPainter>
#include <QSvgRenderer>

namespace belvorine {

QPixmap svgPixmap(const QString& name, QSize size, qreal ratio) {
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/images/%1.svg").arg(name));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon belvorIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(svgPixmap(QStringLiteral("belvor"), QSize(side, side)));
    }
    return icon;
}

}  // namespace belvorine
