#pragma once
// Records stored byte for byte in the settings and layout files: plain
// structs of fixed-size Shift-JIS byte arrays and little-endian integers.
// Their sizes and offsets are part of the file format.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace belvorine {

inline constexpr int kFormatCount = 2;
inline constexpr int kLayoutItemCount = 30;

// A rectangle as the original platform stores it: left, top, right, bottom
// (right and bottom exclusive).
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};
static_assert(sizeof(Rect) == 16);

// Logical font description (60 bytes), kept in every PageSettings record.
struct LogFont {
    std::int32_t height = 0;  // negative: character height in pixels
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;  // 128: Shift-JIS
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[32] = {};
};
static_assert(sizeof(LogFont) == 60);
static_assert(offsetof(LogFont, weight) == 16);
static_assert(offsetof(LogFont, italic) == 20);
static_assert(offsetof(LogFont, charSet) == 23);
static_assert(offsetof(LogFont, pitchAndFamily) == 27);
static_assert(offsetof(LogFont, faceName) == 28);

inline constexpr std::uint8_t kShiftJisCharSet = 128;

// Font size rules of a frame.
enum SizeRule : std::int32_t { kSizeFixed = 0, kSizeFitWidth = 1, kSizeFitHeight = 2 };
// Horizontal alignment of a frame's text.
enum Alignment : std::int32_t { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// One frame of a layout (312 bytes).
struct LayoutItem {
    std::int32_t itemId = 0;
    char text[256] = {};
    Rect screenRect;  // display pixels from the margin box's corner; derived
    Rect mmRect;      // hundredths of a millimetre from the paper's corner
    std::int32_t sizeRule = kSizeFixed;
    std::int32_t pointSize = 0;
    std::int32_t weight = 400;
    std::uint8_t underline = 0;
    std::uint8_t unused[3] = {};
    std::int32_t alignment = kAlignLeft;
};
static_assert(sizeof(LayoutItem) == 312);
static_assert(offsetof(LayoutItem, text) == 4);
static_assert(offsetof(LayoutItem, screenRect) == 260);
static_assert(offsetof(LayoutItem, mmRect) == 276);
static_assert(offsetof(LayoutItem, sizeRule) == 292);
static_assert(offsetof(LayoutItem, pointSize) == 296);
static_assert(offsetof(LayoutItem, weight) == 300);
static_assert(offsetof(LayoutItem, underline) == 304);
static_assert(offsetof(LayoutItem, unused) == 305);
static_assert(offsetof(LayoutItem, alignment) == 308);

// The 30 frames of a format, item i at index i (9360 bytes).
struct FormLayout {
    LayoutItem items[kLayoutItemCount];

    LayoutItem& operator[](int index) { return items[index]; }
    const LayoutItem& operator[](int index) const { return items[index]; }
};
static_assert(sizeof(FormLayout) == 9360);

// The preview's zoom: 40 % to 200 % in steps of 20 (0 in a file: fit).
inline constexpr int kMinimumZoom = 40;
inline constexpr int kMaximumZoom = 200;
inline constexpr int kZoomStep = 20;

// Window state and counters (324 bytes), key "InitialData".
struct InitialData {
    std::int32_t showState = 9;  // 9 restored, 6 minimised, 3 maximised
    std::int32_t windowX = 0;
    std::int32_t windowY = 0;
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    std::int32_t zoomPercent = 100;
    std::int32_t formatIndex = 0;
    char reservedText[256] = {};
    std::int32_t rowCount = 0;
    std::int32_t counterpartyCount = 0;
    std::uint8_t reserved[32] = {};
};
static_assert(sizeof(InitialData) == 324);
static_assert(offsetof(InitialData, zoomPercent) == 20);
static_assert(offsetof(InitialData, formatIndex) == 24);
static_assert(offsetof(InitialData, reservedText) == 28);
static_assert(offsetof(InitialData, rowCount) == 284);
static_assert(offsetof(InitialData, counterpartyCount) == 288);
static_assert(offsetof(InitialData, reserved) == 292);

inline constexpr std::int32_t kShowRestored = 9;
inline constexpr std::int32_t kShowMinimised = 6;
inline constexpr std::int32_t kShowMaximised = 3;
// The original platform's "default position" value for windowX/windowY.
inline constexpr std::int32_t kDefaultWindowPosition = INT32_MIN;

// A margin in hundredths of a millimetre with its limits.
struct Margin {
    std::int32_t minimum = 0;
    std::int32_t value = 0;
    std::int32_t maximum = 0;
};
static_assert(sizeof(Margin) == 12);

// Page settings of a format (484 bytes): "Printer No.n" and "Display No.n".
struct PageSettings {
    char formatName[256] = {};
    std::int32_t printerIndex = 0;
    std::int32_t reserved260 = 0;
    std::int16_t paperSize = 0;  // classic paper code, A4 = 9
    char paperName[64] = {};
    std::int16_t paperSource = 0;  // classic bin code, automatic = 7
    char paperSourceName[24] = {};
    std::int32_t orientation = 1;  // 1 portrait, 2 landscape
    Margin marginLeft;
    Margin marginRight;
    Margin marginTop;
    Margin marginBottom;
    std::int32_t makeAcknowledgement = 0;
    std::int32_t showTotal = 0;
    std::int32_t orderAndCopyOnOneSheet = 0;
    std::int32_t approvalOnCopy = 0;
    LogFont font;
};
static_assert(sizeof(PageSettings) == 484);
static_assert(offsetof(PageSettings, printerIndex) == 256);
static_assert(offsetof(PageSettings, reserved260) == 260);
static_assert(offsetof(PageSettings, paperSize) == 264);
static_assert(offsetof(PageSettings, paperName) == 266);
static_assert(offsetof(PageSettings, paperSource) == 330);
static_assert(offsetof(PageSettings, paperSourceName) == 332);
static_assert(offsetof(PageSettings, orientation) == 356);
static_assert(offsetof(PageSettings, marginLeft) == 360);
static_assert(offsetof(PageSettings, marginRight) == 372);
static_assert(offsetof(PageSettings, marginTop) == 384);
static_assert(offsetof(PageSettings, marginBottom) == 396);
static_assert(offsetof(PageSettings, makeAcknowledgement) == 408);
static_assert(offsetof(PageSettings, showTotal) == 412);
static_assert(offsetof(PageSettings, orderAndCopyOnOneSheet) == 416);
static_assert(offsetof(PageSettings, approvalOnCopy) == 420);
static_assert(offsetof(PageSettings, font) == 424);

// The older page settings record (460 bytes), read once and converted:
// "PrinterPagedata No.1", "PrinterPagedata No.2", "DisplayPagedata".
struct LegacyPageSettings {
    char formatName[256] = {};
    std::int32_t printerIndex = 0;
    std::int32_t reserved260 = 0;
    std::int16_t paperSize = 0;
    char paperName[64] = {};
    std::int16_t paperSource = 0;
    char paperSourceName[24] = {};
    std::int32_t orientation = 1;
    Margin marginLeft;
    Margin marginRight;
    Margin marginTop;
    Margin marginBottom;
    std::uint8_t notCarried[2] = {};
    char faceName[34] = {};
    std::int32_t makeAcknowledgement = 0;
    std::int32_t showTotal = 0;
    std::int32_t orderAndCopyOnOneSheet = 0;
    std::int32_t approvalOnCopy = 0;
};
static_assert(sizeof(LegacyPageSettings) == 460);
static_assert(offsetof(LegacyPageSettings, printerIndex) == 256);
static_assert(offsetof(LegacyPageSettings, paperSize) == 264);
static_assert(offsetof(LegacyPageSettings, paperName) == 266);
static_assert(offsetof(LegacyPageSettings, paperSource) == 330);
static_assert(offsetof(LegacyPageSettings, paperSourceName) == 332);
static_assert(offsetof(LegacyPageSettings, orientation) == 356);
static_assert(offsetof(LegacyPageSettings, marginLeft) == 360);
static_assert(offsetof(LegacyPageSettings, marginBottom) == 396);
static_assert(offsetof(LegacyPageSettings, notCarried) == 408);
static_assert(offsetof(LegacyPageSettings, faceName) == 410);
static_assert(offsetof(LegacyPageSettings, makeAcknowledgement) == 444);
static_assert(offsetof(LegacyPageSettings, showTotal) == 448);
static_assert(offsetof(LegacyPageSettings, orderAndCopyOnOneSheet) == 452);
static_assert(offsetof(LegacyPageSettings, approvalOnCopy) == 456);

// Geometry of the existing-data browser (36 bytes), key "SettingData".
struct ListDialogSettings {
    std::int32_t showState = 9;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t columnWidths[6] = {};  // list columns 1 to 6
};
static_assert(sizeof(ListDialogSettings) == 36);

// Every stored record is copied byte for byte into and out of the files.
static_assert(std::is_trivially_copyable_v<LayoutItem>);
static_assert(std::is_trivially_copyable_v<PageSettings>);
static_assert(std::is_trivially_copyable_v<LegacyPageSettings>);
static_assert(std::is_trivially_copyable_v<InitialData>);
static_assert(std::is_trivially_copyable_v<ListDialogSettings>);

}  // namespace belvorine
