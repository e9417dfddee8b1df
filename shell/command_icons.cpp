#include "shell/command_icons.h"

#include <QGuiApplication>

#include "resources/button_images.h"
#include "widgets/commands.h"
#include "shell/menu_table.h"

namespace belvorine {
namespace {

// Images of the buttons that have no menu item: bitmap and index.
struct ButtonImage {
    int bitmap = 0;
    int index = -1;
};

ButtonImage buttonOnlyImage(int command) {
    switch (command) {
        case kCmdZoomOut:
            return {kPageBitmap, 2};
        case kCmdZoomIn:
            return {kPageBitmap, 3};
        case kCmdLeaveMode:
            return {kCloseBitmap, 0};
        default:
            return {};
    }
}

QIcon iconFrom(const QPixmap& normal, const QPixmap& highlighted) {
    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(highlighted, QIcon::Active);
    return icon;
}

}  // namespace

QIcon commandIcon(int command, bool checked) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const MenuItemInfo info = menuItemInfo(command);
    if (info.imageIndex >= 0) {
        if (command == kCmdToolbar || command == kCmdStatusBar) {
            const QPixmap image =
                checked ? menuImage(info.imageIndex, true, ratio) : uncheckedImage(ratio);
            return iconFrom(image, image);
        }
        const QPixmap highlighted = menuImage(info.imageIndex, true, ratio);
        return iconFrom(menuImage(info.imageIndex, false, ratio), highlighted);
    }
    const ButtonImage button = buttonOnlyImage(command);
    if (button.index < 0) {
        return QIcon();
    }
    return iconFrom(buttonImage(button.bitmap, button.index, ratio),
                    buttonImage(button.bitmap + 1, button.index, ratio));
}

QString toolTipText(int command) {
    switch (command) {
        case kCmdPrintSetup:
            return QStringLiteral("印刷設定");
        case kCmdPreview:
            return QStringLiteral("印刷プレビュー");
        case kCmdPrint:
            return QStringLiteral("印刷");
        case kCmdDataEntry:
            return QStringLiteral("データ入力");
        case kCmdExistingData:
            return QStringLiteral("既存データ編集");
        case kCmdCompanyProfile:
            return QStringLiteral("初期データ編集");
        case kCmdSwitchFormat:
            return QStringLiteral("書式の切り替え");
        case kCmdPageSetup:
            return QStringLiteral("ページ設定");
        case kCmdLayoutStart:
            return QStringLiteral("レイアウトの変更");
        case kCmdHelp:
            return QStringLiteral("ヘルプ");
        case kCmdPreviousPage:
            return QStringLiteral("前ページへ");
        case kCmdNextPage:
            return QStringLiteral("次ページへ");
        case kCmdZoomOut:
            return QStringLiteral("縮小");
        case kCmdZoomIn:
            return QStringLiteral("拡大");
        case kCmdEditItem:
            return QStringLiteral("項目内容変更");
        case kCmdUndo:
            return QStringLiteral("元に戻す");
        default:
            return QString();
    }
}

}  // namespace belvorine
