// The controls of the item property dialog and their connections.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "preview/item_property_dialog.h"
#include "widgets/help.h"
#include "widgets/sjis_input.h"
#include "widgets/up_down_control.h"

namespace belvorine {
namespace {

using namespace item_property;

// A frame's text holds at most 255 bytes and its terminator.
constexpr int kTextBytes = 255;
constexpr int kNumberCharacters = 6;
constexpr int kPointSizeCharacters = 3;

QLabel* label(const char* text, int id, QWidget* parent) {
    return withControlId(new QLabel(QString::fromUtf8(text), parent), id);
}

QRadioButton* radio(QButtonGroup* group, const char* text, int id, int value, QWidget* parent) {
    auto* button = withControlId(new QRadioButton(QString::fromUtf8(text), parent), id);
    group->addButton(button, value);
    return button;
}

// The sizes of the list: 2 to 30, 32 to 40 in steps of 2, then 48 to 72.
QStringList pointSizes() {
    QStringList sizes;
    for (int size = 2; size <= 30; ++size) {
        sizes << QString::number(size);
    }
    for (int size = 32; size <= 40; size += 2) {
        sizes << QString::number(size);
    }
    for (int size : {48, 56, 64, 72}) {
        sizes << QString::number(size);
    }
    return sizes;
}

}  // namespace

QGroupBox* ItemPropertyDialog::buildContent() {
    static const char* const kCaptions[] = {
        "　項目内容　",
        "　項目内容　（タイトル）　：　項目内容は変更できません　",
        "　項目内容　（支払条件）　",
        "　項目内容　（支払条件 ２行目）　",
    };
    auto* box = withControlId(
        new QGroupBox(QString::fromUtf8(kCaptions[static_cast<int>(form_) - 1]), this), kContent);
    auto* grid = new QGridLayout(box);
    const int fieldWidth = fontMetrics().horizontalAdvance(QString(36, QChar(0x56fd)));
    if (form_ == Form::Titles) {
        static const char* const kPages[] = {"１ページ目", "２ページ目", "３ページ目"};
        for (int i = 0; i < 3; ++i) {
            grid->addWidget(label(kPages[i], kTitle1Label + 2 * i, box), i, 0);
            titles_[i] = withControlId(new QLabel(box), kTitle1 + 2 * i);
            titles_[i]->setFrameShape(QFrame::Panel);
            titles_[i]->setFrameShadow(QFrame::Sunken);
            titles_[i]->setMinimumWidth(fieldWidth);
            grid->addWidget(titles_[i], i, 1);
        }
        return box;
    }
    const int rows = form_ == Form::Other ? 1 : 3;
    static const char* const kPayments[] = {"手形 ：", "リース：", "現金 ："};
    for (int i = 0; i < rows; ++i) {
        texts_[i] = withControlId(new QLineEdit(box), kText1 + 2 * i);
        texts_[i]->setMinimumWidth(fieldWidth);
        limitSjisInput(texts_[i], kTextBytes);
        useJapaneseInput(texts_[i]);
        if (form_ != Form::Other) {
            grid->addWidget(label(kPayments[i], kText1Label + 2 * i, box), i, 0);
        }
        grid->addWidget(texts_[i], i, 1);
    }
    if (form_ != Form::Proviso) {
        message_ = withControlId(new QLabel(box), kMessage);
        message_->setWordWrap(true);
        if (form_ == Form::Payment) {
            message_->setText(
                QStringLiteral("%s はデータ入力時の手形日数です。（相手先によって可変）"));
        }
        grid->addWidget(message_, rows, 1);
    }
    return box;
}

QLayout* ItemPropertyDialog::buildFrameGroups() {
    static const char* const kLabels[kNumberCount] = {"（X) ：", "（Y) ：", "幅 ：", "高さ ："};
    static const int kIds[kNumberCount] = {kX, kY, kWidth, kHeight};
    auto* position = withControlId(new QGroupBox(QStringLiteral("　枠の左上位置　(ミリ)　"), this),
                                   kPositionGroup);
    auto* size =
        withControlId(new QGroupBox(QStringLiteral("　枠の大きさ　(ミリ)"), this), kSizeGroup);
    auto* positionGrid = new QGridLayout(position);
    auto* sizeGrid = new QGridLayout(size);
    const int digitWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000000"));
    for (int i = 0; i < kNumberCount; ++i) {
        QGroupBox* box = i < kNumberWidth ? position : size;
        QGridLayout* grid = i < kNumberWidth ? positionGrid : sizeGrid;
        numbers_[i] = withControlId(new QLineEdit(box), kIds[i]);
        numbers_[i]->setMaxLength(kNumberCharacters);
        numbers_[i]->setFixedWidth(digitWidth);
        numbers_[i]->setAlignment(Qt::AlignRight);
        limitSjisInput(numbers_[i], kNumberCharacters, InputKind::Digits);
        useNumericInput(numbers_[i], true);
        numbers_[i]->installEventFilter(this);
        upDowns_[i] = withControlId(new UpDownControl(numbers_[i], 0, 0, box), kIds[i] + 1);
        const int row = i % 2;
        grid->addWidget(label(kLabels[i], kIds[i] - 1, box), row, 0);
        grid->addWidget(numbers_[i], row, 1);
        grid->addWidget(upDowns_[i], row, 2);
    }
    positionGrid->addWidget(label("（用紙の左上基準）", kPaperOrigin, position), 0, 3);
    positionGrid->setColumnStretch(3, 1);
    sizeGrid->setColumnStretch(3, 1);

    paperLine_ = withControlId(new QLabel(this), kPaperLine);
    auto* groups = new QHBoxLayout;
    groups->addWidget(position);
    groups->addWidget(size);
    auto* layout = new QVBoxLayout;
    layout->addLayout(groups);
    layout->addWidget(paperLine_);
    return layout;
}

QGroupBox* ItemPropertyDialog::buildTextGroup() {
    auto* box = withControlId(new QGroupBox(QStringLiteral("　文字　"), this), kTextGroup);
    auto* layout = new QVBoxLayout(box);

    alignment_ = new QButtonGroup(this);
    auto* alignmentRow = new QHBoxLayout;
    alignmentRow->addWidget(label("枠の中での文字の位置 ：", kAlignmentLabel, box));
    alignmentRow->addWidget(radio(alignment_, "左端", kAlignLeftButton, kAlignLeft, box));
    alignmentRow->addWidget(radio(alignment_, "中央", kAlignCentreButton, kAlignCentre, box));
    alignmentRow->addWidget(radio(alignment_, "右端", kAlignRightButton, kAlignRight, box));
    alignmentRow->addStretch();
    layout->addLayout(alignmentRow);

    auto* ruleBox =
        withControlId(new QGroupBox(QStringLiteral("　文字の大きさ　"), box), kRuleGroup);
    auto* ruleGrid = new QGridLayout(ruleBox);
    rule_ = new QButtonGroup(this);
    ruleGrid->addWidget(radio(rule_, "固定　：", kFixedButton, kSizeFixed, ruleBox), 0, 0);
    ruleGrid->addWidget(radio(rule_, "枠の幅に合わせる", kFitWidthButton, kSizeFitWidth, ruleBox),
                        1, 0, 1, 2);
    ruleGrid->addWidget(
        radio(rule_, "枠の高さに合わせる", kFitHeightButton, kSizeFitHeight, ruleBox), 2, 0, 1, 2);
    // Made after its radio buttons, so that Tab reaches it after them.
    pointSize_ = withControlId(new QComboBox(ruleBox), kPointSize);
    pointSize_->setEditable(true);
    pointSize_->setInsertPolicy(QComboBox::NoInsert);
    pointSize_->addItems(pointSizes());
    limitSjisInput(pointSize_->lineEdit(), kPointSizeCharacters, InputKind::Digits);
    useNumericInput(pointSize_->lineEdit(), true);
    pointSize_->lineEdit()->installEventFilter(this);
    ruleGrid->addWidget(pointSize_, 0, 1);

    auto* weightBox =
        withControlId(new QGroupBox(QStringLiteral("　文字の太さ　"), box), kWeightGroup);
    auto* weightColumn = new QVBoxLayout(weightBox);
    weight_ = new QButtonGroup(this);
    weightColumn->addWidget(radio(weight_, "通常", kNormalButton, 400, weightBox));
    weightColumn->addWidget(radio(weight_, "太い", kBoldButton, 700, weightBox));
    weightColumn->addWidget(radio(weight_, "極太", kHeavyButton, 900, weightBox));

    auto* row = new QHBoxLayout;
    row->addWidget(ruleBox);
    row->addWidget(weightBox);
    layout->addLayout(row);
    underline_ =
        withControlId(new QCheckBox(QStringLiteral("アンダーラインを付ける"), box), kUnderline);
    layout->addWidget(underline_);
    return box;
}

QLayout* ItemPropertyDialog::buildButtons() {
    auto* ok = withControlId(new QPushButton(QStringLiteral("OK"), this), kOk);
    ok->setDefault(true);
    auto* cancel = withControlId(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), kCancel);
    auto* help = withControlId(new QPushButton(QStringLiteral("ヘルプ"), this),
                               kHelpOther + static_cast<int>(form_) - 1);
    connect(ok, &QPushButton::clicked, this, &ItemPropertyDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ItemPropertyDialog::reject);
    connect(help, &QPushButton::clicked, this, &ItemPropertyDialog::openHelpTopic);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(help);
    return row;
}

void ItemPropertyDialog::connectControls() {
    connect(alignment_, &QButtonGroup::idClicked, this,
            [this](int alignment) { layout_[item_].alignment = alignment; });
    connect(rule_, &QButtonGroup::idClicked, this, [this](int rule) {
        layout_[item_].sizeRule = rule;
        refresh();
    });
    connect(weight_, &QButtonGroup::idClicked, this,
            [this](int weight) { layout_[item_].weight = weight; });
    connect(underline_, &QCheckBox::clicked, this,
            [this](bool checked) { layout_[item_].underline = checked ? 1 : 0; });
    connect(pointSize_, &QComboBox::activated, this, [this] { pointSizeChosen(); });
}

}  // namespace belvorine
