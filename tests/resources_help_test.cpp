// The compiled-in help: a pop-up text for every control that asks for one,
// a page for every topic the program opens, and links between the pages
// that lead somewhere.

#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocument>
#include <QWidget>

#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/company_profile_dialog.h"
#include "entry/data_entry_dialog.h"
#include "entry/working_order.h"
#include "form/layout_preparation.h"
#include "platform/printers/printer_info.h"
#include "preview/item_property_dialog.h"
#include "print/print_confirm_dialog.h"
#include "print/printer_list.h"
#include "setup/page_setup_dialog.h"
#include "setup/print_setup_dialog.h"
#include "widgets/context_help.h"
#include "widgets/help.h"

using namespace belvorine;

namespace {

// Every topic that a help button, F1 or the help menu of the program opens.
const char* const kTopics[] = {
    "index.html",     "inpdata01.html", "inpdata02.html",  "bunnou.html",    "kisondata.html",
    "editdata.html",  "seledit.html",   "sitechange.html", "initdata.html",  "printset.html",
    "pagesetup.html", "printout.html",  "layedit01.html",  "layedit02.html", "layedit03.html",
    "layedit04.html", "layout.html",    "archive.html",
};

QString resourceText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

QStringList helpPages() {
    return QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}, QDir::Files);
}

// The href values of a page.
QStringList linksOf(const QString& html) {
    static const QRegularExpression href(QStringLiteral("<a\\s[^>]*href\\s*=\\s*\"([^\"]*)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList links;
    for (auto it = href.globalMatch(html); it.hasNext();) {
        links << it.next().captured(1);
    }
    return links;
}

bool isExternal(const QString& link) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(link).hasMatch();
}

bool hasAnchor(const QString& html, const QString& anchor) {
    const QRegularExpression target(
        QStringLiteral("\\s(name|id)\\s*=\\s*\"%1\"").arg(QRegularExpression::escape(anchor)));
    return target.match(html).hasMatch();
}

bool isDataEntryOrPrintConfirmationControl(int controlId) {
    // The data entry dialog with the partial delivery dialog and the
    // existing data browser's three dialogs, and the print confirmation.
    const bool dataEntry = controlId >= 1001 && controlId <= 1191;
    const bool printConfirmation =
        controlId >= print_confirm::kSettingsBox && controlId <= print_confirm::kHelp;
    return dataEntry || printConfirmation;
}

}  // namespace

// ---- pop-up texts ----------------------------------------------------------

TEST(PopUpTexts, EveryControlOfDataEntryAndPrintConfirmationHasItsText) {
    int own = 0;
    for (const auto& [control, helpId] : contextHelpMap()) {
        if (helpId == 0 || !isDataEntryOrPrintConfirmationControl(control)) {
            continue;
        }
        own += helpId == control + 10000 ? 1 : 0;
        EXPECT_FALSE(popupText(helpId).isEmpty()) << "control " << control << ", help " << helpId;
    }
    // 63 texts of the data entry dialog's controls, 38 of the partial
    // delivery and existing data dialogs and 13 of the print confirmation's;
    // their labels share the one text.
    EXPECT_EQ(own, 114);
    EXPECT_FALSE(popupText(kSharedHelpId).isEmpty());
}

TEST(PopUpTexts, EveryTextBelongsToAHelpIdOfTheMapAndStandsOnce) {
    std::set<int> mapped;
    for (const auto& [control, helpId] : contextHelpMap()) {
        mapped.insert(helpId);
    }
    const QString file = resourceText(QStringLiteral(":/help/belhelp.txt"));
    ASSERT_FALSE(file.isEmpty());
    static const QRegularExpression topicLine(QStringLiteral("^\\.topic\\s+(\\d+)\\s*$"),
                                              QRegularExpression::MultilineOption);
    std::set<int> seen;
    for (auto it = topicLine.globalMatch(file); it.hasNext();) {
        const int helpId = it.next().captured(1).toInt();
        // A text under a mistyped id would never be shown; one given twice
        // hides the first.
        EXPECT_TRUE(mapped.count(helpId) == 1) << "no control asks for help " << helpId;
        EXPECT_TRUE(seen.insert(helpId).second) << "help " << helpId << " is given twice";
    }
    EXPECT_FALSE(seen.empty());
}

TEST(PopUpTexts, AreShortAndWholeSentences) {
    for (const auto& [control, helpId] : contextHelpMap()) {
        const QString text = popupText(helpId);
        if (text.isEmpty()) {
            continue;
        }
        const qsizetype sentences = text.count(QChar(0x3002));  // "。"
        EXPECT_GE(sentences, 1) << helpId;
        EXPECT_LE(sentences, 3) << helpId;
        EXPECT_TRUE(text.endsWith(QChar(0x3002))) << helpId;
        // The bubble shows plain text only.
        EXPECT_FALSE(text.contains(QLatin1Char('<'))) << helpId;
    }
}

// The dialogs as the program builds them: whatever control carries an id
// with a help id of its own has a text to show.
class DialogPopUps : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsStateForTesting();
        usePrinters({pdfPrinter()});
        currentOrder() = OrderRecord();
        initialiseCurrentOrder();
        initialiseWorkingOrder();
        orderStore().clear();
        orderStore().buildLists();
        orderStore().markLoaded();
    }
    void TearDown() override { freeStore(); }

    static void expectTexts(QWidget& dialog) {
        int controls = 0;
        for (QWidget* widget : dialog.findChildren<QWidget*>()) {
            const int id = controlIdOf(widget);
            const int helpId = helpIdForControl(id);
            if (id < 1 || helpId == 0) {
                continue;
            }
            ++controls;
            EXPECT_FALSE(popupText(helpId).isEmpty()) << "control " << id;
        }
        EXPECT_GT(controls, 0);
    }
};

TEST_F(DialogPopUps, DataEntryWithAndWithoutTheApprovalNumber) {
    for (int approval : {0, 1}) {
        printerSettings(currentFormat()).approvalOnCopy = approval;
        DataEntryDialog dialog(nullptr);
        expectTexts(dialog);
    }
}

TEST_F(DialogPopUps, CompanyProfile) {
    CompanyProfileDialog dialog(nullptr);
    expectTexts(dialog);
}

TEST_F(DialogPopUps, ItemPropertiesInEachOfTheirFourForms) {
    prepareAllLayouts();
    for (int item : {5, 2, 15, 18}) {
        ItemPropertyDialog dialog(nullptr, item);
        expectTexts(dialog);
    }
}

TEST_F(DialogPopUps, PrintConfirmation) {
    PrintConfirmDialog dialog(nullptr);
    expectTexts(dialog);
}

TEST_F(DialogPopUps, PrintSetupAndPageSetup) {
    PrintSetupDialog printSetup(nullptr, 0);
    expectTexts(printSetup);
    PageSetupDialog pageSetup(nullptr, 0);
    expectTexts(pageSetup);
}

// ---- topic pages ----------------------------------------------------------

TEST(HelpTopics, EveryTopicTheProgramOpensIsAPage) {
    for (const char* topic : kTopics) {
        EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + QLatin1String(topic))) << topic;
    }
}

TEST(HelpTopics, TheHelpWindowShowsEachTopicItselfNotTheContents) {
    for (const char* topic : kTopics) {
        const QString wanted = QStringLiteral("::/") + QLatin1String(topic);
        htmlHelp(nullptr, helpFilePath() + wanted, HelpCommand::DisplayContents);
        EXPECT_EQ(currentHelpTopic().toStdString(), wanted.toStdString());
    }
    // The data entry dialog's help button asks for its topic by the option.
    printerSettings(currentFormat()).approvalOnCopy = 1;
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + dataEntryHelpTopic().mid(3)));
    printerSettings(currentFormat()).approvalOnCopy = 0;
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + dataEntryHelpTopic().mid(3)));
}

TEST(HelpTopics, PagesAreUtf8WithATitle) {
    const QStringList pages = helpPages();
    ASSERT_FALSE(pages.isEmpty());
    for (const QString& page : pages) {
        QFile file(QStringLiteral(":/help/") + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
        const QByteArray bytes = file.readAll();
        const QString html = QString::fromUtf8(bytes);
        EXPECT_EQ(html.toUtf8(), bytes) << page.toStdString() << " is not UTF-8";
        EXPECT_FALSE(html.contains(QChar::ReplacementCharacter)) << page.toStdString();
        QTextDocument document;
        document.setHtml(html);
        EXPECT_FALSE(document.metaInformation(QTextDocument::DocumentTitle).isEmpty())
            << page.toStdString();
        EXPECT_FALSE(document.toPlainText().trimmed().isEmpty()) << page.toStdString();
    }
}

// ---- links ------------------------------------------------------------------

TEST(HelpLinks, EveryLinkLeadsToAPageAndItsPlace) {
    for (const QString& page : helpPages()) {
        const QString html = resourceText(QStringLiteral(":/help/") + page);
        for (const QString& link : linksOf(html)) {
            if (isExternal(link)) {
                continue;
            }
            const qsizetype hash = link.indexOf(QLatin1Char('#'));
            const QString file = hash < 0 ? link : link.left(hash);
            const QString anchor = hash < 0 ? QString() : link.mid(hash + 1);
            const QString target = file.isEmpty() ? page : file;
            EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target))
                << page.toStdString() << " -> " << link.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(hasAnchor(resourceText(QStringLiteral(":/help/") + target), anchor))
                    << page.toStdString() << " -> " << link.toStdString();
            }
        }
    }
}

TEST(HelpLinks, EveryPageCanBeReachedFromTheContents) {
    std::set<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        for (const QString& link : linksOf(resourceText(QStringLiteral(":/help/") + page))) {
            const QString file = link.section(QLatin1Char('#'), 0, 0);
            if (!isExternal(link) && !file.isEmpty() && reached.insert(file).second) {
                queue << file;
            }
        }
    }
    for (const QString& page : helpPages()) {
        EXPECT_TRUE(reached.count(page) == 1) << page.toStdString() << " has no way in";
    }
}
