#pragma once
// The register of issued documents in a database through Qt SQL: SQLite in
// a file by default, PostgreSQL when several desks share one register. The
// SQL is the same for both. Each entry is one transaction; entries are only
// ever added (a void is an entry of its own), and each carries the hash of
// the entry before it, so a changed or removed entry breaks the chain.

#include <functional>
#include <optional>
#include <vector>

#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include "archive/archive_settings.h"
#include "archive/register_entry.h"

namespace belvorine {

// Conditions of a search; an unset bound is open, an empty counterparty
// matches every one. Any combination.
struct SearchCriteria {
    std::optional<int> dateFrom;  // YYYYMMDD, inclusive
    std::optional<int> dateTo;
    std::optional<long long> amountFrom;  // yen, inclusive
    std::optional<long long> amountTo;
    QString counterparty;  // part of the name, compared by counterpartyKey()
};

// An issued document as a search lists it, with the void that cancelled
// it, if any.
struct RegisterRow {
    RegisterEntry entry;
    std::optional<RegisterEntry> voidedBy;
};

struct SearchSummary {
    int count = 0;  // documents found, voided ones included
    int voidedCount = 0;
    long long total = 0;  // of the documents found that are not voided
};

class OrderRegister {
public:
    // `sqliteFile` is used when the location names SQLite.
    OrderRegister(const RegisterLocation& location, const QString& sqliteFile);
    ~OrderRegister();
    OrderRegister(const OrderRegister&) = delete;
    OrderRegister& operator=(const OrderRegister&) = delete;

    // Connects and makes the tables when they are not there. `create`
    // false leaves a missing SQLite file missing (nothing found yet).
    // Returns false with error() set; a register that exists but is not
    // one (a damaged file) is never written over.
    bool open(bool create = true);
    bool isOpen() const;
    // Why the last call failed, in words for the user.
    const QString& error() const { return error_; }

    // Adds an entry: fills in its seq, previousHash and entryHash. One
    // transaction; another desk's entry made at the same moment makes it
    // retry on top of that one.
    bool append(RegisterEntry& entry);

    // Voids issued document `seq` with `reason` through a new entry made by
    // `userName` at `issuedAt`. Refused (false, error() says why) when
    // there is no such document or it is voided already.
    bool voidEntry(qint64 seq, const QString& reason, const QString& userName,
                   const QString& issuedAt, RegisterEntry* made = nullptr);

    // Count and total of the documents that match.
    bool summarise(const SearchCriteria& criteria, SearchSummary& summary);
    // Up to `limit` matching documents after `after` (none: from the
    // start) in order of order date, then of issue; limit 0: all of them.
    bool fetch(const SearchCriteria& criteria, const RegisterRow* after, int limit,
               std::vector<RegisterRow>& rows);

    // Every entry in order of seq; `visit` returns false to stop.
    bool forEachEntry(const std::function<bool(const RegisterEntry&)>& visit);
    // Number of entries of every kind.
    bool entryCount(qint64& count);
    // True when an entry names the file `fileName`.
    bool namesFile(const QString& fileName, bool& named);

    // How long a writer waits for another's lock before giving up (SQLite).
    static void setBusyTimeoutForTesting(int milliseconds);

private:
    bool ensureSchema();
    bool appendOnce(RegisterEntry& entry, bool& conflict);
    bool loadVoids();
    bool failed(const QString& what, const class QSqlError& error);

    QString connection_;
    RegisterLocation location_;
    QString sqliteFile_;
    QString error_;
    QHash<qint64, RegisterEntry> voids_;  // by the seq they void
};

// The login name of the user of this process.
QString loginName();

// Now, as issuedAt stores it: local time with its offset.
QString issueTimestamp();

}  // namespace belvorine
