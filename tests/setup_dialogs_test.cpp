// The print setup and page setup dialogs, driven as a user drives them:
// typing margins, stepping them, choosing papers, orientations and fonts,
// and cancelling.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "data/factory_values.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/page_geometry.h"
#include "platform/font_list.h"
#include "platform/log_font_qt.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "print/printer_list.h"
#include "setup/page_setup_dialog.h"
#include "setup/print_setup_dialog.h"
#include "tests/image_ink.h"
#include "tests/test_support.h"
#include "widgets/help.h"

using namespace belvorine;

namespace {

using test::control;

// Picks the entry with `text` with the keyboard, as a user does.
void choose(QComboBox* list, const QString& text) {
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    for (int i = 0; i < list->count() && list->currentText() != text; ++i) {
        QTest::keyClick(list, Qt::Key_Down);
    }
    ASSERT_EQ(list->currentText(), text);
}

// The state of a started program: factory settings checked against the
// printers, layouts prepared.
class SetupDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        usePrinters({pdfPrinter(), pdfPrinter()});
        for (int format = 0; format < kFormatCount; ++format) {
            printerSettings(format) = makeFactoryPageSettings(format);
            displaySettings(format) = makeFactoryPageSettings(format);
            liveLayout(format) = factoryLayout();
        }
        ASSERT_EQ(checkPrintersAtStartup(), 1);
        prepareLayout(0, liveLayout(0));
        prepareLayout(1, liveLayout(1));
    }
    void TearDown() override { resetSettingsStateForTesting(); }

    // Shows the dialog as a window so that the focus moves as with a user.
    static void open(QDialog& dialog) {
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }

    // Types `text` over a margin edit and leaves it for `next`.
    static void typeMargin(QDialog& dialog, int id, const QString& text, int next = 1331) {
        auto* edit = control<QLineEdit>(&dialog, id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        control(&dialog, next)->setFocus();
    }
};

}  // namespace

TEST_F(SetupDialogs, TypedMarginsAreClampedAndReadAsDecimalsAndTheArrowsWrap) {
    printerSettings(0).marginLeft = {423, 500, 7000};
    PrintSetupDialog dialog(nullptr, 0);
    open(dialog);
    auto* left = control<QLineEdit>(&dialog, 1342);
    EXPECT_EQ(left->text(), " 5.00");
    EXPECT_EQ(control<QLabel>(&dialog, 1345)->text(), "( 4.23 ～ 70.00)");

    const std::pair<const char*, int> typed[] = {
        {"2", 423}, {"80", 7000}, {"9.999", 999}, {"10.29", 1029},
        {"", 423},  {"x", 423},   {"12.3", 1230},
    };
    for (const auto& [text, hundredths] : typed) {
        typeMargin(dialog, 1342, QString::fromUtf8(text));
        EXPECT_EQ(dialog.workingCopy().marginLeft.value, hundredths) << text;
        EXPECT_EQ(left->text(), millimetreText(hundredths)) << text;
    }

    // The arrow keys step what was just typed, 0.01 mm, and wrap at the ends.
    left->setFocus();
    left->setText("69.99");
    QTest::keyClick(left, Qt::Key_Up);
    EXPECT_EQ(left->text(), "70.00");
    QTest::keyClick(left, Qt::Key_Up);
    EXPECT_EQ(left->text(), " 4.23");
    QTest::keyClick(left, Qt::Key_Down);
    EXPECT_EQ(dialog.workingCopy().marginLeft.value, 7000);
    // The hidden edit holds the whole hundredths without separators.
    EXPECT_EQ(control<QLineEdit>(&dialog, 1343)->text(), "7000");
    // Only OK writes the record.
    EXPECT_EQ(printerSettings(0).marginLeft.value, 500);
}

// A printer whose unprintable border is wider than a third of the paper
// gives a margin whose minimum exceeds its maximum: the dialog, the typed
// value and the page geometry all take the maximum.
TEST_F(SetupDialogs, AMarginWhoseMinimumExceedsItsMaximumIsTheMaximumEverywhere) {
    const Margin inverted{600, 400, 500};
    printerSettings(0).marginLeft = inverted;
    PrintSetupDialog dialog(nullptr, 0);
    open(dialog);
    EXPECT_EQ(control<QLineEdit>(&dialog, 1342)->text(), " 5.00");
    for (const char* typed : {"2", "", "9"}) {
        typeMargin(dialog, 1342, typed);
        EXPECT_EQ(dialog.workingCopy().marginLeft.value, 500) << typed;
    }
    PageSettings settings = printerSettings(0);
    PageGeometry geometry;
    DeviceCaps caps;
    caps.resolutionX = caps.resolutionY = 600;
    caps.paperWidth = caps.printableWidth = 4960;
    caps.paperHeight = caps.printableHeight = 7016;
    fillGeometry(caps, settings, geometry);
    EXPECT_EQ(settings.marginLeft.value, 500);
}

TEST_F(SetupDialogs, LandscapeSwapsWhichPaperSideBoundsTheMaximumsAndLargeMarginsStayWhole) {
    PrintSetupDialog dialog(nullptr, 0);
    open(dialog);
    const Margin portraitLeft = dialog.workingCopy().marginLeft;
    const Margin portraitTop = dialog.workingCopy().marginTop;
    ASSERT_LT(portraitLeft.maximum, portraitTop.maximum);  // A4 portrait

    control<QRadioButton>(&dialog, 1339)->click();
    EXPECT_EQ(dialog.workingCopy().orientation, 2);
    EXPECT_EQ(dialog.workingCopy().marginLeft.maximum, portraitTop.maximum);
    EXPECT_EQ(dialog.workingCopy().marginRight.maximum, portraitTop.maximum);
    EXPECT_EQ(dialog.workingCopy().marginTop.maximum, portraitLeft.maximum);
    EXPECT_EQ(dialog.workingCopy().marginBottom.maximum, portraitLeft.maximum);
    EXPECT_EQ(control<QLabel>(&dialog, 1345)->text(),
              QStringLiteral("( 0.00 ～ %1)").arg(millimetreText(portraitTop.maximum)));

    // A third of an A3 height is 140 mm: a margin past 100 mm keeps all its
    // digits through focus in and out.
    control<QRadioButton>(&dialog, 1338)->click();
    choose(control<QComboBox>(&dialog, 1334), "A3");
    ASSERT_GT(dialog.workingCopy().marginTop.maximum, 13000);
    typeMargin(dialog, 1352, "121.33");
    auto* top = control<QLineEdit>(&dialog, 1352);
    EXPECT_EQ(top->text(), "121.33");
    top->setFocus();
    control(&dialog, 1331)->setFocus();
    EXPECT_EQ(dialog.workingCopy().marginTop.value, 12133);
    EXPECT_EQ(top->text(), "121.33");
}

TEST_F(SetupDialogs, CancelAfterTryingPrinterPaperAndOrientationChangesNothing) {
    PageSettings& live = printerSettings(0);
    live.marginLeft.value = 2000;
    ASSERT_EQ(refreshPrinterMetrics(live, 0), 1);
    prepareLayout(0, liveLayout(0));
    const PageSettings record = live;
    const PageGeometry geometry = printerGeometry(0);
    const FormLayout layout = liveLayout(0);
    {
        PrintSetupDialog dialog(nullptr, 0);
        open(dialog);
        choose(control<QComboBox>(&dialog, 1331), "PDF");
        QTest::keyClick(control<QComboBox>(&dialog, 1331), Qt::Key_Down);
        choose(control<QComboBox>(&dialog, 1334), "A5");
        control<QRadioButton>(&dialog, 1339)->click();
        typeMargin(dialog, 1347, "30");
        EXPECT_EQ(dialog.workingCopy().printerIndex, 1);
        EXPECT_EQ(sjisView(dialog.workingCopy().paperName), "A5");
        QTest::mouseClick(control<QPushButton>(&dialog, 1362), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(std::memcmp(&live, &record, sizeof record), 0);
    EXPECT_EQ(std::memcmp(&printerGeometry(0), &geometry, sizeof geometry), 0);
    // The next layout preparation finds the page it left.
    prepareLayout(0, liveLayout(0));
    EXPECT_EQ(std::memcmp(&liveLayout(0), &layout, sizeof layout), 0);
}

TEST_F(SetupDialogs, OkTakesTheCopyAndRefreshesTheGeometryAndTheLayouts) {
    const int widthBefore = printerGeometry(0).paperWidth;
    PrintSetupDialog dialog(nullptr, 0);
    open(dialog);
    choose(control<QComboBox>(&dialog, 1334), "A5");
    control<QRadioButton>(&dialog, 1339)->click();
    typeMargin(dialog, 1342, "20");
    // Enter on the default button while the margin is still being typed.
    auto* right = control<QLineEdit>(&dialog, 1347);
    right->setFocus();
    right->selectAll();
    QTest::keyClicks(right, "15.5");
    QTest::keyClick(right, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const PageSettings& live = printerSettings(0);
    EXPECT_EQ(sjisView(live.paperName), "A5");
    EXPECT_EQ(live.paperSize, 11);
    EXPECT_EQ(live.orientation, 2);
    EXPECT_EQ(live.marginLeft.value, 2000);
    EXPECT_EQ(live.marginRight.value, 1550);
    // A5 landscape: as wide as A4 portrait, half as high.
    EXPECT_NEAR(printerGeometry(0).paperWidth, widthBefore, 2);
    EXPECT_LT(printerGeometry(0).paperHeight, printerGeometry(0).paperWidth);
    // Both formats are placed in their margin boxes again; the stored
    // layout stays as it was.
    for (int format = 0; format < kFormatCount; ++format) {
        const MarginBox box = marginBoxOf(printerSettings(format), printerGeometry(format));
        for (int i = 0; i < kLayoutItemCount; ++i) {
            const LayoutItem& item = liveLayout(format)[i];
            EXPECT_EQ(item.mmRect, factoryLayout()[i].mmRect) << format << "/" << i;
            EXPECT_EQ(item.screenRect, placedRect(item, box)) << format << "/" << i;
        }
    }
}

TEST_F(SetupDialogs, LargeMarginsMoveFramesOnlyWhereTheyAreDrawnAndSmallOnesBringThemBack) {
    const FormLayout before = liveLayout(0);
    auto setMargins = [](const char* left, const char* top) {
        PrintSetupDialog dialog(nullptr, 0);
        open(dialog);
        typeMargin(dialog, 1342, left);
        typeMargin(dialog, 1352, top);
        QTest::keyClick(control<QLineEdit>(&dialog, 1342), Qt::Key_Return);
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
    };
    setMargins("40", "60");
    ASSERT_EQ(printerSettings(0).marginTop.value, 6000);
    // The header is drawn pushed down to the 60 mm line...
    EXPECT_EQ(liveLayout(0)[5].screenRect.top, 0);
    EXPECT_EQ(liveLayout(0)[9].screenRect.top, 0);
    // ...while the layout the user made, which is what is saved, stays.
    for (int i = 0; i < kLayoutItemCount; ++i) {
        EXPECT_EQ(liveLayout(0)[i].mmRect, before[i].mmRect) << i;
    }

    setMargins("5", "5");
    for (int i = 0; i < kLayoutItemCount; ++i) {
        EXPECT_EQ(std::memcmp(&liveLayout(0)[i], &before[i], sizeof(LayoutItem)), 0) << i;
    }
}

TEST_F(SetupDialogs, TheOneSheetFormatIsToldWhenHalfThePaperCannotHoldTheOrder) {
    PrintSetupDialog dialog(nullptr, 1);
    open(dialog);
    auto* notice = dialog.findChild<QLabel*>("notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isHidden()) << notice->text().toStdString();  // A4 portrait fits

    choose(control<QComboBox>(&dialog, 1334), "A5");
    control<QRadioButton>(&dialog, 1339)->click();
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().contains("用紙の半分に収まりません"))
        << notice->text().toStdString();

    choose(control<QComboBox>(&dialog, 1334), "A3");
    EXPECT_TRUE(notice->isHidden()) << notice->text().toStdString();
}

// A queue of tools/cups-test-queue.sh that offers Letter and A4 only.
TEST_F(SetupDialogs, APrinterWithoutTheChosenPaperTakesItsFirstAndSaysSo) {
    REQUIRE_TEST_QUEUE("BelvorineTrays");
    std::vector<PrinterEntry> printers = installedPrinters();
    usePrinters(printers);
    PageSettings& live = printerSettings(1);
    live.printerIndex = printerCount() - 1;  // the PDF printer
    live.paperSize = 12;
    copySjis(live.paperName, std::string_view("JIS B4"));
    live.orientation = 2;
    ASSERT_EQ(refreshPrinterMetrics(live, 1), 1);

    PrintSetupDialog dialog(nullptr, 1);
    open(dialog);
    // Passing the other queues on the way with the keyboard changes nothing
    // of what the user chose; the last one leaves the first paper it offers.
    choose(control<QComboBox>(&dialog, 1331), "BelvorineTrays");
    auto* papers = control<QComboBox>(&dialog, 1334);
    EXPECT_EQ(papers->currentIndex(), 0);
    EXPECT_EQ(fromSjisBuffer(dialog.workingCopy().paperName), papers->currentText());
    auto* notice = dialog.findChild<QLabel*>("notice");
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isHidden());
    EXPECT_TRUE(notice->text().contains("「JIS B4」を「" + papers->currentText() + "」"))
        << notice->text().toStdString();
    // Back on a printer that has it, the paper the user chose returns.
    choose(control<QComboBox>(&dialog, 1331), "PDF");
    EXPECT_EQ(fromSjisBuffer(dialog.workingCopy().paperName), "JIS B4");
    EXPECT_TRUE(notice->isHidden() || !notice->text().contains("用紙「"));
    choose(control<QComboBox>(&dialog, 1331), "BelvorineTrays");
    control<QPushButton>(&dialog, 1361)->click();
    EXPECT_EQ(fromSjisBuffer(live.paperName), papers->currentText());
    EXPECT_NE(live.paperSize, 12);
}

TEST_F(SetupDialogs, PaperAndSourceNamesMatchBeforeTheirSizeAndAnUnknownOneShowsNothing) {
    EXPECT_TRUE(samePaperName("A4", "A4 (210 x 297 mm)"));
    EXPECT_TRUE(samePaperName("A4 (210 x 297 mm)", "a4"));
    EXPECT_FALSE(samePaperName("Letter Small", "Letter"));
    EXPECT_FALSE(samePaperName("Letter", "Letter Small"));

    copySjis(printerSettings(0).paperName, std::string_view("A4 (210 x 297 mm)"));
    copySjis(printerSettings(0).paperSourceName, std::string_view("Tray 9"));
    PrintSetupDialog dialog(nullptr, 0);
    EXPECT_EQ(control<QComboBox>(&dialog, 1334)->currentText(), "A4");
    // The record still holds "Tray 9": the list must not claim another.
    EXPECT_EQ(control<QComboBox>(&dialog, 1336)->currentIndex(), -1);
    EXPECT_GT(control<QComboBox>(&dialog, 1336)->count(), 0);
}

TEST_F(SetupDialogs, TheOneSheetFormatCannotAlsoMakeTheAcknowledgement) {
    {
        PageSetupDialog dialog(nullptr, 1);
        auto* acknowledgement = control<QCheckBox>(&dialog, 1302);
        auto* oneSheet = control<QCheckBox>(&dialog, 1303);
        EXPECT_TRUE(oneSheet->isChecked());
        EXPECT_FALSE(acknowledgement->isChecked());
        EXPECT_FALSE(acknowledgement->isEnabled());
        oneSheet->click();
        EXPECT_TRUE(acknowledgement->isEnabled());
        EXPECT_FALSE(acknowledgement->isChecked());
        acknowledgement->click();
        oneSheet->click();
        EXPECT_FALSE(acknowledgement->isChecked());
        EXPECT_FALSE(acknowledgement->isEnabled());
    }
    // An older or damaged record that asks for both opens without the
    // acknowledgement and is stored so.
    printerSettings(1).makeAcknowledgement = 1;
    PageSetupDialog dialog(nullptr, 1);
    EXPECT_FALSE(control<QCheckBox>(&dialog, 1302)->isChecked());
    control<QPushButton>(&dialog, 1317)->click();
    EXPECT_EQ(printerSettings(1).makeAcknowledgement, 0);
    EXPECT_EQ(printerSettings(1).orderAndCopyOnOneSheet, 1);
}

TEST_F(SetupDialogs, ThePrintFontFollowsTheScreenFontUntilTheyAreToldApart) {
    PageSetupDialog dialog(nullptr, 0);
    open(dialog);
    auto* screenFonts = control<QComboBox>(&dialog, 1311);
    auto* printFonts = control<QComboBox>(&dialog, 1316);
    EXPECT_EQ(screenFonts->currentText(), "ＭＳ 明朝");
    EXPECT_EQ(printFonts->currentText(), "ＭＳ 明朝");
    EXPECT_FALSE(control<QCheckBox>(&dialog, 1306)->isChecked());
    EXPECT_FALSE(printFonts->isEnabled());
    // Sorted, and never without the faces that stored layouts name.
    for (int i = 1; i < screenFonts->count(); ++i) {
        EXPECT_LT(screenFonts->itemText(i - 1), screenFonts->itemText(i));
    }
    EXPECT_EQ(printFonts->count(), screenFonts->count());

    choose(screenFonts, "ＭＳ ゴシック");
    EXPECT_EQ(printFonts->currentText(), "ＭＳ ゴシック");
    EXPECT_EQ(logFontFace(dialog.printCopy().font), "ＭＳ ゴシック");
    auto* sample = control<QLabel>(&dialog, 1315);
    EXPECT_EQ(sample->text(), "㈱株式会社㈲Ａｙ Ay123");
    EXPECT_EQ(QFontInfo(sample->font()).family(),
              QFontInfo(fontFromLogFont(dialog.printCopy().font)).family());

    control<QCheckBox>(&dialog, 1306)->click();
    EXPECT_TRUE(printFonts->isEnabled());
    choose(printFonts, "ＭＳ Ｐ明朝");
    choose(screenFonts, "ＭＳ Ｐゴシック");
    EXPECT_EQ(logFontFace(dialog.printCopy().font), "ＭＳ Ｐ明朝");
    // Told together again, the print font takes the screen's.
    control<QCheckBox>(&dialog, 1306)->click();
    EXPECT_EQ(printFonts->currentText(), "ＭＳ Ｐゴシック");

    auto* name = control<QLineEdit>(&dialog, 1301);
    name->selectAll();
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Delete);
    QInputMethodEvent preedit("ちゅうもん", {});
    QApplication::sendEvent(name, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString("注文");
    QApplication::sendEvent(name, &commit);
    control<QPushButton>(&dialog, 1317)->click();
    EXPECT_EQ(fromSjisBuffer(printerSettings(0).formatName), "注文");
    EXPECT_EQ(logFontFace(printerSettings(0).font), "ＭＳ Ｐゴシック");
    EXPECT_EQ(logFontFace(displaySettings(0).font), "ＭＳ Ｐゴシック");
    EXPECT_EQ(printerSettings(0).font.charSet, kShiftJisCharSet);
}

TEST_F(SetupDialogs,
       FullWidthLettersAreFullWidthTheFacesHaveTheirJapaneseNamesAndSamplesShowWhole) {
    PageSetupDialog dialog(nullptr, 0);
    open(dialog);
    // "発注用Ａ４" in the name box, as wide as it prints.
    const QFontMetrics name(control<QLineEdit>(&dialog, 1301)->font());
    EXPECT_EQ(name.horizontalAdvance("Ａ４"), name.horizontalAdvance("発注"));

    auto* fonts = control<QComboBox>(&dialog, 1311);
    if (fonts->findText("IPAGothic") < 0 && fonts->findText("IPAゴシック") < 0) {
        GTEST_SKIP() << "the IPA fonts are not installed";
    }
    EXPECT_GE(fonts->findText("IPAゴシック"), 0);
    EXPECT_GE(fonts->findText("IPA明朝"), 0);
    EXPECT_LT(fonts->findText("IPAGothic"), 0);

    for (const char* face : {"ＭＳ Ｐ明朝", "IPAゴシック"}) {
        choose(fonts, face);
        auto* sample = control<QLabel>(&dialog, 1310);
        // Even with the dialog as narrow as it goes.
        dialog.resize(dialog.minimumSizeHint());
        QApplication::processEvents();
        EXPECT_GE(sample->contentsRect().width(),
                  sample->fontMetrics().horizontalAdvance(sample->text()))
            << face;
        // The label draws its text indented inside its frame: the last
        // letter must not reach the frame, or it is cut there.
        const QImage drawn = sample->grab(sample->contentsRect()).toImage();
        EXPECT_LT(test::inkColumns(drawn).second, drawn.width() - 1) << face;
    }
}

TEST_F(SetupDialogs, AStoredFaceIsFoundByItsWholeNameAndUnderEitherLocalesName) {
    std::vector<FontFace> faces(2);
    faces[0].name = "ABC Gothic Bold";
    faces[1].name = "ABC Gothic";
    EXPECT_EQ(findFontFace(faces, "abc gothic"), 1);
    EXPECT_EQ(findFontFace(faces, "ABC Goth"), 0);
    EXPECT_EQ(findFontFace(faces, ""), -1);
    EXPECT_EQ(findFontFace(faces, "ＡＢＣ Gothic"), -1);  // only ASCII folds

    // The font database names the IPA families after the session's
    // language; a face stored in a Japanese session is still found in an
    // English one, and the other way round.
    const std::vector<FontFace> installed = japaneseFontFaces();
    const int english = findFontFace(installed, "IPAGothic");
    const int japanese = findFontFace(installed, "IPAゴシック");
    if (english < 0 && japanese < 0) {
        GTEST_SKIP() << "the IPA fonts are not installed";
    }
    EXPECT_EQ(english, japanese);
    EXPECT_TRUE(installed[static_cast<std::size_t>(english)].name.startsWith("IPA"));
}
