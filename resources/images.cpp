#include "resources/images.h"

#include <QPainter>
#include <QSvgRenderer>

namespace belvorine {

QImage svgImage(const QString& name, QSize size, qreal ratio) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/images/%1.svg").arg(name));
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QPixmap svgPixmap(const QString& name, QSize size, qreal ratio) {
    return QPixmap::fromImage(svgImage(name, size, ratio));
}

QIcon belvorIcon() {
    QIcon icon;
    for (int side : kIconSizes) {
        icon.addPixmap(svgPixmap(QStringLiteral("belvor"), QSize(side, side)));
    }
    return icon;
}

}  // namespace belvorine
