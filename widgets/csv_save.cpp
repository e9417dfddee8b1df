#include "widgets/csv_save.h"

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFileDialog>

#include "platform/safe_file.h"
#include "widgets/message_box.h"

namespace belvorine {
namespace {

const QString kShiftJisFilter = QStringLiteral("CSV Shift-JIS・Excel 用 (*.csv)");
const QString kUtf8Filter = QStringLiteral("CSV UTF-8 BOM 付き (*.csv)");

std::function<CsvTarget()>& testChooser() {
    static std::function<CsvTarget()> chooser;
    return chooser;
}

CsvTarget askTarget(QWidget* owner, const QString& suggestedName) {
    if (testChooser()) {
        return testChooser()();
    }
    QString filter = kShiftJisFilter;
    CsvTarget target;
    target.file = QFileDialog::getSaveFileName(
        owner, QStringLiteral("CSV ファイルに出力"), QDir::home().filePath(suggestedName),
        kShiftJisFilter + QStringLiteral(";;") + kUtf8Filter, &filter);
    if (!target.file.isEmpty() && !target.file.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        target.file += QStringLiteral(".csv");
    }
    target.encoding = filter == kUtf8Filter ? CsvEncoding::kUtf8Bom : CsvEncoding::kShiftJis;
    return target;
}

}  // namespace

void setCsvTargetChooserForTesting(std::function<CsvTarget()> chooser) {
    testChooser() = std::move(chooser);
}

int saveCsv(QWidget* owner, const QString& suggestedName, const QStringList& header,
            const std::vector<QStringList>& rows) {
    const CsvTarget target = askTarget(owner, suggestedName);
    if (target.file.isEmpty()) {
        return -1;
    }
    QByteArray bytes;
    QString unencodable;
    if (!csvBytes(header, rows, target.encoding, bytes, &unencodable)) {
        showWarning(owner, QStringLiteral("CSV 出力"),
                    QStringLiteral("「%1」は Shift-JIS で書けない文字です。\n"
                                   "UTF-8 (BOM 付き) を選んで、もう一度出力して下さい。")
                        .arg(unencodable));
        return 0;
    }
    errno = 0;
    if (!replaceFileSafely(target.file,
                           std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        showWarning(owner, QStringLiteral("CSV 出力"),
                    QStringLiteral("CSV ファイルを書けませんでした。\n%1\n%2")
                        .arg(QDir::toNativeSeparators(target.file),
                             errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : QString()));
        return 0;
    }
    return 1;
}

}  // namespace belvorine
