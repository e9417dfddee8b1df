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
#include "form/page_geometry.h"
#include "form/profile_frames.h"
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
        liveLayout(format)[5].pointSize = 12;
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
            // Every frame, the unchanged postal code too, is as wide as its
            // text; its middle, and with it the text's baseline, stays.
            const QSize extent = displayTextExtent(format, item, sjisView(item.text));
            EXPECT_EQ(item.mmRect.width(), toHundredthsMm(extent.width(), screen.dpiX) + 99)
                << format << "/" << i;
            EXPECT_LE(std::abs((item.mmRect.top + item.mmRect.bottom) - (old.top + old.bottom)), 1)
                << format << "/" << i;
            EXPECT_LE(item.mmRect.height(), toHundredthsMm(extent.height(), screen.dpiY) + 99);
        }
        // The name had room to grow to its text's height.
        const QSize name = displayTextExtent(format, layout[5], sjisView(layout[5].text));
        EXPECT_EQ(layout[5].mmRect.height(), toHundredthsMm(name.height(), screen.dpiY) + 99);
        // No line runs into the next one, nor the fax into the stamp box.
        for (int i = 5; i < 10; ++i) {
            EXPECT_LE(layout[i].mmRect.bottom, layout[i + 1].mmRect.top) << format << "/" << i;
        }
        EXPECT_LE(layout[10].mmRect.bottom, layout[25].mmRect.top);

        const Rect& oldName = before[format][5].mmRect;
        EXPECT_NE(layout[5].mmRect.width(), oldName.width());
        EXPECT_LE(std::abs((layout[5].mmRect.left + layout[5].mmRect.right) -
                           (oldName.left + oldName.right)),
                  1);
        EXPECT_EQ(layout[6].mmRect.left, before[format][6].mmRect.left);
        EXPECT_EQ(layout[8].mmRect.right, before[format][8].mmRect.right);
        EXPECT_LT(layout[8].mmRect.left, before[format][8].mmRect.left);
        // The main window prepared the moved frames for the views.
        EXPECT_EQ(layout[5].screenRect.left,
                  toPixels(layout[5].mmRect.left, screen.dpiX) -
                      toPixels(printerSettings(format).marginLeft.value, screen.dpiX));
    }
    EXPECT_NE(liveLayout(0)[5].mmRect.width(), liveLayout(1)[5].mmRect.width());
    EXPECT_TRUE(messages.empty());
}

TEST_F(CompanyProfile, ATextTooLongForThePageIsCutAboutItsCentreAndTheBlockStaysPut) {
    const Rect factoryName = liveLayout(0)[5].mmRect;
    // A stored name far wider than the room right of the frame's centre
    // (the item property dialog takes 255 bytes), shortened by one letter.
    for (int format = 0; format < kFormatCount; ++format) {
        copySjis(liveLayout(format)[5].text, sjis(QString(40, QChar(0x56fd))));
    }
    openDialog([](QWidget* dialog) {
        QLineEdit* name = edit(dialog, kName);
        name->setFocus();
        name->end(false);
        QTest::keyClick(name, Qt::Key_Backspace);
        qobject_cast<QPushButton*>(findControl(dialog, kRegister))->click();
    });
    // The frame is cut at the margin with its centre kept.
    const Rect& cut = liveLayout(0)[5].mmRect;
    const int paperRight = printerGeometry(0).paperWidth * 2540 / printerGeometry(0).resolutionX;
    EXPECT_LE(cut.right, paperRight - printerSettings(0).marginRight.value);
    EXPECT_LE(std::abs((cut.left + cut.right) - (factoryName.left + factoryName.right)), 1);

    // A short name afterwards stands where the name always stood.
    openDialog([](QWidget* dialog) {
        retype(dialog, kName, "ベルヴォリン");
        qobject_cast<QPushButton*>(findControl(dialog, kRegister))->click();
    });
    const Rect& again = liveLayout(0)[5].mmRect;
    EXPECT_LE(std::abs((again.left + again.right) - (factoryName.left + factoryName.right)), 1);
    EXPECT_LE(std::abs((again.top + again.bottom) - (factoryName.top + factoryName.bottom)), 1);
}

TEST_F(CompanyProfile, ALineEmptiedAndFilledAgainGetsItsPlaceBack) {
    // The fax line left out while the telephone number changes, then
    // entered again: the telephone frame must not have taken the fax's
    // room, or the fax prints cut at its top.
    const FormLayout before[2] = {liveLayout(0), liveLayout(1)};
    openDialog([](QWidget* dialog) {
        retype(dialog, kTelephone, "TEL (042)555-1234");
        retype(dialog, kFax, "");
        qobject_cast<QPushButton*>(findControl(dialog, kRegister))->click();
    });
    openDialog([](QWidget* dialog) {
        retype(dialog, kFax, "FAX (042)555-9876");
        qobject_cast<QPushButton*>(findControl(dialog, kRegister))->click();
    });
    for (int format = 0; format < kFormatCount; ++format) {
        const FormLayout& layout = liveLayout(format);
        for (int i = 9; i <= 10; ++i) {
            EXPECT_GE(layout[i].mmRect.height(), before[format][i].mmRect.height())
                << format << "/" << i;
        }
        EXPECT_LE(layout[9].mmRect.bottom, layout[10].mmRect.top) << format;
        EXPECT_LE(layout[10].mmRect.bottom, layout[25].mmRect.top) << format;
    }
}

TEST_F(CompanyProfile, FieldsTakeWhatThePrintedFrameHoldsAndATooWideStoredTextCanBeShortened) {
    const QString longName(40, QChar(0x56fd));
    for (int format = 0; format < kFormatCount; ++format) {
        copySjis(liveLayout(format)[5].text, sjis(longName));
    }
    openDialog([&](QWidget* dialog) {
        QLineEdit* name = edit(dialog, kName);
        name->setFocus();
        name->end(false);
        QTest::keyClick(name, Qt::Key_Backspace);
        EXPECT_EQ(name->text(), longName.left(39));
        test::typeText(name, "国");
        EXPECT_EQ(name->text(), longName.left(39));  // still too wide: no growth

        // Typed anew, a text stops where the printed frame is full, measured
        // in the form's 17 point font, not the field's.
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Delete);
        test::typeText(name, QString(30, QChar(0x56fd)));
        const std::string typed = sjis(name->text());
        EXPECT_GT(typed.size(), 0u);
        EXPECT_LT(name->text().size(), 30);
        for (int format = 0; format < kFormatCount; ++format) {
            EXPECT_TRUE(profileTextFits(format, 5, typed));
            EXPECT_FALSE(profileTextFits(format, 5, typed + sjis("国")));
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
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
        test::typeText(name, "本");
        EXPECT_EQ(name->text(), "×△◇株式会社株式本");

        // The address takes what its printed frame holds; the postal code
        // stops at the field's visible width.
        QLineEdit* address = edit(dialog, kAddress);
        address->setFocus();
        address->selectAll();
        test::typeText(address, QString(200, QChar(0x6771)));
        const std::string typed = sjis(address->text());
        EXPECT_TRUE(profileTextFits(0, 8, typed));
        EXPECT_FALSE(profileTextFits(0, 8, typed + sjis("東")));
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
