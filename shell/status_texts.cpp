#include "shell/status_texts.h"

#include <algorithm>

#include "widgets/commands.h"

namespace belvorine {

std::array<int, 3> statusPartEdges(int clientWidth, int dpiX, int positionWidth, int clockWidth) {
    const int d = dpiX != 0 ? dpiX : 120;
    const int clock = std::max(d * 220 / 96, clockWidth);
    const int position = std::max(d * 235 / 96, positionWidth);
    return {clientWidth - clock - position, clientWidth - clock, clientWidth};
}

QString clockText(const LocalTime& now) {
    return QString::asprintf(" 現在 %4d年 %2d月 %2d日 %02d：%02dです", now.year, now.month, now.day,
                             now.hour, now.minute);
}

QString positionText(const Rect& mm) {
    auto rounded = [](int hundredths) { return (hundredths + 50) / 100; };
    return QString::asprintf("位置：%4d，%4dmm　範囲：%4d×%4dmm", rounded(mm.left), rounded(mm.top),
                             rounded(mm.right - mm.left), rounded(mm.bottom - mm.top));
}

QString longDescription(int command) {
    switch (command) {
        case kCmdPrintSetup:
            return QStringLiteral("プリンタの選択，用紙サイズ，余白等の設定");
        case kCmdPreview:
            return QStringLiteral("印刷のプレビューを表示");
        case kCmdPrint:
            return QStringLiteral("印刷の実行ダイアログを表示");
        case kCmdDataEntry:
            return QStringLiteral("データ入力ダイアログを表示");
        case kCmdExistingData:
            return QStringLiteral("既存データの編集・削除が行えます");
        case kCmdCompanyProfile:
            return QStringLiteral("自社名，部署等の登録ができます");
        case kCmdSwitchFormat:
            return QStringLiteral("書式を切り替えます");
        case kCmdPageSetup:
            return QStringLiteral("書式ごとに、フォントや出力設定をします");
        case kCmdLayoutStart:
            return QStringLiteral("表示項目のレイアウトを変更します");
        case kCmdHelp:
            return QStringLiteral("オンラインヘルプを表示します");
        case kCmdPreviousPage:
            return QStringLiteral("１つ前のページを表示");
        case kCmdNextPage:
            return QStringLiteral("１つ後のページを表示");
        case kCmdZoomOut:
            return QStringLiteral("画面表示を縮小します");
        case kCmdZoomIn:
            return QStringLiteral("画面表示を拡大します");
        case kCmdEditItem:
            return QStringLiteral("選択された項目の位置，内容を変更します");
        case kCmdUndo:
            return QStringLiteral("変更した項目を元に戻します");
        default:
            return QString();
    }
}

QString idleStatusText() {
    return QStringLiteral("ベルヴォリン");
}

}  // namespace belvorine
