#include "print/page_notices.h"

#include "form/page_fit.h"

namespace belvorine {
namespace {

QString millimetres(int hundredths) {
    return QString::number(hundredths / 100.0, 'f', 1);
}

}  // namespace

QString framesMovedNotice(const FormLayout& layout, const PageSettings& page,
                          const PageGeometry& geometry) {
    const int count = framesDrawnAway(layout, page, geometry);
    if (count == 0) {
        return QString();
    }
    return QStringLiteral(
               "余白の外にかかる %1 個の項目は、余白の内側に寄せて印刷します"
               "（レイアウトはそのまま残ります）。")
        .arg(count);
}

QString halfSheetNotice(const FormLayout& layout, const PageSettings& page,
                        const PageGeometry& geometry) {
    if (page.orderAndCopyOnOneSheet != 1) {
        return QString();
    }
    const HalfSheetFit fit = halfSheetFit(layout, page, geometry);
    if (fit.fits()) {
        return QString();
    }
    return QStringLiteral(
               "「注文書」と「注文書控」が用紙の半分に収まりません"
               "（必要な高さ %1 mm、用紙の半分の余白の内側 %2 mm）。"
               "大きな用紙を選ぶか、ページ設定で１枚での印刷をやめてください。")
        .arg(millimetres(fit.needed), millimetres(fit.available));
}

}  // namespace belvorine
