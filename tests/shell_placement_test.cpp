// Where dialogs and the main window go on the screen.

#include <gtest/gtest.h>

#include "widgets/placement.h"

using namespace belvorine;

namespace {
const QRect kWorkArea(0, 0, 1280, 984);  // a 1280 x 1024 screen with a task bar
}

TEST(DialogCentring, CentresOverTheMainWindow) {
    EXPECT_EQ(centredPosition(QSize(200, 100), QRect(100, 100, 800, 700), kWorkArea),
              QPoint(400, 400));
}

TEST(DialogCentring, StaysInsideTheWorkAreaNearItsEdges) {
    // A main window pushed to the right and bottom edges.
    EXPECT_EQ(centredPosition(QSize(600, 400), QRect(1000, 800, 400, 300), kWorkArea),
              QPoint(680, 584));
    // Pushed off to the left: never a negative position.
    EXPECT_EQ(centredPosition(QSize(600, 400), QRect(-700, -500, 400, 300), kWorkArea),
              QPoint(0, 0));
}

TEST(DialogCentring, ADialogLargerThanTheWorkAreaStartsAtZero) {
    EXPECT_EQ(centredPosition(QSize(1600, 1200), QRect(100, 100, 800, 700), kWorkArea),
              QPoint(0, 0));
}

TEST(DialogCentring, AMinimisedMainWindowCentresOnTheWorkArea) {
    EXPECT_EQ(centredPosition(QSize(200, 100), QRect(), kWorkArea), QPoint(540, 442));
}

TEST(WorkAreaClamp, AWindowInsideStaysWhereItIs) {
    const QRect window(50, 60, 800, 700);
    EXPECT_EQ(keepInsideWorkArea(window, kWorkArea), window);
}

TEST(WorkAreaClamp, HalfOffTheLeftComesBackFlushAtItsWidth) {
    EXPECT_EQ(keepInsideWorkArea(QRect(-400, 100, 800, 700), kWorkArea),
              QRect(0, 100, 800, 700));
}

TEST(WorkAreaClamp, PastTheBottomMovesUpUntilTheBottomsMeet) {
    EXPECT_EQ(keepInsideWorkArea(QRect(100, 500, 800, 700), kWorkArea),
              QRect(100, 284, 800, 700));
}

TEST(WorkAreaClamp, TallerThanTheWorkAreaIsCutFromZeroToItsBottom) {
    EXPECT_EQ(keepInsideWorkArea(QRect(100, 100, 800, 1500), kWorkArea),
              QRect(100, 0, 800, 984));
}

TEST(WorkAreaClamp, AboveAWorkAreaThatStartsLowerComesDown) {
    const QRect area(0, 40, 1280, 984);  // task bar at the top
    EXPECT_EQ(keepInsideWorkArea(QRect(100, 0, 800, 700), area), QRect(100, 40, 800, 700));
}
