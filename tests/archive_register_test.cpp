// The register of issued documents and the archive folder: the hash chain
// and what verify finds when entries or files are changed, the search
// conditions, voids, the file names, CSV bytes, and the bad places a
// register or a folder can be in. The register tests run on SQLite and, where
// a local PostgreSQL answers, on PostgreSQL with the same SQL.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "archive/archive_issue.h"
#include "archive/archive_names.h"
#include "archive/archive_settings.h"
#include "archive/archive_verify.h"
#include "archive/csv_export.h"
#include "archive/order_register.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"
#include "test_support.h"

using namespace belvorine;

// Readable texts in failure messages.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

RegisterEntry issued(int date, const char* counterparty, long long total) {
    RegisterEntry entry;
    entry.issuedAt = QStringLiteral("2024-02-01T10:00:00+09:00");
    entry.orderDate = date;
    entry.counterparty = QString::fromUtf8(counterparty);
    entry.total = total;
    entry.formatNo = 1;
    entry.formatName = QStringLiteral("書式１");
    entry.pages = 2;
    entry.fileName = archiveFileName(QDate(date / 10000, date / 100 % 100, date % 100),
                                     entry.counterparty, total);
    entry.fileSha256 = sha256Hex(entry.fileName.toUtf8());
    entry.userName = QStringLiteral("tanaka");
    return entry;
}

// The local PostgreSQL the test uses: BELVORINE_TEST_PGDATABASE (default
// "belvorine_test") on the local socket, as the login user (or PGUSER).
RegisterLocation postgresLocation() {
    RegisterLocation location;
    location.driver = RegisterDriver::kPostgres;
    location.host = qEnvironmentVariable("BELVORINE_TEST_PGHOST");
    location.database = qEnvironmentVariable("BELVORINE_TEST_PGDATABASE", "belvorine_test");
    location.user = qEnvironmentVariable("PGUSER");
    const int port = qEnvironmentVariableIntValue("BELVORINE_TEST_PGPORT");
    location.port = port > 0 ? port : 5432;
    return location;
}

// Runs `statement` on the register's database outside the program, as
// someone with access to it would.
bool runRaw(const RegisterLocation& location, const QString& file, const QString& statement,
            QString* error = nullptr) {
    bool done = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(
            location.driver == RegisterDriver::kPostgres ? "QPSQL" : "QSQLITE", "raw");
        if (location.driver == RegisterDriver::kPostgres) {
            db.setHostName(location.host);
            db.setPort(location.port);
            db.setDatabaseName(location.database);
            db.setUserName(location.user.isEmpty() ? loginName() : location.user);
        } else {
            db.setDatabaseName(file);
        }
        if (db.open()) {
            QSqlQuery query(db);
            done = query.exec(statement);
            if (error) {
                *error = query.lastError().text();
            }
        } else if (error) {
            *error = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
    return done;
}

class Register : public ::testing::TestWithParam<RegisterDriver> {
protected:
    void SetUp() override {
        file = folder.path() + "/電子取引/register.sqlite";
        QDir().mkpath(folder.path() + "/電子取引");
        if (GetParam() == RegisterDriver::kPostgres) {
            location = postgresLocation();
            QString why;
            if (!runRaw(location, file, "DROP TABLE IF EXISTS register_entries", &why)) {
                GTEST_SKIP() << "no local PostgreSQL database \"" << location.database.toStdString()
                             << "\" to test the shared register on (tools/postgres-test-server.sh "
                                "makes one): "
                             << why.toStdString();
            }
        }
        reg = std::make_unique<OrderRegister>(location, file);
        ASSERT_TRUE(reg->open()) << reg->error().toStdString();
    }

    void add(int date, const char* counterparty, long long total) {
        RegisterEntry entry = issued(date, counterparty, total);
        ASSERT_TRUE(reg->append(entry)) << reg->error().toStdString();
    }

    std::vector<QString> found(const SearchCriteria& criteria) {
        std::vector<RegisterRow> rows;
        EXPECT_TRUE(reg->fetch(criteria, nullptr, 0, rows)) << reg->error().toStdString();
        std::vector<QString> names;
        for (const RegisterRow& row : rows) {
            names.push_back(QString::number(row.entry.orderDate) + " " + row.entry.counterparty);
        }
        return names;
    }

    // Makes a tamperer's statement run: drops the register's guards first.
    void tamper(const QString& statement) {
        const bool postgres = GetParam() == RegisterDriver::kPostgres;
        for (const char* guard : {"register_no_update", "register_no_delete"}) {
            ASSERT_TRUE(runRaw(location, file,
                               postgres ? QString("DROP RULE IF EXISTS %1 ON register_entries").arg(guard)
                                        : QString("DROP TRIGGER IF EXISTS %1").arg(guard)));
        }
        QString error;
        ASSERT_TRUE(runRaw(location, file, statement, &error)) << error.toStdString();
    }

    test::ProgramFolder folder;
    QString file;
    RegisterLocation location;
    std::unique_ptr<OrderRegister> reg;
};

TEST_P(Register, SearchesByDateAmountAndCounterpartyInAnyCombination) {
    add(20240131, "株式会社山田商事", 110000);
    add(20240115, "(株)ヤマダ電機", 52000);
    add(20240220, "ﾔﾏﾀﾞ商事㈱", 300000);
    add(20240115, "鈴木工業有限会社", 8000);
    add(20231228, "ＡＢＣ　Trading", 110000);
    using Names = std::vector<QString>;

    // No condition: every document, by date, then in order of issue.
    EXPECT_EQ(found({}), (Names{"20231228 ＡＢＣ　Trading", "20240115 (株)ヤマダ電機",
                                "20240115 鈴木工業有限会社", "20240131 株式会社山田商事",
                                "20240220 ﾔﾏﾀﾞ商事㈱"}));
    // Ranges include their ends.
    EXPECT_EQ(found({20240115, 20240131, {}, {}, {}}),
              (Names{"20240115 (株)ヤマダ電機", "20240115 鈴木工業有限会社",
                     "20240131 株式会社山田商事"}));
    EXPECT_EQ(found({{}, {}, 52000, 110000, {}}),
              (Names{"20231228 ＡＢＣ　Trading", "20240115 (株)ヤマダ電機",
                     "20240131 株式会社山田商事"}));
    // Width, case, blanks and the company form do not matter.
    EXPECT_EQ(found({{}, {}, {}, {}, "ﾔﾏﾀﾞ"}),
              (Names{"20240115 (株)ヤマダ電機", "20240220 ﾔﾏﾀﾞ商事㈱"}));
    EXPECT_EQ(found({{}, {}, {}, {}, "山田商事(株)"}), (Names{"20240131 株式会社山田商事"}));
    EXPECT_EQ(found({{}, {}, {}, {}, "abc trading"}), (Names{"20231228 ＡＢＣ　Trading"}));
    // Two and more conditions combined.
    EXPECT_EQ(found({20240101, {}, 100000, {}, "ヤマダ"}), (Names{"20240220 ﾔﾏﾀﾞ商事㈱"}));
    EXPECT_EQ(found({{}, 20240131, {}, 60000, "ヤマダ"}), (Names{"20240115 (株)ヤマダ電機"}));
    // A name's own wildcards are taken as they stand.
    EXPECT_TRUE(found({{}, {}, {}, {}, "%"}).empty());

    SearchSummary summary;
    ASSERT_TRUE(reg->summarise({20240101, {}, {}, {}, {}}, summary));
    EXPECT_EQ(summary.count, 4);
    EXPECT_EQ(summary.total, 110000 + 52000 + 300000 + 8000);

    // Paging continues right after the last row of the page before.
    std::vector<RegisterRow> first, second;
    ASSERT_TRUE(reg->fetch({}, nullptr, 2, first));
    ASSERT_TRUE(reg->fetch({}, &first.back(), 2, second));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].entry.counterparty, "鈴木工業有限会社");
    EXPECT_EQ(second[1].entry.counterparty, "株式会社山田商事");
}

TEST_P(Register, VoidsAreNewEntriesAndTheChainShowsEveryChangeOrRemoval) {
    add(20240131, "山田商事", 110000);
    add(20240201, "鈴木工業", 52000);
    add(20240202, "佐藤製作所", 8000);

    RegisterEntry made;
    EXPECT_FALSE(reg->voidEntry(2, "  ", "tanaka", "2024-02-03T09:00:00+09:00"));
    ASSERT_TRUE(reg->voidEntry(2, "金額の誤り", "tanaka", "2024-02-03T09:00:00+09:00", &made))
        << reg->error().toStdString();
    EXPECT_EQ(made.seq, 4);
    EXPECT_EQ(made.voidsSeq, 2);
    EXPECT_FALSE(reg->voidEntry(2, "二度目", "tanaka", "2024-02-03T09:01:00+09:00"));
    EXPECT_NE(reg->error().indexOf("すでに取り消されています"), -1);
    EXPECT_FALSE(reg->voidEntry(4, "取消の取消", "tanaka", "2024-02-03T09:02:00+09:00"));
    EXPECT_FALSE(reg->voidEntry(99, "ない記録", "tanaka", "2024-02-03T09:03:00+09:00"));

    // The voided document stays listed, marked, and out of the total.
    std::vector<RegisterRow> rows;
    ASSERT_TRUE(reg->fetch({}, nullptr, 0, rows));
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_TRUE(rows[1].voidedBy.has_value());
    EXPECT_EQ(rows[1].voidedBy->reason, "金額の誤り");
    SearchSummary summary;
    ASSERT_TRUE(reg->summarise({}, summary));
    EXPECT_EQ(summary.count, 3);
    EXPECT_EQ(summary.voidedCount, 1);
    EXPECT_EQ(summary.total, 118000);

    // The database refuses changes and removals of entries.
    runRaw(location, file, "UPDATE register_entries SET total = 1 WHERE seq = 1");
    runRaw(location, file, "DELETE FROM register_entries WHERE seq = 3");
    const auto chainProblems = [&]() {
        std::vector<std::pair<VerifyProblem::Kind, qint64>> problems;
        const VerifyReport report = verifyArchive(*reg, folder.path() + "/nowhere", file, {});
        EXPECT_TRUE(report.error.isEmpty()) << report.error.toStdString();
        for (const VerifyProblem& problem : report.problems) {
            if (problem.kind == VerifyProblem::kEntryAltered ||
                problem.kind == VerifyProblem::kChainBroken) {
                problems.emplace_back(problem.kind, problem.seq);
            }
        }
        return problems;
    };
    EXPECT_TRUE(chainProblems().empty());

    // Someone who gets round that is still found out.
    tamper("UPDATE register_entries SET total = 11000 WHERE seq = 1");
    using Problems = std::vector<std::pair<VerifyProblem::Kind, qint64>>;
    EXPECT_EQ(chainProblems(), (Problems{{VerifyProblem::kEntryAltered, 1}}));
    tamper("DELETE FROM register_entries WHERE seq = 3");
    EXPECT_EQ(chainProblems(),
              (Problems{{VerifyProblem::kEntryAltered, 1}, {VerifyProblem::kChainBroken, 4}}));
}

TEST_P(Register, TwoDesksAddingAtOnceKeepOneUnbrokenChain) {
    constexpr int kEach = 25;
    const auto desk = [this](const char* name) {
        OrderRegister own(location, file);
        for (int i = 0; i < kEach; ++i) {
            RegisterEntry entry = issued(20240301, name, 1000 + i);
            EXPECT_TRUE(own.append(entry)) << own.error().toStdString();
        }
    };
    std::thread first(desk, "一番机");
    std::thread second(desk, "二番机");
    first.join();
    second.join();
    const VerifyReport report = verifyArchive(*reg, folder.path() + "/nowhere", file, {});
    EXPECT_EQ(report.entries, 2 * kEach);
    for (const VerifyProblem& problem : report.problems) {
        EXPECT_EQ(problem.kind, VerifyProblem::kFileMissing) << problemText(problem).toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Drivers, Register,
                         ::testing::Values(RegisterDriver::kSqlite, RegisterDriver::kPostgres),
                         [](const auto& info) {
                             return info.param == RegisterDriver::kSqlite ? "SQLite"
                                                                          : "PostgreSQL";
                         });

TEST(RegisterServer, AServerThatIsDownIsToldAndNothingIsLost) {
    test::ProgramFolder folder;
    RegisterLocation location = postgresLocation();
    location.host = "127.0.0.1";
    location.port = 1;  // nothing listens there
    ArchiveSettings settings;
    settings.location = location;
    IssuedDocument document{QDate(2024, 1, 31), "山田商事", 110000, 1, "書式１", "", 1, "%PDF-1.4 x"};
    const ArchiveOutcome outcome = archiveDocument(document, settings);
    EXPECT_TRUE(outcome.fileStored);
    EXPECT_FALSE(outcome.entered);
    EXPECT_NE(outcome.problem.indexOf("PostgreSQL"), -1) << outcome.problem.toStdString();
    EXPECT_EQ(QFile(outcome.filePath).size(), document.pdf.size());
    EXPECT_NE(archiveFailureText(outcome).indexOf(outcome.filePath), -1);
    closeArchiveRegister();
}

// The archive folder and its register as archiving finds them.
class Archiving : public ::testing::Test {
protected:
    void TearDown() override {
        closeArchiveRegister();
        OrderRegister::setBusyTimeoutForTesting(-1);
        setWriteFaultForTesting(-1);
    }

    ArchiveOutcome keep(const char* counterparty, long long total = 110000) {
        IssuedDocument document{QDate(2024, 1, 31), QString::fromUtf8(counterparty), total, 1,
                                "書式１",          "A-1", 1,
                                QByteArray("%PDF-1.4 ") + counterparty};
        return archiveDocument(document, settings);
    }

    QString archive() const { return archiveFolder(settings); }
    VerifyReport verify() {
        return verifyArchive(archiveRegister(settings), archive(), sqliteRegisterFile(settings), {});
    }

    test::ProgramFolder folder;
    ArchiveSettings settings;
};

TEST_F(Archiving, KeepsEachDocumentUnderItsIndexNameReadOnly) {
    EXPECT_EQ(archive(), folder.path() + "/電子取引");
    ArchiveOutcome first = keep("山田商事株式会社");
    ASSERT_TRUE(first.done()) << first.problem.toStdString();
    EXPECT_EQ(QFileInfo(first.filePath).fileName(), "20240131_山田商事株式会社_110000.pdf");
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(first.filePath).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    // The same name again, and a name whose file was removed: never reused.
    EXPECT_EQ(QFileInfo(keep("山田商事株式会社").filePath).fileName(),
              "20240131_山田商事株式会社_110000-2.pdf");
    QFile::remove(first.filePath);
    EXPECT_EQ(QFileInfo(keep("山田商事株式会社").filePath).fileName(),
              "20240131_山田商事株式会社_110000-3.pdf");

    // Characters a file name cannot hold; a name of nothing else.
    EXPECT_EQ(QFileInfo(keep("A/B:C*D?\"E<F>G|H\\I 　J\t").filePath).fileName(),
              "20240131_ABCDEFGHIJ_110000.pdf");
    EXPECT_EQ(QFileInfo(keep("/:*?\"<>|\\ ").filePath).fileName(),
              "20240131_取引先不明_110000.pdf");
    EXPECT_EQ(fileNameCounterparty("..隠し"), "隠し");
    // Cut at a character, to what every file system takes.
    const QString longName = fileNameCounterparty(QString(120, QChar(0x5C71)));
    EXPECT_EQ(longName, QString(50, QChar(0x5C71)));

    // Verify: the removed file is missing, nothing else is wrong.
    const VerifyReport report = verify();
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].kind, VerifyProblem::kFileMissing);
    EXPECT_EQ(report.entries, 5);
}

TEST_F(Archiving, VerifyListsAlteredFilesAndFilesWithoutAnEntryAndChangesNothing) {
    const QString kept = keep("山田商事").filePath;
    keep("鈴木工業");
    QFile::setPermissions(kept, QFile::WriteOwner | QFile::ReadOwner);
    test::writeFile(kept, "%PDF-1.4 altered");
    test::writeFile(archive() + "/置いただけ.pdf", "%PDF-1.4");
    const VerifyReport report = verify();
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0].kind, VerifyProblem::kFileAltered);
    EXPECT_EQ(report.problems[1].kind, VerifyProblem::kFileUnregistered);
    EXPECT_EQ(report.problems[1].fileName, "置いただけ.pdf");
    EXPECT_EQ(test::readFile(kept), "%PDF-1.4 altered");

    int calls = 0;
    const VerifyReport stopped = verifyArchive(archiveRegister(settings), archive(),
                                               sqliteRegisterFile(settings),
                                               [&calls](qint64, qint64) { return ++calls < 1; });
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(stopped.entries, 1);
}

TEST_F(Archiving, BadPlacesAreToldAndLoseNothing) {
    // A file where the folder should be.
    settings.folder = folder.path() + "/a-file";
    test::writeFile(settings.folder, "x");
    ArchiveOutcome outcome = keep("山田商事");
    EXPECT_FALSE(outcome.fileStored);
    EXPECT_FALSE(outcome.problem.isEmpty());
    EXPECT_EQ(test::readFile(settings.folder), "x");

    // A full disk: no file, no entry, no temporary file left.
    settings.folder.clear();
    setWriteFaultForTesting(3);
    outcome = keep("山田商事");
    setWriteFaultForTesting(-1);
    EXPECT_FALSE(outcome.fileStored);
    EXPECT_EQ(outcome.problem, "ディスクの空き容量が足りません。");
    EXPECT_EQ(QDir(archive()).entryList({"*.pdf*"}, QDir::Files).size(), 0);
    qint64 entries = -1;
    ASSERT_TRUE(archiveRegister(settings).entryCount(entries));
    EXPECT_EQ(entries, 0);

    // A register locked by another program: the file is kept and told
    // about; the next document goes in once the lock is gone.
    OrderRegister::setBusyTimeoutForTesting(50);
    closeArchiveRegister();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(sqliteRegisterFile(settings));
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN IMMEDIATE"));
        outcome = keep("山田商事");
        EXPECT_TRUE(outcome.fileStored);
        EXPECT_FALSE(outcome.entered);
        EXPECT_NE(outcome.problem.indexOf("他のプログラムに使用されて"), -1)
            << outcome.problem.toStdString();
        lock.exec("ROLLBACK");
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
    EXPECT_TRUE(keep("鈴木工業").done());
    VerifyReport report = verify();
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].kind, VerifyProblem::kFileUnregistered);

    // A damaged register is never written over; documents are still kept.
    closeArchiveRegister();
    settings.location.sqliteFile = folder.path() + "/damaged.sqlite";
    const std::string garbage(4096, '\x5a');
    test::writeFile(settings.location.sqliteFile, garbage);
    outcome = keep("佐藤製作所");
    EXPECT_TRUE(outcome.fileStored);
    EXPECT_FALSE(outcome.entered);
    EXPECT_NE(outcome.problem.indexOf("壊れている"), -1) << outcome.problem.toStdString();
    EXPECT_EQ(test::readFile(settings.location.sqliteFile), garbage);
}

TEST(ArchiveCsv, BytesInShiftJisAndInUtf8WithBom) {
    const QStringList header{"取引先", "取引金額"};
    const std::vector<QStringList> rows{{"山田商事, 大阪", "110000"},
                                        {"\"ｶﾅ\"", "-5"},
                                        {"=HYPERLINK(\"x\")", "0"},
                                        {"二行\n目", ""}};
    QByteArray utf8;
    ASSERT_TRUE(csvBytes(header, rows, CsvEncoding::kUtf8Bom, utf8));
    EXPECT_EQ(utf8, QByteArray("\xEF\xBB\xBF") +
                        QString("取引先,取引金額\r\n"
                                "\"山田商事, 大阪\",110000\r\n"
                                "\"\"\"ｶﾅ\"\"\",-5\r\n"
                                "\"'=HYPERLINK(\"\"x\"\")\",0\r\n"
                                "\"二行\n目\",\r\n")
                            .toUtf8());
    QByteArray sjis;
    ASSERT_TRUE(csvBytes(header, rows, CsvEncoding::kShiftJis, sjis));
    // 取 = 8E E6, ｶ = B6 (one byte), the rest as in UTF-8 above.
    EXPECT_TRUE(sjis.startsWith("\x8E\xE6"));
    EXPECT_NE(sjis.indexOf("\"\"\"\xB6\xC5\"\"\",-5\r\n"), -1);
    EXPECT_EQ(fromSjis(std::string_view(sjis.constData(), static_cast<std::size_t>(sjis.size()))),
              QString::fromUtf8(utf8.mid(3)));

    QByteArray refused;
    QString character;
    EXPECT_FALSE(csvBytes(header, {{"🍣", "1"}}, CsvEncoding::kShiftJis, refused, &character));
    EXPECT_EQ(character, "🍣");
    EXPECT_TRUE(refused.isEmpty());
}

TEST(ArchiveSettingsFile, FactoryStateRoundTripAndDamage) {
    test::ProgramFolder folder;
    ArchiveSettings factory = archiveSettings();
    EXPECT_TRUE(factory.archivePdfPrints);
    EXPECT_FALSE(factory.archivePaperPrints);
    EXPECT_FALSE(QFile::exists(folder.file("arc")));

    ArchiveSettings changed;
    changed.archivePaperPrints = true;
    changed.folder = "/srv/共有/電子\\取引\n";
    changed.location = postgresLocation();
    changed.location.host = "db.local";
    changed.location.port = 5433;
    ASSERT_EQ(saveArchiveSettings(changed), 1);
    const std::string saved = test::readFile(folder.file("arc"));
    {
        test::ProgramFolder other;  // a folder of its own reads its own file
        test::writeFile(other.file("arc"), saved);
        EXPECT_EQ(archiveSettings(), changed);
    }
    {
        test::ProgramFolder damaged;
        test::writeFile(damaged.file("arc"),
                        std::string("\xFF\xFE garbage\npaperPrints=maybe\nport=99999\n"));
        EXPECT_EQ(archiveSettings(), ArchiveSettings());
    }
}

}  // namespace
