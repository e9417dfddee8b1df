// Layout-change mode driven with the mouse on the preview's viewport, as a
// user edits the layout: select, move, resize, undo, the resets, the zoom
// dialog and the preview's background.

#include <gtest/gtest.h>

#include <cstring>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "data/factory_values.h"
#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/units.h"
#include "main_window_fixture.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"
#include "preview/item_property_dialog.h"
#include "preview/layout_undo.h"
#include "preview/preview_window.h"
#include "preview/zoom_dialog.h"
#include "print/print_confirm_dialog.h"
#include "setup/page_setup_dialog.h"
#include "shell/status_bar.h"
#include "shell/status_texts.h"
#include "widgets/commands.h"
#include "widgets/help.h"

using namespace belvorine;

namespace {

constexpr int kTitle = 1;
constexpr int kDate = 4;
constexpr int kCompanyName = 5;
constexpr int kInspection = 20;
constexpr int kRuleLine = 29;

bool sameItem(const LayoutItem& a, const LayoutItem& b) {
    return std::memcmp(&a, &b, sizeof(LayoutItem)) == 0;
}

class LayoutEditing : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        // What a new process starts with.
        setLayoutChanged(0, false);
        setLayoutChanged(1, false);
        start();
        settings().initialData.zoomPercent = 100;
        // Wide enough that a drag far past the margin box stays inside.
        window->showNormal();
        window->resize(1700, 1100);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->command(kCmdLayoutStart);
        QApplication::processEvents();
    }
    PreviewWindow* preview() const { return window->previewWindow(); }
    QWidget* viewport() const { return preview()->viewport(); }
    FormLayout& live() const { return liveLayout(currentFormat()); }
    bool enabled(int command) const { return window->action(command)->isEnabled(); }

    QPoint centreOf(int item) const {
        const Rect& r = live()[item].screenRect;
        return preview()->clientPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void press(const QPoint& at) { QTest::mousePress(viewport(), Qt::LeftButton, {}, at); }
    void release(const QPoint& at) { QTest::mouseRelease(viewport(), Qt::LeftButton, {}, at); }
    void moveHeld(const QPoint& at) {
        QMouseEvent move(QEvent::MouseMove, at, viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport(), &move);
    }
    void click(const QPoint& at) {
        press(at);
        release(at);
    }
    // Selects `item` if needed, then drags it by `delta` pixels in `steps`.
    void drag(int item, const QPoint& delta, int steps = 1) {
        const QPoint from = centreOf(item);
        if (selectedLayoutItem() != item || !preview()->selection().selected) {
            click(from);
        }
        press(from);
        for (int i = 1; i <= steps; ++i) {
            moveHeld(from + delta * i / steps);
        }
        release(from + delta);
    }
    void undoWithCtrlZ() { QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier); }
};

}  // namespace

TEST_F(LayoutEditing, APressSelectsADragMovesByThePixelsAndCtrlZRestoresTheItemExactly) {
    const LayoutItem before = live()[kCompanyName];
    click(centreOf(kCompanyName));
    EXPECT_EQ(selectedLayoutItem(), kCompanyName);
    EXPECT_EQ(window->statusBar()->partText(1), positionText(before.mmRect));
    EXPECT_TRUE(enabled(kCmdEditItem));
    EXPECT_EQ(live()[kCompanyName].mmRect, before.mmRect) << "the first press only selects";

    drag(kCompanyName, QPoint(-20, 10));
    const PageSettings& page = printerSettings(currentFormat());
    const int dpiX = screenMetrics().dpiX;
    const int dpiY = screenMetrics().dpiY;
    const Rect& moved = live()[kCompanyName].mmRect;
    EXPECT_EQ(moved.left,
              toHundredthsMm(before.screenRect.left - 20, dpiX) + page.marginLeft.value);
    EXPECT_EQ(moved.top, toHundredthsMm(before.screenRect.top + 10, dpiY) + page.marginTop.value);
    EXPECT_EQ(moved.right,
              toHundredthsMm(before.screenRect.right - 20, dpiX) + page.marginLeft.value);
    EXPECT_EQ(live()[kCompanyName].screenRect.width(), before.screenRect.width());
    EXPECT_EQ(window->statusBar()->partText(1), positionText(moved));
    EXPECT_EQ(layoutUndoCount(), 1);
    EXPECT_TRUE(enabled(kCmdUndo));
    EXPECT_TRUE(enabled(kCmdResetToStartup));

    undoWithCtrlZ();
    EXPECT_TRUE(sameItem(live()[kCompanyName], before));
    EXPECT_EQ(layoutUndoCount(), 0);
    EXPECT_FALSE(enabled(kCmdUndo));
    EXPECT_EQ(selectedLayoutItem(), kCompanyName);
}

TEST_F(LayoutEditing, ADoubleClickDoesNotMoveAndOpensThePropertiesOfTheFrame) {
    std::vector<int> opened;
    setItemPropertiesHook([&](int item) { opened.push_back(item); });
    const LayoutItem before = live()[kCompanyName];
    const QPoint at = centreOf(kCompanyName);
    click(at);
    press(at);
    release(at);
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, at);
    moveHeld(at + QPoint(15, 0));
    release(at + QPoint(15, 0));
    EXPECT_EQ(opened, std::vector<int>{kCompanyName});
    EXPECT_TRUE(sameItem(live()[kCompanyName], before));
    EXPECT_EQ(layoutUndoCount(), 0);

    window->command(kCmdEditItem);
    EXPECT_EQ(opened.size(), 2u);
    setItemPropertiesHook(nullptr);
}

TEST_F(LayoutEditing, AFramePushedFarPastTheLeftMarginShrinksButStaysSelectable) {
    // Up into the empty top of the page and far past its left edge.
    const QPoint centre = centreOf(kCompanyName);
    drag(kCompanyName, QPoint(20 - centre.x(), -live()[kCompanyName].screenRect.top), 60);
    const Rect& frame = live()[kCompanyName].screenRect;
    EXPECT_EQ(frame.left, 0);
    EXPECT_GE(frame.width(), 1);
    EXPECT_GE(frame.height(), 1);

    click(QPoint(1, 1));  // beside the page
    EXPECT_EQ(selectedLayoutItem(), -1);
    const QPoint firstPixel = preview()->clientPoint(frame.left, frame.top) + QPoint(0, 1);
    click(firstPixel);
    ASSERT_EQ(selectedLayoutItem(), kCompanyName);
    press(firstPixel);
    moveHeld(firstPixel + QPoint(100, 40));
    release(firstPixel + QPoint(100, 40));
    EXPECT_NEAR(live()[kCompanyName].screenRect.left, 100, 1);
}

TEST_F(LayoutEditing, OneFastDragMovesAFrameWholeAndAResizeKeepsItsTextVisible) {
    long long boxWidth = 0;
    long long boxHeight = 0;
    marginBoxExtent(currentFormat(), boxWidth, boxHeight);

    // Far past the right edge in one motion: the frame keeps its size and
    // stops at the edge (it used to end up one pixel wide).
    const LayoutItem inspection = live()[kInspection];
    drag(kInspection, QPoint(830, 0));
    EXPECT_EQ(live()[kInspection].screenRect.width(), inspection.screenRect.width());
    EXPECT_EQ(live()[kInspection].screenRect.right, boxWidth);
    EXPECT_EQ(live()[kInspection].screenRect.height(), inspection.screenRect.height());

    // Up past the top edge in one motion: the same.
    const LayoutItem date = live()[kDate];
    drag(kDate, QPoint(0, -100));
    EXPECT_EQ(live()[kDate].screenRect.top, 0);
    EXPECT_EQ(live()[kDate].screenRect.height(), date.screenRect.height());
    EXPECT_EQ(live()[kDate].screenRect.width(), date.screenRect.width());

    // A handle dragged far over the opposite corner stops at 1 mm and at
    // one line of the frame's 17-point text; far right it stops at the
    // margin box.
    click(centreOf(kCompanyName));
    const LayoutItem before = live()[kCompanyName];
    const QPoint handle =
        preview()->handleZones()[static_cast<int>(Handle::BottomRight) - 1].center();
    press(handle);
    moveHeld(handle - QPoint(250, 60));
    EXPECT_EQ(preview()->selection().rect.width(), toPixels(100, screenMetrics().dpiX));
    EXPECT_EQ(preview()->selection().rect.height(), mulDiv(17, screenMetrics().dpiY, 72));
    moveHeld(handle + QPoint(600, 6));
    release(handle + QPoint(600, 6));
    const LayoutItem& after = live()[kCompanyName];
    EXPECT_EQ(after.screenRect.left, before.screenRect.left);
    EXPECT_EQ(after.screenRect.top, before.screenRect.top);
    EXPECT_EQ(after.screenRect.right, boxWidth);
    EXPECT_NEAR(after.screenRect.bottom, preview()->pagePoint(handle + QPoint(600, 6)).y(), 1);
    EXPECT_EQ(layoutUndoCount(), 3);
}

TEST_F(LayoutEditing, EscCancelsADragAndAClickOnAHandleChangesNothing) {
    click(centreOf(kCompanyName));
    const LayoutItem before = live()[kCompanyName];
    const QPoint handle = preview()->handleZones()[static_cast<int>(Handle::Right) - 1].center();
    click(handle);
    EXPECT_EQ(layoutUndoCount(), 0) << "a click on a handle is no change";
    EXPECT_FALSE(enabled(kCmdUndo));

    press(handle);
    moveHeld(handle + QPoint(40, 0));
    QTest::keyClick(viewport(), Qt::Key_Escape);
    release(handle + QPoint(40, 0));
    const QPoint centre = centreOf(kCompanyName);
    press(centre);
    moveHeld(centre + QPoint(30, 30));
    QTest::keyClick(window.get(), Qt::Key_Escape);
    release(centre + QPoint(30, 30));
    EXPECT_TRUE(sameItem(live()[kCompanyName], before));
    EXPECT_EQ(layoutUndoCount(), 0);
    EXPECT_EQ(preview()->selection().rect, before.screenRect);
    EXPECT_EQ(window->statusBar()->partText(1), positionText(before.mmRect));
}

TEST_F(LayoutEditing, TenChangesLeaveNineUndosAndTheFirstStays) {
    for (int i = 0; i < 10; ++i) {
        drag(kCompanyName, QPoint(0, 4));
    }
    EXPECT_EQ(layoutUndoCount(), kLayoutUndoDepth);
    for (int i = 0; i < 12; ++i) {
        window->command(kCmdUndo);
    }
    EXPECT_EQ(layoutUndoCount(), 0);
    EXPECT_NE(live()[kCompanyName].mmRect, factoryLayout()[kCompanyName].mmRect)
        << "the first change is too old to undo";
    EXPECT_FALSE(enabled(kCmdUndo));
}

TEST_F(LayoutEditing, OnTheAcknowledgementTheRuleLineMovesAndUndoes) {
    printerSettings(currentFormat()).makeAcknowledgement = 1;
    window->command(kCmdNextPage);
    window->command(kCmdNextPage);
    ASSERT_EQ(modeState().previewPage, 3);
    // The issuer's frames are not selectable on the acknowledgement.
    click(centreOf(kCompanyName));
    EXPECT_NE(selectedLayoutItem(), kCompanyName);

    const FormLayout before = live();
    drag(kRuleLine, QPoint(-30, -12));
    EXPECT_NE(live()[kRuleLine].mmRect, before[kRuleLine].mmRect);
    window->command(kCmdUndo);
    EXPECT_EQ(std::memcmp(&live(), &before, sizeof(FormLayout)), 0);
}

TEST_F(LayoutEditing, TheTitleGroupMovesTogetherAndOneUndoRestoresAllThree) {
    const FormLayout before = live();
    drag(kTitle, QPoint(-40, 20));
    for (int item = 1; item <= 3; ++item) {
        EXPECT_EQ(live()[item].mmRect, live()[kTitle].mmRect) << item;
        EXPECT_NE(live()[item].mmRect, before[item].mmRect) << item;
        EXPECT_STREQ(live()[item].text, before[item].text) << item;
    }
    window->command(kCmdUndo);
    for (int item = 1; item <= 3; ++item) {
        EXPECT_TRUE(sameItem(live()[item], before[item])) << item;
    }
}

TEST_F(LayoutEditing, ZoomAndPageChangesKeepCtrlZWhileThereIsSomethingToUndo) {
    const Rect original = live()[kCompanyName].mmRect;
    drag(kCompanyName, QPoint(0, 8));
    drag(kCompanyName, QPoint(8, 0));
    window->command(kCmdZoomIn);
    EXPECT_TRUE(enabled(kCmdUndo));
    undoWithCtrlZ();
    EXPECT_EQ(layoutUndoCount(), 1);
    window->command(kCmdNextPage);
    EXPECT_EQ(selectedLayoutItem(), -1);
    EXPECT_FALSE(enabled(kCmdEditItem));
    EXPECT_TRUE(enabled(kCmdUndo));
    undoWithCtrlZ();
    EXPECT_EQ(live()[kCompanyName].mmRect, original);
}

TEST_F(LayoutEditing, TheResetsClearTheEditorAndOnlyTheStartUpResetGreysItself) {
    EXPECT_FALSE(enabled(kCmdResetToStartup));
    EXPECT_TRUE(enabled(kCmdResetToFactory));
    drag(kCompanyName, QPoint(0, 8));
    EXPECT_TRUE(enabled(kCmdResetToStartup));

    window->command(kCmdResetToFactory);
    EXPECT_TRUE(messages.back().text.contains("購入時の状態に戻します。"));
    EXPECT_EQ(live()[kCompanyName].mmRect, factoryLayout()[kCompanyName].mmRect);
    EXPECT_EQ(layoutUndoCount(), 0);
    EXPECT_FALSE(enabled(kCmdUndo));
    EXPECT_FALSE(enabled(kCmdEditItem));
    EXPECT_TRUE(enabled(kCmdResetToStartup)) << "the factory reset leaves it as it was";
    EXPECT_EQ(window->statusBar()->partText(1), "");

    drag(kCompanyName, QPoint(0, 8));
    window->command(kCmdResetToStartup);
    EXPECT_FALSE(enabled(kCmdResetToStartup));
    EXPECT_EQ(layoutUndoCount(), 0);
    EXPECT_EQ(selectedLayoutItem(), -1);
}

TEST_F(LayoutEditing, AResetKeepsTheCompanyProfileOfBothFormatsAndTheCaptionFollowsAtOnce) {
    const std::string company = toSjisLossy(QStringLiteral("ベルヴォリン工業株式会社"));
    setCompanyProfileText(0, company);
    copySjis(printerSettings(0).formatName, toSjisLossy(QStringLiteral("発注用Ａ４")));
    window->setWindowTitle(window->captionText());

    window->command(kCmdResetToFactory);
    EXPECT_EQ(window->windowTitle(), "ベルヴォリン --- 書式１");
    for (int format = 0; format < kFormatCount; ++format) {
        EXPECT_EQ(sjisView(liveLayout(format)[kCompanyName].text), company) << format;
    }
    // The name's frame is fitted to the name, about the factory frame's centre.
    const Rect& name = live()[kCompanyName].mmRect;
    const Rect& factory = factoryLayout()[kCompanyName].mmRect;
    EXPECT_NE(name.width(), factory.width());
    EXPECT_LE(std::abs((name.left + name.right) - (factory.left + factory.right)), 1);
}

TEST_F(LayoutEditing, AnEditThatRewritesTheLayoutElsewhereEmptiesTheHistory) {
    drag(kCompanyName, QPoint(0, 8));
    // What the company profile, print setup and page setup dialogs do.
    clearLayoutUndo();
    window->refreshViews();
    EXPECT_FALSE(enabled(kCmdUndo));
    const Rect current = live()[kCompanyName].mmRect;
    undoWithCtrlZ();
    EXPECT_EQ(live()[kCompanyName].mmRect, current);
}

namespace {

// Runs `work` on the zoom dialog that the command opens.
void withZoomDialog(MainWindow& window, const std::function<void(QWidget*)>& work) {
    bool ran = false;
    QTimer::singleShot(0, [&]() {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        work(dialog);
        ran = true;
    });
    window.command(kCmdZoomDialog);
    EXPECT_TRUE(ran);
}

QPushButton* zoomButton(QWidget* dialog, int id) {
    return qobject_cast<QPushButton*>(findControl(dialog, id));
}

}  // namespace

TEST_F(LayoutEditing, TheZoomDialogStepsFromTheChoiceAndKeepsAnUnlistedZoom) {
    settings().initialData.zoomPercent = 50;
    withZoomDialog(*window, [](QWidget* dialog) {
        EXPECT_EQ(qobject_cast<QComboBox*>(findControl(dialog, kZoomList))->currentIndex(), -1);
        zoomButton(dialog, kZoomOk)->click();
    });
    EXPECT_EQ(settings().initialData.zoomPercent, 50);
    const int widthAt50 = preview()->paperSize().width();

    withZoomDialog(*window, [](QWidget* dialog) {
        auto* list = qobject_cast<QComboBox*>(findControl(dialog, kZoomList));
        list->setCurrentIndex(list->findText("180"));
        emit list->activated(list->currentIndex());
        zoomButton(dialog, kZoomInButton)->click();
        EXPECT_EQ(list->currentText(), "200");
        EXPECT_FALSE(zoomButton(dialog, kZoomInButton)->isEnabled());
        zoomButton(dialog, kZoomCancel)->click();
    });
    EXPECT_EQ(settings().initialData.zoomPercent, 50);

    withZoomDialog(*window, [](QWidget* dialog) {
        for (int i = 0; i < 5; ++i) {
            zoomButton(dialog, kZoomOutButton)->click();
        }
        EXPECT_FALSE(zoomButton(dialog, kZoomOutButton)->isEnabled());
        zoomButton(dialog, kZoomOk)->click();
    });
    EXPECT_EQ(settings().initialData.zoomPercent, 40);
    EXPECT_FALSE(enabled(kCmdZoomOut));
    EXPECT_NEAR(preview()->paperSize().width(), widthAt50 * 4 / 5, 1);
}

// The preview keeps only the part of its page bitmap around the sheet. The
// window must show what the whole bitmap shows, scrolled anywhere, and a
// page that draws outside its paper is kept whole.
TEST_F(LayoutEditing, KeepingPartOfThePageShowsWhatTheWholePageShows) {
    printerSettings(currentFormat()).makeAcknowledgement = 1;
    // What the window shows at the top of the page and scrolled down and
    // right step by step; `kept`: the size of the bitmap kept.
    const auto shown = [this](bool whole, QSize* kept = nullptr) {
        setWholePreviewBitmapForTesting(whole);
        preview()->render();
        setWholePreviewBitmapForTesting(false);
        if (kept) {
            *kept = preview()->bitmap().size();
        }
        std::vector<QImage> views;
        for (int step = 0; step < 4; ++step) {
            views.push_back(viewport()->grab().toImage());
            preview()->scrollKey(Qt::Key_PageDown);
            preview()->scrollKey(Qt::Key_End);
        }
        for (int step = 0; step < 4; ++step) {
            preview()->scrollKey(Qt::Key_PageUp);
            preview()->scrollKey(Qt::Key_Home);
        }
        return views;
    };
    QSize kept;
    for (const bool layoutMode : {true, false}) {
        if (!layoutMode) {
            window->command(kCmdLayoutEnd);
            window->command(kCmdPreview);
        }
        for (const int zoom : {40, 200}) {
            for (int page = 1; page <= PreviewWindow::lastPage(); ++page) {
                SCOPED_TRACE(testing::Message() << layoutMode << " " << zoom << " " << page);
                settings().initialData.zoomPercent = zoom;
                modeState().previewPage = page;
                const std::vector<QImage> part = shown(false, &kept);
                EXPECT_LT(kept.width(), 2 * preview()->paperSize().width());
                EXPECT_TRUE(part == shown(true));
            }
        }
    }

    // The company's name left of the paper and above it, with its outline
    // in layout mode and alone in the preview.
    window->command(kCmdPreviewEnd);
    for (const int mode : {kCmdLayoutStart, kCmdPreview}) {
        window->command(mode);
        settings().initialData.zoomPercent = 40;
        modeState().previewPage = 1;
        live()[kCompanyName].screenRect = Rect{-120, -60, 80, -30};
        const std::vector<QImage> part = shown(false, &kept);
        EXPECT_EQ(kept, 2 * preview()->paperSize()) << mode;
        EXPECT_TRUE(part == shown(true)) << mode;
        window->command(kCmdLeaveMode);
    }
}

TEST_F(LayoutEditing, EverythingBesideTheSmallPageIsTheLightGreyBackground) {
    window->command(kCmdLayoutEnd);
    window->command(kCmdPreview);
    for (int zoom : {40, 60}) {
        settings().initialData.zoomPercent = zoom;
        preview()->render();
        const QImage shown = viewport()->grab().toImage();
        for (const QPoint& corner :
             {QPoint(1, 1), QPoint(shown.width() - 2, 1), QPoint(1, shown.height() - 2),
              QPoint(shown.width() - 2, shown.height() - 2)}) {
            EXPECT_EQ(shown.pixelColor(corner), QColor(192, 192, 192)) << zoom << " " << corner.x();
        }
    }
}

namespace {

// The top-left corner, in points, of the first word `text` on page 1 of a
// PDF (pdftotext -bbox); (-1, -1) when it is not there.
QPointF wordOnFirstPage(const QString& pdf, const QString& text) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                   QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    process.waitForFinished(-1);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (const QRegularExpressionMatch& match : word.globalMatch(html)) {
        if (match.captured(3) == text) {
            return QPointF(match.captured(1).toDouble(), match.captured(2).toDouble());
        }
    }
    return QPointF(-1, -1);
}

}  // namespace

TEST_F(LayoutEditing, AFrameMovedTenMillimetresDownPrintsTenMillimetresLower) {
    const QString pdf = folder.path() + "/order.pdf";
    setPdfFileChooserForTesting([&]() { return pdf; });
    const auto print = [&]() {
        bool ran = false;
        QTimer::singleShot(0, [&]() {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            qobject_cast<QPushButton*>(findControl(dialog, print_confirm::kPrint))->click();
            ran = true;
        });
        window->command(kCmdPrint);
        EXPECT_TRUE(ran);
    };
    window->command(kCmdLayoutEnd);
    print();
    const QString name = QStringLiteral("×△◇株式会社");
    const QPointF before = wordOnFirstPage(pdf, name);
    ASSERT_GE(before.y(), 0);

    window->command(kCmdLayoutStart);
    const int tenMillimetres = toPixels(1000, screenMetrics().dpiY);
    const Rect frame = live()[kCompanyName].screenRect;
    drag(kCompanyName, QPoint(0, tenMillimetres), 4);
    ASSERT_EQ(live()[kCompanyName].screenRect.top, frame.top + tenMillimetres);
    window->command(kCmdLayoutEnd);
    QFile::remove(pdf);
    print();
    const QPointF after = wordOnFirstPage(pdf, name);
    setPdfFileChooserForTesting(nullptr);

    const double expected = tenMillimetres * 72.0 / screenMetrics().dpiY;  // ≈ 10 mm in points
    EXPECT_NEAR(after.y() - before.y(), expected, 0.5);
    EXPECT_NEAR(after.x(), before.x(), 0.3);
}

namespace {

// The commands of the pop-up menu that `trigger` opens (0 for a separator)
// and which of them are enabled; the menu is closed unused.
std::vector<std::pair<int, bool>> popupMenu(const std::function<void()>& trigger) {
    std::vector<std::pair<int, bool>> entries;
    QTimer::singleShot(0, [&]() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            entries.emplace_back(action->isSeparator() ? 0 : action->data().toInt(),
                                 action->isEnabled());
        }
        menu->close();
    });
    trigger();
    return entries;
}

}  // namespace

TEST_F(LayoutEditing, RightClicksOpenTheMenuOfTheFrameOrOfTheLayoutWithTheirGreying) {
    const auto rightClick = [this](const QPoint& at) {
        return [this, at]() { QTest::mousePress(viewport(), Qt::RightButton, {}, at); };
    };
    using Menu = std::vector<std::pair<int, bool>>;
    EXPECT_EQ(popupMenu(rightClick(centreOf(kCompanyName))),
              (Menu{{kCmdEditItem, true}, {kCmdLayoutEnd, true}, {0, true}, {kCmdExit, true}}));
    EXPECT_EQ(selectedLayoutItem(), kCompanyName);

    drag(kCompanyName, QPoint(0, 8));
    EXPECT_EQ(popupMenu(rightClick(QPoint(1, 1))), (Menu{{kCmdPreviousPage, false},
                                                         {kCmdNextPage, true},
                                                         {kCmdZoomDialog, true},
                                                         {0, true},
                                                         {kCmdUndo, true},
                                                         {kCmdResetToStartup, true},
                                                         {kCmdResetToFactory, true},
                                                         {0, true},
                                                         {kCmdLayoutEnd, true},
                                                         {kCmdExit, true}}));
    EXPECT_EQ(selectedLayoutItem(), kCompanyName) << "a right click beside frames keeps it";

    window->command(kCmdLayoutEnd);
    window->command(kCmdPreview);
    window->command(kCmdNextPage);
    EXPECT_EQ(popupMenu(rightClick(QPoint(1, 1))), (Menu{{kCmdPreviousPage, true},
                                                         {kCmdNextPage, false},
                                                         {kCmdZoomDialog, true},
                                                         {0, true},
                                                         {kCmdPreviewEnd, true},
                                                         {0, true},
                                                         {kCmdExit, true}}));
}

TEST_F(LayoutEditing, ADoubleClickOpensThePropertiesWhoseOkIsOneUndoStep) {
    const LayoutItem before = live()[kCompanyName];
    click(centreOf(kCompanyName));
    const int widthMm = before.mmRect.width() / 100 + 10;
    test::withModalDialog(
        [&] { QTest::mouseDClick(viewport(), Qt::LeftButton, {}, centreOf(kCompanyName)); },
        [&](QWidget* dialog) {
            test::retype(qobject_cast<QLineEdit*>(findControl(dialog, item_property::kWidth)),
                         QString::number(widthMm));
            QTest::mouseClick(findControl(dialog, item_property::kOk), Qt::LeftButton);
        });
    // Whole millimetres on the display's pixel grid.
    EXPECT_NEAR(live()[kCompanyName].mmRect.width(), widthMm * 100, 30);
    EXPECT_EQ(live()[kCompanyName].mmRect.top, before.mmRect.top);
    EXPECT_EQ(selectedLayoutItem(), kCompanyName);
    EXPECT_EQ(layoutUndoCount(), 1);
    EXPECT_TRUE(enabled(kCmdUndo));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    undoWithCtrlZ();
    EXPECT_EQ(layoutUndoCount(), 0);
    const LayoutItem& after = live()[kCompanyName];
    EXPECT_EQ(after.mmRect, before.mmRect);
    EXPECT_EQ(after.screenRect, before.screenRect);
    EXPECT_EQ(after.pointSize, before.pointSize);
    EXPECT_EQ(after.itemId, before.itemId);
    EXPECT_TRUE(sameItem(after, before));
}

TEST_F(LayoutEditing, CommandsAroundTheEditorKeepItsHistoryAndShowWhatIsCurrent) {
    // Page setup OK: the history stays, the selection marks go.
    drag(kCompanyName, QPoint(0, 8));
    ASSERT_EQ(layoutUndoCount(), 1);
    test::withModalDialog([this] { window->command(kCmdPageSetup); },
                          [](QWidget* dialog) {
                              QTest::mouseClick(findControl(dialog, page_setup::kOk),
                                                Qt::LeftButton);
                          });
    EXPECT_EQ(layoutUndoCount(), 1);
    EXPECT_TRUE(enabled(kCmdUndo));
    EXPECT_EQ(selectedLayoutItem(), -1);
    EXPECT_FALSE(preview()->selection().marked);

    // After its property dialog a frame counts as selected: the next press
    // on it moves it.
    setItemPropertiesHook([](int) {});
    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            menu->close();
        }
    });
    QTest::mousePress(viewport(), Qt::RightButton, {}, centreOf(kCompanyName));
    window->command(kCmdEditItem);
    setItemPropertiesHook(nullptr);
    const Rect before = live()[kCompanyName].screenRect;
    const QPoint at = centreOf(kCompanyName);
    press(at);
    moveHeld(at + QPoint(0, 12));
    release(at + QPoint(0, 12));
    EXPECT_EQ(live()[kCompanyName].screenRect.top, before.top + 12);

    // A format switch shows no position of the other format's frame.
    click(centreOf(kCompanyName));
    ASSERT_FALSE(window->statusBar()->partText(1).isEmpty());
    window->command(kCmdSwitchFormat);
    EXPECT_EQ(window->statusBar()->partText(1), "");
    window->command(kCmdSwitchFormat);

    // The factory reset drops the acknowledgement: page 3 is gone.
    printerSettings(currentFormat()).makeAcknowledgement = 1;
    window->command(kCmdNextPage);
    window->command(kCmdNextPage);
    ASSERT_EQ(modeState().previewPage, 3);
    window->command(kCmdResetToFactory);
    ASSERT_EQ(printerSettings(currentFormat()).makeAcknowledgement, 0);
    EXPECT_EQ(modeState().previewPage, 1);
}

TEST_F(LayoutEditing, TheStatusBarShowsThePositionTextWholeInNarrowWindows) {
    click(centreOf(kCompanyName));
    StatusBar* bar = window->statusBar();
    const QString text = bar->partText(1);
    for (int width : {800, 1100}) {
        window->resize(width, 700);
        QApplication::processEvents();
        const int room = bar->partEdge(1) - bar->partEdge(0);
        EXPECT_GT(room, bar->fontMetrics().horizontalAdvance(text) + 5) << width;
        const int clockRoom = bar->partEdge(2) - bar->partEdge(1);
        EXPECT_GT(clockRoom, bar->fontMetrics().horizontalAdvance(bar->partText(2)) + 5) << width;
    }
}
