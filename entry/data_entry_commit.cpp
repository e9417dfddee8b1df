// OK of the data entry dialog: the fields go into the working order, the
// display lines are taken as the boxes show them, and the working order
// becomes the current order.

#include <QLineEdit>
#include <QPlainTextEdit>

#include "entry/data_entry_dialog.h"
#include "entry/working_order.h"
#include "widgets/shown_lines.h"
#include "widgets/sjis_input.h"

namespace belvorine {
namespace {

// The first two lines of a box as it shows them, in Shift-JIS.
void takeShownLines(const QPlainTextEdit* edit, std::string (&lines)[2]) {
    const QStringList shown = shownLines(edit, 2);
    for (int i = 0; i < 2; ++i) {
        lines[i] = i < shown.size() ? toRecordText(shown[i], 255) : std::string();
    }
}

}  // namespace

void DataEntryDialog::commit() {
    // A number the order cannot keep as it is shown is refused, never
    // changed. Lines without a name are not kept at all.
    for (int slot = 0; slot < 5; ++slot) {
        const QString name = lines_[slot].name->toPlainText();
        if (name.isEmpty() || name.startsWith(QLatin1Char('\n'))) {
            continue;
        }
        for (const auto& [edit, field] : numberFields(slot)) {
            if (!keepsTypedNumber(edit, field, true)) {
                return;
            }
        }
    }
    WorkingOrder& working = workingOrder();
    storeHeaderControls();
    storeRecordText(working.approvalNo, approval_->text());
    takePayment();
    storeLineControls();
    ShownLineTexts shown[5];
    for (int slot = 0; slot < 5; ++slot) {
        takeShownLines(lines_[slot].name, shown[slot].name);
        takeShownLines(lines_[slot].date, shown[slot].date);
        takeShownLines(lines_[slot].place, shown[slot].place);
    }
    commitWorkingOrder(working, shown, currentOrder());
    done(1);
}

}  // namespace belvorine
