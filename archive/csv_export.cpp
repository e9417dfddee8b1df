#include "archive/csv_export.h"

#include <string>

#include <QRegularExpression>

#include "archive/order_register.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

bool isNumber(const QString& cell) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    return number.match(cell).hasMatch();
}

QString csvField(QString cell) {
    // "=HYPERLINK(...)" in a counterparty must stay a name, not run.
    if (!cell.isEmpty() && QStringLiteral("=+-@\t\r").contains(cell.front()) && !isNumber(cell)) {
        cell.prepend(QLatin1Char('\''));
    }
    if (cell.contains(QLatin1Char(',')) || cell.contains(QLatin1Char('"')) ||
        cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'))) {
        cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        cell = QLatin1Char('"') + cell + QLatin1Char('"');
    }
    return cell;
}

}  // namespace

bool csvBytes(const QStringList& header, const std::vector<QStringList>& rows,
              CsvEncoding encoding, QByteArray& out, QString* unencodable) {
    QString text;
    const auto addLine = [&text](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0) {
                text += QLatin1Char(',');
            }
            text += csvField(cells[i]);
        }
        text += QStringLiteral("\r\n");
    };
    addLine(header);
    for (const QStringList& row : rows) {
        addLine(row);
    }
    if (encoding == CsvEncoding::kUtf8Bom) {
        out = QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        return true;
    }
    std::string bytes;
    if (!toSjis(text, bytes)) {
        if (unencodable) {
            *unencodable = firstUnrepresentable(text);
        }
        out.clear();
        return false;
    }
    out = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return true;
}

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
        QStringList cells = {displayDate(e.orderDate), e.counterparty,
                             QString::number(e.total), e.formatName,
                             e.approvalNo,             QString::number(e.pages),
                             e.fileName,               e.fileSha256,
                             e.issuedAt,               e.userName};
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
