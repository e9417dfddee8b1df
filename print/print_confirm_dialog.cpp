#include "print/print_confirm_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/settings_state.h"
#include "form/page_geometry.h"
#include "platform/sjis_text.h"
#include "print/page_notices.h"
#include "print/print_selection.h"
#include "print/printer_list.h"
#include "widgets/help.h"
#include "widgets/message_box.h"

namespace belvorine {
namespace {

QLabel* label(QWidget* parent, const QString& text, int id) {
    auto* widget = new QLabel(text, parent);
    if (id != 0) {
        setControlId(widget, id);
    }
    return widget;
}

QLabel* sunkenValue(QWidget* parent, const QString& text, int id) {
    QLabel* value = label(parent, text, id);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setMinimumWidth(220);
    return value;
}

template <typename Button>
Button* button(QWidget* parent, const QString& text, int id) {
    auto* widget = new Button(text, parent);
    setControlId(widget, id);
    return widget;
}

}  // namespace

DocumentSelection& documentSelection() {
    static DocumentSelection selection;
    return selection;
}

QString PrintConfirmDialog::summaryText(int orderAndCopyOnOneSheet, int makeAcknowledgement) {
    if (orderAndCopyOnOneSheet == 1) {
        return QStringLiteral("「 注文書 」 と 「 注文書控 」を １枚 で印刷");
    }
    if (makeAcknowledgement == 1) {
        return QStringLiteral("｢注文書｣ ｢注文書控｣ ｢注文請書｣を 各１枚(計３枚) で印刷");
    }
    return QStringLiteral("｢注文書｣ ｢注文書控｣ を 各１枚(計２枚) で印刷");
}

PrintConfirmDialog::PrintConfirmDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 9) {
    setWindowTitle(QStringLiteral("印刷開始確認"));
    setHelpTopic(QStringLiteral("::/printout.html"));
    const PageSettings& print = printerSettings(currentFormat());
    acknowledgement_ = print.makeAcknowledgement == 1 && print.orderAndCopyOnOneSheet != 1;

    auto* settingsBox = new QGroupBox(QStringLiteral("　印刷設定 及び ページ設定　"), this);
    setControlId(settingsBox, print_confirm::kSettingsBox);
    auto* grid = new QGridLayout(settingsBox);
    const std::pair<const char*, std::pair<int, QString>> rows[] = {
        {"プリンタ ：", {print_confirm::kPrinter, printerEntry(print.printerIndex).name}},
        {"用紙種類 ：", {print_confirm::kPaper, fromSjisBuffer(print.paperName)}},
        {"用紙方向 ：",
         {print_confirm::kOrientation,
          print.orientation == 1 ? QStringLiteral("縦") : QStringLiteral("横")}},
        {"給紙方法 ：", {print_confirm::kSource, fromSjisBuffer(print.paperSourceName)}},
        {"印刷フォント ：", {print_confirm::kFont, fromSjisBuffer(print.font.faceName)}},
    };
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(label(settingsBox, QString::fromUtf8(caption), value.first - 1), row, 0,
                        Qt::AlignRight);
        grid->addWidget(sunkenValue(settingsBox, value.second, value.first), row, 1);
        ++row;
    }
    grid->addWidget(
        label(settingsBox, summaryText(print.orderAndCopyOnOneSheet, print.makeAcknowledgement),
              print_confirm::kSummary),
        row, 0, 1, 2, Qt::AlignCenter);

    auto* choiceBox = new QGroupBox(QStringLiteral("　印刷範囲　"), this);
    setControlId(choiceBox, print_confirm::kChoiceBox);
    auto* choices = new QVBoxLayout(choiceBox);
    followsSettings_ =
        button<QRadioButton>(choiceBox, QStringLiteral("印刷設定 及び ページ設定に従う"),
                             print_confirm::kFollowsSettings);
    partial_ = button<QRadioButton>(choiceBox, QStringLiteral("部分印刷"), print_confirm::kPartial);
    choices->addWidget(followsSettings_);
    choices->addWidget(partial_);
    const char* pageTexts[] = {"「 注 文 書 」 を 印刷", "「 注文書控 」 を 印刷",
                               "「 注文請書 」 を 印刷"};
    for (int page = 0; page < 3; ++page) {
        pages_[page] = button<QCheckBox>(choiceBox, QString::fromUtf8(pageTexts[page]),
                                         print_confirm::kFirstPage + page);
        auto* indented = new QHBoxLayout;
        indented->addSpacing(24);
        indented->addWidget(pages_[page]);
        choices->addLayout(indented);
    }
    followsSettings_->setChecked(true);
    followSettings();
    connect(followsSettings_, &QRadioButton::clicked, this, &PrintConfirmDialog::followSettings);
    connect(partial_, &QRadioButton::clicked, this, &PrintConfirmDialog::choosePages);

    auto* question =
        label(this, QStringLiteral("以上の設定で印刷します。プリンタの準備はよろしいですか？"),
              print_confirm::kQuestion);
    const int format = currentFormat();
    halfSheet_ = halfSheetNotice(liveLayout(format), print, printerGeometry(format));
    auto* notice = label(this, halfSheet_, 0);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setWordWrap(true);
    QPalette warning = notice->palette();
    warning.setColor(QPalette::WindowText, QColor(160, 0, 0));
    notice->setPalette(warning);
    notice->setVisible(!halfSheet_.isEmpty());

    auto* print_ = button<QPushButton>(this, QStringLiteral("印　刷"), print_confirm::kPrint);
    auto* cancel = button<QPushButton>(this, QStringLiteral("印刷中止"), print_confirm::kCancel);
    auto* help = button<QPushButton>(this, QStringLiteral("ヘルプ"), print_confirm::kHelp);
    print_->setDefault(true);
    connect(print_, &QPushButton::clicked, this, &PrintConfirmDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &PrintConfirmDialog::reject);
    connect(help, &QPushButton::clicked, this, &PrintConfirmDialog::openHelpTopic);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print_);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(settingsBox);
    layout->addWidget(choiceBox);
    layout->addWidget(notice);
    layout->addWidget(question);
    layout->addLayout(buttons);
}

void PrintConfirmDialog::followSettings() {
    for (QCheckBox* page : pages_) {
        page->setEnabled(false);
    }
}

void PrintConfirmDialog::choosePages() {
    pages_[0]->setEnabled(true);
    pages_[1]->setEnabled(true);
    pages_[2]->setEnabled(acknowledgement_);
}

void PrintConfirmDialog::accept() {
    DocumentSelection chosen;
    if (followsSettings_->isChecked()) {
        chosen.pages[0] = 1;
        chosen.pages[1] = 1;
        chosen.pages[2] = acknowledgement_ ? 1 : 0;
    } else {
        // The acknowledgement only where the format makes one.
        for (int page = 0; page < 3; ++page) {
            chosen.pages[page] = pages_[page]->isChecked() && (page < 2 || acknowledgement_);
        }
    }
    if (!halfSheet_.isEmpty() && chosen.pages[1] == 1) {
        showMessage(
            {this, QStringLiteral("印刷開始確認"),
             halfSheet_ + QStringLiteral("\n\n「注文書」だけなら、部分印刷で印刷できます。"),
             MessageIcon::Warning, MessageButtons::Ok});
        return;
    }
    documentSelection() = chosen;
    done(1);
}

int runPrintConfirmDialog(QWidget* owner) {
    PrintConfirmDialog dialog(owner);
    const int result = dialog.exec();
    return result == 1 ? 1 : 2;
}

}  // namespace belvorine
