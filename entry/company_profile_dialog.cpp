#include "entry/company_profile_dialog.h"

#include <string>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <QValidator>

#include "data/layout_model.h"
#include "data/settings_state.h"
#include "form/profile_frames.h"
#include "platform/sjis_text.h"
#include "widgets/help.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

using namespace company_profile;

// A text of a layout item holds at most 255 bytes and its terminator.
constexpr int kProfileBytes = 255;

struct Field {
    int id;
    const char* label;
    bool japanese;  // the input method is switched on in the field
    bool scrolls;   // longer texts scroll; the others stop at the visible width
};

constexpr Field kFields[kCompanyProfileCount] = {
    {kName, "会社名：", true, false},          {kDepartment, "部署名：", true, false},
    {kPostalCode, "郵便番号：", false, false}, {kAddress, "住所：", true, true},
    {kTelephone, "ＴＥＬ：", false, false},    {kFax, "ＦＡＸ：", false, false},
};

// Room for the text drawn inside a line edit: its contents less the text
// margins and the two pixels the edit keeps on each side.
int visibleTextWidth(const QLineEdit& edit) {
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = edit.rect();
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    const QMargins margins = edit.textMargins();
    return contents.width() - margins.left() - margins.right() - 4;
}

// Refuses an edit that makes the text wider when the text would then no
// longer fit: for the five fields that do not scroll, the field's visible
// width; for all six, the frame the text is printed in, measured with the
// form's font in both formats. A stored text that is already too wide can
// still be shortened.
class ProfileWidthValidator : public QValidator {
public:
    // Installed once the field holds its stored text.
    ProfileWidthValidator(QLineEdit* edit, int item, bool scrolls)
        : QValidator(edit),
          edit_(edit),
          inner_(edit->validator()),
          item_(item),
          scrolls_(scrolls),
          accepted_(edit->text()) {
        connect(edit, &QLineEdit::inputRejected, this, [this] {
            if (tooWide_) {
                QApplication::beep();
            }
        });
        // The field already holds an edit while it is validated.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { accepted_ = text; });
    }

    State validate(QString& input, int& position) const override {
        tooWide_ = false;
        if (inner_) {
            const State state = inner_->validate(input, position);
            if (state != Acceptable) {
                return state;
            }
        }
        const QFontMetrics metrics = edit_->fontMetrics();
        if (metrics.horizontalAdvance(input) <= metrics.horizontalAdvance(accepted_)) {
            return Acceptable;
        }
        tooWide_ = (!scrolls_ && metrics.horizontalAdvance(input) > visibleTextWidth(*edit_)) ||
                   !fitsTheForm(input);
        return tooWide_ ? Invalid : Acceptable;
    }

private:
    bool fitsTheForm(const QString& input) const {
        const std::string text = toSjisLossy(input);
        for (int format = 0; format < kFormatCount; ++format) {
            if (!profileTextFits(format, item_, text)) {
                return false;
            }
        }
        return true;
    }

    QLineEdit* edit_;
    const QValidator* inner_;
    int item_;
    bool scrolls_;
    QString accepted_;  // the text before the edit being validated
    mutable bool tooWide_ = false;
};

}  // namespace

CompanyProfileDialog::CompanyProfileDialog(QWidget* owner)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 10) {
    setWindowTitle(QStringLiteral("初期データ入力"));
    setHelpTopic(QStringLiteral("::/initdata.html"));

    auto* grid = new QGridLayout;
    // Wide enough for a long company name in full-width characters.
    const int fieldWidth = fontMetrics().horizontalAdvance(QString(30, QChar(0x56fd)));
    const int format = currentFormat();
    for (int i = 0; i < kCompanyProfileCount; ++i) {
        const Field& field = kFields[i];
        auto* label = new QLabel(QString::fromUtf8(field.label), this);
        setControlId(label, field.id - 1);
        auto* edit = new QLineEdit(this);
        setControlId(edit, field.id);
        edit->setMinimumWidth(fieldWidth);
        label->setBuddy(edit);
        edit->setText(fromRecordText(companyProfileText(format, i)));
        limitSjisInput(edit, kProfileBytes);
        edit->setValidator(
            new ProfileWidthValidator(edit, kItemCompanyFirst + i, field.scrolls));
        if (field.japanese) {
            useJapaneseInput(edit);
        }
        grid->addWidget(label, i, 0, Qt::AlignRight);
        grid->addWidget(edit, i, 1);
        edits_[i] = edit;
    }

    auto* registerButton = new QPushButton(QStringLiteral("登　録"), this);
    setControlId(registerButton, kRegister);
    registerButton->setDefault(true);
    auto* cancelButton = new QPushButton(QStringLiteral("取　消"), this);
    setControlId(cancelButton, kCancel);
    auto* helpButton = new QPushButton(QStringLiteral("ヘルプ"), this);
    setControlId(helpButton, kHelp);
    connect(registerButton, &QPushButton::clicked, this, &CompanyProfileDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &CompanyProfileDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, &CompanyProfileDialog::openHelpTopic);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(registerButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    edits_[0]->setFocus();
}

void CompanyProfileDialog::accept() {
    std::string texts[kCompanyProfileCount];
    for (int i = 0; i < kCompanyProfileCount; ++i) {
        texts[i] = toRecordText(edits_[i]->text(), kProfileBytes);
    }
    for (int i = 0; i < kCompanyProfileCount; ++i) {
        setCompanyProfileText(i, texts[i]);
    }
    // Every frame, changed text or not: registering again after a change of
    // font or size is how a frame is fitted to its text again.
    for (int format = 0; format < kFormatCount; ++format) {
        for (int i = 0; i < kCompanyProfileCount; ++i) {
            fitProfileFrame(format, liveLayout(format), kItemCompanyFirst + i);
        }
    }
    done(1);
}

void CompanyProfileDialog::reject() {
    done(2);
}

int runCompanyProfileDialog(QWidget* owner) {
    CompanyProfileDialog dialog(owner);
    return dialog.exec();
}

}  // namespace belvorine
