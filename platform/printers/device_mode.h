#pragma once
// What stands for the classic device mode: the paper, orientation and
// source of a job, applied to a QPrinter; and the device capabilities of a
// printer set up with it.

#include <QString>

#include "platform/printers/printer_info.h"

class QPageLayout;
class QPdfWriter;
class QPrinter;

namespace belvorine {

struct DeviceMode {
    int paperCode = 9;    // classic paper code; 0 or unknown: formName decides
    QString formName;     // the paper's name, used when the code is unknown
    int orientation = 1;  // 1 portrait, 2 landscape
    int source = 7;       // classic bin code from sourceList()

    bool operator==(const DeviceMode&) const = default;
};

// Device capabilities in device pixels, the printable origin being where
// the printer can first print.
struct DeviceCaps {
    int resolutionX = 0;  // pixels per inch
    int resolutionY = 0;
    int printableWidth = 0;
    int printableHeight = 0;
    int paperWidth = 0;  // the physical paper
    int paperHeight = 0;
    int offsetX = 0;  // unprintable left and top
    int offsetY = 0;
};

// Points `printer` at the CUPS queue `entry` and applies `mode`: paper by
// its classic code or else by name among the printer's papers (an unknown
// paper keeps the printer's default), orientation, and the source where the
// printer offers it. A painter's origin is the paper's corner; `caps`, when
// given, gets where the printable area lies on it, the printer's smallest
// borders turned with the page in landscape. Returns 0 when the system does
// not know the printer, and for the PDF printer, which is no queue (see
// setUpPdfWriter()).
int setUpPrinter(QPrinter& printer, const PrinterEntry& entry, const DeviceMode& mode,
                 DeviceCaps* caps = nullptr);

// The built-in PDF printer's page for `mode`: 600 pixels per inch, no
// unprintable border, so a painter's origin is the paper's corner. An
// unknown paper gives A4. Computed, without asking the printing system.
QPageLayout pdfPageLayout(const DeviceMode& mode);

// Prepares `writer` as the PDF printer's job device with pdfPageLayout();
// its file is set by the caller. `caps`, when given, gets the page's
// capabilities, as setUpPrinter() gives a queue's.
void setUpPdfWriter(QPdfWriter& writer, const DeviceMode& mode, DeviceCaps* caps = nullptr);

// The capabilities of a page laid out as `layout` at `resolution` pixels per
// inch, its margins being the unprintable borders. Returns 0 when the
// resolution is not positive.
int readDeviceCaps(const QPageLayout& layout, int resolution, DeviceCaps& caps);

// The capabilities of `entry` with `mode`: the PDF printer's are computed,
// a queue's come from a printer made for the purpose.
int queryDeviceCaps(const PrinterEntry& entry, const DeviceMode& mode, DeviceCaps& caps);

}  // namespace belvorine
