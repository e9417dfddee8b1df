#pragma once
// The process-wide settings and layouts: the live copies that the program
// changes, the start-up copies read at start-up, and the factory values.

#include "data/records.h"

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

// Live records of a format (0 or 1).
inline PageSettings& printerSettings(int format) { return settings().printerSettings[format]; }
inline PageSettings& displaySettings(int format) { return settings().displaySettings[format]; }
inline FormLayout& liveLayout(int format) { return settings().liveLayout[format]; }

}  // namespace belvorine
