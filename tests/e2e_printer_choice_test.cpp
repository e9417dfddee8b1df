// Each format keeps the printer the user chose, by name, across starts: a
// queue that is removed, renumbered or not listed because the printing
// system did not answer in time is said once, printed around with the PDF
// printer, and chosen again when it is back.

#include <cstdlib>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "data/profile_file.h"
#include "data/settings_state.h"
#include "main_window_fixture.h"
#include "setup/print_setup_dialog.h"
#include "widgets/commands.h"
#include "widgets/help.h"

using namespace belvorine;

namespace {

class PrinterChoiceRun : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        REQUIRE_TEST_QUEUE("BelvorineTest");
        REQUIRE_TEST_QUEUE("BelvorineTrays");
        test = belvorine::test::installedQueue("BelvorineTest");
        trays = belvorine::test::installedQueue("BelvorineTrays");
    }

    // The print setup of the current format: the printer `name`, OK.
    void choosePrinter(const QString& name) {
        test::withModalDialog(
            [this]() { window->command(kCmdPrintSetup); },
            [name](QWidget* dialog) {
                auto* list = qobject_cast<QComboBox*>(findControl(dialog, print_setup::kPrinters));
                list->setFocus();
                QTest::keyClick(list, Qt::Key_Home);
                while (list->currentText() != name && list->currentIndex() < list->count() - 1) {
                    QTest::keyClick(list, Qt::Key_Down);
                }
                ASSERT_EQ(list->currentText(), name);
                qobject_cast<QPushButton*>(findControl(dialog, print_setup::kOk))->click();
            });
    }

    QString printerOf(int format) const {
        return printerEntry(printerSettings(format).printerIndex).name;
    }

    // The printer index that the settings file holds for `format`.
    int storedIndex(int format) const {
        PageSettings stored;
        ProfileFile::read(folder.file("dat"))
            .readRecord("PAGE DATA", format == 0 ? "Printer No.1" : "Printer No.2", stored);
        return stored.printerIndex;
    }

    PrinterEntry test;
    PrinterEntry trays;
};

}  // namespace

TEST_F(PrinterChoiceRun, ARemovedQueueIsSaidOnceAndItsFormatFindsItAgainWhenItIsBack) {
    usePrinters({test, trays, pdfPrinter()});
    start();
    choosePrinter("BelvorineTrays");
    window->command(kCmdSwitchFormat);
    choosePrinter("PDF");
    window->close();
    ASSERT_EQ(storedIndex(0), 1);
    ASSERT_EQ(storedIndex(1), 2);

    // The trays queue is removed: format 1 prints to the PDF printer, the
    // user is told which format lost which printer, and the other format
    // stays on the PDF printer at its new place.
    usePrinters({test, pdfPrinter()});
    restart();
    EXPECT_TRUE(shown("BelvorineTrays"));
    EXPECT_TRUE(shown("書式１"));
    EXPECT_FALSE(shown("書式２"));
    EXPECT_TRUE(printerEntry(printerSettings(0).printerIndex).pdf);
    EXPECT_TRUE(printerEntry(printerSettings(1).printerIndex).pdf);
    window->close();
    // Nothing of the stored choice was written over.
    EXPECT_EQ(storedIndex(0), 1);

    // Back, and in another place of the list: found by its name.
    messages.clear();
    usePrinters({trays, test, pdfPrinter()});
    restart();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(printerOf(0), "BelvorineTrays");
    EXPECT_TRUE(printerEntry(printerSettings(1).printerIndex).pdf);

    // Chosen anew while it was missing, the new printer is what is kept.
    window->close();
    usePrinters({test, pdfPrinter()});
    restart();
    window->command(kCmdSwitchFormat);  // format 1 is current again
    ASSERT_EQ(currentFormat(), 0);
    choosePrinter("BelvorineTest");
    window->close();
    messages.clear();
    usePrinters({trays, test, pdfPrinter()});
    restart();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(printerOf(0), "BelvorineTest");
}

// A printing system that takes the connection and never answers: the run
// prints to the PDF printer, says so, and leaves the stored choice alone.
TEST_F(PrinterChoiceRun, ADiscoveryThatTimesOutKeepsTheStoredPrinters) {
    usePrinters({test, trays, pdfPrinter()});
    start();
    choosePrinter("BelvorineTest");
    window->close();
    ASSERT_EQ(storedIndex(0), 0);

    {
        test::UnansweringScheduler scheduler;
        ASSERT_TRUE(scheduler.listening());
        startPrinterDiscovery();
        restart();
    }

    EXPECT_TRUE(shown("応答しない"));
    EXPECT_TRUE(shown("BelvorineTest"));
    EXPECT_TRUE(printerEntry(printerSettings(0).printerIndex).pdf);
    window->close();
    EXPECT_EQ(storedIndex(0), 0);

    messages.clear();
    usePrinters({test, trays, pdfPrinter()});
    restart();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(printerOf(0), "BelvorineTest");
}
