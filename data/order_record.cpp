#include "data/order_record.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "records/records.h"
#include "platform/local_clock.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

std::string sjis(const char* utf8) {
    return toSjisLossy(QString::fromUtf8(utf8));
}

void fillStartValue(char (&texts)[kFormatCount][256]) {
    static const std::string start = sjis("××　株式会社");
    for (auto& text : texts) {
        copySjis(text, start);
    }
}

char (&longestTexts())[kFormatCount][256] {
    static char texts[kFormatCount][256] = {};
    static const bool filled = (fillStartValue(texts), true);
    (void)filled;
    return texts;
}

// "%4d年\r\n%02d月%02d日" of a date, in Shift-JIS.
std::string defaultDeliveryDate(const LocalTime& date) {
    static const std::string year = sjis("年");
    static const std::string month = sjis("月");
    static const std::string day = sjis("日");
    char digits[3][16];
    std::snprintf(digits[0], sizeof digits[0], "%4d", date.year);
    std::snprintf(digits[1], sizeof digits[1], "%02d", date.month);
    std::snprintf(digits[2], sizeof digits[2], "%02d", date.day);
    return digits[0] + year + "\r\n" + digits[1] + month + digits[2] + day;
}

}  // namespace

OrderRecord& currentOrder() {
    static OrderRecord order;
    return order;
}

char* longestCounterparty(int format) {
    return longestTexts()[format == 1 ? 1 : 0];
}

void resetLongestCounterparties() {
    fillStartValue(longestTexts());
}

void initialiseOrderLine(OrderLine& line) {
    static const std::string place = sjis("本社工場");
    line = OrderLine();
    copySjis(line.deliveryDate, defaultDeliveryDate(localNow()));
    copySjis(line.deliveryPlace, place);
}

void initialiseOrderLines(OrderLine* lines, int count) {
    for (int i = 0; i < count; ++i) {
        initialiseOrderLine(lines[i]);
    }
}

void initialiseCurrentOrder() {
    OrderRecord& order = currentOrder();
    const LocalTime today = localNow();
    std::snprintf(order.year, sizeof order.year, "%d", today.year);
    std::snprintf(order.month, sizeof order.month, "%d", today.month);
    std::snprintf(order.day, sizeof order.day, "%d", today.day);
    initialiseOrderLines(order.lines, kOrderLineCount);
    initialiseOrderLine(order.blankLine);
}

}  // namespace belvorine
