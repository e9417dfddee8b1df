#pragma once
// CSV for a spreadsheet: Shift-JIS (code page 932, what Excel in Japan opens
// by a double click) or UTF-8 with a byte order mark. Fields are quoted
// where they must be, lines end in CR LF, and a text that a spreadsheet
// would take for a formula is kept as text.

#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace belvorine {

enum class CsvEncoding { kShiftJis, kUtf8Bom };

// The CSV of `header` and `rows`. Returns false, with the character in
// `unencodable`, when Shift-JIS cannot hold a character of the table.
bool csvBytes(const QStringList& header, const std::vector<QStringList>& rows, CsvEncoding encoding,
              QByteArray& out, QString* unencodable = nullptr);

}  // namespace belvorine
