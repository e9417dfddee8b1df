#pragma once
// The register's search results as a CSV table (see platform/csv_text.h).

#include <vector>

#include <QString>
#include <QStringList>

#include "platform/csv_text.h"

namespace belvorine {

struct RegisterRow;

// The register's search results as a table: one line per document, with
// its void (when, who, why) beside it.
QStringList registerCsvHeader();
std::vector<QStringList> registerCsvRows(const std::vector<RegisterRow>& rows);

// "2024/01/31" of a YYYYMMDD date.
QString displayDate(int yyyymmdd);

}  // namespace belvorine
