#pragma once
// Keeping an issued document: its PDF goes into the archive folder under
// its index name and gets an entry in the register. A failure never touches
// the print or the history; it is told, with what, where and why.

#include <QByteArray>
#include <QDate>
#include <QString>

#include "archive/archive_settings.h"

namespace belvorine {

struct OrderRecord;
class OrderRegister;

// What the register keeps of an issued order, and its PDF.
struct IssuedDocument {
    QDate orderDate;
    QString counterparty;
    long long total = 0;
    int formatNo = 1;
    QString formatName;
    QString approvalNo;
    int pages = 0;
    QByteArray pdf;
};

// The order as the register keeps it, printed with format `format` (0 or
// 1). Its date is the order's; an order date that is no date (an empty
// day, a 31st of February) gives `issueDay`.
IssuedDocument describeOrder(const OrderRecord& order, int format, const QDate& issueDay);

struct ArchiveOutcome {
    bool fileStored = false;
    bool entered = false;
    QString filePath;
    QString problem;  // empty when both were done; else what went wrong and why

    bool done() const { return fileStored && entered; }
};

// Writes the document's PDF as a new read-only file in the archive folder
// (made when missing) under archiveFileName(), with "-2", "-3" ... when the
// name is taken in the folder or in the register, then adds its entry. A
// file that could not be entered is kept: verify lists it.
ArchiveOutcome archiveDocument(const IssuedDocument& document, const ArchiveSettings& settings);

// The register that archiving writes to, kept open between prints; made
// again when the settings name another one.
OrderRegister& archiveRegister(const ArchiveSettings& settings);

// Closes it (tests, a change of settings).
void closeArchiveRegister();

// The message for the user when `outcome` is not done: the print stands.
QString archiveFailureText(const ArchiveOutcome& outcome);

// Words for an errno of a file operation.
QString fileErrorText(int error);

}  // namespace belvorine
