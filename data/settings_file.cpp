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
// The file of printer names ("prn"): "queue:" and the queue's name in
// percent-encoded UTF-8, or "pdf" for the built-in printer.
constexpr char kPrinterSection[] = "PRINTER DATA";
constexpr std::string_view kQueuePrefix = "queue:";
constexpr std::string_view kBuiltInValue = "pdf";

QString layoutFilePath(int format) {
    return modulePathWithExtension(format == 0 ? QStringLiteral("da1") : QStringLiteral("da2"));
}

QString settingsFilePath() {
    return modulePathWithExtension(QStringLiteral("dat"));
}

QString printerNamesPath() {
    return modulePathWithExtension(QStringLiteral("prn"));
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

// Numbers read from a file pass a checksum but may still be absurd (edited
// by hand, written by a damaged program); the renderer and the windows only
// ever see values in these bounds. A value out of bounds takes the value the
// record had before it was read (the factory or converted value).
constexpr std::int32_t kMaxPaperHundredthsMm = 50000;  // 50 cm, beyond A3's long side
constexpr std::int32_t kMaxPointSize = 1000;
constexpr std::int32_t kMaxWeight = 1000;
constexpr std::int32_t kMaxWindowExtent = 100000;
constexpr std::int32_t kMaxFontPixels = 1000;

bool within(std::int32_t value, std::int32_t low, std::int32_t high) {
    return value >= low && value <= high;
}

template <class T>
void keepIf(bool valid, T& value, const T& fallback) {
    if (!valid) {
        value = fallback;
    }
}

void keepInBounds(InitialData& data, const InitialData& fallback) {
    keepIf(data.showState == kShowRestored || data.showState == kShowMinimised ||
               data.showState == kShowMaximised,
           data.showState, fallback.showState);
    for (std::int32_t InitialData::*position : {&InitialData::windowX, &InitialData::windowY}) {
        keepIf(data.*position == kDefaultWindowPosition ||
                   within(data.*position, -kMaxWindowExtent, kMaxWindowExtent),
               data.*position, fallback.*position);
    }
    keepIf(within(data.windowWidth, 0, kMaxWindowExtent), data.windowWidth, fallback.windowWidth);
    keepIf(within(data.windowHeight, 0, kMaxWindowExtent), data.windowHeight,
           fallback.windowHeight);
    // 0 is an old file's "not set", drawn at 100 %.
    keepIf(data.zoomPercent == 0 || within(data.zoomPercent, kMinimumZoom, kMaximumZoom),
           data.zoomPercent, fallback.zoomPercent);
    keepIf(within(data.formatIndex, 0, kFormatCount - 1), data.formatIndex, fallback.formatIndex);
    keepIf(data.rowCount >= 0, data.rowCount, 0);
    keepIf(data.counterpartyCount >= 0, data.counterpartyCount, 0);
}

bool validMargin(const Margin& margin) {
    return within(margin.minimum, 0, kMaxPaperHundredthsMm) &&
           within(margin.value, 0, kMaxPaperHundredthsMm) &&
           within(margin.maximum, 0, kMaxPaperHundredthsMm);
}

bool validFont(const LogFont& font) {
    return within(font.height, -kMaxFontPixels, kMaxFontPixels) &&
           within(font.width, 0, kMaxFontPixels) && within(font.escapement, -3600, 3600) &&
           within(font.orientation, -3600, 3600) && within(font.weight, 0, kMaxWeight);
}

void keepInBounds(PageSettings& page, const PageSettings& fallback) {
    keepIf(page.orientation == 1 || page.orientation == 2, page.orientation, fallback.orientation);
    for (Margin PageSettings::*margin : {&PageSettings::marginLeft, &PageSettings::marginRight,
                                         &PageSettings::marginTop, &PageSettings::marginBottom}) {
        keepIf(validMargin(page.*margin), page.*margin, fallback.*margin);
    }
    keepIf(validFont(page.font), page.font, fallback.font);
}

void keepInBounds(LayoutItem& item, const LayoutItem& fallback) {
    const Rect& mm = item.mmRect;
    keepIf(within(mm.left, 0, kMaxPaperHundredthsMm) && within(mm.top, 0, kMaxPaperHundredthsMm) &&
               within(mm.right, mm.left, kMaxPaperHundredthsMm) &&
               within(mm.bottom, mm.top, kMaxPaperHundredthsMm),
           item.mmRect, fallback.mmRect);
    keepIf(within(item.sizeRule, kSizeFixed, kSizeFitHeight), item.sizeRule, fallback.sizeRule);
    keepIf(within(item.pointSize, 0, kMaxPointSize), item.pointSize, fallback.pointSize);
    keepIf(within(item.weight, 0, kMaxWeight), item.weight, fallback.weight);
    keepIf(within(item.alignment, kAlignLeft, kAlignRight), item.alignment, fallback.alignment);
}

void keepInBounds(ListDialogSettings& list, const ListDialogSettings& fallback) {
    keepIf(within(list.width, 0, kMaxWindowExtent), list.width, fallback.width);
    keepIf(within(list.height, 0, kMaxWindowExtent), list.height, fallback.height);
    for (int i = 0; i < 6; ++i) {
        keepIf(within(list.columnWidths[i], 0, kMaxWindowExtent), list.columnWidths[i],
               fallback.columnWidths[i]);
    }
}

// Reads `key` into `dest`, which holds the fallback when the key is missing
// or damaged.
template <class Record>
void readInto(const ProfileFile& file, const char* section, std::string_view key, Record& dest) {
    const Record fallback = dest;
    if (file.readRecord(section, key, dest)) {
        terminateTexts(dest);
        keepInBounds(dest, fallback);
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
    keepInBounds(page, base);
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

PrinterChoice readPrinterChoice(const ProfileFile& file, int format) {
    PrinterChoice choice;
    const std::string* value = file.value(kPrinterSection, kPrinterKeys[format]);
    if (!value) {
        return choice;
    }
    const std::string_view text = *value;
    if (text == kBuiltInValue) {
        choice.builtIn = true;
    } else if (text.starts_with(kQueuePrefix)) {
        const std::string_view encoded = text.substr(kQueuePrefix.size());
        choice.name = QString::fromUtf8(QByteArray::fromPercentEncoding(
            QByteArray(encoded.data(), static_cast<qsizetype>(encoded.size()))));
    }
    return choice;
}

std::string printerNamesText(const SettingsState& state) {
    ProfileWriter writer;
    writer.section(kPrinterSection);
    for (int format = 0; format < kFormatCount; ++format) {
        const PrinterChoice& choice = state.printerChoice[format];
        if (choice.builtIn) {
            writer.value(kPrinterKeys[format], kBuiltInValue);
        } else if (!choice.isEmpty()) {
            writer.value(
                kPrinterKeys[format],
                std::string(kQueuePrefix) + choice.name.toUtf8().toPercentEncoding().toStdString());
        }
    }
    return writer.text();
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
        PageSettings printer = state.printerSettings[format];
        if (state.printerChoice[format].kept) {
            // The printer stored for the format is missing in this run.
            printer.printerIndex = state.printerChoice[format].storedIndex;
        }
        writer.record(kPrinterKeys[format], printer);
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

    const ProfileFile names = readProfile(printerNamesPath());
    for (int format = 0; format < kFormatCount; ++format) {
        state.startupPrinterChoice[format] = readPrinterChoice(names, format);
    }
}

int saveSettings() {
    const SettingsState& state = settings();
    if (!writeProfileFile(settingsFilePath(), settingsFileText(state))) {
        return 0;
    }
    // The names go with the settings file's printer indexes, whatever
    // becomes of the layouts: a start reads the name before the index.
    const int namesSaved = writeProfileFile(printerNamesPath(), printerNamesText(state));
    for (int format = 0; format < kFormatCount; ++format) {
        if (!writeProfileFile(layoutFilePath(format),
                              layoutFileText(format, state.liveLayout[format]))) {
            return 0;
        }
    }
    return namesSaved;
}

}  // namespace belvorine
