#pragma once
// Command ids: every menu item, tool-bar button, accelerator and context
// menu entry delivers one of these to the main window.

namespace belvorine {

enum Command : int {
    kCmdPrintSetup = 40001,
    kCmdPreview = 40002,
    kCmdPrint = 40003,
    kCmdExit = 40004,
    kCmdDataEntry = 40005,
    kCmdExistingData = 40006,
    kCmdCompanyProfile = 40007,
    kCmdToolbar = 40008,
    kCmdStatusBar = 40009,
    kCmdSwitchFormat = 40010,
    kCmdPageSetup = 40011,
    kCmdLayoutStart = 40012,
    kCmdHelp = 40013,
    kCmdAbout = 40014,
    kCmdPreviewEnd = 40015,
    kCmdLayoutEnd = 40016,
    kCmdPreviousPage = 40017,
    kCmdNextPage = 40018,
    kCmdZoomOut = 40019,
    kCmdZoomIn = 40020,
    kCmdLeaveMode = 40021,
    kCmdEditItem = 40022,
    kCmdUndo = 40023,
    kCmdResetToStartup = 40024,
    kCmdResetToFactory = 40025,
    kCmdZoomDialog = 40026,
    // Record keeping of issued orders, beside the commands above.
    kCmdArchiveSearch = 40027,
    kCmdArchiveSettings = 40028,
};

inline constexpr int kFirstCommand = kCmdPrintSetup;
inline constexpr int kLastCommand = kCmdArchiveSettings;

}  // namespace belvorine
