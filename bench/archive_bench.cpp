// What keeping the issued orders costs: a print to PDF with its history
// append at 10 000 history rows, without and with the archive (the
// difference is the archive's cost); what the archive adds to a paper print
// (its pages drawn again on a PDF, the file written, the entry made); the
// register's searches at 100 000 entries, as the search dialog runs them
// (count and total, then the first page of the list); and verifying kept
// files, in bytes per second.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "archive/archive_issue.h"
#include "archive/archive_pdf.h"
#include "archive/archive_settings.h"
#include "archive/archive_verify.h"
#include "archive/counterparty_key.h"
#include "archive/order_register.h"
#include "archive/register_entry.h"
#include "bench/bench_support.h"
#include "bench/process_setup.h"
#include "bench/widget_bench_main.h"
#include "data/order_files.h"
#include "data/order_record.h"
#include "data/order_session.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "platform/module_path.h"
#include "platform/printers/device_mode.h"
#include "platform/printers/printer_info.h"
#include "platform/sjis_text.h"
#include "print/device_geometry.h"
#include "print/print_archive.h"
#include "print/print_run.h"
#include "print/printer_list.h"

namespace belvorine {
namespace {

// Resident memory in KiB.
long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A program folder with the factory settings and a history of 10 000 rows,
// loaded; the archive in a folder of its own.
struct PrintSetUp {
    QTemporaryDir folder;
    PrintSetUp() {
        setModulePathForTesting(folder.path() + QStringLiteral("/belvorine"));
        usePrinters({pdfPrinter()});
        if (!prepareProgramFolder(10000) || !startWithoutWindow() || openOrderData({}) != 0) {
            std::fprintf(stderr, "set-up failed\n");
            std::exit(1);
        }
        orderEntered() = 1;
        fillFiveLineOrder();
    }
};

PrintSetUp& printSetUp() {
    static PrintSetUp setUp;
    return setUp;
}

// Each print is another order: another counterparty, so another file name.
void nextOrder(int number) {
    copySjis(currentOrder().counterparty, sj("株式会社山田製作所 ") + std::to_string(number));
}

void pdfPrintBench(benchmark::State& state) {
    PrintSetUp& setUp = printSetUp();
    const bool archived = state.range(0) == 1;
    ArchiveSettings settings;
    settings.archivePdfPrints = archived;
    settings.folder = setUp.folder.path() + QStringLiteral("/archive-%1").arg(state.range(0));
    setArchiveSettingsForTesting(settings);
    const QString file = setUp.folder.path() + QStringLiteral("/order.pdf");
    DocumentSelection selection;
    selection.pages[2] = 1;
    int number = 0;
    const long before = residentKiB();
    for (auto _ : state) {
        nextOrder(++number);
        IssuedDocument issued;
        PrintJobOptions options;
        options.choosePdfFile = [file]() { return file; };
        options.issued = &issued;
        if (printDocuments(selection, options) != kPrintDone || !appendCurrentOrder() ||
            !keepIssuedDocument(nullptr, issued)) {
            state.SkipWithError("print failed");
            break;
        }
    }
    state.counters["rss_growth_KiB"] = static_cast<double>(residentKiB() - before);
}

// What the archive adds to a paper print: the three pages drawn again on a
// PDF laid out as an A4 printer at 600 dpi, the file and the entry.
void paperArchiveBench(benchmark::State& state) {
    PrintSetUp& setUp = printSetUp();
    ArchiveSettings settings;
    settings.folder = setUp.folder.path() + QStringLiteral("/archive-paper");
    setArchiveSettingsForTesting(settings);
    const int format = currentFormat();
    const PageSettings& page = printerSettings(format);
    const QPageLayout layout = pdfPageLayout(DeviceMode{});
    const PageGeometry geometry = printerGeometry(format);
    DeviceCaps caps;
    readDeviceCaps(layout, 600, caps);
    int number = 0;
    const long before = residentKiB();
    for (auto _ : state) {
        nextOrder(++number);
        ArchivePdf pdf(QString::fromLatin1(kJobTitle), QString::fromLatin1(kJobCreator));
        for (int kind = 1; kind <= 3; ++kind) {
            pdf.addPage(layout, caps, geometry, page, printScale(600, 96), kind, true);
        }
        IssuedDocument issued = describeOrder(currentOrder(), format, QDate(2024, 1, 31));
        issued.pages = pdf.sheets();
        issued.pdf = pdf.finish();
        if (!archiveDocument(issued, settings).done()) {
            state.SkipWithError("archive failed");
            break;
        }
    }
    state.counters["rss_growth_KiB"] = static_cast<double>(residentKiB() - before);
}

// A register of 100 000 entries over seven years, about 1 in 100 voided,
// made once in one transaction with the same chain as appends make.
struct RegisterSetUp {
    QTemporaryDir folder;
    QString file;
    RegisterSetUp() {
        file = folder.path() + QStringLiteral("/register.sqlite");
        {
            OrderRegister made(RegisterLocation(), file);
            made.open();
        }
        static const char* const kNames[] = {
            "株式会社山田製作所", "(株)鈴木工業",     "佐藤商事㈱",   "ﾀｶﾊｼ電機株式会社",
            "有限会社伊藤商店",   "渡辺建設株式会社", "中村産業(株)", "小林物産株式会社"};
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(file);
        db.open();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO register_entries (seq, issued_at, order_date, counterparty, total,"
            " format_no, format_name, approval_no, pages, file_name, file_sha256, voids_seq, "
            "reason,"
            " user_name, prev_hash, entry_hash, counterparty_key) VALUES"
            " (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QString previous = firstPreviousHash();
        const QDate start(2018, 1, 4);
        for (int seq = 1; seq <= 100000; ++seq) {
            RegisterEntry e;
            e.seq = seq;
            const QDate date = start.addDays(seq * 2555LL / 100000);
            e.orderDate = registerDate(date);
            e.issuedAt = date.toString(Qt::ISODate) + QStringLiteral("T10:00:00+09:00");
            e.counterparty = QString::fromUtf8(kNames[seq % 8]) + QString::number(seq % 500);
            e.total = (seq * 7919LL) % 5000000 + 1000;
            e.formatNo = 1;
            e.formatName = QStringLiteral("書式１");
            e.approvalNo = QString();
            e.pages = 3;
            e.fileName =
                QStringLiteral("%1_%2_%3.pdf").arg(e.orderDate).arg(e.counterparty).arg(e.total);
            e.fileSha256 = sha256Hex(e.fileName.toUtf8());
            if (seq % 100 == 0) {
                e.voidsSeq = seq - 50;
                e.reason = QStringLiteral("金額の誤り");
            }
            e.userName = QStringLiteral("tanaka");
            e.previousHash = previous;
            e.entryHash = computeEntryHash(e);
            previous = e.entryHash;
            const QVariantList values = {
                e.seq,
                e.issuedAt,
                e.orderDate,
                e.counterparty,
                static_cast<qlonglong>(e.total),
                e.formatNo,
                e.formatName,
                QStringLiteral(""),
                e.pages,
                e.fileName,
                e.fileSha256,
                e.voidsSeq ? QVariant(e.voidsSeq) : QVariant(QMetaType::fromType<qlonglong>()),
                e.reason.isNull() ? QStringLiteral("") : e.reason,
                e.userName,
                e.previousHash,
                e.entryHash,
                counterpartyKey(e.counterparty)};
            for (const QVariant& value : values) {
                insert.addBindValue(value);
            }
            insert.exec();
        }
        db.commit();
        db.close();
    }
};

RegisterSetUp& registerSetUp() {
    static RegisterSetUp setUp;
    return setUp;
}

void searchBench(benchmark::State& state) {
    OrderRegister reg(RegisterLocation(), registerSetUp().file);
    reg.open();
    SearchCriteria criteria;
    switch (state.range(0)) {
        case 1:  // one month
            criteria.dateFrom = 20230101;
            criteria.dateTo = 20230131;
            break;
        case 2:  // an amount range
            criteria.amountFrom = 100000;
            criteria.amountTo = 200000;
            break;
        case 3:  // part of a name, another width
            criteria.counterparty = QStringLiteral("ﾔﾏﾀﾞ");
            break;
        case 4:  // all three
            criteria.dateFrom = 20200101;
            criteria.dateTo = 20221231;
            criteria.amountFrom = 1000000;
            criteria.counterparty = QStringLiteral("鈴木");
            break;
        default:  // nothing: every entry
            break;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        SearchSummary summary;
        std::vector<RegisterRow> rows;
        if (!reg.summarise(criteria, summary) || !reg.fetch(criteria, nullptr, 200, rows)) {
            state.SkipWithError("search failed");
            break;
        }
        found = static_cast<std::size_t>(summary.count);
    }
    state.counters["found"] = static_cast<double>(found);
}

// Verifying 2 000 kept files of 100 KiB, their entries and the chain.
void verifyBench(benchmark::State& state) {
    static QTemporaryDir folder;
    static bool made = false;
    const QString file = folder.path() + QStringLiteral("/register.sqlite");
    OrderRegister reg(RegisterLocation(), file);
    if (!made) {
        made = true;
        reg.open();
        const QByteArray content(100 * 1024, 'x');
        for (int i = 0; i < 2000; ++i) {
            RegisterEntry e;
            e.orderDate = 20240131;
            e.counterparty = QStringLiteral("山田商事");
            e.fileName = QStringLiteral("doc%1.pdf").arg(i);
            QByteArray bytes = content;
            bytes.append(QByteArray::number(i));
            QFile out(folder.path() + QLatin1Char('/') + e.fileName);
            out.open(QIODevice::WriteOnly);
            out.write(bytes);
            out.close();
            e.fileSha256 = sha256Hex(bytes);
            reg.append(e);
        }
    }
    qint64 bytes = 0;
    for (auto _ : state) {
        const VerifyReport report = verifyArchive(reg, folder.path(), file, {});
        if (!report.clean()) {
            state.SkipWithError("verify found problems");
            break;
        }
        bytes += report.bytesRead;
    }
    state.SetBytesProcessed(bytes);
}

BENCHMARK(pdfPrintBench)
    ->ArgName("archive")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK(paperArchiveBench)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(searchBench)->ArgName("condition")->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(verifyBench)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace belvorine

int main(int argc, char** argv) {
    return belvorine::runWidgetBenchmarks(argc, argv);
}
