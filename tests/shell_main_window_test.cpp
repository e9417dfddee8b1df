// The main window: its modes, commands, tool bars and status bar, started
// the way the program starts.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>

#include "data/factory_values.h"
#include "data/settings_state.h"
#include "form/form_view.h"
#include "form/page_geometry.h"
#include "form_view_page.h"
#include "main_window_fixture.h"
#include "preview/preview_window.h"
#include "print/print_confirm_dialog.h"
#include "shell/menus.h"
#include "shell/status_bar.h"
#include "shell/status_texts.h"
#include "shell/tool_bars.h"
#include "widgets/commands.h"
#include "widgets/help.h"
#include "widgets/placement.h"

using namespace belvorine;

namespace {

class MainWindowTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        start();
        QObject::connect(window.get(), &MainWindow::exited, [this]() { ++exits; });
    }
    void TearDown() override {
        if (exits > 0) {
            window.reset();  // it went through its exit already
        }
        MainWindowFixture::TearDown();
    }

    QWidget* shownView() const {
        return static_cast<QStackedWidget*>(window->mainArea())->currentWidget();
    }
    bool enabled(int command) const { return window->action(command)->isEnabled(); }

    int exits = 0;
};

}  // namespace

TEST_F(MainWindowTest, StartsWithTheFirstFormatsCaptionAndTheFormView) {
    EXPECT_EQ(window->windowTitle(), "ベルヴォリン --- 書式１");
    EXPECT_EQ(shownView(), window->formView());
    EXPECT_FALSE(window->formView()->bitmap().isNull());
    EXPECT_EQ(window->statusBar()->partText(0), "ベルヴォリン");
    EXPECT_TRUE(window->statusBar()->partText(2).startsWith(" 現在 "));
}

// The form view keeps its page in grey with the red format name laid over
// it in colour: on screen every pixel must be the one a 32-bit page shows.
TEST_F(MainWindowTest, TheFormViewShowsEveryPixelOfA32BitPage) {
    FormView* view = window->formView();
    view->resize(900, 700);
    ASSERT_TRUE(view->render());
    const test::ShownPage shown = test::compareShownPage(*view);
    EXPECT_EQ(shown.differingPixels, 0);
    EXPECT_GT(shown.redPixels, 20);  // the format name
    EXPECT_LT(view->bitmap().sizeInBytes(), shown.pageBytes / 3);
}

TEST_F(MainWindowTest, CloseInThePreviewOnlyLeavesItAndASecondCloseEnds) {
    window->command(kCmdPreview);
    EXPECT_EQ(modeState().previewMode, 1);
    EXPECT_EQ(shownView(), window->previewWindow());
    window->close();
    EXPECT_EQ(modeState().previewMode, 0);
    EXPECT_EQ(shownView(), window->formView());
    EXPECT_EQ(exits, 0);
    window->close();
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(QFile::exists(folder.file("dat"))) << "the settings were saved";
}

TEST_F(MainWindowTest, TheExitCommandInLayoutModeClosesAtOnceWhenConfirmed) {
    window->command(kCmdLayoutStart);
    EXPECT_EQ(modeState().layoutMode, 1);
    window->command(kCmdExit);
    EXPECT_EQ(messages.back().text, "終了しますか？");
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(modeState().layoutMode, 0);
}

TEST_F(MainWindowTest, ZoomStopsAtItsLimits) {
    std::int32_t& zoom = settings().initialData.zoomPercent;
    zoom = 60;
    window->command(kCmdZoomOut);
    EXPECT_EQ(zoom, 40);
    EXPECT_FALSE(enabled(kCmdZoomOut));
    window->command(kCmdZoomOut);
    EXPECT_EQ(zoom, 40);
    zoom = 50;  // a value from an edited settings file
    window->command(kCmdZoomOut);
    EXPECT_EQ(zoom, 40);
    zoom = 190;
    window->command(kCmdZoomIn);
    EXPECT_EQ(zoom, 200);
    EXPECT_FALSE(enabled(kCmdZoomIn));
    window->command(kCmdZoomIn);
    EXPECT_EQ(zoom, 200);
}

TEST_F(MainWindowTest, SwitchingTheFormatTwiceRestoresTheFirstCaption) {
    window->command(kCmdSwitchFormat);
    EXPECT_EQ(currentFormat(), 1);
    EXPECT_EQ(window->windowTitle(), "ベルヴォリン --- 書式２");
    window->command(kCmdSwitchFormat);
    EXPECT_EQ(currentFormat(), 0);
    EXPECT_EQ(window->windowTitle(), "ベルヴォリン --- 書式１");
}

TEST_F(MainWindowTest, HidingTheToolBarOrTheStatusBarGivesItsHeightToTheMainArea) {
    const int before = window->mainArea()->height();
    const int bar = window->toolBars()->band(kMainBand)->height();
    window->command(kCmdToolbar);
    QApplication::processEvents();
    EXPECT_GE(window->mainArea()->height(), before + bar);
    const int withoutToolBar = window->mainArea()->height();
    window->command(kCmdStatusBar);
    QApplication::processEvents();
    EXPECT_GT(window->mainArea()->height(), withoutToolBar);
    window->command(kCmdToolbar);
    window->command(kCmdStatusBar);
    QApplication::processEvents();
    EXPECT_EQ(window->mainArea()->height(), before);
}

TEST_F(MainWindowTest, BandsFollowTheModeAndTheToolBarSwitch) {
    ToolBars* bars = window->toolBars();
    EXPECT_FALSE(bars->band(kPageBand)->isVisibleTo(window.get()));
    window->command(kCmdPreview);
    EXPECT_TRUE(bars->band(kPageBand)->isVisibleTo(window.get()));
    EXPECT_TRUE(bars->band(kCloseBand)->isVisibleTo(window.get()));
    EXPECT_FALSE(bars->band(kLayoutBand)->isVisibleTo(window.get()));
    window->command(kCmdToolbar);
    for (int band = 0; band < 4; ++band) {
        EXPECT_FALSE(bars->band(band)->isVisibleTo(window.get())) << band;
    }
    window->command(kCmdToolbar);
    EXPECT_TRUE(bars->band(kMainBand)->isVisibleTo(window.get()));
    EXPECT_TRUE(bars->band(kPageBand)->isVisibleTo(window.get()));
    EXPECT_TRUE(bars->band(kCloseBand)->isVisibleTo(window.get()));
    EXPECT_FALSE(bars->band(kLayoutBand)->isVisibleTo(window.get()));
}

TEST_F(MainWindowTest, PageButtonsFollowThePageAndTheOneSheetOption) {
    window->command(kCmdPreview);
    EXPECT_FALSE(enabled(kCmdPreviousPage));
    EXPECT_TRUE(enabled(kCmdNextPage));
    window->command(kCmdNextPage);
    EXPECT_EQ(modeState().previewPage, 2);
    EXPECT_TRUE(enabled(kCmdPreviousPage));
    EXPECT_FALSE(enabled(kCmdNextPage)) << "no acknowledgement: page 2 is the last";
    window->command(kCmdLeaveMode);

    window->command(kCmdSwitchFormat);  // format 2 prints order and copy on one sheet
    window->command(kCmdPreview);
    EXPECT_FALSE(enabled(kCmdNextPage));
    window->command(kCmdNextPage);
    EXPECT_EQ(modeState().previewPage, 1);
}

TEST_F(MainWindowTest, TheEditMenuHoldsTheLayoutCommandsExactlyInLayoutMode) {
    QMenu* edit = window->menus()->editMenu();
    const qsizetype outside = edit->actions().size();
    window->command(kCmdLayoutStart);
    EXPECT_EQ(edit->actions().size(), outside + 5);
    EXPECT_EQ(edit->actions().first(), window->action(kCmdUndo));
    EXPECT_FALSE(enabled(kCmdPreview));
    EXPECT_FALSE(enabled(kCmdPreviewEnd));
    window->command(kCmdPreview);  // ignored in layout mode
    EXPECT_EQ(modeState().previewMode, 0);
    // Each item of the menu has a letter of its own.
    QSet<QChar> letters;
    for (QAction* item : edit->actions()) {
        const qsizetype at = item->text().indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < item->text().size()) {
            const QChar letter = item->text()[at + 1].toUpper();
            EXPECT_FALSE(letters.contains(letter)) << item->text().toStdString();
            letters.insert(letter);
        }
    }
    window->command(kCmdLayoutEnd);
    EXPECT_EQ(edit->actions().size(), outside);
    EXPECT_TRUE(window->menus()->fileMenu()->actions().contains(window->action(kCmdPreview)));
}

TEST_F(MainWindowTest, ToolBarTooltipsPutTheLongDescriptionIntoTheStatusBar) {
    QToolBar* main = window->toolBars()->band(kMainBand);
    QWidget* button = main->widgetForAction(window->action(kCmdDataEntry));
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &tip);
    EXPECT_EQ(window->statusBar()->partText(0), "データ入力ダイアログを表示");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(window->statusBar()->partText(0), "ベルヴォリン");
}

TEST_F(MainWindowTest, ResettingFormat2ToItsStartUpStateLeavesFormat1Alone) {
    const Rect moved{3000, 3000, 9000, 4000};
    liveLayout(0)[12].mmRect = moved;
    liveLayout(1)[12].mmRect = moved;
    window->command(kCmdSwitchFormat);
    window->command(kCmdLayoutStart);

    answer = kResultNo;
    window->command(kCmdResetToStartup);
    EXPECT_EQ(messages.back().caption, "起動時の状態に戻す");
    EXPECT_TRUE(messages.back().text.contains("起動時の状態に戻します。"));
    EXPECT_EQ(liveLayout(1)[12].mmRect, moved);

    answer = kResultYes;
    window->command(kCmdResetToStartup);
    EXPECT_EQ(liveLayout(1)[12].mmRect, factoryLayout()[12].mmRect);
    EXPECT_EQ(liveLayout(0)[12].mmRect, moved);

    liveLayout(1)[1].mmRect = moved;
    window->command(kCmdResetToFactory);
    EXPECT_EQ(messages.back().caption, "購入時の状態に戻す");
    EXPECT_EQ(liveLayout(1)[1].mmRect, factoryLayout()[1].mmRect);
    EXPECT_EQ(exits, 0);
}

TEST_F(MainWindowTest, TheNextStartReopensTheWindowWhereAndHowItWasClosed) {
    const QRect area = workArea(window.get());
    window->move(area.x() + 30, area.y() + 20);
    window->resize(area.width() - 100, area.height() - 100);
    QApplication::processEvents();
    const QRect closedAt = window->frameGeometry();
    const QSize size = window->size();
    restart();
    EXPECT_EQ(window->frameGeometry().topLeft(), closedAt.topLeft());
    EXPECT_EQ(window->size(), size);
    EXPECT_FALSE(window->isMaximized());

    window->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(settings().initialData.showState, kShowMaximised);
    restart();
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(MainWindowTest, APrinterWithoutResolutionEndsTheProgramWithError11) {
    printerGeometry(0).resolutionX = 0;
    window->refreshViews();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages.back().text.startsWith(" ERROR No.0011"));
    EXPECT_EQ(messages.back().caption, "Ｅｒｒｏｒ");
    EXPECT_EQ(exits, 1) << "the normal exit saves the settings and commits the history";
}

TEST_F(MainWindowTest, AFailedPrintEndsTheProgramThroughTheNormalExit) {
    setPdfFileChooserForTesting([]() { return QStringLiteral("/no/such/folder/order.pdf"); });
    QTimer::singleShot(0, []() {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        qobject_cast<QPushButton*>(findControl(dialog, print_confirm::kPrint))->click();
    });
    window->command(kCmdPrint);
    setPdfFileChooserForTesting(nullptr);
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages.back().text.startsWith(" ERROR No.0004"));
    EXPECT_EQ(messages.back().caption, "Error");
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(QFile::exists(folder.file("dat")));
}

TEST_F(MainWindowTest, F1InLayoutModeOpensTheLayoutTopic) {
    window->command(kCmdHelp);
    EXPECT_EQ(currentHelpTopic(), "::/index.html");
    window->command(kCmdLayoutStart);
    window->command(kCmdHelp);
    EXPECT_EQ(currentHelpTopic(), "::/layout.html");
}

TEST(StatusTexts, PartsEndAtFixedDistancesFromTheRightEdge) {
    EXPECT_EQ(statusPartEdges(800, 96), (std::array<int, 3>{345, 580, 800}));
    EXPECT_EQ(statusPartEdges(800, 0), (std::array<int, 3>{800 - 568, 800 - 275, 800}));
}

TEST(StatusTexts, PositionsAreRoundedToWholeMillimetres) {
    EXPECT_EQ(positionText(Rect{1049, 2050, 1049 + 5000, 2050 + 3001}),
              "位置：  10，  21mm　範囲：  50×  30mm");
}

TEST(StatusTexts, TheClockShowsDateAndMinute) {
    EXPECT_EQ(clockText(LocalTime{2026, 12, 7, 9, 5, 59}), " 現在 2026年 12月  7日 09：05です");
}

TEST_F(MainWindowTest, ScrollBarsDependOnlyOnTheSizeNotOnWhatCameBefore) {
    FormView view;
    view.show();
    const auto bars = [&view] {
        QCoreApplication::processEvents();
        return std::pair(view.horizontalScrollBar()->isVisible(),
                         view.verticalScrollBar()->isVisible());
    };
    int fits = 0;
    const ScrollState& state = window->formView()->scrollState();
    const QSize page(state.horizontalExtent * state.horizontalUnit,
                     state.verticalExtent * state.verticalUnit);
    for (int extra = -40; extra <= 40; extra += 2) {
        // Rendered while the window is still small, as at start-up, then
        // given its final size.
        view.resize(300, 300);
        view.render();
        view.resize(page.width() + extra, page.height() + extra);
        const auto grown = bars();
        view.render();
        EXPECT_EQ(bars(), grown) << extra;
        fits += grown.first ? 0 : 1;
    }
    // The sizes cover both a page that fits and one that does not.
    EXPECT_GT(fits, 0);
}

TEST_F(MainWindowTest, ViewMenuShowsAHiddenBarAsAnEmptyBox) {
    // Pixels inside the box that are not white: the tick.
    const auto tickPixels = [this](int command) {
        const QImage image = window->action(command)->icon().pixmap(16, 16).toImage();
        int ticked = 0;
        for (int y = 5; y < 12; ++y) {
            for (int x = 5; x < 12; ++x) {
                ticked += image.pixelColor(x, y).lightness() < 200 ? 1 : 0;
            }
        }
        return ticked;
    };
    EXPECT_GT(tickPixels(kCmdToolbar), 0);
    window->command(kCmdToolbar);
    window->command(kCmdStatusBar);
    EXPECT_EQ(tickPixels(kCmdToolbar), 0);
    EXPECT_EQ(tickPixels(kCmdStatusBar), 0);
}

// A logout during a print must not commit the history under the print: the
// exit asked by a termination signal waits for the command under way.
TEST_F(MainWindowTest, AnExitAskedDuringACommandComesAfterIt) {
    int exitsInside = -1;
    test::withModalDialog([this]() { window->command(kCmdDataEntry); },
                          [this, &exitsInside](QWidget*) {
                              window->requestExit();
                              exitsInside = exits;
                          });
    EXPECT_EQ(exitsInside, 0);
    EXPECT_EQ(exits, 1);
}
