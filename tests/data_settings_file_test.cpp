// Loading and saving the settings file and the two layout files.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <functional>

#include <QFile>
#include <QFileInfo>

#include "data/factory_values.h"
#include "data/profile_file.h"
#include "data/settings_file.h"
#include "data/settings_state.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"
#include "test_support.h"

using namespace belvorine;

namespace {

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

template <class Record>
bool sameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every record the files feed, in one byte image, to compare whole loads.
std::string startupImage() {
    const SettingsState& s = settings();
    std::string image;
    auto add = [&image](const auto& record) {
        image.append(reinterpret_cast<const char*>(&record), sizeof record);
    };
    add(s.startupInitialData);
    add(s.startupPrinterSettings);
    add(s.startupDisplaySettings);
    add(s.listDialog);
    add(s.startupLayout);
    return image;
}

std::string fixture(const char* name) {
    return test::readFile(test::fixturePath(name));
}

// Applies `change` to every line of a CR LF file and joins them with `end`.
std::string rewriteLines(const std::string& text,
                         const std::function<std::string(const std::string&)>& change,
                         const std::string& end = "\r\n") {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t next = text.find("\r\n", pos);
        if (next == std::string::npos) {
            next = text.size();
        }
        out += change(text.substr(pos, next - pos)) + end;
        pos = next + 2;
    }
    return out;
}

std::string unchanged(const std::string& line) {
    return line;
}

// The value of `key` in a CR LF file, to damage it in a test.
std::size_t valueStart(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\r\n" + key + "=");
    EXPECT_NE(at, std::string::npos) << key;
    return at + 2 + key.size() + 1;
}

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override { resetSettingsStateForTesting(); }
    void TearDown() override {
        setWriteFaultForTesting(-1);
        resetSettingsStateForTesting();
    }

    void install(const std::string& content, const char* extension) {
        test::writeFile(folder.file(extension), content);
    }
    void installOriginals() {
        install(fixture("settings-original.dat"), "dat");
        install(fixture("layout-original.da1"), "da1");
        install(fixture("layout-original.da2"), "da2");
    }
    // A settings file of the start-up record and format 1's printer record.
    void installSettings(const InitialData& data, const PageSettings& printer) {
        ProfileWriter file;
        file.section("INIT DATA");
        file.record("InitialData", data);
        file.section("PAGE DATA");
        file.record("Printer No.1", printer);
        install(file.text(), "dat");
    }
    std::string saved(const char* extension) const {
        return test::readFile(folder.file(extension));
    }
    // Loads the originals once to know what a clean read gives.
    std::string originalImage() {
        installOriginals();
        loadSettings();
        return startupImage();
    }

    test::ProgramFolder folder;
};

}  // namespace

TEST_F(SettingsFiles, AFirstRunWithoutFilesTakesTheFactoryValues) {
    loadSettings();
    makeLiveCopies();
    const SettingsState& s = settings();
    EXPECT_TRUE(sameBytes(s.initialData, factoryInitialData()));
    EXPECT_EQ(s.initialData.windowX, kDefaultWindowPosition);
    EXPECT_EQ(s.initialData.windowWidth, 800);
    EXPECT_EQ(s.initialData.windowHeight, 700);
    EXPECT_EQ(currentFormat(), 0);
    EXPECT_TRUE(sameBytes(s.listDialog, factoryListDialogSettings()));
    for (int format : {0, 1}) {
        const PageSettings factory = makeFactoryPageSettings(format);
        EXPECT_TRUE(sameBytes(s.printerSettings[format], factory));
        EXPECT_TRUE(sameBytes(s.displaySettings[format], factory));
        EXPECT_TRUE(sameBytes(s.factoryDisplaySettings[format], factory));
        EXPECT_TRUE(sameBytes(s.liveLayout[format], factoryLayout()));
        EXPECT_TRUE(sameBytes(s.startupLayout[format], factoryLayout()));
    }
    EXPECT_EQ(sjisView(s.printerSettings[0].formatName), sjis("書式１"));
    EXPECT_EQ(sjisView(s.printerSettings[1].formatName), sjis("書式２"));
    EXPECT_EQ(sjisView(s.printerSettings[1].paperSourceName), sjis("自動"));
    EXPECT_EQ(s.printerSettings[1].marginBottom.value, 500);
    EXPECT_EQ(s.printerSettings[1].orderAndCopyOnOneSheet, 1);
    EXPECT_EQ(s.printerSettings[0].orderAndCopyOnOneSheet, 0);
}

TEST_F(SettingsFiles, ReadsFilesWrittenByTheOriginalProgram) {
    installOriginals();
    loadSettings();
    const SettingsState& s = settings();

    const InitialData& data = s.startupInitialData;
    EXPECT_EQ(data.showState, 3);
    EXPECT_EQ(data.windowX, -8);
    EXPECT_EQ(data.windowY, 24);
    EXPECT_EQ(data.windowWidth, 1024);
    EXPECT_EQ(data.windowHeight, 768);
    EXPECT_EQ(data.zoomPercent, 140);
    EXPECT_EQ(data.formatIndex, 1);
    EXPECT_EQ(sjisView(data.reservedText), sjis("×　株式会社"));
    EXPECT_EQ(data.rowCount, 57);
    EXPECT_EQ(data.counterpartyCount, 9);
    EXPECT_EQ(data.reserved[0], 1);
    EXPECT_EQ(data.reserved[31], 32);

    const PageSettings& printer = s.startupPrinterSettings[0];
    EXPECT_EQ(sjisView(printer.formatName), sjis("見積用書式"));
    EXPECT_EQ(printer.printerIndex, 1);
    EXPECT_EQ(printer.paperSize, 13);
    EXPECT_EQ(sjisView(printer.paperName), "B5 (JIS)");
    EXPECT_EQ(printer.paperSource, 15);
    EXPECT_EQ(sjisView(printer.paperSourceName), sjis("トレイ１"));
    EXPECT_EQ(printer.orientation, 2);
    EXPECT_EQ(printer.marginTop.minimum, 320);
    EXPECT_EQ(printer.marginTop.maximum, 9900);
    EXPECT_EQ(printer.marginBottom.value, 830);
    EXPECT_EQ(printer.makeAcknowledgement, 1);
    EXPECT_EQ(printer.orderAndCopyOnOneSheet, 0);
    EXPECT_EQ(printer.approvalOnCopy, 1);
    EXPECT_EQ(printer.font.height, -16);
    EXPECT_EQ(printer.font.pitchAndFamily, 0x31);
    EXPECT_EQ(sjisView(printer.font.faceName), sjis("ＭＳ ゴシック"));
    EXPECT_EQ(sjisView(s.startupDisplaySettings[1].font.faceName), sjis("ＭＳ ゴシック"));
    EXPECT_EQ(sjisView(s.startupDisplaySettings[0].font.faceName), sjis("ＭＳ Ｐ明朝"));
    EXPECT_EQ(s.startupPrinterSettings[1].orderAndCopyOnOneSheet, 1);

    EXPECT_EQ(s.listDialog.width, 900);
    EXPECT_EQ(s.listDialog.columnWidths[5], 40);

    const LayoutItem& item = s.startupLayout[1][7];
    EXPECT_EQ(sjisView(item.text), sjis("枠2-07"));
    EXPECT_EQ(item.mmRect, (Rect{702, 207, 1700, 407}));
    EXPECT_EQ(item.sizeRule, 1);
    EXPECT_EQ(item.pointSize, 15);
    EXPECT_EQ(item.underline, 1);
    EXPECT_EQ(item.alignment, 1);
    EXPECT_EQ(sjisView(s.startupLayout[0][29].text), sjis("枠1-29"));
}

TEST_F(SettingsFiles, HowTheLinesAreWrittenDoesNotMatter) {
    const std::string expected = originalImage();
    const std::string original = fixture("settings-original.dat");
    struct Variant {
        const char* name;
        std::string text;
    };
    const Variant variants[] = {
        {"lower-case names and hex digits",
         rewriteLines(original,
                      [](const std::string& line) {
                          return line[0] == ';' ? line
                                                : QString::fromLatin1(line).toLower().toStdString();
                      })},
        {"blanks, tabs and end-of-file marks",
         rewriteLines(original,
                      [](std::string line) {
                          const std::size_t equals = line.find('=');
                          if (equals != std::string::npos) {
                              line.replace(equals, 1, " \t= \t");
                          }
                          if (line[0] == '[') {
                              line.insert(1, "  ");
                          }
                          return " \t" + line + "\t \x1A";
                      })},
        {"blank lines", rewriteLines(original, unchanged, "\r\n \r\n\r\n")},
        {"LF only", rewriteLines(original, unchanged, "\n")},
        {"CR only", rewriteLines(original, unchanged, "\r")},
        {"byte-order mark", "\xEF\xBB\xBF" + original},
        {"no comment line", original.substr(original.find('['))},
    };
    for (const Variant& variant : variants) {
        resetSettingsStateForTesting();
        install(variant.text, "dat");
        loadSettings();
        EXPECT_TRUE(startupImage() == expected) << variant.name;
    }
}

TEST_F(SettingsFiles, OnlyTheRecordEditedByHandFallsBack) {
    const std::string expected = originalImage();
    const PageSettings original2 = settings().startupPrinterSettings[1];

    // One hex digit of "Printer No.2" changed by hand.
    std::string edited = fixture("settings-original.dat");
    char& digit = edited[valueStart(edited, "Printer No.2") + 40];
    digit = digit == '0' ? '1' : '0';
    resetSettingsStateForTesting();
    install(edited, "dat");
    loadSettings();
    EXPECT_TRUE(sameBytes(settings().startupPrinterSettings[1], makeFactoryPageSettings(1)));
    // Everything else reads as before.
    settings().startupPrinterSettings[1] = original2;
    EXPECT_TRUE(startupImage() == expected);
}

TEST_F(SettingsFiles, DamagedFilesNeverStopTheReading) {
    const std::string expected = originalImage();
    const std::string original = fixture("settings-original.dat");
    const std::size_t display1 = valueStart(original, "Display No.1");

    // A wrong checksum, an extra digit, a non-hex digit: that record only.
    for (const char* damage : {"checksum", "length", "digit"}) {
        std::string text = original;
        const std::size_t end = text.find("\r\n", display1);
        if (std::string(damage) == "checksum") {
            text[end - 1] = text[end - 1] == 'F' ? 'E' : 'F';
        } else if (std::string(damage) == "length") {
            text.insert(end, "00");
        } else {
            text[display1 + 10] = 'G';
        }
        resetSettingsStateForTesting();
        install(text, "dat");
        loadSettings();
        EXPECT_TRUE(sameBytes(settings().startupDisplaySettings[0], makeFactoryPageSettings(0)))
            << damage;
        EXPECT_EQ(sjisView(settings().startupDisplaySettings[1].font.faceName),
                  sjis("ＭＳ ゴシック"))
            << damage;
        EXPECT_EQ(settings().listDialog.width, 900) << damage;
    }

    // Garbage lines and a very long line between the records.
    std::string noisy = rewriteLines(original, [](const std::string& line) {
        return line + "\r\n\xFF\xFE\x82\r\n=\r\n[\r\n" + std::string(300000, '7') + "\r\n";
    });
    resetSettingsStateForTesting();
    install(noisy, "dat");
    loadSettings();
    EXPECT_TRUE(startupImage() == expected);

    // A file cut off in the middle of "Display No.1": what came before reads.
    resetSettingsStateForTesting();
    install(original.substr(0, display1 + 301), "dat");
    loadSettings();
    EXPECT_EQ(settings().startupInitialData.rowCount, 57);
    EXPECT_EQ(settings().startupPrinterSettings[1].font.pitchAndFamily, 0x12);
    EXPECT_TRUE(sameBytes(settings().startupDisplaySettings[0], makeFactoryPageSettings(0)));
    EXPECT_TRUE(sameBytes(settings().startupDisplaySettings[1], makeFactoryPageSettings(1)));
    EXPECT_TRUE(sameBytes(settings().listDialog, factoryListDialogSettings()));
}

TEST_F(SettingsFiles, TextsWithoutTerminatorAreCutAtACharacterBoundary) {
    PageSettings page = makeFactoryPageSettings(0);
    for (std::size_t i = 0; i < sizeof page.formatName; i += 2) {
        page.formatName[i] = '\x82';  // "あ" to the last byte
        page.formatName[i + 1] = '\xA0';
    }
    std::memset(page.paperName, 'A', sizeof page.paperName);
    std::memset(page.font.faceName, 'F', sizeof page.font.faceName);
    LayoutItem item = factoryLayout()[3];
    std::memset(item.text, 'x', sizeof item.text);
    item.text[254] = '\x82';  // a lead byte whose trail byte is the last one
    item.text[255] = '\xA0';
    InitialData data = factoryInitialData();
    std::memset(data.reservedText, 'r', sizeof data.reservedText);

    installSettings(data, page);
    ProfileWriter layoutFile;
    layoutFile.section("LAYOUT DATA");
    layoutFile.record("Layoutdata No.1 -  3", item);
    install(layoutFile.text(), "da1");

    loadSettings();
    const PageSettings& read = settings().startupPrinterSettings[0];
    EXPECT_EQ(sjisView(read.formatName).size(), 254u);
    EXPECT_EQ(sjisView(read.paperName), std::string(63, 'A'));
    EXPECT_EQ(sjisView(read.font.faceName), std::string(31, 'F'));
    EXPECT_EQ(sjisView(settings().startupLayout[0][3].text), std::string(254, 'x'));
    EXPECT_EQ(sjisView(settings().startupInitialData.reservedText).size(), 255u);
}

TEST_F(SettingsFiles, MissingLayoutKeysTakeTheirFactoryItems) {
    install(fixture("layout-partial.da2"), "da2");
    loadSettings();
    const FormLayout& layout = settings().startupLayout[1];
    for (int i = 0; i < kLayoutItemCount; ++i) {
        // Items 5 to 8 are missing; item 9 is stored as "Layoutdata No.2 - 9",
        // which is not the key "Layoutdata No.2 -  9".
        const bool factory = i >= 5 && i <= 9;
        EXPECT_EQ(sameBytes(layout[i], factoryLayout()[i]), factory) << i;
    }
    EXPECT_EQ(sjisView(layout[10].text), sjis("枠2-10"));
    EXPECT_TRUE(sameBytes(settings().startupLayout[0], factoryLayout()));
    EXPECT_EQ(layoutKey(1, 5), "Layoutdata No.2 -  5");
    EXPECT_EQ(layoutKey(0, 29), "Layoutdata No.1 - 29");
}

TEST_F(SettingsFiles, LegacyPageRecordsAreConvertedOnceAndNotWrittenBack) {
    install(fixture("settings-legacy.dat"), "dat");
    loadSettings();
    const SettingsState& s = settings();

    const PageSettings& printer = s.startupPrinterSettings[0];
    EXPECT_EQ(sjisView(printer.formatName), sjis("見積用書式"));
    EXPECT_EQ(printer.reserved260, 1);
    EXPECT_EQ(printer.paperSize, 13);
    EXPECT_EQ(sjisView(printer.paperSourceName), sjis("トレイ１"));
    EXPECT_EQ(printer.marginRight.maximum, 7010);
    EXPECT_EQ(printer.makeAcknowledgement, 1);
    EXPECT_EQ(printer.showTotal, 1);
    EXPECT_EQ(printer.approvalOnCopy, 1);
    EXPECT_EQ(sjisView(printer.font.faceName), sjis("ＭＳ ゴシック"));
    EXPECT_EQ(printer.font.width, 0);
    // A face that is not installed keeps the factory font.
    EXPECT_TRUE(sameBytes(s.startupPrinterSettings[1].font, s.factoryPrinterSettings[1].font));
    EXPECT_EQ(s.startupPrinterSettings[1].orderAndCopyOnOneSheet, 1);

    // "DisplayPagedata" serves both formats.
    EXPECT_TRUE(sameBytes(s.startupDisplaySettings[0], s.startupDisplaySettings[1]));
    EXPECT_EQ(sjisView(s.startupDisplaySettings[1].formatName), sjis("見積用書式"));
    EXPECT_EQ(s.startupDisplaySettings[1].showTotal, 1);
    EXPECT_EQ(s.startupDisplaySettings[1].makeAcknowledgement, 0);
    EXPECT_EQ(sjisView(s.startupDisplaySettings[1].font.faceName), sjis("ＭＳ Ｐ明朝"));

    makeLiveCopies();
    ASSERT_EQ(saveSettings(), 1);
    const std::string written = saved("dat");
    EXPECT_EQ(written.find("Pagedata"), std::string::npos);
    const std::string before = startupImage();
    resetSettingsStateForTesting();
    loadSettings();
    EXPECT_TRUE(startupImage() == before) << "the converted records come back as they were";
}

TEST_F(SettingsFiles, SavingWritesWhatTheOriginalProgramWrote) {
    installOriginals();
    loadSettings();
    makeLiveCopies();
    ASSERT_EQ(saveSettings(), 1);
    EXPECT_TRUE(saved("dat") == fixture("settings-original.dat"));
    EXPECT_TRUE(saved("da1") == fixture("layout-original.da1"));
    EXPECT_TRUE(saved("da2") == fixture("layout-original.da2"));
}

TEST_F(SettingsFiles, FactoryValuesSurviveASaveAndALoad) {
    loadSettings();
    makeLiveCopies();
    ASSERT_EQ(saveSettings(), 1);
    const std::string first = saved("dat") + saved("da1") + saved("da2");
    const std::string image = startupImage();
    resetSettingsStateForTesting();
    loadSettings();
    EXPECT_TRUE(startupImage() == image);
    makeLiveCopies();
    ASSERT_EQ(saveSettings(), 1);
    EXPECT_TRUE(saved("dat") + saved("da1") + saved("da2") == first);
}

TEST_F(SettingsFiles, AFailedSaveLeavesThePreviousFilesWhole) {
    installOriginals();
    loadSettings();
    makeLiveCopies();
    copySjis(liveLayout(0)[5].text, "changed");
    copySjis(liveLayout(1)[5].text, "changed");
    settings().initialData.zoomPercent = 60;

    // A full disk while the settings file is written: nothing changes.
    for (long long budget : {0LL, 100LL, 4000LL}) {
        setWriteFaultForTesting(budget);
        EXPECT_EQ(saveSettings(), 0) << budget;
        EXPECT_TRUE(saved("dat") == fixture("settings-original.dat")) << budget;
        EXPECT_TRUE(saved("da1") == fixture("layout-original.da1")) << budget;
        EXPECT_TRUE(saved("da2") == fixture("layout-original.da2")) << budget;
    }
    setWriteFaultForTesting(-1);

    // A layout file of format 1 that cannot be replaced stops the save
    // before format 2's file.
    ASSERT_EQ(::chmod(QFile::encodeName(folder.file("da1")).constData(), 0444), 0);
    EXPECT_EQ(saveSettings(), 0);
    EXPECT_NE(saved("dat"), fixture("settings-original.dat"));
    EXPECT_TRUE(saved("da1") == fixture("layout-original.da1"));
    EXPECT_TRUE(saved("da2") == fixture("layout-original.da2"));

    // A read-only settings file: nothing at all is saved.
    installOriginals();
    ASSERT_EQ(::chmod(QFile::encodeName(folder.file("dat")).constData(), 0444), 0);
    EXPECT_EQ(saveSettings(), 0);
    EXPECT_TRUE(saved("dat") == fixture("settings-original.dat"));
    EXPECT_TRUE(saved("da2") == fixture("layout-original.da2"));
}

// A settings file that is a link to an endless device, a layout file that
// is a FIFO and one far too large: the start neither hangs nor runs out of
// memory, the files are named as unread, and the exit leaves them as they
// are instead of writing factory values over them.
TEST_F(SettingsFiles, FilesThatCannotBeReadAreNeitherUsedNorOverwritten) {
    ASSERT_TRUE(QFile::link("/dev/zero", folder.file("dat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("da1")).constData(), 0644), 0);
    const std::string huge = fixture("layout-original.da2") + std::string(17 << 20, ';');
    install(huge, "da2");
    loadSettings();
    makeLiveCopies();
    EXPECT_EQ(settingsFilesNotRead(),
              (QStringList{folder.file("dat"), folder.file("da1"), folder.file("da2")}));
    EXPECT_TRUE(sameBytes(settings().liveLayout[1], factoryLayout()));
    EXPECT_EQ(saveSettings(), 1);
    EXPECT_EQ(QFileInfo(folder.file("dat")).symLinkTarget(), "/dev/zero");
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder.file("da1")).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(saved("da2") == huge);

    // Files that read are written again as before.
    installOriginals();
    QFile::remove(folder.file("dat"));
    loadSettings();
    EXPECT_TRUE(settingsFilesNotRead().isEmpty());
    makeLiveCopies();
    EXPECT_EQ(saveSettings(), 1);
    EXPECT_TRUE(QFile::exists(folder.file("dat")));
}

// Records with a valid checksum but absurd numbers: each absurd number
// takes its factory value, everything sane in the record is kept.
TEST_F(SettingsFiles, AbsurdNumbersTakeTheirFactoryValues) {
    InitialData data = factoryInitialData();
    data.zoomPercent = 5000;
    data.windowWidth = -5;
    data.windowX = 300;
    data.rowCount = -7;
    PageSettings page = makeFactoryPageSettings(0);
    page.marginLeft.value = -2000000000;
    page.marginTop.value = 1200;
    page.font.height = INT32_MIN;
    FormLayout layout = factoryLayout();
    layout[26].mmRect.right = -2000000000;
    layout[5].pointSize = -2000000000;
    layout[5].weight = 70000;
    layout[5].alignment = 7;
    layout[5].sizeRule = -1;
    layout[6].pointSize = 20;
    installSettings(data, page);
    ProfileWriter layoutFile;
    layoutFile.section("LAYOUT DATA");
    for (int i = 0; i < kLayoutItemCount; ++i) {
        layoutFile.record(layoutKey(0, i), layout[i]);
    }
    install(layoutFile.text(), "da1");

    loadSettings();
    const SettingsState& s = settings();
    const InitialData factoryData = factoryInitialData();
    EXPECT_EQ(s.startupInitialData.zoomPercent, factoryData.zoomPercent);
    EXPECT_EQ(s.startupInitialData.windowWidth, factoryData.windowWidth);
    EXPECT_EQ(s.startupInitialData.windowX, 300);
    EXPECT_EQ(s.startupInitialData.rowCount, 0);
    const PageSettings& printer = s.startupPrinterSettings[0];
    EXPECT_EQ(printer.marginLeft.value, 500);
    EXPECT_EQ(printer.marginTop.value, 1200);
    EXPECT_TRUE(sameBytes(printer.font, makeFactoryPageSettings(0).font));
    const FormLayout& loaded = s.startupLayout[0];
    EXPECT_EQ(loaded[26].mmRect, factoryLayout()[26].mmRect);
    EXPECT_EQ(loaded[5].pointSize, factoryLayout()[5].pointSize);
    EXPECT_EQ(loaded[5].weight, factoryLayout()[5].weight);
    EXPECT_EQ(loaded[5].alignment, factoryLayout()[5].alignment);
    EXPECT_EQ(loaded[5].sizeRule, factoryLayout()[5].sizeRule);
    EXPECT_EQ(loaded[6].pointSize, 20);
}

TEST_F(SettingsFiles, RestoringOneFormatLeavesTheOtherAlone) {
    installOriginals();
    loadSettings();
    makeLiveCopies();
    const SettingsState startup = settings();
    for (int format : {0, 1}) {
        copySjis(printerSettings(format).formatName, "edited");
        copySjis(displaySettings(format).formatName, "edited display");
        liveLayout(format)[20].mmRect = Rect{1, 2, 3, 4};
    }
    settings().initialData.zoomPercent = 180;
    const SettingsState edited = settings();

    restoreStartupState(1);
    EXPECT_TRUE(sameBytes(printerSettings(1), startup.printerSettings[1]));
    EXPECT_TRUE(sameBytes(liveLayout(1), startup.liveLayout[1]));
    EXPECT_TRUE(sameBytes(printerSettings(0), edited.printerSettings[0]));
    EXPECT_TRUE(sameBytes(liveLayout(0), edited.liveLayout[0]));
    EXPECT_TRUE(sameBytes(settings().displaySettings, edited.displaySettings));
    EXPECT_EQ(settings().initialData.zoomPercent, 180);

    restoreFactoryState(0);
    EXPECT_TRUE(sameBytes(printerSettings(0), settings().factoryPrinterSettings[0]));
    EXPECT_TRUE(sameBytes(liveLayout(0), factoryLayout()));
    EXPECT_TRUE(sameBytes(liveLayout(1), startup.liveLayout[1]));
    EXPECT_TRUE(sameBytes(settings().displaySettings, edited.displaySettings));

    const SettingsState before = settings();
    restoreStartupState(2);
    restoreFactoryState(-1);
    EXPECT_TRUE(sameBytes(settings(), before));
}

TEST_F(SettingsFiles, LiveItemsAreNumberedByTheirIndex) {
    LayoutItem item = factoryLayout()[12];
    item.itemId = 77;  // a stored identifier never decides the role
    ProfileWriter layoutFile;
    layoutFile.section("LAYOUT DATA");
    layoutFile.record("Layoutdata No.1 - 12", item);
    install(layoutFile.text(), "da1");
    loadSettings();
    makeLiveCopies();
    EXPECT_EQ(settings().startupLayout[0][12].itemId, 77);
    EXPECT_EQ(liveLayout(0)[12].itemId, 12);
    restoreStartupState(0);
    EXPECT_EQ(liveLayout(0)[12].itemId, 12);
}
