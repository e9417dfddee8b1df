// A screen with two device pixels to the pixel (QT_SCALE_FACTOR=2, set for
// this program by CMake): the form view and the preview are drawn at the
// screen's resolution, and layout editing works in the same pixels and
// millimetres as on any other screen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "data/settings_state.h"
#include "form/units.h"
#include "form_view_page.h"
#include "main_window_fixture.h"
#include "platform/screen_metrics.h"
#include "preview/preview_window.h"
#include "shell/status_bar.h"
#include "shell/status_texts.h"
#include "widgets/commands.h"

using namespace belvorine;

namespace {

constexpr int kTitle = 1;

class HighDpi : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        start();
        window->showNormal();
        window->resize(1200, 900);
        ASSERT_EQ(window->devicePixelRatioF(), 2.0) << "QT_SCALE_FACTOR=2 is not in effect";
    }
};

}  // namespace

TEST_F(HighDpi, TheFormViewShowsThePageDrawnAtTheScreensResolution) {
    FormView* view = window->formView();
    view->resize(900, 700);
    ASSERT_TRUE(view->render());
    const test::ShownPage shown = test::compareShownPage(*view);
    EXPECT_EQ(shown.differingPixels, 0) << "an enlarged page is not the page drawn at ratio 2";
    EXPECT_GT(shown.redPixels, 80);  // the format name, laid over in colour
}

// Selecting a frame, its handles and the millimetres in the status bar: the
// mouse and the marks use the page pixels of every other screen.
TEST_F(HighDpi, LayoutEditingHitsFramesAndHandlesAndKeepsTheMillimetres) {
    settings().initialData.zoomPercent = 100;
    window->command(kCmdLayoutStart);
    QApplication::processEvents();
    PreviewWindow* preview = window->previewWindow();
    QWidget* viewport = preview->viewport();
    EXPECT_EQ(preview->bitmap().devicePixelRatio(), 2.0);
    // The paper and what lies around it, two device pixels to the pixel.
    EXPECT_EQ(preview->bitmap().width(),
              2 * qRound(preview->bitmap().deviceIndependentSize().width()));
    EXPECT_GT(preview->bitmap().width(), 2 * preview->paperSize().width());
    EXPECT_EQ(screenMetrics().dpiX, 96) << "the display's pixels per inch stay its own";

    FormLayout& layout = liveLayout(currentFormat());
    const LayoutItem before = layout[kTitle];
    const Rect& r = before.screenRect;
    const QPoint centre = preview->clientPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centre);
    ASSERT_EQ(selectedLayoutItem(), kTitle);

    const QPoint handle = preview->handleZones()[7].center();  // bottom right
    QTest::mousePress(viewport, Qt::LeftButton, {}, handle);
    const QPoint to = handle + QPoint(20, 6);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);

    const LayoutItem& after = layout[kTitle];
    EXPECT_EQ(after.screenRect.left, before.screenRect.left);
    EXPECT_EQ(after.screenRect.top, before.screenRect.top);
    EXPECT_NEAR(after.screenRect.right, preview->pagePoint(to).x(), 1);
    EXPECT_NEAR(after.screenRect.bottom, preview->pagePoint(to).y(), 1);
    const PageSettings& page = printerSettings(currentFormat());
    EXPECT_EQ(after.mmRect.right,
              toHundredthsMm(after.screenRect.right, 96) + page.marginLeft.value);
    EXPECT_EQ(window->statusBar()->partText(1), positionText(after.mmRect));
}
