// A company enters its own data once: through the dialog, onto the printed
// order, into the layout files at exit and back at the next start.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "data/settings_state.h"
#include "entry/company_profile_dialog.h"
#include "main_window_fixture.h"
#include "platform/sjis_text.h"
#include "print/print_confirm_dialog.h"
#include "widgets/commands.h"
#include "widgets/help.h"

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

using CompanyProfileRun = test::MainWindowFixture;

}  // namespace

TEST_F(CompanyProfileRun, EnteredOncePrintedAndThereAgainAfterARestart) {
    const QString pdf = folder.path() + "/order.pdf";
    setPdfFileChooserForTesting([&]() { return pdf; });
    start();

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
        [](QWidget* dialog) {
            qobject_cast<QPushButton*>(findControl(dialog, print_confirm::kPrint))->click();
        });
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
    restart();
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
}
