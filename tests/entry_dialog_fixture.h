#pragma once
// Shared set-up of the data entry dialog tests: today is 2024-03-05, the
// current order is fresh, the history knows two counterparties (one per
// format), and message boxes are answered and recorded.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "entry/data_entry_dialog.h"
#include "entry/data_entry_ids.h"
#include "entry/working_order.h"
#include "platform/local_clock.h"
#include "platform/sjis_text.h"
#include "widgets/help.h"
#include "widgets/message_box.h"
#include "test_support.h"

namespace belvorine::test {

using namespace data_entry;

inline std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

class DataEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        setClockForTesting([] { return LocalTime{2024, 3, 5, 9, 30, 0}; });
        resetSettingsStateForTesting();
        copySjis(printerSettings(0).formatName, sj("書式１"));
        copySjis(printerSettings(1).formatName, sj("書式２"));
        currentOrder() = OrderRecord();
        initialiseCurrentOrder();
        initialiseWorkingOrder();
        orderStore().clear();
        orderStore().addRow(sj("山田商事\t30\tボルト\t\t      10\t個\t  500.00\t本社工場\t\t0"));
        orderStore().addRow(sj("鈴木工業\t現金\tナット\t\t      20\t個\t   10.00\t本社工場\t\t1"));
        orderStore().buildLists();
        orderStore().markLoaded();
        setMessageHandlerForTesting([this](const MessageRequest& request) {
            messages.push_back(request);
            return answer;
        });
    }

    void TearDown() override {
        dialog.reset();
        setMessageHandlerForTesting({});
        setPartialDeliveryHook({});
        setExistingDataHook({});
        freeStore();
        setClockForTesting({});
    }

    // A filled line of the current order, as an earlier OK leaves it.
    void orderLine(int slot, const char* name, const char* quantity = "", const char* unit = "",
                   const char* unitPrice = "") {
        OrderLine& line = currentOrder().lines[slot];
        copySjis(line.name, sj(name));
        copySjis(line.nameLine1, sj(name));
        copySjis(line.quantity, sj(quantity));
        copySjis(line.unit, sj(unit));
        copySjis(line.unitPrice, sj(unitPrice));
    }

    DataEntryDialog& open() {
        dialog = std::make_unique<DataEntryDialog>(nullptr);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return *dialog;
    }

    template <typename T = QWidget>
    T* control(int id) {
        return qobject_cast<T*>(findControl(dialog.get(), id));
    }

    QString text(int id) {
        QWidget* widget = control(id);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            return edit->text();
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            return combo->currentText();
        }
        if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            return edit->toPlainText();
        }
        return QString();
    }

    static void typeText(QWidget* widget, const QString& text) { test::typeText(widget, text); }

    // Focus first, then the keys.
    void type(int id, const QString& keys) {
        QWidget* widget = control(id);
        widget->setFocus();
        typeText(widget, keys);
    }

    // Leaves the field that has the focus.
    void leaveField() { control(kCounterparty)->setFocus(); }

    void click(int id) { QTest::mouseClick(control(id), Qt::LeftButton); }

    std::vector<MessageRequest> messages;
    int answer = kResultOk;
    std::unique_ptr<DataEntryDialog> dialog;
};

}  // namespace belvorine::test
