#pragma once
// The process-wide settings and layouts: the live copies that the program
// changes, the start-up copies read at start-up, and the factory values.

#include <QString>

#include "records/records.h"

namespace belvorine {

// The printer a format prints on, by name. The settings record keeps only
// the printer's place in the printer list, which changes when a queue is
// added or removed; the names live in a file of our own beside the settings
// file, so that the settings file keeps its bytes.
struct PrinterChoice {
    QString name;          // the CUPS queue
    bool builtIn = false;  // the built-in PDF printer (no name)
    // The stored printer is missing in this run: the format prints on the
    // PDF printer meanwhile, and the exit writes the stored choice back as
    // it was (this name, and `storedIndex` in the settings record), until
    // the user chooses another printer.
    bool kept = false;
    std::int32_t storedIndex = 0;

    // Nothing stored: an older settings file, or the factory settings.
    bool isEmpty() const { return !builtIn && name.isEmpty(); }
};

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
    PrinterChoice printerChoice[kFormatCount];  // live
    PrinterChoice startupPrinterChoice[kFormatCount];
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
inline PrinterChoice& printerChoice(int format) {
    return settings().printerChoice[format];
}

// Makes the live InitialData, layouts, printer and display settings from the
// start-up copies and numbers the live items 0 to 29. Called once after
// loadSettings. The counterparty width reset, the printer check and the
// layout preparation of start-up are the callers' next steps.
void makeLiveCopies();

// Puts `format`'s live printer settings, its printer choice and every item
// of its live layout back to the start-up copies (resp. the factory values,
// whose printer is the first of the list, no name stored). The display
// settings, InitialData, the list dialog and the other format stay as they
// are. The caller asks first, re-checks the printer, prepares the restored
// items and updates the layout editor. A format other than 0 or 1 changes
// nothing.
void restoreStartupState(int format);
void restoreFactoryState(int format);

}  // namespace belvorine
