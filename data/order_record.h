#pragma once
// The current order: one OrderRecord owned by this module, read by the
// renderer and the print run, written by the data entry dialog.

#include <cstdint>

namespace belvorine {

enum PaymentTerms : std::int32_t { kPaymentNote = 0, kPaymentLease = 1, kPaymentCash = 2 };

struct OrderLine {
    char nameLine1[128] = {};
    char nameLine2[128] = {};
    char name[256] = {};
    char quantity[20] = {};
    char unit[40] = {};
    char unitPrice[20] = {};
    char amount[30] = {};
    char deliveryDateLine1[15] = {};
    char deliveryDateLine2[15] = {};
    char deliveryDate[30] = {};
    char deliveryPlaceLine1[20] = {};
    char deliveryPlaceLine2[20] = {};
    char deliveryPlace[40] = {};
    std::int32_t splitFrom = 0;  // 1-based line a partial delivery came from
    char totalQuantity[20] = {};
};

inline constexpr int kOrderLineCount = 5;
// The data entry dialog's line set: the five lines and its blank line.
inline constexpr int kWorkingLineCount = kOrderLineCount + 1;

struct OrderRecord {
    char year[6] = {};
    char month[4] = {};
    char day[4] = {};
    char counterparty[256] = {};
    char paymentText[8] = {};
    std::int32_t paymentKind = kPaymentNote;
    char approvalNo[10] = {};
    OrderLine lines[kOrderLineCount];
    OrderLine blankLine;
};

// The one current order.
OrderRecord& currentOrder();

// The longest counterparty (in bytes) printed with each format, never
// shorter than its start value "××　株式会社"; sizes the addressee line.
char* longestCounterparty(int format);

// Sets both longest counterparties back to their start value (start-up).
void resetLongestCounterparties();

// Zero-fills `line` and gives it today's delivery date and the default
// delivery place "本社工場".
void initialiseOrderLine(OrderLine& line);

// The same for `count` lines, e.g. the data entry dialog's six slots.
void initialiseOrderLines(OrderLine* lines, int count);

// Start-up state of the current order: today's date, every line and the
// blank line initialised.
void initialiseCurrentOrder();

}  // namespace belvorine
