#pragma once
// The papers and paper sources a printer offers, with the classic numeric
// codes that the settings store (papers: A4 = 9, A3 = 8, A5 = 11,
// B5 (JIS) = 13, Letter = 1; sources: automatic = 7).

#include <vector>

#include <QByteArray>
#include <QString>

#include "platform/printers/printer_info.h"

namespace belvorine {

// First code given to papers and sources that have no classic code.
inline constexpr int kFirstUserCode = 256;
inline constexpr int kAutomaticSource = 7;

struct PaperEntry {
    int code = 0;
    QString name;  // as the printer names it
};

struct SourceEntry {
    int code = 0;
    QString name;        // as the printer names it; "自動" for automatic
    QByteArray option;   // the CUPS option that selects it
    QByteArray keyword;  // and its value
};

// The printer's papers in its order; empty for a printer that reports none
// or is unknown.
std::vector<PaperEntry> paperList(const PrinterEntry& printer);

// The printer's media sources in its order: the input slots of its printer
// description, or the media sources it reports over IPP when it has none.
// Empty for a printer that reports none or is unknown.
std::vector<SourceEntry> sourceList(const PrinterEntry& printer);

// Builds source entries from (keyword, name) pairs: classic codes by
// keyword, codes from kFirstUserCode for the others and for repeats.
std::vector<SourceEntry> sourceEntries(const QByteArray& option,
                                       const std::vector<std::pair<QByteArray, QString>>& choices);

}  // namespace belvorine
