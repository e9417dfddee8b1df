// The company profile dialog, opened from the main window as the user opens
// it: both formats get the texts, each changed frame is sized to its text
// with its own format's font around its alignment point, nothing else moves.

#include <gtest/gtest.h>

#include <cstring>

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "data/settings_state.h"
#include "entry/company_profile_dialog.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "main_window_fixture.h"
#include "platform/screen_metrics.h"
#include "platform/sjis_text.h"
#include "widgets/commands.h"
#include "widgets/help.h"

using namespace belvorine;
using namespace belvorine::company_profile;

namespace {

std::string sjis(const QString& text) {
    return toSjisLossy(text);
}

QLineEdit* edit(QWidget* dialog, int id) {
    auto* field = qobject_cast<QLineEdit*>(findControl(dialog, id));
    EXPECT_NE(field, nullptr) << id;
    return field;
}

void retype(QWidget* dialog, int id, const QString& text) {
    test::retype(edit(dialog, id), text);
}

bool sameBytes(const LayoutItem& a, const LayoutItem& b) {
    return std::memcmp(&a, &b, sizeof(LayoutItem)) == 0;
}

class CompanyProfile : public test::MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        start();
    }

    void openDialog(const std::function<void(QWidget*)>& work) {
        test::withModalDialog([this]() { window->command(kCmdCompanyProfile); }, work);
    }
};

}  // namespace

TEST_F(CompanyProfile, RegisteringInFormat2FitsBothFormatsAroundTheirAlignmentPoints) {
    // Format 2 draws with another face, so its frames get other widths.
    copySjis(printerSettings(1).font.faceName, sjis("ＭＳ Ｐゴシック"));
    for (int format = 0; format < kFormatCount; ++format) {
        liveLayout(format)[5].pointSize = 12;  // the longer name still fits the page
        liveLayout(format)[6].alignment = kAlignLeft;
        liveLayout(format)[8].alignment = kAlignRight;
    }
    // A postal code frame the user widened by hand, and a telephone number
    // only format 2 holds.
    liveLayout(0)[7].mmRect.right += 1500;
    copySjis(liveLayout(1)[9].text, sjis("TEL (06)6000-0000"));
    window->command(kCmdSwitchFormat);
    ASSERT_EQ(currentFormat(), 1);
    const FormLayout before[2] = {liveLayout(0), liveLayout(1)};

    openDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "初期データ入力");
        EXPECT_EQ(edit(dialog, kTelephone)->text(), "TEL (06)6000-0000");
        EXPECT_EQ(edit(dialog, kName)->text(), "×△◇株式会社");
        retype(dialog, kName, "株式会社ベルヴォリン商事");
        retype(dialog, kDepartment, "資材部　購買課");
        retype(dialog, kAddress, "大阪府大阪市北区梅田一丁目１番１号　梅田ビル");
        retype(dialog, kFax, "FAX (06)6000-0001");
        QTest::keyClick(edit(dialog, kFax), Qt::Key_Return);  // Enter registers
    });

    const QString texts[6] = {"株式会社ベルヴォリン商事",
                              "資材部　購買課",
                              "〒000-0000",
                              "大阪府大阪市北区梅田一丁目１番１号　梅田ビル",
                              "TEL (06)6000-0000",
                              "FAX (06)6000-0001"};
    const ScreenMetrics& screen = screenMetrics();
    for (int format = 0; format < kFormatCount; ++format) {
        const FormLayout& layout = liveLayout(format);
        for (int i = 0; i < kLayoutItemCount; ++i) {
            if (i < 5 || i > 10) {
                EXPECT_TRUE(sameBytes(layout[i], before[format][i])) << format << "/" << i;
            }
        }
        for (int i = 0; i < 6; ++i) {
            const LayoutItem& item = layout[5 + i];
            const Rect& old = before[format][5 + i].mmRect;
            EXPECT_EQ(fromSjisBuffer(item.text), texts[i]) << format << "/" << i;
            EXPECT_EQ(item.mmRect.top, old.top) << format << "/" << i;
            if (i == 2 || (i == 4 && format == 1)) {
                EXPECT_EQ(item.mmRect, old) << "an unchanged text keeps its frame";
                continue;
            }
            const QSize extent = displayTextExtent(format, item, sjisView(item.text));
            EXPECT_EQ(item.mmRect.width(), toHundredthsMm(extent.width(), screen.dpiX) + 99);
            EXPECT_EQ(item.mmRect.height(), toHundredthsMm(extent.height(), screen.dpiY) + 99);
        }
        const Rect& name = layout[5].mmRect;
        const Rect& oldName = before[format][5].mmRect;
        EXPECT_NE(name.width(), oldName.width());
        EXPECT_LE(std::abs((name.left + name.right) - (oldName.left + oldName.right)), 1);
        EXPECT_EQ(layout[6].mmRect.left, before[format][6].mmRect.left);
        EXPECT_EQ(layout[8].mmRect.right, before[format][8].mmRect.right);
        EXPECT_LT(layout[8].mmRect.left, before[format][8].mmRect.left);
        // The main window prepared the moved frames for the views.
        EXPECT_EQ(layout[5].screenRect.left,
                  toPixels(name.left, screen.dpiX) -
                      toPixels(printerSettings(format).marginLeft.value, screen.dpiX));
    }
    EXPECT_NE(liveLayout(0)[5].mmRect.width(), liveLayout(1)[5].mmRect.width());
    EXPECT_TRUE(messages.empty());
}

TEST_F(CompanyProfile, TypingSurvivesCompositionAndCancelChangesNothing) {
    const FormLayout before[2] = {liveLayout(0), liveLayout(1)};
    openDialog([](QWidget* dialog) {
        QLineEdit* name = edit(dialog, kName);
        name->setFocus();
        EXPECT_TRUE(name->testAttribute(Qt::WA_InputMethodEnabled));
        name->end(false);
        QInputMethodEvent preedit(QStringLiteral("かぶしき"), {});
        QApplication::sendEvent(name, &preedit);
        EXPECT_EQ(name->text(), "×△◇株式会社");
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("株式"));
        QApplication::sendEvent(name, &commit);
        EXPECT_EQ(name->text(), "×△◇株式会社株式");
        test::typeText(name, "　本店");
        EXPECT_EQ(name->text(), "×△◇株式会社株式　本店");

        // The address scrolls up to 255 bytes; the postal code stops at the
        // field's visible width.
        QLineEdit* address = edit(dialog, kAddress);
        address->setFocus();
        address->selectAll();
        test::typeText(address, QString(200, QChar(0x6771)));
        EXPECT_EQ(address->text(), QString(127, QChar(0x6771)));
        QLineEdit* postal = edit(dialog, kPostalCode);
        postal->setFocus();
        postal->end(false);
        test::typeText(postal, QString(200, QLatin1Char('9')));
        EXPECT_GT(postal->text().size(), 20);
        EXPECT_LT(postal->text().size(), 200);
        EXPECT_LE(postal->fontMetrics().horizontalAdvance(postal->text()), postal->width());

        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    for (int format = 0; format < kFormatCount; ++format) {
        EXPECT_EQ(std::memcmp(&liveLayout(format), &before[format], sizeof(FormLayout)), 0);
    }
}

TEST_F(CompanyProfile, TheHelpButtonOpensTheProfileTopic) {
    openDialog([](QWidget* dialog) {
        qobject_cast<QPushButton*>(findControl(dialog, kHelp))->click();
        EXPECT_EQ(currentHelpTopic(), "::/initdata.html");
        qobject_cast<QPushButton*>(findControl(dialog, kCancel))->click();
    });
}
