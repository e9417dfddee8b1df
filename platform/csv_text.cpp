#include "platform/csv_text.h"

#include <string>

#include <QRegularExpression>

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

bool csvBytes(const QStringList& header, const std::vector<QStringList>& rows, CsvEncoding encoding,
              QByteArray& out, QString* unencodable) {
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

}  // namespace belvorine
