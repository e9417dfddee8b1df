#include "archive/order_register.h"

#include <pwd.h>
#include <unistd.h>

#include <atomic>

#include <QDateTime>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "archive/counterparty_key.h"
#include "platform/local_clock.h"

namespace belvorine {
namespace {

constexpr int kDefaultBusyTimeoutMs = 5000;
constexpr int kAppendTries = 10;

int& busyTimeoutMs() {
    static int timeout = kDefaultBusyTimeoutMs;
    return timeout;
}

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS register_entries ("
    " seq INTEGER NOT NULL PRIMARY KEY,"
    " issued_at TEXT NOT NULL,"
    " order_date INTEGER NOT NULL,"
    " counterparty TEXT NOT NULL,"
    " counterparty_key TEXT NOT NULL,"
    " total BIGINT NOT NULL,"
    " format_no INTEGER NOT NULL,"
    " format_name TEXT NOT NULL,"
    " approval_no TEXT NOT NULL,"
    " pages INTEGER NOT NULL,"
    " file_name TEXT NOT NULL,"
    " file_sha256 TEXT NOT NULL,"
    " voids_seq INTEGER,"
    " reason TEXT NOT NULL,"
    " user_name TEXT NOT NULL,"
    " prev_hash TEXT NOT NULL UNIQUE,"  // one successor per entry: the chain stays a line
    " entry_hash TEXT NOT NULL UNIQUE)",
    // Issued documents in list order, with what the search compares: a
    // search and its count read this index, not the long rows.
    "CREATE INDEX IF NOT EXISTS register_by_date ON register_entries"
    " (order_date, seq, total, counterparty_key, voids_seq) WHERE voids_seq IS NULL",
    "CREATE INDEX IF NOT EXISTS register_by_total ON register_entries (total)",
    // Partial: voids are few, and a search for the documents that are not
    // voids ("voids_seq IS NULL") must never be steered onto this index.
    "CREATE INDEX IF NOT EXISTS register_by_void ON register_entries (voids_seq)"
    " WHERE voids_seq IS NOT NULL",
    "CREATE INDEX IF NOT EXISTS register_by_file ON register_entries (file_name)",
};

// The database's own guard against changing or removing an entry; the
// hash chain shows it if someone gets round it.
const char* const kSqliteGuards[] = {
    "CREATE TRIGGER IF NOT EXISTS register_no_update BEFORE UPDATE ON register_entries"
    " BEGIN SELECT RAISE(ABORT, 'register entries are never changed'); END",
    "CREATE TRIGGER IF NOT EXISTS register_no_delete BEFORE DELETE ON register_entries"
    " BEGIN SELECT RAISE(ABORT, 'register entries are never removed'); END",
};
const char* const kPostgresGuards[] = {
    "CREATE OR REPLACE RULE register_no_update AS ON UPDATE TO register_entries"
    " DO INSTEAD NOTHING",
    "CREATE OR REPLACE RULE register_no_delete AS ON DELETE TO register_entries"
    " DO INSTEAD NOTHING",
};

const char kColumns[] =
    "seq, issued_at, order_date, counterparty, total, format_no, format_name, approval_no,"
    " pages, file_name, file_sha256, voids_seq, reason, user_name, prev_hash, entry_hash";

RegisterEntry entryFrom(const QSqlQuery& query) {
    RegisterEntry entry;
    entry.seq = query.value(0).toLongLong();
    entry.issuedAt = query.value(1).toString();
    entry.orderDate = query.value(2).toInt();
    entry.counterparty = query.value(3).toString();
    entry.total = query.value(4).toLongLong();
    entry.formatNo = query.value(5).toInt();
    entry.formatName = query.value(6).toString();
    entry.approvalNo = query.value(7).toString();
    entry.pages = query.value(8).toInt();
    entry.fileName = query.value(9).toString();
    entry.fileSha256 = query.value(10).toString();
    entry.voidsSeq = query.value(11).isNull() ? 0 : query.value(11).toLongLong();
    entry.reason = query.value(12).toString();
    entry.userName = query.value(13).toString();
    entry.previousHash = query.value(14).toString();
    entry.entryHash = query.value(15).toString();
    return entry;
}

// A LIKE pattern that finds `key` anywhere, its own wildcards taken literally.
QString containsPattern(const QString& key) {
    QString escaped;
    for (const QChar c : key) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!')) {
            escaped += QLatin1Char('!');
        }
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The WHERE conditions of `criteria` on issued documents (alias e), with
// their values in order.
QString conditions(const SearchCriteria& criteria, QVariantList& values) {
    // The date's lower bound is always given (0 when open), so that every
    // search walks the date index, which holds all it compares.
    QString where = QStringLiteral("e.voids_seq IS NULL AND e.order_date >= ?");
    values << criteria.dateFrom.value_or(0);
    if (criteria.dateTo) {
        where += QStringLiteral(" AND e.order_date <= ?");
        values << *criteria.dateTo;
    }
    if (criteria.amountFrom) {
        where += QStringLiteral(" AND e.total >= ?");
        values << static_cast<qlonglong>(*criteria.amountFrom);
    }
    if (criteria.amountTo) {
        where += QStringLiteral(" AND e.total <= ?");
        values << static_cast<qlonglong>(*criteria.amountTo);
    }
    const QString key = counterpartyKey(criteria.counterparty);
    if (!key.isEmpty()) {
        where += QStringLiteral(" AND e.counterparty_key LIKE ? ESCAPE '!'");
        values << containsPattern(key);
    }
    return where;
}

// A text column's value: never NULL, so an empty field is stored as ''.
QVariant text(const QString& value) {
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

bool isConflict(const QSqlError& error) {
    // SQLite: a stale snapshot, a unique constraint; PostgreSQL: a unique
    // violation or a serialisation failure. A busy SQLite register is none:
    // its busy timeout has waited already, and trying again would only wait
    // as long again with the window frozen.
    static const QStringList codes = {QStringLiteral("517"),   QStringLiteral("19"),
                                      QStringLiteral("2067"),  QStringLiteral("1555"),
                                      QStringLiteral("23505"), QStringLiteral("40001")};
    return codes.contains(error.nativeErrorCode());
}

}  // namespace

OrderRegister::OrderRegister(const RegisterLocation& location, const QString& sqliteFile)
    : location_(location), sqliteFile_(sqliteFile) {
    static std::atomic<int> counter{0};
    connection_ = QStringLiteral("belvorine-register-%1").arg(++counter);
}

OrderRegister::~OrderRegister() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen() && location_.driver == RegisterDriver::kSqlite) {
            // Keeps the planner's statistics of a growing register current.
            QSqlQuery(db).exec(QStringLiteral("PRAGMA optimize"));
        }
        if (db.isValid()) {
            db.close();
        }
    }
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::removeDatabase(connection_);
    }
}

void OrderRegister::setBusyTimeoutForTesting(int milliseconds) {
    busyTimeoutMs() = milliseconds < 0 ? kDefaultBusyTimeoutMs : milliseconds;
}

bool OrderRegister::failed(const QString& what, const QSqlError& error) {
    error_ = what;
    const QString detail = error.text().trimmed();
    if (!detail.isEmpty()) {
        error_ += QStringLiteral("\n（%1）").arg(detail);
    }
    return false;
}

bool OrderRegister::isOpen() const {
    return QSqlDatabase::database(connection_, false).isOpen();
}

bool OrderRegister::open(bool create) {
    error_.clear();
    const bool postgres = location_.driver == RegisterDriver::kPostgres;
    const QString driver = postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        error_ =
            postgres
                ? QStringLiteral("PostgreSQL に接続する部品 (Qt の QPSQL ドライバ) がありません。")
                : QStringLiteral("SQLite を使う部品 (Qt の QSQLITE ドライバ) がありません。");
        return false;
    }
    if (!QSqlDatabase::contains(connection_)) {
        QSqlDatabase::addDatabase(driver, connection_);
    }
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (db.isOpen()) {
        return true;
    }
    if (postgres) {
        if (!location_.host.isEmpty()) {
            db.setHostName(location_.host);
        }
        db.setPort(location_.port);
        db.setDatabaseName(location_.database);
        db.setUserName(location_.user.isEmpty() ? loginName() : location_.user);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
        // Sums come back exact rather than as doubles.
        db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    } else {
        if (!create && !QFileInfo::exists(sqliteFile_)) {
            error_ = QStringLiteral("台帳ファイルがまだありません。\n%1").arg(sqliteFile_);
            return false;
        }
        db.setDatabaseName(sqliteFile_);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs()));
    }
    if (!db.open()) {
        return failed(postgres ? QStringLiteral("台帳のサーバー (PostgreSQL) に接続できません。")
                               : QStringLiteral("台帳ファイルを開けません。\n%1").arg(sqliteFile_),
                      db.lastError());
    }
    if (!ensureSchema()) {
        db.close();
        return false;
    }
    return true;
}

bool OrderRegister::ensureSchema() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    const bool postgres = location_.driver == RegisterDriver::kPostgres;
    if (!postgres) {
        // A file that is not a register is refused here, before anything is
        // written to it.
        if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master"))) {
            return failed(QStringLiteral("台帳ファイルが壊れているか、台帳ではありません。\n"
                                         "ファイルはそのまま残してあります。\n%1")
                              .arg(sqliteFile_),
                          query.lastError());
        }
        // Write-ahead log: readers do not wait for a writer, and a crash or
        // a full disk never leaves a half entry. Its commits are not flushed
        // one by one (NORMAL): a power loss may take the last entries, never
        // a file, since every file is on the disk before its entry is made,
        // and verify lists such a file. A register locked by another program
        // keeps its journal mode; the entries are just as safe.
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    if (!db.tables().contains(QStringLiteral("register_entries"))) {
        // No table yet: make it, with its indexes and guards, in one go.
        if (!db.transaction()) {
            return failed(QStringLiteral("台帳を作成できません。"), db.lastError());
        }
        for (const char* statement : kSchema) {
            if (!query.exec(QString::fromLatin1(statement))) {
                db.rollback();
                return failed(QStringLiteral("台帳を作成できません。"), query.lastError());
            }
        }
        for (const char* statement : postgres ? kPostgresGuards : kSqliteGuards) {
            if (!query.exec(QString::fromLatin1(statement))) {
                db.rollback();
                return failed(QStringLiteral("台帳を作成できません。"), query.lastError());
            }
        }
        if (!db.commit()) {
            db.rollback();
            return failed(QStringLiteral("台帳を作成できません。"), db.lastError());
        }
    }
    return true;
}

bool OrderRegister::appendOnce(RegisterEntry& entry, bool& conflict) {
    conflict = false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    // Writers take turns from the start of the transaction: SQLite takes its
    // write lock at once (waiting as long as the busy timeout allows; a
    // reader that tried to write later would be refused), PostgreSQL locks
    // the table against other writers, not readers. The unique chain link
    // still refuses a second successor should anything get past.
    bool started = false;
    if (location_.driver == RegisterDriver::kSqlite) {
        started = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (db.transaction()) {
        started =
            query.exec(QStringLiteral("SET LOCAL lock_timeout = '%1ms'").arg(busyTimeoutMs())) &&
            query.exec(QStringLiteral("LOCK TABLE register_entries IN SHARE ROW EXCLUSIVE MODE"));
        if (!started) {
            const QSqlError error = query.lastError();
            db.rollback();
            conflict = isConflict(error);
            return failed(QStringLiteral("台帳に記録できません。"), error);
        }
    }
    if (!started) {
        const QSqlError error =
            location_.driver == RegisterDriver::kSqlite ? query.lastError() : db.lastError();
        conflict = isConflict(error);
        return failed(QStringLiteral("台帳に記録できません。"), error);
    }
    const auto abandon = [&](const QSqlError& error) {
        conflict = isConflict(error);
        db.rollback();
        return failed(QStringLiteral("台帳に記録できません。"), error);
    };
    if (entry.voidsSeq != 0) {
        // Asked inside the transaction, so that two desks cannot both void
        // the same entry.
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM register_entries WHERE voids_seq = ?"));
        query.addBindValue(entry.voidsSeq);
        if (!query.exec() || !query.next()) {
            return abandon(query.lastError());
        }
        if (query.value(0).toLongLong() > 0) {
            db.rollback();
            error_ = QStringLiteral("この記録はすでに取り消されています。");
            return false;
        }
        query.finish();
    }
    if (!query.exec(QStringLiteral(
            "SELECT seq, entry_hash FROM register_entries ORDER BY seq DESC LIMIT 1"))) {
        return abandon(query.lastError());
    }
    entry.seq = 1;
    entry.previousHash = firstPreviousHash();
    if (query.next()) {
        entry.seq = query.value(0).toLongLong() + 1;
        entry.previousHash = query.value(1).toString();
    }
    query.finish();
    entry.entryHash = computeEntryHash(entry);
    query.prepare(QStringLiteral("INSERT INTO register_entries (%1, counterparty_key) VALUES "
                                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(QLatin1String(kColumns)));
    const QVariantList values = {
        entry.seq,
        text(entry.issuedAt),
        entry.orderDate,
        text(entry.counterparty),
        static_cast<qlonglong>(entry.total),
        entry.formatNo,
        text(entry.formatName),
        text(entry.approvalNo),
        entry.pages,
        text(entry.fileName),
        text(entry.fileSha256),
        entry.voidsSeq != 0 ? QVariant(entry.voidsSeq) : QVariant(QMetaType::fromType<qlonglong>()),
        text(entry.reason),
        text(entry.userName),
        text(entry.previousHash),
        text(entry.entryHash),
        text(counterpartyKey(entry.counterparty))};
    for (const QVariant& value : values) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        return abandon(query.lastError());
    }
    if (!db.commit()) {
        return abandon(db.lastError());
    }
    return true;
}

bool OrderRegister::append(RegisterEntry& entry) {
    if (!isOpen() && !open()) {
        return false;
    }
    for (int attempt = 0; attempt < kAppendTries; ++attempt) {
        bool conflict = false;
        if (appendOnce(entry, conflict)) {
            error_.clear();
            return true;
        }
        if (!conflict) {
            break;
        }
    }
    if (error_.contains(QStringLiteral("locked")) || error_.contains(QStringLiteral("busy")) ||
        error_.contains(QStringLiteral("lock timeout"))) {
        error_ =
            QStringLiteral("台帳が他のプログラムに使用されていて、記録できません。\n") + error_;
    }
    return false;
}

bool OrderRegister::voidEntry(qint64 seq, const QString& reason, const QString& userName,
                              const QString& issuedAt, RegisterEntry* made) {
    if (!isOpen() && !open()) {
        return false;
    }
    if (reason.trimmed().isEmpty()) {
        error_ = QStringLiteral("取消の理由を入力して下さい。");
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT %1 FROM register_entries WHERE seq = ?")
                      .arg(QLatin1String(kColumns)));
    query.addBindValue(seq);
    if (!query.exec()) {
        return failed(QStringLiteral("台帳を読めません。"), query.lastError());
    }
    if (!query.next() || !query.value(11).isNull()) {
        error_ = QStringLiteral("取り消す記録が台帳にありません。");
        return false;
    }
    const RegisterEntry voided = entryFrom(query);
    query.finish();
    // The void names what it voids, so that the trail reads on its own.
    RegisterEntry entry;
    entry.issuedAt = issuedAt;
    entry.orderDate = voided.orderDate;
    entry.counterparty = voided.counterparty;
    entry.total = voided.total;
    entry.formatNo = voided.formatNo;
    entry.formatName = voided.formatName;
    entry.approvalNo = voided.approvalNo;
    entry.fileName = voided.fileName;
    entry.voidsSeq = seq;
    entry.reason = reason.trimmed();
    entry.userName = userName;
    if (!append(entry)) {
        return false;
    }
    if (made) {
        *made = entry;
    }
    return true;
}

bool OrderRegister::loadVoids() {
    voids_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM register_entries WHERE voids_seq IS NOT NULL "
                                   "ORDER BY seq")
                        .arg(QLatin1String(kColumns)))) {
        return failed(QStringLiteral("台帳を読めません。"), query.lastError());
    }
    while (query.next()) {
        const RegisterEntry entry = entryFrom(query);
        if (!voids_.contains(entry.voidsSeq)) {
            voids_.insert(entry.voidsSeq, entry);
        }
    }
    return true;
}

bool OrderRegister::summarise(const SearchCriteria& criteria, SearchSummary& summary) {
    summary = SearchSummary();
    if (!isOpen() && !open(false)) {
        return false;
    }
    QVariantList values;
    const QString where = conditions(criteria, values);
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    const auto run = [&](const QString& sql) {
        query.prepare(sql);
        for (const QVariant& value : values) {
            query.addBindValue(value);
        }
        return query.exec() && query.next();
    };
    // One pass over the matching documents, voided ones counted apart.
    const QString voided = QStringLiteral(
        "e.seq IN (SELECT voids_seq FROM register_entries WHERE voids_seq IS NOT NULL)");
    if (!run(QStringLiteral("SELECT COUNT(*), COALESCE(SUM(e.total), 0),"
                            " COALESCE(SUM(CASE WHEN %1 THEN 1 ELSE 0 END), 0),"
                            " COALESCE(SUM(CASE WHEN %1 THEN e.total ELSE 0 END), 0)"
                            " FROM register_entries e WHERE ")
                 .arg(voided) +
             where)) {
        return failed(QStringLiteral("台帳を検索できません。"), query.lastError());
    }
    summary.count = query.value(0).toInt();
    summary.voidedCount = query.value(2).toInt();
    summary.total = query.value(1).toLongLong() - query.value(3).toLongLong();
    return true;
}

bool OrderRegister::fetch(const SearchCriteria& criteria, const RegisterRow* after, int limit,
                          std::vector<RegisterRow>& rows) {
    rows.clear();
    if (!isOpen() && !open(false)) {
        return false;
    }
    if (after == nullptr && !loadVoids()) {
        return false;
    }
    QVariantList values;
    QString where = conditions(criteria, values);
    if (after) {
        // Keyset paging: the next page starts right after the last row shown.
        where += QStringLiteral(" AND (e.order_date > ? OR (e.order_date = ? AND e.seq > ?))");
        values << after->entry.orderDate << after->entry.orderDate << after->entry.seq;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    const auto run = [&](const QString& sql, const QVariantList& bound) {
        query.prepare(sql);
        for (const QVariant& value : bound) {
            query.addBindValue(value);
        }
        return query.exec() ? true
                            : failed(QStringLiteral("台帳を検索できません。"), query.lastError());
    };
    const QString order = QStringLiteral(" ORDER BY e.order_date, e.seq");
    QString sql =
        QStringLiteral("SELECT %1 FROM register_entries e WHERE ").arg(QLatin1String(kColumns));
    if (limit > 0) {
        // A page is found in the date index first; only its rows are read.
        if (!run(QStringLiteral("SELECT e.seq FROM register_entries e WHERE ") + where + order +
                     QStringLiteral(" LIMIT %1").arg(limit),
                 values)) {
            return false;
        }
        QStringList seqs;
        while (query.next()) {
            seqs << QString::number(query.value(0).toLongLong());
        }
        if (seqs.isEmpty()) {
            return true;
        }
        sql += QStringLiteral("e.seq IN (%1)").arg(seqs.join(QLatin1Char(','))) + order;
        values.clear();
    } else {
        sql += where + order;
    }
    if (!run(sql, values)) {
        return false;
    }
    while (query.next()) {
        RegisterRow row{entryFrom(query), std::nullopt};
        const auto voided = voids_.constFind(row.entry.seq);
        if (voided != voids_.constEnd()) {
            row.voidedBy = *voided;
        }
        rows.push_back(std::move(row));
    }
    return true;
}

bool OrderRegister::forEachEntry(const std::function<bool(const RegisterEntry&)>& visit) {
    if (!isOpen() && !open(false)) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM register_entries ORDER BY seq")
                        .arg(QLatin1String(kColumns)))) {
        return failed(QStringLiteral("台帳を読めません。"), query.lastError());
    }
    while (query.next()) {
        if (!visit(entryFrom(query))) {
            break;
        }
    }
    return true;
}

bool OrderRegister::entryCount(qint64& count) {
    count = 0;
    if (!isOpen() && !open(false)) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM register_entries")) || !query.next()) {
        return failed(QStringLiteral("台帳を読めません。"), query.lastError());
    }
    count = query.value(0).toLongLong();
    return true;
}

bool OrderRegister::namesFile(const QString& fileName, bool& named) {
    named = false;
    if (!isOpen() && !open()) {
        return false;
    }
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM register_entries WHERE file_name = ?"));
    query.addBindValue(fileName);
    if (!query.exec() || !query.next()) {
        return failed(QStringLiteral("台帳を読めません。"), query.lastError());
    }
    named = query.value(0).toLongLong() > 0;
    return true;
}

QString loginName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) {
        return QString::fromLocal8Bit(entry->pw_name);
    }
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QString::number(::geteuid()) : user;
}

QString issueTimestamp() {
    const LocalTime now = localNow();
    const QDateTime local(QDate(now.year, now.month, now.day),
                          QTime(now.hour, now.minute, now.second));
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

}  // namespace belvorine
