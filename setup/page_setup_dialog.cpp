#include "setup/page_setup_dialog.h"

#include <algorithm>
#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "data/settings_state.h"
#include "platform/log_font_qt.h"
#include "platform/sjis_text.h"
#include "setup/setup_controls.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using setup::control;
using setup::label;

constexpr std::size_t kFormatNameBytes = 255;
constexpr int kSampleHeight = 32;
constexpr int kSampleMinimumWidth = 260;

bool sameFace(const LogFont& a, const LogFont& b) {
    return sjisView(a.faceName) == sjisView(b.faceName);
}

}  // namespace

PageSetupDialog::PageSetupDialog(QWidget* owner, int format)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 9),
      format_(format),
      screen_(displaySettings(format)),
      print_(printerSettings(format)),
      faces_(japaneseFontFaces()) {
    setWindowTitle(QStringLiteral("ページ設定"));
    setHelpTopic(QStringLiteral("::/pagesetup.html"));
    std::stable_sort(faces_.begin(), faces_.end(),
                     [](const FontFace& a, const FontFace& b) { return a.name < b.name; });

    name_ = control<QLineEdit>(page_setup::kName);
    limitSjisInput(name_, static_cast<int>(kFormatNameBytes));
    useJapaneseInput(name_);
    name_->setText(fromRecordText(print_.formatName));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(label(QStringLiteral("書式名 ： "), page_setup::kNameCaption));
    nameRow->addWidget(name_, 1);

    acknowledgement_ =
        control<QCheckBox>(page_setup::kAcknowledgement, QStringLiteral("「 注文請書 」 の作成"));
    oneSheet_ = control<QCheckBox>(page_setup::kOneSheet,
                                   QStringLiteral("「 注文書 」 と 「 注文書控 」 を １枚 で印刷"));
    showTotal_ = control<QCheckBox>(page_setup::kShowTotal, QStringLiteral("合計金額 を 表示"));
    approvalOnCopy_ = control<QCheckBox>(page_setup::kApprovalOnCopy,
                                         QStringLiteral("「 注文書控 」 に 決裁No. を印刷"));
    differentFonts_ = control<QCheckBox>(page_setup::kDifferentFonts,
                                         QStringLiteral("画面と印刷のフォントを替える"));
    // Order and copy on one sheet leave no sheet for the acknowledgement: a
    // record that asks for both (an older or damaged file) opens without it.
    acknowledgement_->setChecked(print_.makeAcknowledgement == 1 &&
                                 print_.orderAndCopyOnOneSheet != 1);
    oneSheet_->setChecked(print_.orderAndCopyOnOneSheet == 1);
    acknowledgement_->setEnabled(print_.orderAndCopyOnOneSheet != 1);
    showTotal_->setChecked(print_.showTotal == 1);
    approvalOnCopy_->setChecked(print_.approvalOnCopy == 1);

    QWidget* screenRow = buildFontRow(QStringLiteral("画面のフォント"), page_setup::kScreenFontRow,
                                      screenFonts_, screenSample_);
    QWidget* printRow = buildFontRow(QStringLiteral("印刷のフォント"), page_setup::kPrintFontRow,
                                     printFonts_, printSample_);
    screenFonts_->setCurrentIndex(findFontFace(faces_, logFontFace(screen_.font)));
    printFonts_->setCurrentIndex(findFontFace(faces_, logFontFace(print_.font)));
    showSample(screenSample_, screen_.font);
    showSample(printSample_, print_.font);
    // The same face under the names of two locales is still the same face.
    const bool different = !sameFace(screen_.font, print_.font) &&
                           (screenFonts_->currentIndex() < 0 ||
                            screenFonts_->currentIndex() != printFonts_->currentIndex());
    differentFonts_->setChecked(different);
    printFonts_->setEnabled(different);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    for (QCheckBox* box :
         {acknowledgement_, oneSheet_, showTotal_, approvalOnCopy_, differentFonts_}) {
        layout->addWidget(box);
    }
    layout->addWidget(screenRow);
    layout->addWidget(printRow);
    layout->addLayout(setup::okCancelHelp(this, page_setup::kOk));

    connect(oneSheet_, &QCheckBox::clicked, this, &PageSetupDialog::setOneSheet);
    connect(differentFonts_, &QCheckBox::clicked, this, &PageSetupDialog::setDifferentFonts);
    connect(screenFonts_, &QComboBox::activated, this, &PageSetupDialog::chooseScreenFont);
    connect(printFonts_, &QComboBox::activated, this, &PageSetupDialog::choosePrintFont);
}

QWidget* PageSetupDialog::buildFontRow(const QString& caption, int firstId, QComboBox*& list,
                                       QLabel*& sample) {
    auto* row = new QWidget;
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    list = control<QComboBox>(firstId + 4);
    for (const FontFace& face : faces_) {
        list->addItem(face.name);
    }
    auto* box = control<QGroupBox>(firstId + 2, QStringLiteral("　サンプル　"));
    sample = control<QLabel>(firstId + 3);
    sample->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    sample->setFixedHeight(kSampleHeight);
    sample->setMinimumWidth(kSampleMinimumWidth);
    auto* boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(sample);
    grid->addWidget(label(caption, firstId), 0, 0);
    grid->addWidget(list, 1, 0);
    grid->addWidget(label(QStringLiteral("⇒"), firstId + 1), 1, 1);
    grid->addWidget(box, 0, 2, 2, 1);
    grid->setColumnStretch(2, 1);
    return row;
}

void PageSetupDialog::showSample(QLabel* sample, const LogFont& font) {
    const QString text = font.charSet == kShiftJisCharSet
                             ? QStringLiteral("㈱株式会社㈲Ａｙ Ay123")
                             : QStringLiteral("ＡａＩｉＹｙ AaIiYy123");
    sample->setText(text);
    LogFont sized = font;
    sized.height = kSampleHeight - 2 * sample->frameWidth() - 2;
    sample->setFont(fontFromLogFont(sized));
    // The whole sample, however wide the face draws it: the label's own
    // size hint counts its frame and the indent it draws the text with.
    sample->setMinimumWidth(std::max(kSampleMinimumWidth, sample->sizeHint().width()));
}

void PageSetupDialog::applyFace(LogFont& font) const {
    for (const FontFace& face : faces_) {
        if (sameFace(face.logFont, font)) {
            font = face.logFont;
            return;
        }
    }
}

void PageSetupDialog::followScreenFont() {
    std::memcpy(print_.font.faceName, screen_.font.faceName, sizeof print_.font.faceName);
    applyFace(print_.font);
    const int index = findFontFace(faces_, logFontFace(print_.font));
    if (index >= 0) {
        printFonts_->setCurrentIndex(index);
    }
    showSample(printSample_, print_.font);
}

void PageSetupDialog::chooseScreenFont(int index) {
    if (index < 0 || index >= static_cast<int>(faces_.size())) {
        return;
    }
    screen_.font = faces_[static_cast<std::size_t>(index)].logFont;
    showSample(screenSample_, screen_.font);
    if (!differentFonts_->isChecked()) {
        followScreenFont();
    }
}

void PageSetupDialog::choosePrintFont(int index) {
    if (index < 0 || index >= static_cast<int>(faces_.size())) {
        return;
    }
    print_.font = faces_[static_cast<std::size_t>(index)].logFont;
    showSample(printSample_, print_.font);
}

void PageSetupDialog::setDifferentFonts(bool different) {
    printFonts_->setEnabled(different);
    if (!different) {
        followScreenFont();
    }
}

void PageSetupDialog::setOneSheet(bool oneSheet) {
    if (oneSheet) {
        acknowledgement_->setChecked(false);
    }
    acknowledgement_->setEnabled(!oneSheet);
}

void PageSetupDialog::accept() {
    storeRecordText(print_.formatName, name_->text(), kFormatNameBytes);
    print_.makeAcknowledgement = acknowledgement_->isChecked() ? 1 : 0;
    print_.orderAndCopyOnOneSheet = oneSheet_->isChecked() ? 1 : 0;
    print_.showTotal = showTotal_->isChecked() ? 1 : 0;
    print_.approvalOnCopy = approvalOnCopy_->isChecked() ? 1 : 0;
    displaySettings(format_) = screen_;
    printerSettings(format_) = print_;
    BelvorineDialog::accept();
}

int runPageSetupDialog(QWidget* owner) {
    PageSetupDialog dialog(owner, currentFormat());
    return dialog.exec() == QDialog::Accepted ? 1 : 2;
}

}  // namespace belvorine
