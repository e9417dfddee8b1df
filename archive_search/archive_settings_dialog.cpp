#include "archive_search/archive_settings_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "archive/archive_issue.h"
#include "archive/order_register.h"
#include "archive_search/archive_search_ids.h"
#include "widgets/message_box.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace archive_options;

const QString kCaption = QStringLiteral("電子取引の保存設定");

QLineEdit* makeEdit(int id, QWidget* parent, const QString& text) {
    auto* edit = withControlId(new QLineEdit(text, parent), id);
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 50);
    return edit;
}

// A line edit with a "参照..." button that picks a folder or a file.
QHBoxLayout* withBrowse(QLineEdit* edit, int id, QWidget* parent, bool folder) {
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    auto* browse = withControlId(new QPushButton(QStringLiteral("参照..."), parent), id);
    browse->setAutoDefault(false);
    row->addWidget(browse);
    QObject::connect(browse, &QPushButton::clicked, parent, [edit, parent, folder]() {
        const QString start = edit->text().isEmpty() ? edit->placeholderText() : edit->text();
        const QString chosen =
            folder ? QFileDialog::getExistingDirectory(parent, kCaption, start)
                   : QFileDialog::getSaveFileName(parent, kCaption, start,
                                                  QStringLiteral("SQLite (*.sqlite *.db)"), nullptr,
                                                  QFileDialog::DontConfirmOverwrite);
        if (!chosen.isEmpty()) {
            edit->setText(QDir::toNativeSeparators(chosen));
        }
    });
    return row;
}

}  // namespace

ArchiveSettingsDialog::ArchiveSettingsDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ ゴシック"), 10) {
    setWindowTitle(kCaption);
    setHelpTopic(QStringLiteral("::/archive.html"));
    const ArchiveSettings& settings = archiveSettings();
    const RegisterLocation& location = settings.location;
    auto* layout = new QVBoxLayout(this);

    pdfPrints_ = withControlId(
        new QCheckBox(QStringLiteral("PDF に印刷した注文書を保存する"), this), kPdfPrints);
    paperPrints_ = withControlId(
        new QCheckBox(QStringLiteral("プリンタで印刷した注文書も PDF にして保存する"), this),
        kPaperPrints);
    pdfPrints_->setChecked(settings.archivePdfPrints);
    paperPrints_->setChecked(settings.archivePaperPrints);
    layout->addWidget(pdfPrints_);
    layout->addWidget(paperPrints_);

    auto* files = new QFormLayout;
    folder_ = makeEdit(kFolder, this, QDir::toNativeSeparators(settings.folder));
    folder_->setPlaceholderText(QDir::toNativeSeparators(defaultArchiveFolder()));
    files->addRow(QStringLiteral("保存フォルダ"), withBrowse(folder_, kFolderBrowse, this, true));
    layout->addLayout(files);

    auto* registerBox = new QGroupBox(QStringLiteral("台帳（保存した注文書の記録）"), this);
    auto* registerLayout = new QFormLayout(registerBox);
    sqlite_ = withControlId(new QRadioButton(QStringLiteral("このコンピュータ (SQLite)"), this), kSqlite);
    sqliteFile_ = makeEdit(kSqliteFile, this, QDir::toNativeSeparators(location.sqliteFile));
    sqliteFile_->setPlaceholderText(QStringLiteral("保存フォルダの register.sqlite"));
    registerLayout->addRow(sqlite_);
    registerLayout->addRow(QStringLiteral("台帳ファイル"),
                           withBrowse(sqliteFile_, kSqliteBrowse, this, false));
    postgres_ = withControlId(
        new QRadioButton(QStringLiteral("複数の机で共有するサーバー (PostgreSQL)"), this), kPostgres);
    host_ = makeEdit(kHost, this, location.host);
    host_->setPlaceholderText(QStringLiteral("このコンピュータ"));
    port_ = makeEdit(kPort, this, QString::number(location.port));
    port_->setValidator(new QIntValidator(1, 65535, port_));
    useNumericInput(port_, true);
    database_ = makeEdit(kDatabase, this, location.database);
    user_ = makeEdit(kUser, this, location.user);
    user_->setPlaceholderText(loginName());
    registerLayout->addRow(postgres_);
    registerLayout->addRow(QStringLiteral("ホスト"), host_);
    registerLayout->addRow(QStringLiteral("ポート"), port_);
    registerLayout->addRow(QStringLiteral("データベース"), database_);
    registerLayout->addRow(QStringLiteral("ユーザー"), user_);
    registerLayout->addRow(new QLabel(
        QStringLiteral("パスワードはここには保存しません（~/.pgpass をお使い下さい）。"), this));
    (location.driver == RegisterDriver::kPostgres ? postgres_ : sqlite_)->setChecked(true);
    layout->addWidget(registerBox);

    auto* buttons = new QHBoxLayout;
    auto* test = withControlId(new QPushButton(QStringLiteral("接続テスト"), this), kTest);
    test->setAutoDefault(false);
    buttons->addWidget(test);
    buttons->addStretch(1);
    addDialogButtons(buttons, this, kOk);
    layout->addLayout(buttons);

    connect(test, &QPushButton::clicked, this, &ArchiveSettingsDialog::testConnection);
    connect(sqlite_, &QRadioButton::toggled, this, &ArchiveSettingsDialog::updateEnabling);
    updateEnabling();
}

void ArchiveSettingsDialog::updateEnabling() {
    const bool postgres = postgres_->isChecked();
    sqliteFile_->setEnabled(!postgres);
    for (QLineEdit* edit : {host_, port_, database_, user_}) {
        edit->setEnabled(postgres);
    }
}

ArchiveSettings ArchiveSettingsDialog::chosen() const {
    ArchiveSettings settings;
    settings.archivePdfPrints = pdfPrints_->isChecked();
    settings.archivePaperPrints = paperPrints_->isChecked();
    settings.folder = QDir::fromNativeSeparators(folder_->text().trimmed());
    RegisterLocation& location = settings.location;
    location.driver = postgres_->isChecked() ? RegisterDriver::kPostgres : RegisterDriver::kSqlite;
    location.sqliteFile = QDir::fromNativeSeparators(sqliteFile_->text().trimmed());
    location.host = host_->text().trimmed();
    location.port = port_->text().toInt() > 0 ? port_->text().toInt() : 5432;
    location.database = database_->text().trimmed();
    location.user = user_->text().trimmed();
    return settings;
}

void ArchiveSettingsDialog::testConnection() {
    const ArchiveSettings settings = chosen();
    QDir().mkpath(archiveFolder(settings));
    OrderRegister reg(settings.location, sqliteRegisterFile(settings));
    qint64 entries = 0;
    if (reg.open() && reg.entryCount(entries)) {
        showMessage({this, kCaption,
                     QStringLiteral("台帳に接続できました（記録 %1 件）。").arg(entries),
                     MessageIcon::Information, MessageButtons::Ok});
    } else {
        showWarning(this, kCaption, reg.error());
    }
}

void ArchiveSettingsDialog::accept() {
    const ArchiveSettings settings = chosen();
    if (settings.location.driver == RegisterDriver::kPostgres && settings.location.database.isEmpty()) {
        showWarning(this, QStringLiteral("確認"), QStringLiteral("データベース名を入力して下さい。"));
        return;
    }
    // The next print writes to the register now chosen.
    closeArchiveRegister();
    if (!saveArchiveSettings(settings)) {
        showWarning(this, kCaption,
                    QStringLiteral("設定ファイルを保存できませんでした。\n%1\n"
                                   "この設定は、プログラムを終了するまで使われます。")
                        .arg(QDir::toNativeSeparators(archiveSettingsPath())));
    }
    BelvorineDialog::accept();
}

int runArchiveSettingsDialog(QWidget* owner) {
    ArchiveSettingsDialog dialog(owner);
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

}  // namespace belvorine
