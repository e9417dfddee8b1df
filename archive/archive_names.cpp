#include "archive/archive_names.h"

namespace belvorine {
namespace {

constexpr qsizetype kMaxCounterpartyBytes = 150;

bool unsafeInFileName(char32_t c) {
    if (c < 0x20 || c == 0x7F) {
        return true;
    }
    switch (c) {
        case U'/':
        case U'\\':
        case U':':
        case U'*':
        case U'?':
        case U'"':
        case U'<':
        case U'>':
        case U'|':
            return true;
        default:
            return false;
    }
}

}  // namespace

QString fileNameCounterparty(const QString& counterparty) {
    QString safe;
    qsizetype bytes = 0;
    for (const char32_t c : counterparty.toUcs4()) {
        if (unsafeInFileName(c) || QChar::isSpace(c) || (safe.isEmpty() && c == U'.')) {
            continue;
        }
        const QString piece = QString::fromUcs4(&c, 1);
        const qsizetype size = piece.toUtf8().size();
        if (bytes + size > kMaxCounterpartyBytes) {
            break;
        }
        bytes += size;
        safe += piece;
    }
    return safe.isEmpty() ? QStringLiteral("取引先不明") : safe;
}

QString archiveFileName(const QDate& orderDate, const QString& counterparty, long long total,
                        int duplicate) {
    QString name = orderDate.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('_') +
                   fileNameCounterparty(counterparty) + QLatin1Char('_') + QString::number(total);
    if (duplicate > 1) {
        name += QLatin1Char('-') + QString::number(duplicate);
    }
    return name + QStringLiteral(".pdf");
}

}  // namespace belvorine
