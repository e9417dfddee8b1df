#include "entry/working_order.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>

#include "data/order_numbers.h"
#include "form/amount_format.h"
#include "platform/sjis_text.h"

namespace belvorine {
namespace {

// Amounts are whole numbers below the largest 32-bit signed value.
constexpr double kAmountLimit = 2147483647.0;

std::string amountText(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%13d", value);
    return text;
}

template <std::size_t N>
void copyLine(char (&dest)[N], const std::string& text, std::size_t maxBytes) {
    copySjis(dest, std::string_view(text).substr(0, sjisPrefixLength(text, maxBytes)));
}

// The working order and the current order name their header fields alike.
template <typename To, typename From>
void copyHeader(To& to, const From& from) {
    copySjis(to.year, sjisView(from.year));
    copySjis(to.month, sjisView(from.month));
    copySjis(to.day, sjisView(from.day));
    copySjis(to.counterparty, sjisView(from.counterparty));
    copySjis(to.paymentText, sjisView(from.paymentText));
    to.paymentKind = from.paymentKind;
}

void setDisplayLines(OrderLine& line, const ShownLineTexts& shown) {
    std::memset(line.nameLine1, 0, sizeof line.nameLine1);
    std::memset(line.nameLine2, 0, sizeof line.nameLine2);
    std::memset(line.deliveryDateLine1, 0, sizeof line.deliveryDateLine1);
    std::memset(line.deliveryDateLine2, 0, sizeof line.deliveryDateLine2);
    std::memset(line.deliveryPlaceLine1, 0, sizeof line.deliveryPlaceLine1);
    std::memset(line.deliveryPlaceLine2, 0, sizeof line.deliveryPlaceLine2);
    if (line.name[0] != '\0') {
        copyLine(line.nameLine1, shown.name[0], kNameLineBytes);
        copyLine(line.nameLine2, shown.name[1], kNameLineBytes);
    }
    if (line.deliveryDate[0] != '\0') {
        copyLine(line.deliveryDateLine1, shown.date[0], kDateLineBytes);
        copyLine(line.deliveryDateLine2, shown.date[1], kDateLineBytes);
    }
    if (line.deliveryPlace[0] != '\0') {
        copyLine(line.deliveryPlaceLine1, shown.place[0], kPlaceLineBytes);
        copyLine(line.deliveryPlaceLine2, shown.place[1], kPlaceLineBytes);
    }
}

void normaliseNumbers(OrderLine& line) {
    copySjis(line.quantity, normaliseQuantity(sjisView(line.quantity)));
    copySjis(line.unitPrice, normaliseUnitPrice(sjisView(line.unitPrice)));
    copySjis(line.amount, normaliseAmount(sjisView(line.amount)));
}

const std::string& leasePaymentText() {
    static const std::string text = toSjisLossy(QStringLiteral("ﾘｰｽ"));
    return text;
}

const std::string& cashPaymentText() {
    static const std::string text = toSjisLossy(QStringLiteral("現金"));
    return text;
}

}  // namespace

double numberOf(std::string_view text) {
    return leadingNumber(removeThousands(text));
}

WorkingOrder& workingOrder() {
    static WorkingOrder working;
    return working;
}

void initialiseWorkingOrder() {
    WorkingOrder& working = workingOrder();
    working = WorkingOrder();
    initialiseOrderLines(working.lines, kWorkingLineCount);
}

PaymentTerms paymentKindOf(std::string_view paymentText) {
    if (paymentText == leasePaymentText()) {
        return kPaymentLease;
    }
    return paymentText == cashPaymentText() ? kPaymentCash : kPaymentNote;
}

std::string paymentTextOf(int kind, std::string_view noteDays) {
    switch (kind) {
        case kPaymentLease:
            return leasePaymentText();
        case kPaymentCash:
            return cashPaymentText();
        default:
            return std::string(noteDays);
    }
}

void copyFromOrder(WorkingOrder& working, const OrderRecord& order) {
    copyHeader(working, order);
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        working.lines[slot] = order.lines[slot];
    }
    working.lines[kBlankSlot] = order.blankLine;
}

bool isEmptyLine(const OrderLine& line) {
    return line.name[0] == '\0' || line.name[0] == '\r';
}

void resetLine(WorkingOrder& working, int slot) {
    working.lines[slot] = working.lines[kBlankSlot];
}

unsigned closeGaps(WorkingOrder& working) {
    // All gaps at once: a gap left behind would make the line count point
    // past a filled line, and a pick would then overwrite it.
    OrderLine filled[kOrderLineCount];
    int from[kOrderLineCount] = {};
    int count = 0;
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        if (!isEmptyLine(working.lines[slot])) {
            filled[count] = working.lines[slot];
            from[count] = slot;
            ++count;
        }
    }
    unsigned changed = 0;
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        if (slot < count) {
            if (from[slot] != slot) {
                working.lines[slot] = filled[slot];
                changed |= 1u << slot;
            }
        } else {
            resetLine(working, slot);
            changed |= 1u << slot;
        }
    }
    return changed;
}

unsigned settleEditedLine(WorkingOrder& working, int slot, int& newSlot) {
    OrderLine* lines = working.lines;
    newSlot = slot;
    if (isEmptyLine(lines[slot])) {
        for (int below = slot; below + 1 < kOrderLineCount; ++below) {
            lines[below] = lines[below + 1];
        }
        resetLine(working, kOrderLineCount - 1);
        return (1u << kOrderLineCount) - (1u << slot);
    }
    int target = 0;
    while (target < slot && !isEmptyLine(lines[target])) {
        ++target;
    }
    if (target == slot) {
        return 0;
    }
    const OrderLine edited = lines[slot];
    for (int above = slot; above > target; --above) {
        lines[above] = lines[above - 1];
    }
    lines[target] = edited;
    newSlot = target;
    return (2u << slot) - (1u << target);
}

int recountLines(WorkingOrder& working) {
    working.lineCount = 0;
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        working.lineCount += isEmptyLine(working.lines[slot]) ? 0 : 1;
    }
    return working.lineCount;
}

int lineAmount(std::string_view quantity, std::string_view unitPrice, std::string& amount) {
    const double product = numberOf(quantity) * numberOf(unitPrice);
    if (!(product > 0)) {
        return 0;
    }
    if (product + 0.5 >= kAmountLimit) {
        amount = kOverFlow;
        return 1;
    }
    amount = amountText(static_cast<int>(product + 0.5));
    return 1;
}

int unitPriceForAmount(std::string_view quantity, std::string_view amount, std::string& unitPrice) {
    const double count = numberOf(quantity);
    const double total = numberOf(amount);
    if (!(count * total > 0)) {
        return 0;
    }
    // The shortest text that reads back as the same value, then "%8.2f".
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, total / count);
    unitPrice = normaliseUnitPrice(std::string_view(digits, result.ptr - digits));
    return 1;
}

std::string normaliseAmount(std::string_view amount) {
    if (amount == kOverFlow) {
        return std::string(amount);
    }
    const int value = leadingInteger(removeThousands(amount));
    return value >= INT_MAX ? std::string(kOverFlow) : amountText(value);
}

void commitWorkingOrder(const WorkingOrder& working, const ShownLineTexts (&shown)[kOrderLineCount],
                        OrderRecord& order) {
    copyHeader(order, working);
    copySjis(order.approvalNo, sjisView(working.approvalNo));
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        OrderLine line = working.lines[slot];
        setDisplayLines(line, shown[slot]);
        normaliseNumbers(line);
        order.lines[slot] = line.nameLine1[0] == '\0' ? working.lines[kBlankSlot] : line;
    }
}

void clearWorkingLines(WorkingOrder& working, OrderRecord& order) {
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        resetLine(working, slot);
    }
    std::memset(working.approvalNo, 0, sizeof working.approvalNo);
    working.lineCount = 0;
    copyHeader(order, working);
    for (int slot = 0; slot < kOrderLineCount; ++slot) {
        order.lines[slot] = working.lines[slot];
    }
    order.blankLine = working.lines[kBlankSlot];
}

}  // namespace belvorine
