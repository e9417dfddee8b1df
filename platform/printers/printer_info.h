#pragma once
// The installed printers: the CUPS queues and the built-in PDF printer.

#include <vector>

#include <QString>

namespace belvorine {

// The built-in printer that writes a job to a PDF file.
inline constexpr char kPdfPrinterName[] = "PDF";
inline constexpr int kPdfResolution = 600;

struct PrinterEntry {
    QString name;    // the CUPS queue, or kPdfPrinterName
    QString driver;  // make and model as the system reports it
    QString port;    // where the system says the printer is
    bool pdf = false;
};

// The CUPS queues, local ones first and then network ones, each group in
// the order the system reports them, followed by the built-in PDF printer.
std::vector<PrinterEntry> installedPrinters();

// The built-in PDF printer's entry.
PrinterEntry pdfPrinter();

}  // namespace belvorine
