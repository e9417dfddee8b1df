#pragma once
// Controls shared by the partial delivery dialog, the existing data browser,
// the row editor and the bulk change of payment terms: each carries its
// control id (context help, tests) and the Shift-JIS limit of the record
// field it feeds.

#include <QString>

class QBoxLayout;
class QComboBox;
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

// A right-aligned number field without the input method.
QLineEdit* makeNumberEdit(int id, int maxBytes, bool digitsOnly, QWidget* parent);

// An editable combo box for Japanese text; typing completes nothing (the
// dialog base keeps the wheel from turning it without the focus).
QComboBox* makeTextCombo(int id, int maxBytes, QWidget* parent);

// A box of two lines of `columns` half-width characters that takes Enter as
// a line break and Tab as the next field, for Japanese text.
QPlainTextEdit* makeTwoLineEdit(int id, int maxBytes, int columns, bool centred, QWidget* parent);

QPushButton* makeButton(const QString& text, int id, QWidget* parent);

// A number as typed: thousands separators and blanks removed, and a
// normalised "%8.2f" shortened to its digits ("  500.00" gives "500", "2.50"
// gives "2.5"), so that the field's typing limit leaves room to change it.
QString shortNumberText(const QString& text);

}  // namespace belvorine
