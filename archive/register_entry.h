#pragma once
// One entry of the register of issued documents, and the hash that chains
// it to the entry before it. Entries are never changed or removed: a
// correction is a new entry that voids an earlier one, with its reason.

#include <QDate>
#include <QString>

namespace belvorine {

struct RegisterEntry {
    qint64 seq = 0;        // 1, 2, 3 ... in the order they were made
    QString issuedAt;      // local time with its offset, ISO 8601
    int orderDate = 0;     // YYYYMMDD, the 取引年月日
    QString counterparty;  // the 取引先 as printed
    long long total = 0;   // the 取引金額 in yen
    int formatNo = 0;      // 1 or 2
    QString formatName;
    QString approvalNo;
    int pages = 0;
    QString fileName;      // in the archive folder
    QString fileSha256;    // hex of the file's SHA-256
    qint64 voidsSeq = 0;   // a void entry: the entry it voids; else 0
    QString reason;        // a void entry's reason
    QString userName;      // login name of whoever made the entry
    QString previousHash;  // the entry before's entryHash (64 zeros for the first)
    QString entryHash;     // SHA-256 over every field above, hex

    bool isVoid() const { return voidsSeq != 0; }
};

// The hash before the first entry.
QString firstPreviousHash();

// SHA-256 (hex) over every field of `entry` but entryHash, in a fixed form.
QString computeEntryHash(const RegisterEntry& entry);

// SHA-256 (hex) of `bytes`.
QString sha256Hex(const QByteArray& bytes);

// `date` as orderDate stores it (YYYYMMDD).
int registerDate(const QDate& date);

// Today by the local clock: the day a document is issued.
QDate issueDay();

}  // namespace belvorine
