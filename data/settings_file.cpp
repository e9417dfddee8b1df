#include "data/settings_file.h"

#include <cstdio>
#include <cstring>

#include <QFileInfo>

#include "data/factory_values.h"
#include "data/profile_file.h"
#include "data/settings_fonts.h"
#include "data/settings_state.h"
#include "platform/module_path.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr char kInitSection[] = "INIT DATA";
constexpr char kInitKey[] = "InitialData";
constexpr char kPageSection[] = "PAGE DATA";
constexpr const char* kPrinterKeys[kFormatCount] = {"Printer No.1", "Printer No.2"};
constexpr const char* kDisplayKeys[kFormatCount] = {"Display No.1", "Display No.2"};
constexpr const char* kLegacyPrinterKeys[kFormatCount] = {"PrinterPagedata No.1",
                                                          "PrinterPagedata No.2"};
constexpr char kLegacyDisplayKey[] = "DisplayPagedata";
constexpr char kListSection[] = "LISTDLG DATA";
constexpr char kListKey[] = "SettingData";
constexpr char kLayoutSection[] = "LAYOUT DATA";

QString layoutFilePath(int format) {
    return modulePathWithExtension(format == 0 ? QStringLiteral("da1") : QStringLiteral("da2"));
}

QString settingsFilePath() {
    return modulePathWithExtension(QStringLiteral("dat"));
}

QStringList& unreadFiles() {
    static QStringList files;
    return files;
}

// Reads a profile file, noting one that is there but did not read.
ProfileFile readProfile(const QString& path) {
    removeStaleTemporaries(path);
    FileRead status = FileRead::kMissing;
    ProfileFile file = ProfileFile::read(path, &status);
    if (status != FileRead::kRead && status != FileRead::kMissing) {
        unreadFiles().append(path);
    }
    return file;
}

// A text read from a file may fill its buffer without a terminator; later
// code reads up to the NUL, so cut it at a character boundary before the
// last byte. Bytes after an existing terminator are kept as they were.
template <std::size_t N>
void terminateText(char (&text)[N]) {
    const std::string_view view = sjisView(text);
    if (view.size() == N) {
        copySjis(text, view);
    }
}

void terminateTexts(InitialData& data) {
    terminateText(data.reservedText);
}

void terminateTexts(PageSettings& page) {
    terminateText(page.formatName);
    terminateText(page.paperName);
    terminateText(page.paperSourceName);
    terminateText(page.font.faceName);
}

void terminateTexts(LayoutItem& item) {
    terminateText(item.text);
}

void terminateTexts(ListDialogSettings&) {}  // numbers only

// Reads `key` into `dest`, which holds the fallback when the key is missing
// or damaged.
template <class Record>
void readInto(const ProfileFile& file, const char* section, std::string_view key, Record& dest) {
    if (file.readRecord(section, key, dest)) {
        terminateTexts(dest);
    }
}

// The older page record on top of `base`: everything but the font is
// carried; the font comes from the stored face name, and stays `base`'s
// when that face is not installed.
PageSettings convertLegacy(const LegacyPageSettings& old, const PageSettings& base) {
    PageSettings page = base;
    std::memcpy(page.formatName, old.formatName, sizeof page.formatName);
    page.printerIndex = old.printerIndex;
    page.reserved260 = old.reserved260;
    page.paperSize = old.paperSize;
    std::memcpy(page.paperName, old.paperName, sizeof page.paperName);
    page.paperSource = old.paperSource;
    std::memcpy(page.paperSourceName, old.paperSourceName, sizeof page.paperSourceName);
    page.orientation = old.orientation;
    page.marginLeft = old.marginLeft;
    page.marginRight = old.marginRight;
    page.marginTop = old.marginTop;
    page.marginBottom = old.marginBottom;
    page.makeAcknowledgement = old.makeAcknowledgement;
    page.showTotal = old.showTotal;
    page.orderAndCopyOnOneSheet = old.orderAndCopyOnOneSheet;
    page.approvalOnCopy = old.approvalOnCopy;
    makeFontFromFace(page.font, sjisView(old.faceName));
    terminateTexts(page);
    return page;
}

// The page settings of one record: the converted older record when the file
// has one, else the record under `key`, else the factory record.
PageSettings readPageSettings(const ProfileFile& file, const LegacyPageSettings* legacy,
                              const char* key, const PageSettings& factory) {
    if (legacy) {
        return convertLegacy(*legacy, factory);
    }
    PageSettings page = factory;
    readInto(file, kPageSection, key, page);
    return page;
}

void readAllPageSettings(const ProfileFile& file, SettingsState& state) {
    LegacyPageSettings legacy;
    for (int format = 0; format < kFormatCount; ++format) {
        const bool hasLegacy = file.readRecord(kPageSection, kLegacyPrinterKeys[format], legacy);
        state.startupPrinterSettings[format] =
            readPageSettings(file, hasLegacy ? &legacy : nullptr, kPrinterKeys[format],
                             state.factoryPrinterSettings[format]);
    }
    // One older display record serves both formats.
    const bool hasLegacy = file.readRecord(kPageSection, kLegacyDisplayKey, legacy);
    for (int format = 0; format < kFormatCount; ++format) {
        state.startupDisplaySettings[format] =
            readPageSettings(file, hasLegacy ? &legacy : nullptr, kDisplayKeys[format],
                             state.factoryDisplaySettings[format]);
    }
}

void readLayout(int format, FormLayout& layout) {
    const ProfileFile file = readProfile(layoutFilePath(format));
    for (int i = 0; i < kLayoutItemCount; ++i) {
        layout[i] = factoryLayout()[i];
        readInto(file, kLayoutSection, layoutKey(format, i), layout[i]);
    }
}

std::string settingsFileText(const SettingsState& state) {
    ProfileWriter writer;
    writer.section(kInitSection);
    writer.record(kInitKey, state.initialData);
    writer.section(kPageSection);
    for (int format = 0; format < kFormatCount; ++format) {
        writer.record(kPrinterKeys[format], state.printerSettings[format]);
    }
    for (int format = 0; format < kFormatCount; ++format) {
        writer.record(kDisplayKeys[format], state.displaySettings[format]);
    }
    writer.section(kListSection);
    writer.record(kListKey, state.listDialog);
    return writer.text();
}

std::string layoutFileText(int format, const FormLayout& layout) {
    ProfileWriter writer;
    writer.section(kLayoutSection);
    for (int i = 0; i < kLayoutItemCount; ++i) {
        writer.record(layoutKey(format, i), layout[i]);
    }
    return writer.text();
}

// Replaces the file unless the user made it read-only. A file that could
// not be read at start-up is left as it is: the run only has factory values
// to put in its place.
int writeProfileFile(const QString& path, const std::string& text) {
    if (unreadFiles().contains(path)) {
        return 1;
    }
    const QFileInfo info(path);
    if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner)) {
        return 0;
    }
    return replaceFileSafely(path, text);
}

}  // namespace

std::string layoutKey(int format, int index) {
    char key[40];
    std::snprintf(key, sizeof key, "Layoutdata No.%d - %2d", format + 1, index);
    return key;
}

QStringList settingsFilesNotRead() {
    return unreadFiles();
}

void loadSettings() {
    SettingsState& state = settings();
    unreadFiles().clear();
    const ProfileFile file = readProfile(settingsFilePath());

    state.startupInitialData = factoryInitialData();
    readInto(file, kInitSection, kInitKey, state.startupInitialData);

    for (int format = 0; format < kFormatCount; ++format) {
        state.factoryPrinterSettings[format] = makeFactoryPageSettings(format);
        state.factoryDisplaySettings[format] = state.factoryPrinterSettings[format];
    }
    readAllPageSettings(file, state);

    state.listDialog = factoryListDialogSettings();
    readInto(file, kListSection, kListKey, state.listDialog);

    for (int format = 0; format < kFormatCount; ++format) {
        readLayout(format, state.startupLayout[format]);
    }
}

int saveSettings() {
    const SettingsState& state = settings();
    if (!writeProfileFile(settingsFilePath(), settingsFileText(state))) {
        return 0;
    }
    for (int format = 0; format < kFormatCount; ++format) {
        if (!writeProfileFile(layoutFilePath(format),
                              layoutFileText(format, state.liveLayout[format]))) {
            return 0;
        }
    }
    return 1;
}

}  // namespace belvorine
