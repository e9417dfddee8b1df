#include "widgets/sjis_input.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTextCursor>
#include <QToolTip>
#include <QValidator>

#include "widgets/message_box.h"

namespace belvorine {
namespace {

enum class Verdict { Accept, Unrepresentable, NotDigit, TooLong };

Verdict check(const QString& text, int maxBytes, InputKind kind, QString* bad) {
    const QString unrepresentable = firstUnrepresentable(text);
    if (!unrepresentable.isEmpty()) {
        *bad = unrepresentable;
        return Verdict::Unrepresentable;
    }
    if (kind != InputKind::Text) {
        static const QString numberSigns = QStringLiteral(".,- ");
        for (const QChar c : text) {
            const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
            if (!digit && (kind == InputKind::Digits || !numberSigns.contains(c))) {
                return Verdict::NotDigit;
            }
        }
    }
    return sjisRecordLength(text) > maxBytes ? Verdict::TooLong : Verdict::Accept;
}

// The character and its code point, so that a character the font cannot
// draw is still named ("「𠮷」（U+20BB7）").
QString namedCharacter(const QString& character) {
    const QList<uint> codePoints = character.toUcs4();
    const uint codePoint = codePoints.isEmpty() ? 0 : codePoints.front();
    return QStringLiteral("「%1」（U+%2）")
        .arg(character,
             QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

// The warning is shown after the edit has been refused, never from inside
// the check: a message box there would run a nested event loop in the
// middle of the widget's own edit. One warning waits at a time.
void warnUnrepresentable(QWidget* field, const QString& character) {
    static bool pending = false;
    if (pending) {
        return;
    }
    pending = true;
    QPointer<QWidget> target(field);
    QMetaObject::invokeMethod(
        qApp,
        [target, character] {
            pending = false;
            if (target) {
                showWarning(target->window(), QStringLiteral("入力エラー"),
                            QStringLiteral("%1はこの欄に入力できない文字です。")
                                .arg(namedCharacter(character)));
            }
        },
        Qt::QueuedConnection);
}

void reportRefusal(QWidget* field, Verdict verdict, const QString& bad) {
    switch (verdict) {
        case Verdict::Unrepresentable:
            warnUnrepresentable(field, bad);
            break;
        case Verdict::NotDigit:
            QApplication::beep();
            QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())),
                               QStringLiteral("数字のみ入力できます。"), field);
            break;
        case Verdict::TooLong:
            QApplication::beep();
            break;
        case Verdict::Accept:
            break;
    }
}

// Bytes of one character in a record: a line break is CR LF.
int characterBytes(QChar c) {
    if (c == QLatin1Char('\n')) {
        return 2;
    }
    return sjisRecordLength(QString(c));
}

// Whether `after` is `before` with one run of characters erased.
bool erasesFrom(const QString& before, const QString& after) {
    if (after.size() >= before.size()) {
        return false;
    }
    qsizetype prefix = 0;
    while (prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    return before.endsWith(QStringView(after).mid(prefix));
}

// `after` is `before` with one edit of the user (typed, pasted, dropped or
// committed by an input method). Cuts what the edit inserted, on a character
// boundary, so that the whole text takes at most `maxBytes`. Returns a null
// string when nothing of the insertion fits.
QString cutInsertion(const QString& before, const QString& after, int maxBytes, int* cursor) {
    qsizetype prefix = 0;
    const qsizetype shorter = qMin(before.size(), after.size());
    while (prefix < shorter && before[prefix] == after[prefix]) {
        ++prefix;
    }
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    const QString head = after.left(prefix);
    const QString tail = after.right(suffix);
    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    int budget = maxBytes - sjisRecordLength(head + tail);
    qsizetype kept = 0;
    while (kept < inserted.size()) {
        const int bytes = characterBytes(inserted[kept]);
        if (bytes < 0 || bytes > budget) {
            break;
        }
        budget -= bytes;
        ++kept;
    }
    if (kept == 0) {
        return QString();
    }
    *cursor = static_cast<int>(prefix + kept);
    return head + inserted.left(kept) + tail;
}

// An edit of the user that the line edit rejects (inputRejected) is reported
// with the reason the last check found. A text the program puts there (a
// number shown ungrouped can be longer than the typing limit) stays whole and
// can be shortened, but never grows; an insertion that passes the limit is
// cut to fit.
class SjisValidator : public QValidator {
public:
    SjisValidator(QLineEdit* field, int maxBytes, InputKind kind)
        : QValidator(field),
          field_(field),
          maxBytes_(maxBytes),
          kind_(kind),
          shown_(field->text()) {
        connect(field, &QLineEdit::inputRejected, this,
                [this, field] { reportRefusal(field, lastVerdict_, lastBad_); });
        connect(field, &QLineEdit::textChanged, this,
                [this](const QString& text) { shown_ = text; });
    }

    State validate(QString& input, int& position) const override {
        // A one-line field keeps the first line of a pasted text.
        static const QRegularExpression lineBreaks(QStringLiteral("[\r\n]"));
        const qsizetype lineBreak = input.indexOf(lineBreaks);
        if (lineBreak >= 0) {
            input.truncate(lineBreak);
            position = qMin(position, static_cast<int>(lineBreak));
        }
        if (kind_ != InputKind::Text) {
            input = asciiNumber(input);
        }
        lastVerdict_ = check(input, maxBytes_, kind_, &lastBad_);
        // A text the program showed ("Over Flow") can still be erased.
        if (lastVerdict_ == Verdict::NotDigit && erasesFrom(shown_, input)) {
            return Intermediate;
        }
        if (lastVerdict_ != Verdict::TooLong) {
            return lastVerdict_ == Verdict::Accept ? Acceptable : Invalid;
        }
        // Setting a text empties the undo history; an edit of the user fills it.
        if (!field_->isUndoAvailable() || sjisRecordLength(input) < sjisRecordLength(shown_)) {
            return Intermediate;
        }
        int cursor = position;
        const QString cut = cutInsertion(shown_, input, maxBytes_, &cursor);
        if (cut.isNull()) {
            return Invalid;
        }
        QApplication::beep();
        input = cut;
        position = cursor;
        return Acceptable;
    }

private:
    QLineEdit* field_;
    int maxBytes_;
    InputKind kind_;
    QString shown_;
    mutable Verdict lastVerdict_ = Verdict::Accept;
    mutable QString lastBad_;
};

// Undoes the edits of a multi-line field that break the rules.
class PlainTextGuard : public QObject {
public:
    PlainTextGuard(QPlainTextEdit* edit, int maxBytes)
        : QObject(edit), edit_(edit), maxBytes_(maxBytes), lastGood_(edit->toPlainText()) {
        connect(edit, &QPlainTextEdit::textChanged, this, &PlainTextGuard::checkText);
        connect(edit, &QPlainTextEdit::cursorPositionChanged, this, [this] {
            if (!reverting_ && edit_->toPlainText() == lastGood_) {
                lastCursor_ = edit_->textCursor().position();
            }
        });
    }

private:
    void checkText() {
        if (reverting_) {
            return;
        }
        const QString text = edit_->toPlainText();
        if (text == lastGood_) {
            return;
        }
        QString bad;
        const Verdict verdict = check(text, maxBytes_, InputKind::Text, &bad);
        // A text the program puts there is taken as it is: setting a text
        // empties the undo history, an edit of the user (typed, pasted or
        // dropped) fills it.
        // An over-long text the program put there can still be shortened.
        const bool shortensAFault = text.size() < lastGood_.size() && !lastFits_;
        if (verdict == Verdict::Accept || shortensAFault || !edit_->document()->isUndoAvailable()) {
            lastGood_ = text;
            lastFits_ = verdict == Verdict::Accept;
            return;
        }
        // An over-long insertion keeps what fits; anything else is undone.
        int position = lastCursor_;
        const QString cut = verdict == Verdict::TooLong && lastFits_
                                ? cutInsertion(lastGood_, text, maxBytes_, &position)
                                : QString();
        reverting_ = true;
        edit_->setPlainText(cut.isNull() ? lastGood_ : cut);
        if (!cut.isNull()) {
            lastGood_ = cut;
        }
        QTextCursor cursor = edit_->textCursor();
        cursor.setPosition(qMin(position, static_cast<int>(lastGood_.size())));
        edit_->setTextCursor(cursor);
        lastCursor_ = cursor.position();
        reverting_ = false;
        reportRefusal(edit_, verdict, bad);
    }

    QPlainTextEdit* edit_;
    int maxBytes_;
    QString lastGood_;
    bool lastFits_ = true;
    int lastCursor_ = 0;
    bool reverting_ = false;
};

// Keeps the input method out of a number field. The input method front ends
// (fcitx, ibus) ask the field whether it takes the input method, and a line
// edit answers yes whatever its attribute says; so the answer is given here.
// The attribute is kept off too (Qt sets it again with the read-only state).
class NumericInputKeeper : public QObject {
public:
    explicit NumericInputKeeper(QWidget* field) : QObject(field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* field = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::ReadOnlyChange) {
            field->setAttribute(Qt::WA_InputMethodEnabled, false);
        } else if (event->type() == QEvent::InputMethodQuery) {
            auto* query = static_cast<QInputMethodQueryEvent*>(event);
            for (unsigned bit = 1; bit != 0; bit <<= 1) {
                const auto property = static_cast<Qt::InputMethodQuery>(bit);
                if (query->queries() & property) {
                    query->setValue(property, property == Qt::ImEnabled
                                                  ? QVariant(false)
                                                  : field->inputMethodQuery(property));
                }
            }
            query->accept();
            return true;
        }
        return false;
    }
};

// A field's text and selection, as far as a composition can change them.
struct FieldText {
    QString text;
    int selectionStart = 0;
    int selectionLength = 0;
};

FieldText fieldText(const QWidget* field) {
    FieldText state;
    if (const auto* combo = qobject_cast<const QComboBox*>(field)) {
        field = combo->lineEdit();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
        state.text = edit->text();
        state.selectionStart = edit->selectionStart();
        state.selectionLength = static_cast<int>(edit->selectedText().size());
    } else if (const auto* edit = qobject_cast<const QPlainTextEdit*>(field)) {
        const QTextCursor cursor = edit->textCursor();
        state.text = edit->toPlainText();
        state.selectionStart = cursor.selectionStart();
        state.selectionLength = cursor.selectionEnd() - cursor.selectionStart();
    }
    return state;
}

// Follows the input method's compositions in a Japanese text field. A
// composition that starts on a selection removes the selected text at once;
// when the composition is cancelled (Escape: it ends without a commit, or
// the focus leaves without one) that text is committed back in its place,
// so the field reads as before the composition began.
class CompositionKeeper : public QObject {
public:
    explicit CompositionKeeper(QWidget* field) : QObject(field), field_(field) {
        field->installEventFilter(this);
    }

    bool composing() const { return composing_; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const bool focus = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
        if (focus && static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) {
            return false;  // a menu or list over the field leaves the composition as it is
        }
        switch (event->type()) {
            case QEvent::FocusIn:
                composing_ = false;
                break;
            case QEvent::FocusOut:
                if (composing_) {
                    composing_ = false;
                    QInputMethodEvent restore;
                    restore.setCommitString(removedText());
                    QCoreApplication::sendEvent(field_, &restore);
                }
                break;
            case QEvent::InputMethod: {
                auto* input = static_cast<QInputMethodEvent*>(event);
                if (!input->preeditString().isEmpty()) {
                    if (!composing_) {
                        composing_ = true;
                        before_ = fieldText(field_);
                    }
                } else if (composing_) {
                    composing_ = false;
                    if (input->commitString().isEmpty() && input->replacementLength() == 0) {
                        input->setCommitString(removedText());
                    }
                }
                break;
            }
            default:
                break;
        }
        return false;
    }

private:
    // The text the composition removed when it began, if the field still
    // shows the rest as it was.
    QString removedText() const {
        QString rest = before_.text;
        rest.remove(before_.selectionStart, before_.selectionLength);
        return before_.selectionLength > 0 && fieldText(field_).text == rest
                   ? before_.text.mid(before_.selectionStart, before_.selectionLength)
                   : QString();
    }

    QWidget* field_;
    bool composing_ = false;
    FieldText before_;
};

const CompositionKeeper* keeperOf(const QWidget* field) {
    for (const QObject* child : field->children()) {
        if (const auto* keeper = dynamic_cast<const CompositionKeeper*>(child)) {
            return keeper;
        }
    }
    return nullptr;
}

// An editable combo box is the focus widget itself: the input method's
// events and questions reach it, and it hands them to its line edit.
QComboBox* comboOf(QWidget* lineEdit) {
    auto* combo = qobject_cast<QComboBox*>(lineEdit->parentWidget());
    return combo && combo->lineEdit() == lineEdit ? combo : nullptr;
}

}  // namespace

void limitSjisInput(QLineEdit* edit, int maxBytes, InputKind kind) {
    edit->setValidator(new SjisValidator(edit, maxBytes, kind));
}

void limitSjisInput(QComboBox* combo, int maxBytes) {
    if (QLineEdit* edit = combo->lineEdit()) {
        limitSjisInput(edit, maxBytes);
    }
}

void limitSjisInput(QPlainTextEdit* edit, int maxBytes) {
    new PlainTextGuard(edit, maxBytes);
}

int sjisRecordLength(const QString& text) {
    std::string bytes;
    if (!toSjis(text, bytes)) {
        return -1;
    }
    return static_cast<int>(bytes.size() + text.count(QLatin1Char('\n')));
}

std::string toRecordText(const QString& text, std::size_t maxBytes) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    std::string bytes = toSjisLossy(lines);
    bytes.resize(sjisPrefixLength(bytes, maxBytes));
    return bytes;
}

QString fromRecordText(std::string_view bytes) {
    QString text = fromSjis(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString asciiNumber(const QString& text) {
    QString ascii = text;
    for (QChar& c : ascii) {
        const char16_t code = c.unicode();
        // Full-width "，", "－", "．" and "０" to "９" lie 0xFEE0 above ASCII.
        if (code == u'，' || code == u'－' || code == u'．' || (code >= u'０' && code <= u'９')) {
            c = QChar(static_cast<char16_t>(code - 0xFEE0));
        }
    }
    return ascii;
}

void useJapaneseInput(QWidget* field) {
    if (QComboBox* combo = comboOf(field)) {
        useJapaneseInput(combo);
        return;
    }
    field->setAttribute(Qt::WA_InputMethodEnabled, true);
    field->setInputMethodHints(Qt::ImhNone);
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
        combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, true);
        combo->lineEdit()->setInputMethodHints(Qt::ImhNone);
    }
    if (!keeperOf(field)) {
        new CompositionKeeper(field);
    }
}

bool isComposing(const QWidget* field) {
    const CompositionKeeper* keeper = field ? keeperOf(field) : nullptr;
    return keeper && keeper->composing();
}

void useNumericInput(QWidget* field, bool digitsOnly) {
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setInputMethodHints(digitsOnly ? Qt::ImhDigitsOnly : Qt::ImhFormattedNumbersOnly);
    field->installEventFilter(new NumericInputKeeper(field));
    if (QComboBox* combo = comboOf(field)) {
        useNumericInput(combo, digitsOnly);
    }
}

}  // namespace belvorine
