// The current order as the program starts it.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "order_test_support.h"

namespace belvorine {
namespace {

using test::OrderHistoryTest;
using test::sj;

bool isDefaultLine(const OrderLine& line) {
    return sjisView(line.deliveryDate) == sj("2024年\r\n03月05日") &&
           sjisView(line.deliveryPlace) == sj("本社工場") && line.nameLine1[0] == '\0' &&
           line.unit[0] == '\0' && line.splitFrom == 0 && line.totalQuantity[0] == '\0';
}

TEST_F(OrderHistoryTest, StartUpOrderHoldsTodayAndDefaultLines) {
    OrderRecord& order = currentOrder();
    std::strcpy(order.lines[2].nameLine1, "left over");
    order.blankLine.splitFrom = 3;
    initialiseCurrentOrder();
    EXPECT_EQ(std::string(order.year), "2024");
    EXPECT_EQ(std::string(order.month), "3");
    EXPECT_EQ(std::string(order.day), "5");
    for (const OrderLine& line : order.lines) {
        EXPECT_TRUE(isDefaultLine(line));
    }
    EXPECT_TRUE(isDefaultLine(order.blankLine));
}

TEST_F(OrderHistoryTest, DataEntryLineSetGetsTheSameLines) {
    OrderLine lines[kWorkingLineCount];
    std::strcpy(lines[5].unit, "x");
    initialiseOrderLines(lines, kWorkingLineCount);
    for (const OrderLine& line : lines) {
        EXPECT_TRUE(isDefaultLine(line));
    }
}

}  // namespace
}  // namespace belvorine
