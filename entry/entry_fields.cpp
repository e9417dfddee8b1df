#include "entry/entry_fields.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "data/order_numbers.h"
#include "entry/working_order.h"
#include "form/amount_format.h"
#include "widgets/dialog_base.h"
#include "widgets/help.h"
#include "widgets/message_box.h"
#include "widgets/sjis_input.h"

namespace belvorine {

int columnsWidth(const QWidget* widget, int columns) {
    return widget->fontMetrics().horizontalAdvance(QString(columns, QLatin1Char('0')));
}

QLabel* makeLabel(const QString& text, int id, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    if (id > 0) {
        setControlId(label, id);
    }
    return label;
}

namespace {

// Enter in a combo box takes its text (the box chooses the entry that reads
// so) and goes no further: the box passes the key on to its window, where it
// would press the default button, so the window stops it there.
class EnterStaysInCombo : public QObject {
public:
    explicit EnterStaysInCombo(QComboBox* combo) : QObject(combo), combo_(combo) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QWidget*>(watched)->focusWidget() != combo_) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }

private:
    QComboBox* combo_;
};

}  // namespace

QLineEdit* makeNumberEdit(int id, int maxBytes, bool digitsOnly, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    setControlId(edit, id);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    limitSjisInput(edit, maxBytes, digitsOnly ? InputKind::Digits : InputKind::Number);
    useNumericInput(edit, digitsOnly);
    return edit;
}

void setEditable(QLineEdit* edit, bool editable, const QColor& readOnlyBackground) {
    edit->setReadOnly(!editable);
    edit->setFocusPolicy(editable ? Qt::StrongFocus : Qt::ClickFocus);
    QPalette palette = edit->palette();
    const QColor background = readOnlyBackground.isValid()
                                  ? readOnlyBackground
                                  : QApplication::palette(edit).color(QPalette::Window);
    palette.setColor(QPalette::Base,
                     editable ? QApplication::palette(edit).color(QPalette::Base) : background);
    edit->setPalette(palette);
}

std::string typedNumber(const QLineEdit* edit) {
    return removeThousands(toRecordText(asciiNumber(edit->text()).trimmed(), 255));
}

QString numberRefusal(const std::string& typed, NumberField field) {
    const bool amount = field == NumberField::Amount;
    if (typed.empty() || (amount && typed == kOverFlow)) {
        return QString();
    }
    const QString name = field == NumberField::Quantity    ? QStringLiteral("数量")
                         : field == NumberField::UnitPrice ? QStringLiteral("単価")
                                                           : QStringLiteral("金額");
    const QString shown = QStringLiteral("「%1」は保存できません。\n\n").arg(fromRecordText(typed));
    if (!isPlainNumber(typed)) {
        return shown + QStringLiteral("%1は数字で入力して下さい。").arg(name);
    }
    const std::string kept = field == NumberField::Quantity    ? normaliseQuantity(typed)
                             : field == NumberField::UnitPrice ? normaliseUnitPrice(typed)
                                                               : normaliseAmount(typed);
    if (sameDecimal(typed, kept)) {
        return QString();
    }
    // The format rounded the fraction away, or the number is too large to
    // keep digit for digit.
    const std::size_t point = typed.find('.');
    const bool fraction =
        point != std::string::npos && typed.find_last_not_of('0') > point + (amount ? 0 : 2);
    if (fraction) {
        return shown + (amount ? QStringLiteral("金額は整数で入力して下さい。")
                               : QStringLiteral("%1は小数点以下２桁までです。").arg(name));
    }
    return shown + QStringLiteral("%1が大きすぎます。").arg(name);
}

bool keepsTypedNumber(QLineEdit* edit, NumberField field, bool atOnce) {
    const auto refuse = [edit, field] {
        const QString refusal = numberRefusal(typedNumber(edit), field);
        if (!refusal.isEmpty()) {
            showWarning(edit->window(), QStringLiteral("入力エラー"), refusal);
            edit->setFocus();
            edit->selectAll();
        }
    };
    if (numberRefusal(typedNumber(edit), field).isEmpty()) {
        return true;
    }
    if (atOnce) {
        refuse();
        return false;
    }
    QPointer<QLineEdit> target(edit);
    QMetaObject::invokeMethod(
        edit,
        [target, refuse] {
            // Not when the dialog has ended (ｷｬﾝｾﾙ leaves the field too),
            // OK has already sent the user back to the field, or a dialog
            // opened from this one is in front (its OK checks again).
            QWidget* modal = QApplication::activeModalWidget();
            if (target && target->isVisible() && !target->hasFocus() &&
                (!modal || modal == target->window())) {
                refuse();
            }
        },
        Qt::QueuedConnection);
    return false;
}

QComboBox* makeTextCombo(int id, int maxBytes, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    setControlId(combo, id);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->window()->installEventFilter(new EnterStaysInCombo(combo));
    limitSjisInput(combo, maxBytes);
    useJapaneseInput(combo);
    return combo;
}

QPlainTextEdit* makeTwoLineEdit(int id, int maxBytes, int columns, bool centred, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    setControlId(edit, id);
    edit->setTabChangesFocus(true);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (centred) {
        QTextOption option = edit->document()->defaultTextOption();
        option.setAlignment(Qt::AlignHCenter);
        edit->document()->setDefaultTextOption(option);
    }
    limitSjisInput(edit, maxBytes);
    useJapaneseInput(edit);
    const int margins = static_cast<int>(2 * edit->document()->documentMargin()) +
                        2 * edit->frameWidth() + edit->cursorWidth() + 2;
    edit->setFixedSize(columnsWidth(edit, columns) + margins,
                       2 * edit->fontMetrics().lineSpacing() + margins);
    return edit;
}

QPushButton* makeButton(const QString& text, int id, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    setControlId(button, id);
    return button;
}

namespace {

bool movesFocus(const QEvent* event, QEvent::Type type) {
    if (event->type() != type) {
        return false;
    }
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

}  // namespace

bool entersField(const QEvent* event) {
    return movesFocus(event, QEvent::FocusIn);
}

bool leavesField(const QEvent* event) {
    return movesFocus(event, QEvent::FocusOut);
}

QString shortNumberText(const QString& text) {
    QString number = asciiNumber(text).trimmed();
    number.remove(QLatin1Char(','));
    if (number.contains(QLatin1Char('.'))) {
        while (number.endsWith(QLatin1Char('0'))) {
            number.chop(1);
        }
        if (number.endsWith(QLatin1Char('.'))) {
            number.chop(1);
        }
    }
    return number;
}

}  // namespace belvorine
