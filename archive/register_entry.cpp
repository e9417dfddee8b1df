#include "archive/register_entry.h"

#include <QCryptographicHash>
#include <QStringList>

#include "platform/local_clock.h"

namespace belvorine {

QString firstPreviousHash() {
    return QString(64, QLatin1Char('0'));
}

QString computeEntryHash(const RegisterEntry& entry) {
    // Each field with its length in front, so that no two entries can give
    // the same text however their fields are split.
    const QStringList fields = {
        QString::number(entry.seq),
        entry.issuedAt,
        QString::number(entry.orderDate),
        entry.counterparty,
        QString::number(entry.total),
        QString::number(entry.formatNo),
        entry.formatName,
        entry.approvalNo,
        QString::number(entry.pages),
        entry.fileName,
        entry.fileSha256,
        QString::number(entry.voidsSeq),
        entry.reason,
        entry.userName,
        entry.previousHash,
    };
    QByteArray text = "belvorine-register-1\n";
    for (const QString& field : fields) {
        const QByteArray bytes = field.toUtf8();
        text += QByteArray::number(bytes.size()) + ':' + bytes + '\n';
    }
    return sha256Hex(text);
}

QString sha256Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

int registerDate(const QDate& date) {
    return date.year() * 10000 + date.month() * 100 + date.day();
}

QDate issueDay() {
    const LocalTime now = localNow();
    return QDate(now.year, now.month, now.day);
}

}  // namespace belvorine
