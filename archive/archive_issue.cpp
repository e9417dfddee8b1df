#include "archive/archive_issue.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "archive/archive_names.h"
#include "archive/order_register.h"
#include "archive/register_entry.h"
#include "data/order_numbers.h"
#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/amount_format.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

constexpr int kMaxDuplicates = 9999;

struct OpenRegister {
    RegisterLocation location;
    QString sqliteFile;
    std::unique_ptr<OrderRegister> handle;
};

OpenRegister& openRegister() {
    static OpenRegister open;
    return open;
}

}  // namespace

IssuedDocument describeOrder(const OrderRecord& order, int format, const QDate& issueDay) {
    IssuedDocument document;
    const QDate date(leadingInteger(sjisView(order.year)), leadingInteger(sjisView(order.month)),
                     leadingInteger(sjisView(order.day)));
    document.orderDate = date.isValid() ? date : issueDay;
    document.counterparty = fromSjisBuffer(order.counterparty).trimmed();
    document.total = orderTotal(order);
    document.formatNo = format + 1;
    document.formatName = fromSjisBuffer(printerSettings(format).formatName);
    document.approvalNo = fromSjisBuffer(order.approvalNo).trimmed();
    return document;
}

OrderRegister& archiveRegister(const ArchiveSettings& settings) {
    OpenRegister& open = openRegister();
    const QString file = sqliteRegisterFile(settings);
    if (!open.handle || !(open.location == settings.location) || open.sqliteFile != file) {
        static const bool closedAtExit = [] {
            // Closed while Qt SQL is still there, not by a static destructor
            // after it has gone.
            qAddPostRoutine(closeArchiveRegister);
            return true;
        }();
        (void)closedAtExit;
        open.handle = std::make_unique<OrderRegister>(settings.location, file);
        open.location = settings.location;
        open.sqliteFile = file;
    }
    return *open.handle;
}

void closeArchiveRegister() {
    openRegister().handle.reset();
}

QString fileErrorText(int error) {
    switch (error) {
        case ENOSPC:
            return QStringLiteral("ディスクの空き容量が足りません。");
        case EDQUOT:
            return QStringLiteral("ディスクの使用量の上限に達しています。");
        case EACCES:
        case EPERM:
            return QStringLiteral("フォルダに書き込む権限がありません。");
        case EROFS:
            return QStringLiteral("書き込みのできない場所です。");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("フォルダがありません。");
        case EIO:
            return QStringLiteral("ディスクの読み書きでエラーが発生しました。");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

ArchiveOutcome archiveDocument(const IssuedDocument& document, const ArchiveSettings& settings) {
    ArchiveOutcome outcome;
    const QString folder = archiveFolder(settings);
    if (document.pdf.isEmpty()) {
        outcome.problem = QStringLiteral("保存する PDF を作れませんでした。");
        return outcome;
    }
    errno = 0;
    if (!QDir().mkpath(folder)) {
        outcome.filePath = folder;
        outcome.problem = QStringLiteral("保存フォルダを作れません。") +
                          (errno != 0 ? fileErrorText(errno) : QString());
        return outcome;
    }
    OrderRegister& reg = archiveRegister(settings);
    // With the register out of reach the file is still kept; its name is
    // then only checked against the folder.
    const bool registerOpen = reg.open();
    const std::string_view bytes(document.pdf.constData(),
                                 static_cast<std::size_t>(document.pdf.size()));
    QString name;
    for (int duplicate = 1; duplicate <= kMaxDuplicates && !outcome.fileStored; ++duplicate) {
        name =
            archiveFileName(document.orderDate, document.counterparty, document.total, duplicate);
        outcome.filePath = QDir(folder).filePath(name);
        bool named = false;
        if (QFileInfo::exists(outcome.filePath) ||
            (registerOpen && reg.namesFile(name, named) && named)) {
            continue;  // a kept name whose file is gone is never reused
        }
        const NewFile made = createFileSafely(outcome.filePath, bytes, 0444);
        if (made == NewFile::kFailed) {
            outcome.problem = fileErrorText(errno);
            return outcome;
        }
        outcome.fileStored = made == NewFile::kCreated;
    }
    if (!outcome.fileStored) {
        outcome.problem = QStringLiteral("同じ名前のファイルが多すぎます。");
        return outcome;
    }
    if (!registerOpen) {
        outcome.problem = reg.error();
        return outcome;
    }
    RegisterEntry entry;
    entry.issuedAt = issueTimestamp();
    entry.orderDate = registerDate(document.orderDate);
    entry.counterparty = document.counterparty;
    entry.total = document.total;
    entry.formatNo = document.formatNo;
    entry.formatName = document.formatName;
    entry.approvalNo = document.approvalNo;
    entry.pages = document.pages;
    entry.fileName = name;
    entry.fileSha256 = sha256Hex(document.pdf);
    entry.userName = loginName();
    if (!reg.append(entry)) {
        outcome.problem = reg.error();
        return outcome;
    }
    outcome.entered = true;
    return outcome;
}

QString archiveFailureText(const ArchiveOutcome& outcome) {
    QString text = QStringLiteral(
        "注文書の印刷は完了しています。\n"
        "ただし、電子取引の保存でエラーが発生しました。\n\n");
    if (outcome.fileStored) {
        text += QStringLiteral(
                    "PDF は保存しましたが、台帳に記録できませんでした。\n"
                    "保存した PDF：%1\n")
                    .arg(QDir::toNativeSeparators(outcome.filePath));
    } else {
        text += QStringLiteral("注文書の PDF を保存できませんでした。\n");
        if (!outcome.filePath.isEmpty()) {
            text += QStringLiteral("保存先：%1\n").arg(QDir::toNativeSeparators(outcome.filePath));
        }
    }
    text += QStringLiteral("理由：%1\n\n").arg(outcome.problem);
    text += outcome.fileStored ? QStringLiteral(
                                     "このファイルは、電子取引の検索の「検証」で"
                                     "台帳に記録のないファイルとして表示されます。")
                               : QStringLiteral(
                                     "ファイル → 電子取引の保存設定 で保存先を確かめてから、"
                                     "もう一度印刷して下さい。");
    return text;
}

}  // namespace belvorine
