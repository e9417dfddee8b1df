#pragma once
// The payment terms of the row editor and of the bulk change: radio buttons
// "手形", "リース", "現金" and the note days edit, editable only for a note.

#include <string>
#include <string_view>

#include <QObject>

class QButtonGroup;
class QHBoxLayout;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace belvorine {

struct PaymentChoiceIds {
    int note;
    int lease;
    int cash;
    int days;
};

class PaymentChoice : public QObject {
public:
    // `emptyDaysOffNote`: choosing lease or cash also empties the days.
    PaymentChoice(QWidget* parent, const PaymentChoiceIds& ids, bool emptyDaysOffNote);

    QRadioButton* note() const { return note_; }
    QRadioButton* lease() const { return lease_; }
    QRadioButton* cash() const { return cash_; }
    QLineEdit* days() const { return days_; }

    // "現金" and "ﾘｰｽ" check their button; anything else checks "手形" and
    // shows the text as the days.
    void showTerms(std::string_view paymentText);
    // The days for a note (at most 7 characters), else "ﾘｰｽ" or "現金".
    std::string terms() const;

private:
    void choose(int kind);

    QButtonGroup* group_;
    QRadioButton* note_;
    QRadioButton* lease_;
    QRadioButton* cash_;
    QLineEdit* days_;
    bool emptyDaysOffNote_;
};

}  // namespace belvorine
