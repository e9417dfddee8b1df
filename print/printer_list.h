#pragma once
// The installed printers, enumerated once at start-up and kept for the run.

#include <vector>

#include <QString>

#include "platform/printers/printer_info.h"
#include "records/records.h"

namespace belvorine {

inline constexpr int kNoPrinterMessage = 10;

// Enumerates the printers and keeps them (usePrinters). The built-in PDF
// printer keeps the list from being empty.
int discoverPrinters();

// The same in two halves, so that the start-up goes on while the printing
// system answers: the first starts the enumeration on a thread of its own,
// the second waits for it and keeps the list. A scheduler that has not
// answered within kPrinterListTimeoutMs leaves the PDF printer alone in the
// list for this run. Finishing without a start changes nothing.
void startPrinterDiscovery();
int finishPrinterDiscovery();

// Keeps `printers` as the printer list. With none, shows ERROR No.0010
// (caption "Ｅｒｒｏｒ", no owner: there is no main window yet) and returns
// 0; start-up then ends.
int usePrinters(std::vector<PrinterEntry> printers);

const std::vector<PrinterEntry>& printerList();
int printerCount();

// The entry of `index`; an index outside the list gives the first entry
// (an empty entry while the list is empty).
const PrinterEntry& printerEntry(int index);

// A printer index that is not below the list's size is set to 0, the first
// printer. Returns 1 when the record was corrected.
int correctPrinterIndex(PageSettings& settings);

// Whether the last discovery gave up on a printing system that did not
// answer in time (the list then holds the PDF printer alone).
bool printerListTimedOut();

// A format whose stored printer is not in this run's list.
struct MissingPrinter {
    int format;
    QString name;  // empty when only its place in an older list was stored
};

// Start-up, after the discovery and before the printer check: each
// format's printer found by the name stored for it (by its stored place
// where an older settings file named none), its index set in the live and
// start-up printer settings. A printer that is missing, or that a timed-out
// discovery could not list, leaves the format on the PDF printer with its
// stored choice kept (PrinterChoice::kept) and is returned.
std::vector<MissingPrinter> findStoredPrinters();

// The user chose printer `index` for `format`: its name is stored and any
// kept choice is given up.
void notePrinterChosen(int format, int index);

}  // namespace belvorine
