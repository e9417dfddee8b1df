#pragma once
// The names of archived files: "YYYYMMDD_取引先_金額.pdf", the form the tax
// office accepts as an index of its own: order date, counterparty, total
// in yen.

#include <QDate>
#include <QString>

namespace belvorine {

// The counterparty as a part of a file name: characters that a file name
// cannot hold on Linux or on a Windows share (/ \ : * ? " < > |, control
// characters) are left out, blanks are dropped, leading dots too, and it
// is cut to at most 150 bytes of UTF-8 at a character boundary. A name
// with nothing left becomes "取引先不明".
QString fileNameCounterparty(const QString& counterparty);

// "20240131_山田商事株式会社_110000.pdf"; `duplicate` 2 and up adds "-2",
// "-3" ... before the extension for a name that is taken.
QString archiveFileName(const QDate& orderDate, const QString& counterparty, long long total,
                        int duplicate = 1);

}  // namespace belvorine
