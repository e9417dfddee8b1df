#pragma once
// The process-wide settings and layouts: the live copies that the program
// changes, the start-up copies read at start-up, and the factory values.

#include "records/records.h"

namespace belvorine {

struct SettingsState {
    InitialData initialData;  // live
    InitialData startupInitialData;
    PageSettings printerSettings[kFormatCount];  // live
    PageSettings startupPrinterSettings[kFormatCount];
    PageSettings factoryPrinterSettings[kFormatCount];
    PageSettings displaySettings[kFormatCount];  // live
    PageSettings startupDisplaySettings[kFormatCount];
    PageSettings factoryDisplaySettings[kFormatCount];
    ListDialogSettings listDialog;
    FormLayout liveLayout[kFormatCount];
    FormLayout startupLayout[kFormatCount];
};

// The one instance, owned by this module.
SettingsState& settings();

// Restores every record to its default-constructed state (tests only).
void resetSettingsStateForTesting();

// The current format (0 or 1); a stored value out of range counts as 0.
int currentFormat();

inline bool isFormatIndex(int format) {
    return format == 0 || format == 1;
}

// Live records of a format (0 or 1).
inline PageSettings& printerSettings(int format) {
    return settings().printerSettings[format];
}
inline PageSettings& displaySettings(int format) {
    return settings().displaySettings[format];
}
inline FormLayout& liveLayout(int format) {
    return settings().liveLayout[format];
}

// Makes the live InitialData, layouts, printer and display settings from the
// start-up copies and numbers the live items 0 to 29. Called once after
// loadSettings. The counterparty width reset, the printer check and the
// layout preparation of start-up are the callers' next steps.
void makeLiveCopies();

// Puts `format`'s live printer settings and every item of its live layout
// back to the start-up copies (resp. the factory values). The display
// settings, InitialData, the list dialog and the other format stay as they
// are. The caller asks first, re-checks the printer, prepares the restored
// items and updates the layout editor. A format other than 0 or 1 changes
// nothing.
void restoreStartupState(int format);
void restoreFactoryState(int format);

}  // namespace belvorine
