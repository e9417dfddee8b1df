#pragma once
// Shared set-up of the order history tests: a program folder of their own,
// fresh settings and history state, a fixed clock and Shift-JIS helpers.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <string>

#include <QFile>

#include "data/order_files.h"
#include "data/order_record.h"
#include "data/order_store.h"
#include "data/settings_state.h"
#include "platform/local_clock.h"
#include "platform/safe_file.h"
#include "platform/sjis_text.h"
#include "test_support.h"

namespace belvorine::test {

inline std::string sj(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

inline std::string fixture(const char* name) {
    return readFile(fixturePath(QString::fromUtf8(name)));
}

inline int fileMode(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return -1;
    }
    return static_cast<int>(info.st_mode & 0777);
}

// Fills line `index` (0-based) of the current order.
inline void fillLine(int index, const char* name1, const char* name2, const char* quantity,
                     const char* unit, const char* unitPrice, const char* place1,
                     const char* place2 = "") {
    OrderLine& line = currentOrder().lines[index];
    copySjis(line.nameLine1, sj(name1));
    copySjis(line.nameLine2, sj(name2));
    copySjis(line.quantity, sj(quantity));
    copySjis(line.unit, sj(unit));
    copySjis(line.unitPrice, sj(unitPrice));
    copySjis(line.deliveryPlaceLine1, sj(place1));
    copySjis(line.deliveryPlaceLine2, sj(place2));
}

inline void setOrderHeader(const char* counterparty, const char* payment) {
    copySjis(currentOrder().counterparty, sj(counterparty));
    copySjis(currentOrder().paymentText, sj(payment));
}

// Every test starts as a fresh program in an empty folder on 2024-03-05.
class OrderHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        setClockForTesting([] { return LocalTime{2024, 3, 5, 9, 30, 0}; });
        resetSettingsStateForTesting();
        resetOrderFilesForTesting();
        resetLongestCounterparties();
        freeStore();
        orderEntered() = 0;
        currentOrder() = OrderRecord();
        initialiseCurrentOrder();
    }

    void TearDown() override {
        setWriteFaultForTesting(-1);
        freeStore();
        resetOrderFilesForTesting();
        setClockForTesting({});
    }

    // A program start with `rows` rows remembered by the settings.
    int start(int rows, const DataFilePrompts& prompts = {}) {
        settings().initialData.rowCount = rows;
        if (!prepareDataFiles(prompts)) {
            return 0;
        }
        return loadStore();
    }

    // Places a history as the data file and its backup of an earlier run.
    void installHistory(const std::string& content, int rows) {
        writeFile(folder.file("ovd"), content);
        writeFile(folder.file("bak"), content);
        settings().initialData.rowCount = rows;
    }

    std::string rowText(int row) const { return std::string(orderStore().line(row)); }
    std::string fieldText(int row, int field) const {
        return std::string(orderStore().field(row, field));
    }

    ProgramFolder folder;
};

}  // namespace belvorine::test
