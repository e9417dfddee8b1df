#include "platform/printers/printer_info.h"

#include <QPrinterInfo>

namespace belvorine {

PrinterEntry pdfPrinter() {
    PrinterEntry entry;
    entry.name = QString::fromLatin1(kPdfPrinterName);
    entry.driver = QStringLiteral("PDF");
    entry.pdf = true;
    return entry;
}

std::vector<PrinterEntry> installedPrinters() {
    std::vector<PrinterEntry> local;
    std::vector<PrinterEntry> remote;
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        PrinterEntry entry{info.printerName(), info.makeAndModel(), info.location(), false};
        (info.isRemote() ? remote : local).push_back(entry);
    }
    local.insert(local.end(), remote.begin(), remote.end());
    local.push_back(pdfPrinter());
    return local;
}

}  // namespace belvorine
