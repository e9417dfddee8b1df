#pragma once
// Driving the modal dialogs of the order history in tests: a step that runs
// as soon as the next modal dialog is on screen, and clicks into the
// existing data browser's list and headers.

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "next_dialog.h"
#include "widgets/help.h"

namespace belvorine::test {

// Runs `step` on the next modal dialog once it is the active modal widget
// (the one open now does not count). The step usually ends the dialog.
inline void onNextDialog(std::function<void(QWidget*)> step) {
    whenNextDialogIsUp([step](QWidget* now) {
        // Typing goes where the user's focus is: into the dialog on top.
        // (The window below may still take a late activation: settle it.)
        for (int tries = 0; tries < 20 && QApplication::activeWindow() != now; ++tries) {
            now->activateWindow();
            (void)QTest::qWaitForWindowActive(now);
            QTest::qWait(10);
        }
        EXPECT_EQ(QApplication::activeWindow(), now);
        step(now);
    });
}

// Presses a button. A button that opens a modal dialog is pressed as the
// keyboard does: a simulated mouse press would activate its own window
// again once the dialog is up.
inline void clickControl(QWidget* dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(findControl(dialog, id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

// A click on list row `row`, with Ctrl to add it to the selection.
inline void clickRow(QTableView* view, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, cell.center());
}

inline void clickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// The texts of list column `column`, top to bottom.
inline QStringList columnTexts(const QTableView* view, int column) {
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        texts << view->model()->index(row, column).data().toString();
    }
    return texts;
}

}  // namespace belvorine::test
