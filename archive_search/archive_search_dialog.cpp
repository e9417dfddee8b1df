#include "archive_search/archive_search_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QUrl>

#include "archive/archive_settings.h"
#include "archive/archive_verify.h"
#include "archive/csv_export.h"
#include "archive/order_register.h"
#include "archive/register_entry.h"
#include "archive_search/archive_search_ids.h"
#include "archive_search/register_rows_model.h"
#include "archive_search/void_reason_dialog.h"
#include "widgets/csv_save.h"
#include "widgets/message_box.h"
#include "widgets/placement.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace archive_search;

constexpr int kCounterpartyBytes = 255;
constexpr int kAmountDigits = 13;
constexpr int kShownProblems = 30;
const QString kCaption = QStringLiteral("電子取引の検索");

std::optional<long long> amount(const QLineEdit* edit) {
    bool ok = false;
    const long long value = edit->text().toLongLong(&ok);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

QDateEdit* makeDateEdit(int id, QWidget* parent) {
    auto* edit = withControlId(new QDateEdit(issueDay(), parent), id);
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    edit->setCalendarPopup(true);
    useNumericInput(edit, true);
    return edit;
}

QLineEdit* makeAmountEdit(int id, QWidget* parent) {
    auto* edit = withControlId(new QLineEdit(parent), id);
    edit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(kAmountDigits)), edit));
    edit->setAlignment(Qt::AlignRight);
    edit->setPlaceholderText(QStringLiteral("指定なし"));
    useNumericInput(edit, true);
    return edit;
}

QString verifyText(const VerifyReport& report) {
    if (!report.error.isEmpty()) {
        return QStringLiteral("台帳を読めないため、検証できませんでした。\n%1").arg(report.error);
    }
    QString text = QStringLiteral("記録 %1 件、ファイル %2 件（%3 バイト）を確認しました。\n")
                       .arg(report.entries)
                       .arg(report.filesChecked)
                       .arg(groupedYen(report.bytesRead));
    if (report.cancelled) {
        return text + QStringLiteral("検証は途中で中止されました。");
    }
    if (report.problems.empty()) {
        return text + QStringLiteral("異常はありません。");
    }
    text += QStringLiteral("次の %1 件の異常が見つかりました（ファイルと台帳はそのままです）。\n\n")
                .arg(report.problems.size());
    int shown = 0;
    for (const VerifyProblem& problem : report.problems) {
        if (shown++ == kShownProblems) {
            text += QStringLiteral("ほか %1 件\n").arg(report.problems.size() - kShownProblems);
            break;
        }
        text += problemText(problem) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace

ArchiveSearchDialog::ArchiveSearchDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 9) {
    const ArchiveSettings& settings = archiveSettings();
    register_ = std::make_unique<OrderRegister>(settings.location, sqliteRegisterFile(settings));
    setWindowTitle(kCaption);
    setHelpTopic(QStringLiteral("::/archive.html"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildConditions());
    rows_ = new RegisterRowsModel(this);
    view_ = withControlId(new QTableView(this), kList);
    view_->setModel(rows_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->horizontalHeader()->setStretchLastSection(true);
    const int character = view_->fontMetrics().averageCharWidth();
    const int widths[RegisterRowsModel::kColumnCount] = {12, 30, 14, 10, 10, 4, 20, 40, 26, 10};
    for (int column = 0; column < RegisterRowsModel::kColumnCount; ++column) {
        view_->horizontalHeader()->resizeSection(column, widths[column] * character);
    }
    layout->addWidget(view_, 1);
    summary_ = withControlId(new QLabel(this), kSummary);
    layout->addWidget(summary_);
    layout->addLayout(buildButtons());
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ArchiveSearchDialog::updateButtons);
    connect(view_, &QTableView::doubleClicked, this, &ArchiveSearchDialog::openSelected);
    search();
}

void ArchiveSearchDialog::showEvent(QShowEvent* event) {
    BelvorineDialog::showEvent(event);
    if (!sized_) {
        // Wide enough for the list's main columns, over the main window.
        const int character = view_->fontMetrics().averageCharWidth();
        resize(std::max(width(), character * 130), std::max(height(), character * 75));
        centreDialog(this);
        sized_ = true;
    }
}

ArchiveSearchDialog::~ArchiveSearchDialog() = default;

QLayout* ArchiveSearchDialog::buildConditions() {
    auto* grid = new QGridLayout;
    dateFromCheck_ =
        withControlId(new QCheckBox(QStringLiteral("取引年月日"), this), kDateFromCheck);
    dateFrom_ = makeDateEdit(kDateFrom, this);
    dateFrom_->setDate(issueDay().addMonths(-1));
    dateToCheck_ = withControlId(new QCheckBox(QStringLiteral("～"), this), kDateToCheck);
    dateTo_ = makeDateEdit(kDateTo, this);
    grid->addWidget(dateFromCheck_, 0, 0);
    grid->addWidget(dateFrom_, 0, 1);
    grid->addWidget(dateToCheck_, 0, 2);
    grid->addWidget(dateTo_, 0, 3);

    amountFrom_ = makeAmountEdit(kAmountFrom, this);
    amountTo_ = makeAmountEdit(kAmountTo, this);
    grid->addWidget(new QLabel(QStringLiteral("取引金額"), this), 1, 0);
    grid->addWidget(amountFrom_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("円 ～"), this), 1, 2);
    grid->addWidget(amountTo_, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("円"), this), 1, 4);

    counterparty_ = withControlId(new QLineEdit(this), kCounterparty);
    limitSjisInput(counterparty_, kCounterpartyBytes);
    useJapaneseInput(counterparty_);
    counterparty_->setPlaceholderText(
        QStringLiteral("名前の一部（全角・半角、株式会社・(株) の違いは問いません）"));
    grid->addWidget(new QLabel(QStringLiteral("取引先"), this), 2, 0);
    grid->addWidget(counterparty_, 2, 1, 1, 4);
    auto* searchButton = withControlId(new QPushButton(QStringLiteral("検　索"), this), kSearch);
    searchButton->setDefault(true);
    grid->addWidget(searchButton, 2, 5);
    grid->setColumnStretch(6, 1);

    dateFrom_->setEnabled(false);
    dateTo_->setEnabled(false);
    connect(dateFromCheck_, &QCheckBox::toggled, dateFrom_, &QWidget::setEnabled);
    connect(dateToCheck_, &QCheckBox::toggled, dateTo_, &QWidget::setEnabled);
    connect(searchButton, &QPushButton::clicked, this, &ArchiveSearchDialog::search);
    return grid;
}

QLayout* ArchiveSearchDialog::buildButtons() {
    auto* row = new QHBoxLayout;
    open_ = withControlId(new QPushButton(QStringLiteral("開く"), this), kOpen);
    void_ = withControlId(new QPushButton(QStringLiteral("取消..."), this), kVoid);
    auto* verifyButton = withControlId(new QPushButton(QStringLiteral("検証..."), this), kVerify);
    auto* exportButton =
        withControlId(new QPushButton(QStringLiteral("CSV出力..."), this), kExport);
    auto* close = withControlId(new QPushButton(QStringLiteral("閉じる"), this), kClose);
    auto* help = withControlId(new QPushButton(QStringLiteral("ヘルプ"), this), kHelp);
    for (QPushButton* button : {open_, void_, verifyButton, exportButton, close, help}) {
        button->setAutoDefault(false);
    }
    row->addWidget(open_);
    row->addWidget(void_);
    row->addStretch(1);
    row->addWidget(verifyButton);
    row->addWidget(exportButton);
    row->addWidget(close);
    row->addWidget(help);
    connect(open_, &QPushButton::clicked, this, &ArchiveSearchDialog::openSelected);
    connect(void_, &QPushButton::clicked, this, &ArchiveSearchDialog::voidSelected);
    connect(verifyButton, &QPushButton::clicked, this, &ArchiveSearchDialog::verify);
    connect(exportButton, &QPushButton::clicked, this, &ArchiveSearchDialog::exportCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &BelvorineDialog::openHelpTopic);
    return row;
}

SearchCriteria ArchiveSearchDialog::criteria() const {
    SearchCriteria criteria;
    if (dateFromCheck_->isChecked()) {
        criteria.dateFrom = registerDate(dateFrom_->date());
    }
    if (dateToCheck_->isChecked()) {
        criteria.dateTo = registerDate(dateTo_->date());
    }
    criteria.amountFrom = amount(amountFrom_);
    criteria.amountTo = amount(amountTo_);
    criteria.counterparty = counterparty_->text();
    return criteria;
}

void ArchiveSearchDialog::search() {
    QString error;
    if (!rows_->search(*register_, criteria(), error)) {
        summary_->setText(error.section(QLatin1Char('\n'), 0, 0));
        // Nothing archived yet is no fault; anything else is told.
        if (!error.startsWith(QStringLiteral("台帳ファイルがまだありません"))) {
            showWarning(this, kCaption, error);
        }
    } else {
        const SearchSummary& summary = rows_->summary();
        QString text = QStringLiteral("該当 %1 件").arg(summary.count);
        if (summary.voidedCount > 0) {
            text += QStringLiteral("（うち取消 %1 件）").arg(summary.voidedCount);
        }
        text += QStringLiteral("　合計 ￥%1").arg(groupedYen(summary.total));
        if (summary.voidedCount > 0) {
            text += QStringLiteral("（取消分を除く）");
        }
        summary_->setText(text);
    }
    updateButtons();
}

int ArchiveSearchDialog::selectedRow() const {
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ArchiveSearchDialog::updateButtons() {
    const int row = selectedRow();
    open_->setEnabled(row >= 0);
    void_->setEnabled(row >= 0 && !rows_->row(row).voidedBy);
}

void ArchiveSearchDialog::openSelected() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const QString path =
        QDir(archiveFolder(archiveSettings())).filePath(rows_->row(row).entry.fileName);
    if (!QFileInfo(path).isFile()) {
        showWarning(
            this, kCaption,
            QStringLiteral("ファイルがありません。\n%1\n「検証」で保存ファイルを確かめて下さい。")
                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        showWarning(this, kCaption,
                    QStringLiteral("PDF を表示するプログラムを起動できませんでした。\n%1")
                        .arg(QDir::toNativeSeparators(path)));
    }
}

void ArchiveSearchDialog::voidSelected() {
    const int row = selectedRow();
    if (row < 0) {
        return;
    }
    const RegisterEntry entry = rows_->row(row).entry;
    const std::optional<QString> reason = askVoidReason(this, entry);
    if (!reason) {
        return;
    }
    if (!register_->voidEntry(entry.seq, *reason, loginName(), issueTimestamp())) {
        showWarning(this, kCaption, register_->error());
        return;
    }
    search();
}

void ArchiveSearchDialog::verify() {
    const ArchiveSettings& settings = archiveSettings();
    QProgressDialog progress(QStringLiteral("保存ファイルと台帳を検証しています..."),
                             QStringLiteral("中止"), 0, 100, this);
    progress.setWindowTitle(kCaption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const VerifyReport report = verifyArchive(
        *register_, archiveFolder(settings), sqliteRegisterFile(settings),
        [&progress](qint64 done, qint64 total) {
            // Whole percent steps: a long register does not redraw per entry.
            const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 100;
            if (percent != progress.value()) {
                progress.setValue(percent);
            }
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    showMessage({this, kCaption, verifyText(report),
                 report.clean() ? MessageIcon::Information : MessageIcon::Warning,
                 MessageButtons::Ok});
}

void ArchiveSearchDialog::exportCsv() {
    std::vector<RegisterRow> found;
    QString error;
    if (!rows_->allRows(found, error)) {
        showWarning(this, kCaption, error);
        return;
    }
    saveCsv(this,
            QStringLiteral("電子取引_%1.csv").arg(issueDay().toString(QStringLiteral("yyyyMMdd"))),
            registerCsvHeader(), registerCsvRows(found));
}

void runArchiveSearchDialog(QWidget* owner) {
    ArchiveSearchDialog dialog(owner);
    dialog.exec();
}

}  // namespace belvorine
