#include "archive/csv_export.h"

#include "archive/order_register.h"

namespace belvorine {

QString displayDate(int yyyymmdd) {
    return QStringLiteral("%1/%2/%3")
        .arg(yyyymmdd / 10000, 4, 10, QLatin1Char('0'))
        .arg(yyyymmdd / 100 % 100, 2, 10, QLatin1Char('0'))
        .arg(yyyymmdd % 100, 2, 10, QLatin1Char('0'));
}

QStringList registerCsvHeader() {
    return {QStringLiteral("取引年月日"), QStringLiteral("取引先"),   QStringLiteral("取引金額"),
            QStringLiteral("書式"),       QStringLiteral("決裁No."),  QStringLiteral("頁数"),
            QStringLiteral("ファイル名"), QStringLiteral("SHA-256"),  QStringLiteral("発行日時"),
            QStringLiteral("発行者"),     QStringLiteral("状態"),     QStringLiteral("取消日時"),
            QStringLiteral("取消者"),     QStringLiteral("取消理由"), QStringLiteral("台帳番号")};
}

std::vector<QStringList> registerCsvRows(const std::vector<RegisterRow>& rows) {
    std::vector<QStringList> table;
    table.reserve(rows.size());
    for (const RegisterRow& row : rows) {
        const RegisterEntry& e = row.entry;
        QStringList cells = {displayDate(e.orderDate),
                             e.counterparty,
                             QString::number(e.total),
                             e.formatName,
                             e.approvalNo,
                             QString::number(e.pages),
                             e.fileName,
                             e.fileSha256,
                             e.issuedAt,
                             e.userName};
        if (row.voidedBy) {
            cells << QStringLiteral("取消") << row.voidedBy->issuedAt << row.voidedBy->userName
                  << row.voidedBy->reason;
        } else {
            cells << QStringLiteral("有効") << QString() << QString() << QString();
        }
        cells << QString::number(e.seq);
        table.push_back(cells);
    }
    return table;
}

}  // namespace belvorine
