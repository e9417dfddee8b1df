// Dialog services: context help map, pop-up help, the about box.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

#include "shell/about_box.h"
#include "shell/context_help.h"
#include "shell/dialog_base.h"
#include "shell/help.h"
#include "shell/message_table.h"

using namespace belvorine;

TEST(ContextHelpMap, HoldsEveryControlOnceAndEndsWithZeroPair) {
    const auto& map = contextHelpMap();
    ASSERT_EQ(map.size(), 284u);  // 283 pairs and the terminator
    EXPECT_EQ(map.back(), std::make_pair(0, 0));
    int shared = 0;
    for (std::size_t i = 0; i + 1 < map.size(); ++i) {
        const auto [control, help] = map[i];
        EXPECT_GE(control, 1001);
        EXPECT_LE(control, 1474);
        EXPECT_TRUE(help == kSharedHelpId || help == control + 10000) << control;
        if (i > 0) {
            EXPECT_LT(map[i - 1].first, control) << "duplicate or unsorted " << control;
        }
        shared += help == kSharedHelpId;
    }
    EXPECT_EQ(shared, 92);
}

TEST(ContextHelpMap, LabelsShareOneTextAndControlsHaveTheirOwn) {
    EXPECT_EQ(helpIdForControl(1002), 12000);  // a label of the data entry dialog
    EXPECT_EQ(helpIdForControl(1013), 11013);  // its counterparty box
    EXPECT_EQ(helpIdForControl(1450), 12000);
    EXPECT_EQ(helpIdForControl(1474), 11474);
    EXPECT_EQ(helpIdForControl(1405), 0);  // the progress bar has no help
    EXPECT_EQ(helpIdForControl(0), 0);
    EXPECT_EQ(helpIdForControl(-1), 0);
}

TEST(DialogBase, F1OnALabelShowsTheSharedTextAndNothingForUnnumberedControls) {
    BelvorineDialog dialog(nullptr, "ＭＳ ゴシック", 10);
    auto* label = new QLabel("相 手 先：", &dialog);
    setControlId(label, 1002);
    auto* plain = new QLineEdit(&dialog);
    EXPECT_EQ(dialog.showContextHelp(label, HelpCommand::WhatsThisFromHelpKey), 12000);
    EXPECT_EQ(dialog.showContextHelp(plain, HelpCommand::WhatsThisFromHelpKey), 0);
    EXPECT_FALSE(popupText(12000).isEmpty());
}

TEST(DialogBase, HelpButtonOpensTheDialogsTopic) {
    BelvorineDialog dialog(nullptr, "ＭＳ ゴシック", 10);
    dialog.setHelpTopic("::/index.html");
    dialog.openHelpTopic();
    EXPECT_EQ(currentHelpTopic(), "::/index.html");
    // A topic the help does not hold opens the contents page.
    dialog.setHelpTopic("::/no-such-topic.html");
    dialog.openHelpTopic();
    EXPECT_EQ(currentHelpTopic(), "::/index.html");
}

TEST(MessageTable, UnusedSlotsAreEmptyAndNumbersOutsideTheTableToo) {
    for (int unused : {0, 7, 8, 9, 15, -1}) {
        EXPECT_TRUE(messageText(unused).isEmpty()) << unused;
    }
    EXPECT_TRUE(messageText(5).startsWith(" ERROR No.0005\n\n"));
    EXPECT_TRUE(messageText(3).endsWith("試して下さい。\n"));
}

TEST(AboutBox, ShowsNameVersionAndOpensTheHomePageFromTheBanner) {
    AboutBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), "ベルヴォリンのﾊﾞｰｼﾞｮﾝ情報");
    auto* version = qobject_cast<QLabel*>(findControl(&box, 1495));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Belvorine Ver 4.30");
    bool nameShown = false;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        nameShown |= label->text() == "ベルヴォリン";
    }
    EXPECT_TRUE(nameShown);

    QUrl opened;
    AboutBox::setBrowserOpenerForTesting([&](const QUrl& url) { opened = url; });
    auto* banner = qobject_cast<QPushButton*>(findControl(&box, 1485));
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->cursor().shape(), Qt::PointingHandCursor);
    banner->click();
    AboutBox::setBrowserOpenerForTesting(nullptr);
    EXPECT_EQ(opened, QUrl(kHomePage));
    EXPECT_EQ(box.result(), 2);
}
