#pragma once
// Saving a list as CSV: the user names the file and picks the encoding
// (Shift-JIS for Excel in Japan, or UTF-8 with BOM) in one save dialog;
// the file is written whole or not at all, and a failure is told.

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "platform/csv_text.h"

class QWidget;

namespace belvorine {

struct CsvTarget {
    QString file;  // empty: cancelled
    CsvEncoding encoding = CsvEncoding::kShiftJis;
};

// Asks for the file (suggesting `suggestedName` in the home folder) and
// writes `header` and `rows`. Returns 1 when written, 0 when it failed (the
// user was told why), -1 when the user cancelled.
int saveCsv(QWidget* owner, const QString& suggestedName, const QStringList& header,
            const std::vector<QStringList>& rows);

// Lets tests answer the save dialog; empty restores it.
void setCsvTargetChooserForTesting(std::function<CsvTarget()> chooser);

}  // namespace belvorine
