#pragma once
// Controls shared by the partial delivery dialog, the existing data browser,
// the row editor and the bulk change of payment terms: each carries its
// control id (context help, tests) and the Shift-JIS limit of the record
// field it feeds.

#include <string>

#include <QColor>
#include <QString>

class QBoxLayout;
class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace belvorine {

class BelvorineDialog;

// Width of `columns` digits in `widget`'s font.
int columnsWidth(const QWidget* widget, int columns);

// A label; an id of 0 or less gives it none.
QLabel* makeLabel(const QString& text, int id, QWidget* parent);

// A right-aligned number field without the input method: whole numbers
// for `digitsOnly`, otherwise numbers with a point, separators and a sign.
QLineEdit* makeNumberEdit(int id, int maxBytes, bool digitsOnly, QWidget* parent);

// Makes `edit` editable or read-only. A read-only edit is drawn on
// `readOnlyBackground` (the window's colour when none is given), so it does
// not look editable, and Tab passes it by.
void setEditable(QLineEdit* edit, bool editable, const QColor& readOnlyBackground = QColor());

// The number typed into a number field as the records keep it (Shift-JIS):
// full-width digits read as ASCII, blanks around it and thousands
// separators removed.
std::string typedNumber(const QLineEdit* edit);

// How a record keeps a number: a quantity "%8.0f" or "%8.2f", a unit price
// "%8.2f", an amount "%13d".
enum class NumberField { Quantity, UnitPrice, Amount };

// Why the record cannot keep `typed` (as typedNumber gives it) as it stands,
// empty when it can: an empty field and an amount "Over Flow" stay as they
// are; anything else must be a plain number that its format does not change.
QString numberRefusal(const std::string& typed, NumberField field);

// Whether `edit` holds a number its record keeps as typed. If not, says why
// and gives the field the focus back with its text selected: at once when
// `atOnce` (OK), otherwise once the focus has finished moving (leaving it).
bool keepsTypedNumber(QLineEdit* edit, NumberField field, bool atOnce);

// An editable combo box for Japanese text; typing completes nothing, Enter
// takes its text without pressing the dialog's default button (the dialog
// base keeps the wheel from turning it without the focus).
QComboBox* makeTextCombo(int id, int maxBytes, QWidget* parent);

// A box of two lines of `columns` half-width characters that takes Enter as
// a line break and Tab as the next field, for Japanese text.
QPlainTextEdit* makeTwoLineEdit(int id, int maxBytes, int columns, bool centred, QWidget* parent);

QPushButton* makeButton(const QString& text, int id, QWidget* parent);

// Whether a focus event takes the user into or out of a field: not when a
// context menu or a list drops down, nor when another window (a message
// box, another program) takes the focus for a while.
bool entersField(const QEvent* event);
bool leavesField(const QEvent* event);

// A number as typed: thousands separators and blanks removed, and a
// normalised "%8.2f" shortened to its digits ("  500.00" gives "500", "2.50"
// gives "2.5"), so that the field's typing limit leaves room to change it.
QString shortNumberText(const QString& text);

}  // namespace belvorine
