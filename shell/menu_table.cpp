#include "shell/menu_table.h"

#include <array>

#include "widgets/commands.h"

namespace belvorine {
namespace {

const std::array<const char*, 25> kMenuTexts = {
    "印刷設定 (&U)...",
    "印刷プレビュー (&V)",
    "印刷プレビュー終了 (&V)",
    "印刷 (&P)...\tCtrl + P",
    "アプリケーションの終了 (&X)",
    "データ入力 (&D)...　　\tCtrl + D",
    "既存データ編集 (&H)...\tCtrl + H",
    "初期データ編集 (&I)...",
    "元に戻す (&U) 　　　　\tCtrl + Z",
    "項目内容編集 (&E)...",
    "起動時の状態に戻す (&R)",
    "購入時の状態に戻す (&F)",
    "ツールバー (&T)",
    "ステータスバー (&S)",
    "書式切り替え (&F)",
    "ページ設定 (&V)...",
    "レイアウト変更開始 (&L)",
    "レイアウト変更終了 (&L)",
    "ベルヴォリン ヘルプ (&H)\t\tF1",
    "バージョン情報 (&A)",
    "前ページへ (&B)",
    "次ページへ (&N)",
    "拡大・縮小 (&Z)...",
    "電子取引の検索 (&S)...",
    "電子取引の保存設定 (&A)...",
};

constexpr std::array<MenuItemInfo, 25> kItems = {{
    {kCmdPrintSetup, 0, 0, false},
    {kCmdPreview, 1, 2, false},
    {kCmdPrint, 3, 1, false},
    {kCmdExit, 4, -1, false},
    {kCmdDataEntry, 5, 3, false},
    {kCmdExistingData, 6, 4, false},
    {kCmdCompanyProfile, 7, 5, false},
    {kCmdToolbar, 12, 10, true},
    {kCmdStatusBar, 13, 10, true},
    {kCmdSwitchFormat, 14, 6, false},
    {kCmdPageSetup, 15, 7, false},
    {kCmdLayoutStart, 16, 8, false},
    {kCmdHelp, 18, 9, false},
    {kCmdAbout, 19, -1, false},
    {kCmdPreviewEnd, 2, -1, false},
    {kCmdLayoutEnd, 17, -1, false},
    {kCmdPreviousPage, 20, 11, false},
    {kCmdNextPage, 21, 12, false},
    {kCmdEditItem, 9, 15, false},
    {kCmdUndo, 8, 16, false},
    {kCmdResetToStartup, 10, -1, false},
    {kCmdResetToFactory, 11, -1, false},
    {kCmdZoomDialog, 22, -1, false},
    {kCmdArchiveSearch, 23, -1, false},
    {kCmdArchiveSettings, 24, -1, false},
}};

}  // namespace

QString menuText(int index) {
    if (index < 0 || index >= static_cast<int>(kMenuTexts.size())) {
        return QString();
    }
    return QString::fromUtf8(kMenuTexts[static_cast<std::size_t>(index)]);
}

MenuItemInfo menuItemInfo(int command) {
    for (const MenuItemInfo& item : kItems) {
        if (item.command == command) {
            return item;
        }
    }
    return MenuItemInfo{command, -1, -1, false};
}

QString menuTextOfCommand(int command) {
    return menuText(menuItemInfo(command).textIndex);
}

}  // namespace belvorine
