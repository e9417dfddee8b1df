#pragma once
// Text fields that feed Shift-JIS records: a byte limit and the code page
// 932 check attached to a widget, so that a character the records cannot
// hold is refused where it is typed (with a message naming it) and a text
// never outgrows its field. Also the conversions between a widget's text
// and the record's bytes, and the input method of a field.

#include <cstddef>
#include <string>
#include <string_view>

#include <QString>

#include "platform/sjis_text.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace belvorine {

enum class InputKind {
    Text,    // any character code page 932 holds
    Digits,  // 0 to 9 only
    Number   // digits, point, comma, minus sign and blanks
};

// A line edit: a validator refuses an edit that would break the rules. It
// does not apply to setText, so texts the program puts there (grouped
// numbers longer than the typing limit) stay whole. Digit and number fields
// take full-width digits, point, comma and minus as their ASCII forms.
void limitSjisInput(QLineEdit* edit, int maxBytes, InputKind kind = InputKind::Text);

// The edit field of an editable combo box, likewise.
void limitSjisInput(QComboBox* combo, int maxBytes);

// A multi-line edit: an edit that breaks the rules is undone, the text and
// the cursor go back to where they were. A line break counts as CR LF.
void limitSjisInput(QPlainTextEdit* edit, int maxBytes);

// Bytes that `text` takes in a record, a line break as CR LF; -1 when it
// holds a character that code page 932 cannot hold.
int sjisRecordLength(const QString& text);

// A widget's text as record bytes: line breaks become CR LF and the text is
// cut to `maxBytes` at a character boundary. A character code page 932
// cannot hold (only a damaged record brings one into a field) is left out,
// never turned into "?".
std::string toRecordText(const QString& text, std::size_t maxBytes);

// The same into a record's fixed buffer (at most `maxBytes` bytes and never
// more than the buffer holds).
template <std::size_t N>
void storeRecordText(char (&dest)[N], const QString& text, std::size_t maxBytes = N - 1) {
    copySjis(dest, toRecordText(text, maxBytes < N - 1 ? maxBytes : N - 1));
}

// Record bytes as a widget's text: CR LF (and a lone CR) become line breaks.
QString fromRecordText(std::string_view bytes);
template <std::size_t N>
QString fromRecordText(const char (&buffer)[N]) {
    return fromRecordText(sjisView(buffer, N));
}

// `text` with full-width digits, point, comma and minus sign as their ASCII
// forms ("１２３．５" gives "123.5"), as a number field reads them.
QString asciiNumber(const QString& text);

// A Japanese text field: the input method is on while it has the focus. A
// composition that is cancelled leaves the text as it was before it began
// (a selection it replaced comes back). For an editable combo box (or its
// line edit) this is the combo box: it has the focus and hands the input
// method's events to its line edit.
void useJapaneseInput(QWidget* field);

// Whether an input method composition is under way in `field` (a field of
// useJapaneseInput): its text changes then are not yet what was typed.
bool isComposing(const QWidget* field);

// A numeric field: the input method is off (the field tells the input
// method it takes none, so a composition never starts there), digit input
// hints (`digitsOnly` for whole numbers, otherwise a point and separators
// are allowed too). The line edit of a combo box makes the combo box
// numeric too.
void useNumericInput(QWidget* field, bool digitsOnly);

}  // namespace belvorine
