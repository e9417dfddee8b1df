#include "resources/button_images.h"

#include <array>
#include <vector>

#include <QImage>

#include "resources/images.h"

namespace belvorine {
namespace {

const std::vector<const char*>& imagesOf(int bitmap) {
    static const std::vector<const char*> main = {
        "print-setup",   "print",      "preview", "data-entry", "existing-data", "company-data",
        "switch-format", "page-setup", "layout",  "help",       "check"};
    static const std::vector<const char*> page = {"previous-page", "next-page", "zoom-out",
                                                  "zoom-in",       "edit-item", "undo"};
    static const std::vector<const char*> close = {"close-preview"};
    static const std::vector<const char*> layout = {"edit-item", "undo"};
    static const std::vector<const char*> none;
    switch (bitmap) {
        case 401:
        case 402:
            return main;
        case 403:
        case 404:
            return page;
        case 406:
        case 407:
            return close;
        case 408:
        case 409:
            return layout;
        default:
            return none;
    }
}

bool isHighlighted(int bitmap) {
    return bitmap == 402 || bitmap == 404 || bitmap == 407 || bitmap == 409;
}

// The normal look: the colours drawn two thirds of the way to grey.
QPixmap muted(const QPixmap& pixmap) {
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int grey = qGray(c);
            auto mix = [grey](int channel) { return (channel + 2 * grey) / 3; };
            line[x] = qRgba(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c)), qAlpha(c));
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(pixmap.devicePixelRatio());
    return result;
}

}  // namespace

int buttonImageCount(int bitmap) {
    return static_cast<int>(imagesOf(bitmap).size());
}

QPixmap buttonImage(int bitmap, int index, qreal ratio) {
    const auto& names = imagesOf(bitmap);
    if (index < 0 || index >= static_cast<int>(names.size())) {
        return QPixmap();
    }
    const QSize size = bitmap == 406 || bitmap == 407 ? QSize(36, 16) : QSize(16, 16);
    const QPixmap full =
        svgPixmap(QStringLiteral("buttons/%1").arg(QLatin1String(names[index])), size, ratio);
    return isHighlighted(bitmap) ? full : muted(full);
}

QPixmap menuImage(int index, bool highlighted, qreal ratio) {
    const int mainCount = buttonImageCount(kMainBitmap);
    if (index < mainCount) {
        return buttonImage(highlighted ? 402 : 401, index, ratio);
    }
    return buttonImage(highlighted ? 404 : 403, index - mainCount, ratio);
}

QPixmap uncheckedImage(qreal ratio) {
    return svgPixmap(QStringLiteral("buttons/check-off"), QSize(16, 16), ratio);
}

}  // namespace belvorine
