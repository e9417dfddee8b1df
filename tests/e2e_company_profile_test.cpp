// A company enters its own data once: through the dialog, onto the printed
// order, into the layout files at exit and back at the next start.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "data/settings_state.h"
#include "entry/company_profile_dialog.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/print_run.h"
#include "print/printer_list.h"
#include "shell/application.h"
#include "shell/commands.h"
#include "shell/help.h"
#include "shell/main_window.h"
#include "shell/message_box.h"
#include "shell/mode_state.h"
#include "test_support.h"

using namespace belvorine;
using namespace belvorine::company_profile;

namespace {

const int kFieldIds[6] = {kName, kDepartment, kPostalCode, kAddress, kTelephone, kFax};
const char* const kProfile[6] = {
    "ベルヴォリン工業",           "資材部　購買課",    "〒530-0001",
    "大阪府大阪市北区梅田１－１", "TEL (06)6000-1234", "FAX (06)6000-5678",
};

QLineEdit* field(QWidget* dialog, int id) {
    return qobject_cast<QLineEdit*>(findControl(dialog, id));
}

}  // namespace

TEST(CompanyProfileRun, EnteredOncePrintedAndThereAgainAfterARestart) {
    test::ProgramFolder folder;
    modeState() = ModeState();
    std::vector<QString> messages;
    setMessageHandlerForTesting([&](const MessageRequest& request) {
        messages.push_back(request.text);
        return kResultOk;
    });
    const QString pdf = folder.path() + "/order.pdf";
    setPdfFileChooserForTesting([&]() { return pdf; });
    usePrinters({pdfPrinter()});
    std::unique_ptr<MainWindow> window(initApplication());
    ASSERT_NE(window, nullptr);

    test::withModalDialog([&]() { window->command(kCmdCompanyProfile); },
                          [](QWidget* dialog) {
                              for (int i = 0; i < 6; ++i) {
                                  test::retype(field(dialog, kFieldIds[i]),
                                               QString::fromUtf8(kProfile[i]));
                              }
                              qobject_cast<QPushButton*>(findControl(dialog, kRegister))->click();
                          });
    test::withModalDialog(
        [&]() { window->command(kCmdPrint); },
        [](QWidget* dialog) { qobject_cast<QPushButton*>(findControl(dialog, 1399))->click(); });
    const QStringList pages = test::pdfPages(pdf);
    ASSERT_FALSE(pages.isEmpty());
    for (const char* text : kProfile) {
        // pdfPages drops every blank, as the spread text puts them in.
        QString printed = QString::fromUtf8(text);
        printed.remove(QLatin1Char(' ')).remove(QChar(0x3000));
        EXPECT_TRUE(pages[0].contains(printed)) << text;
    }
    EXPECT_FALSE(pages[0].contains("×△◇株式会社"));

    modeState() = ModeState();
    window->close();
    window.reset(initApplication());
    ASSERT_NE(window, nullptr);
    for (int format = 0; format < kFormatCount; ++format) {
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(fromSjisBuffer(liveLayout(format)[5 + i].text),
                      QString::fromUtf8(kProfile[i]))
                << format << "/" << i;
        }
    }
    window->command(kCmdSwitchFormat);
    test::withModalDialog([&]() { window->command(kCmdCompanyProfile); },
                          [](QWidget* dialog) {
                              for (int i = 0; i < 6; ++i) {
                                  EXPECT_EQ(field(dialog, kFieldIds[i])->text(),
                                            QString::fromUtf8(kProfile[i]));
                              }
                              qobject_cast<QPushButton*>(findControl(dialog, kCancel))->click();
                          });
    EXPECT_TRUE(messages.empty());

    modeState() = ModeState();
    window->close();
    window.reset();
    setPdfFileChooserForTesting(nullptr);
    setMessageHandlerForTesting(nullptr);
}
