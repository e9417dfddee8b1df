// Dialog services: context help map, pop-up help, the about box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "print/print_progress_dialog.h"
#include "shell/about_box.h"
#include "widgets/context_help.h"
#include "widgets/dialog_base.h"
#include "widgets/help.h"
#include "widgets/help_window.h"
#include "widgets/message_box.h"
#include "widgets/message_table.h"
#include "widgets/placement.h"

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
    EXPECT_EQ(helpIdForControl(print_progress::kBar), 0);  // the progress bar has no help
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

TEST(DialogBase, HelpOpenedFromAModalDialogCanBeUsedBesideIt) {
    BelvorineDialog dialog(nullptr, "ＭＳ ゴシック", 10);
    dialog.setHelpTopic("::/index.html");
    int scrolled = -1;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.openHelpTopic();
        auto* help = HelpWindow::instance();
        help->resize(300, 200);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(help));
        auto* browser = help->findChild<QTextBrowser*>();
        browser->setFocus();
        // Through the window system, where a modal dialog blocks input.
        QTest::keyClick(help->windowHandle(), Qt::Key_End);
        scrolled = browser->verticalScrollBar()->value();
        dialog.accept();
    });
    dialog.exec();
    EXPECT_GT(scrolled, 0);
    // Still open on its own after the dialog ended.
    EXPECT_TRUE(HelpWindow::instance()->isVisible());
    EXPECT_EQ(HelpWindow::instance()->parentWidget(), nullptr);
    HelpWindow::instance()->close();
}

// Broke before: the window kept the place of its contents when it moved to
// a dialog, which put its title bar above the screen under a window manager,
// and no key closed it.
TEST(HelpWindow, OpensOverTheMainWindowAndEscapeOrCtrlWClosesIt) {
    delete HelpWindow::instance();  // a fresh one, never placed yet
    QWidget main;
    main.setGeometry(100, 150, 600, 400);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    setMainWindow(&main);
    BelvorineDialog dialog(nullptr, "ＭＳ ゴシック", 10);
    dialog.setHelpTopic("::/index.html");
    QRect frame;
    QTimer::singleShot(0, &dialog, [&] {
        dialog.openHelpTopic();
        auto* help = HelpWindow::instance();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(help));
        frame = help->frameGeometry();
        help->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(help->isVisible());
        dialog.accept();
    });
    dialog.exec();
    setMainWindow(nullptr);
    const QRect area = workArea(&main);
    EXPECT_TRUE(area.contains(frame)) << "frame " << frame.x() << "," << frame.y();
    EXPECT_LE(std::abs(frame.center().x() - main.frameGeometry().center().x()), 1);

    auto* help = HelpWindow::instance();
    help->showTopic("::/index.html");
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help->windowHandle(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(help->isVisible());
}

TEST(MessageBoxes, SpeakJapaneseWhateverTheSystemLanguage) {
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
        }
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(showMessage({nullptr, "データ消去", "クリアーしてよろしいですか？",
                           MessageIcon::Question, MessageButtons::YesNo}),
              kResultNo);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"いいえ(&N)", "はい(&Y)"}));
    // Qt's own dialogs (the PDF printer's save dialog) are translated too.
    EXPECT_NE(QFileDialog::tr("&Save"), "&Save");
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
    auto* version = qobject_cast<QLabel*>(findControl(&box, about_box::kVersion));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Belvorine Ver 4.30");
    bool nameShown = false;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        nameShown |= label->text() == "ベルヴォリン";
    }
    EXPECT_TRUE(nameShown);

    QUrl opened;
    AboutBox::setBrowserOpenerForTesting([&](const QUrl& url) { opened = url; });
    auto* banner = qobject_cast<QPushButton*>(findControl(&box, about_box::kBanner));
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(banner->cursor().shape(), Qt::PointingHandCursor);
    banner->click();
    AboutBox::setBrowserOpenerForTesting(nullptr);
    EXPECT_EQ(opened, QUrl(kHomePage));
    EXPECT_EQ(box.result(), 2);
}
