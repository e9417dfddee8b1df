#include "preview/item_property_dialog.h"

#include <algorithm>
#include <string>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>

#include "data/layout_model.h"
#include "data/order_record.h"
#include "data/settings_state.h"
#include "form/layout_preparation.h"
#include "form/page_renderer.h"
#include "form/text_fitting.h"
#include "form/units.h"
#include "platform/sjis_text.h"
#include "preview/frame_limits.h"
#include "widgets/message_box.h"
#include "widgets/mode_state.h"
#include "widgets/sjis_input.h"
#include "widgets/up_down_control.h"

namespace belvorine {
namespace {

using namespace item_property;
using Form = ItemPropertyDialog::Form;

constexpr int kTextBytes = 255;

Form formOf(int item) {
    switch (groupOf(item).first) {
        case 1:
            return Form::Titles;
        case 14:
            return Form::Payment;
        case 17:
            return Form::Proviso;
        default:
            return Form::Other;
    }
}

QString orientationWord(std::int32_t orientation) {
    switch (orientation) {
        case 1:
            return QStringLiteral(" 縦 ");
        case 2:
            return QStringLiteral(" 横 ");
        default:
            return QString();
    }
}

// The text an item shows: the addressee line with the longest counterparty.
std::string shownText(int format, const LayoutItem& item) {
    if (item.itemId != kItemAddressee) {
        return std::string(sjisView(item.text));
    }
    char filled[256];
    fillTemplate(filled, item.text, longestCounterparty(format));
    return std::string(sjisView(filled));
}

// Sets a field's text only when it differs, so that the cursor and the
// field's undo stay where the user left them.
void showText(QLineEdit* edit, const QString& text) {
    if (edit && edit->text() != text) {
        edit->setText(text);
    }
}

// A whole number typed into a field; false for an empty or malformed one.
bool typedNumber(const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

}  // namespace

ItemPropertyDialog::ItemPropertyDialog(QWidget* owner, int itemIndex)
    : BelvorineDialog(owner, QStringLiteral("ＭＳ Ｐゴシック"), 9),
      format_(currentFormat()),
      item_(groupOf(itemIndex).first),
      form_(formOf(itemIndex)),
      layout_(liveLayout(format_)) {
    setWindowTitle(QStringLiteral("項目の変更"));
    setHelpTopic(QStringLiteral("::/layedit0%1.html").arg(static_cast<int>(form_)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildContent());
    layout->addLayout(buildFrameGroups());
    layout->addWidget(buildTextGroup());
    layout->addLayout(buildButtons());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connectControls();

    const FrameMillimetres frame = frameMillimetres(layout_[item_].mmRect);
    values_[kNumberX] = frame.x;
    values_[kNumberY] = frame.y;
    values_[kNumberWidth] = frame.width;
    values_[kNumberHeight] = frame.height;
    showContent();  // before the first refresh takes the texts back
    refresh();
}

void ItemPropertyDialog::refresh() {
    refreshing_ = true;
    takeTexts();
    const QSize paper = paperMillimetres(format_);
    prepareEditedFrame(format_, layout_, item_);
    // The same limits as the mouse's, in whole millimetres.
    const FrameLimits limits = frameLimits(format_, layout_[item_]);
    const int left = limits.box.left / 100;
    const int top = limits.box.top / 100;
    const int right = limits.box.right / 100;
    const int bottom = limits.box.bottom / 100;
    const int minWidth = std::max(1, (limits.minWidth + 50) / 100);
    const int minHeight = std::max(1, (limits.minHeight + 50) / 100);
    // The corner first, so that a size typed too large for the paper shows
    // the largest size there and never pushes the corner out of its range.
    limitNumber(kNumberX, left, right - minWidth);
    limitNumber(kNumberY, top, bottom - minHeight);
    limitNumber(kNumberWidth, minWidth, right - values_[kNumberX]);
    limitNumber(kNumberHeight, minHeight, bottom - values_[kNumberY]);
    limitNumber(kNumberX, left, right - values_[kNumberWidth]);
    limitNumber(kNumberY, top, bottom - values_[kNumberHeight]);

    showContent();
    showNumbers();
    const PageSettings& page = printerSettings(format_);
    paperLine_->setText(QStringLiteral("用紙　：　%1%2 ( %3 × %4 mm)")
                            .arg(fromSjisBuffer(page.paperName), orientationWord(page.orientation))
                            .arg(paper.width())
                            .arg(paper.height()));
    showTextSettings();
    refreshing_ = false;
}

// The texts typed so far go into the dialog's layout before anything is
// shown again or measured, so that no typing is lost.
void ItemPropertyDialog::takeTexts() {
    if (item_ == kItemDate || item_ == kItemAddressee || item_ >= kItemStampBox ||
        form_ == Form::Titles) {
        return;
    }
    const int count = form_ == Form::Other ? 1 : 3;
    for (int i = 0; i < count; ++i) {
        storeRecordText(layout_[item_ + i].text, texts_[i]->text(), kTextBytes);
    }
}

void ItemPropertyDialog::showContent() {
    const LayoutItem& item = layout_[item_];
    if (form_ == Form::Titles) {
        for (int i = 0; i < 3; ++i) {
            titles_[i]->setText(fromRecordText(layout_[item_ + i].text));
        }
        return;
    }
    if (form_ != Form::Other) {
        for (int i = 0; i < 3; ++i) {
            showText(texts_[i], fromRecordText(layout_[item_ + i].text));
        }
        return;
    }
    QString message;
    bool editable = false;
    QString text = fromRecordText(item.text);
    if (item_ == kItemDate || item_ == kItemAcknowledgementDate) {
        message =
            QStringLiteral("項目内容は変更できません。\n日付の表示は常に同一書式となります。");
    } else if (isFrameOnlyItem(item_)) {
        message = QStringLiteral("項目内容は変更できません。\n申し訳ありません。");
        text.clear();
    } else if (item_ == kItemAddressee) {
        text = fromRecordText(shownText(format_, item));
        message =
            modeState().previewPage == 3
                ? QStringLiteral("項目内容は変更できません。\n相手先の表示と同一書式となります。")
                : QStringLiteral(
                      "項目内容は変更できません。\n参考に相手先で一番長い名前を表示しています。");
    } else {
        editable = true;
    }
    showText(texts_[0], text);
    texts_[0]->setEnabled(editable);
    message_->setText(message);
}

void ItemPropertyDialog::limitNumber(int number, int minimum, int maximum) {
    minimum_[number] = minimum;
    maximum_[number] = maximum;
    // A range whose minimum exceeds its maximum shows the maximum.
    values_[number] = minimum > maximum ? maximum : std::clamp(values_[number], minimum, maximum);
}

void ItemPropertyDialog::showNumbers() {
    for (int i = 0; i < kNumberCount; ++i) {
        upDowns_[i]->setRange(std::min(minimum_[i], maximum_[i]), maximum_[i]);
        shown_[i] = QString::number(values_[i]);
        showText(numbers_[i], shown_[i]);
    }
}

void ItemPropertyDialog::showTextSettings() {
    const LayoutItem& item = layout_[item_];
    const bool frameOnly = isFrameOnlyItem(item_);
    for (QAbstractButton* button : alignment_->buttons()) {
        button->setEnabled(item_ < kItemStampBox);
    }
    if (QAbstractButton* button = alignment_->button(item.alignment)) {
        button->setChecked(true);
    }
    for (QAbstractButton* button : rule_->buttons()) {
        button->setEnabled(!frameOnly);
    }
    if (QAbstractButton* button = rule_->button(item.sizeRule)) {
        button->setChecked(true);
    }
    pointSize_->setEnabled(!frameOnly && item.sizeRule == kSizeFixed);
    if (!frameOnly) {
        pointSize_->setEditText(QString::number(item.pointSize));
    }
    const int weight = item.weight == 900 ? 900 : item.weight == 700 ? 700 : 400;
    weight_->button(weight)->setChecked(true);
    for (QAbstractButton* button : weight_->buttons()) {
        button->setEnabled(!frameOnly);
    }
    underline_->setChecked(item.underline != 0);
    underline_->setEnabled(!frameOnly);
}

// A member of the item's group as it will be written: the first item with
// the member's own id and text.
LayoutItem ItemPropertyDialog::asMember(int member) const {
    LayoutItem copy = layout_[item_];
    copy.itemId = member;
    std::copy(std::begin(layout_[member].text), std::end(layout_[member].text),
              std::begin(copy.text));
    return copy;
}

// False, with the frame enlarged about its alignment point in one
// dimension, when the text as it is drawn (at the size its rule gives) is
// wider or taller than the frame on screen.
bool ItemPropertyDialog::fitsText(LayoutItem& item) const {
    const std::string text = shownText(format_, item);
    if (text.empty() || isFrameOnlyItem(item.itemId)) {
        return true;
    }
    const QSize extent = drawnTextExtent(format_, item, text);
    if (item.screenRect.width() < extent.width()) {
        fitFrameWidth(item.mmRect, item.alignment, extent.width());
        return false;
    }
    if (item.screenRect.height() < extent.height()) {
        fitFrameHeight(item.mmRect, extent.height());
        return false;
    }
    return true;
}

bool ItemPropertyDialog::readNumbers(int (&values)[kNumberCount], bool warnAtOnce) {
    for (int i = 0; i < kNumberCount; ++i) {
        const int lowest = i < kNumberWidth ? 0 : 1;
        if (!typedNumber(numbers_[i]->text(), values[i]) || values[i] < lowest) {
            refuse(numbers_[i],
                   i < kNumberWidth ? QStringLiteral("位置は0ミリ以上の数字で入力して下さい。")
                                    : QStringLiteral("幅と高さは1ミリ以上の数字で入力して下さい。"),
                   warnAtOnce);
            return false;
        }
    }
    return true;
}

bool ItemPropertyDialog::readPointSize(int& size, bool warnAtOnce) {
    if (typedNumber(pointSize_->currentText(), size) && size > 0) {
        return true;
    }
    refuse(pointSize_, QStringLiteral("文字の大きさは1以上の数字で入力して下さい。"), warnAtOnce);
    return false;
}

// Tells why a value was refused and puts the field back to what it showed.
// Leaving a field shows the message only after the focus has moved, never in
// the middle of the move.
void ItemPropertyDialog::refuse(QWidget* field, const QString& text, bool warnAtOnce) {
    const QString caption = QStringLiteral("入力エラー");
    if (warnAtOnce) {
        showWarning(this, caption, text);
        field->setFocus();
        return;
    }
    QPointer<ItemPropertyDialog> self(this);
    QMetaObject::invokeMethod(
        this,
        [self, caption, text] {
            if (self) {
                showWarning(self, caption, text);
            }
        },
        Qt::QueuedConnection);
}

// The frame as typed: x and y its top-left corner, width and height its
// size, all in millimetres.
void ItemPropertyDialog::setFrame(const int (&values)[kNumberCount]) {
    std::copy(std::begin(values), std::end(values), std::begin(values_));
    Rect& mm = layout_[item_].mmRect;
    mm.left = clampToInt(values[kNumberX] * 100LL);
    mm.top = clampToInt(values[kNumberY] * 100LL);
    mm.right = clampToInt(mm.left + values[kNumberWidth] * 100LL);
    mm.bottom = clampToInt(mm.top + values[kNumberHeight] * 100LL);
}

// Leaving a number field: a changed frame is taken as typed (moving keeps
// the size) and the limits follow.
void ItemPropertyDialog::numberLeft() {
    bool changed = false;
    for (int i = 0; i < kNumberCount; ++i) {
        changed = changed || numbers_[i]->text() != shown_[i];
    }
    if (!changed) {
        return;
    }
    int values[kNumberCount];
    if (readNumbers(values, false)) {
        setFrame(values);
    }
    refresh();
}

void ItemPropertyDialog::pointSizeChosen() {
    int size = 0;
    if (readPointSize(size, false)) {
        layout_[item_].pointSize = size;
    }
    refresh();
}

bool ItemPropertyDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !refreshing_) {
        // A window or pop-up taking the focus is not the user leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == pointSize_->lineEdit()) {
                if (pointSize_->isEnabled()) {
                    pointSizeChosen();
                }
            } else if (std::find(std::begin(numbers_), std::end(numbers_), watched) !=
                       std::end(numbers_)) {
                numberLeft();
            }
        }
    }
    return BelvorineDialog::eventFilter(watched, event);
}

void ItemPropertyDialog::accept() {
    // Everything as typed, also what Enter left in the field with the focus;
    // the texts first, as the fit-to-width size depends on them.
    takeTexts();
    int values[kNumberCount];
    if (!readNumbers(values, true)) {
        return;
    }
    LayoutItem& item = layout_[item_];
    if (item.sizeRule == kSizeFixed && !isFrameOnlyItem(item_)) {
        int size = 0;
        if (!readPointSize(size, true)) {
            return;
        }
        item.pointSize = size;
    }
    setFrame(values);
    const Rect requested = item.mmRect;
    prepareEditedFrame(format_, layout_, item_);

    bool enlarged = false;
    const ItemGroup group = groupOf(item_);
    for (int member = group.first; member <= group.last && !enlarged; ++member) {
        LayoutItem candidate = asMember(member);
        if (!fitsText(candidate)) {
            item.mmRect = candidate.mmRect;
            enlarged = true;
        }
    }
    if (enlarged && askQuestion(this, QStringLiteral("よろしいですか？"), 14) != kResultYes) {
        item.mmRect = requested;
    }
    prepareEditedFrame(format_, layout_, item_);  // for the frame as it is now
    for (int member = group.first + 1; member <= group.last; ++member) {
        layout_[member] = asMember(member);
    }
    done(1);
}

void ItemPropertyDialog::reject() {
    done(2);
}

bool runItemPropertyDialog(QWidget* parent, int itemIndex,
                           const std::function<void()>& beforeWrite) {
    if (itemIndex < 1 || itemIndex >= kLayoutItemCount) {
        return false;
    }
    ItemPropertyDialog dialog(parent, itemIndex);
    if (dialog.exec() != 1) {
        return false;
    }
    if (beforeWrite) {
        beforeWrite();
    }
    const ItemGroup group = groupOf(dialog.workItem());
    FormLayout& live = liveLayout(currentFormat());
    for (int i = group.first; i <= group.last; ++i) {
        live[i] = dialog.editedLayout()[i];
    }
    return true;
}

}  // namespace belvorine
