#include "entry/entry_fields.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "widgets/dialog_base.h"
#include "widgets/help.h"
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

QLineEdit* makeNumberEdit(int id, int maxBytes, bool digitsOnly, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    setControlId(edit, id);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    limitSjisInput(edit, maxBytes, digitsOnly ? InputKind::Digits : InputKind::Text);
    useNumericInput(edit, digitsOnly);
    return edit;
}

QComboBox* makeTextCombo(int id, int maxBytes, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    setControlId(combo, id);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
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

QString shortNumberText(const QString& text) {
    QString number = text.trimmed();
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
