#pragma once
// The data entry dialog's working copy of the current order. The dialog,
// the partial delivery dialog and the existing data browser change it; it
// goes back into the current order on OK (and at once on "データクリア").
// The operations here work on the records only, apart from the widgets.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/order_record.h"

namespace belvorine {

// Slots 0 to 4 are the five item lines; slot 5 is the copy of the current
// order's blank line that every emptied slot is reset to.
inline constexpr int kBlankSlot = kOrderLineCount;

struct WorkingOrder {
    char year[6] = {};
    char month[4] = {};
    char day[4] = {};
    char counterparty[256] = {};
    char paymentText[8] = {};
    std::int32_t paymentKind = kPaymentNote;
    OrderLine lines[kWorkingLineCount];
    // Lines 1 to 5 whose name is filled (isEmptyLine false).
    int lineCount = 0;
    // The approval number last typed during this run; not taken from the
    // current order, empty at start-up.
    char approvalNo[10] = {};
};

// The one working order of the process.
WorkingOrder& workingOrder();

// Start-up: an empty header and approval number, and the six slots as the
// current order's lines start (today's delivery date, the default place).
void initialiseWorkingOrder();

// Widths in bytes of the display lines that the form prints: the name, the
// delivery date and the delivery place each show two lines of these.
inline constexpr std::size_t kNameLineBytes = 40;
inline constexpr std::size_t kDateLineBytes = 10;
inline constexpr std::size_t kPlaceLineBytes = 15;

// The text a computed amount shows when it does not fit.
inline constexpr std::string_view kOverFlow = "Over Flow";

// The payment kind a payment text (Shift-JIS) stands for: the half-width
// "ﾘｰｽ" a lease, "現金" cash, anything else (a note's days, or nothing
// yet) a note.
PaymentTerms paymentKindOf(std::string_view paymentText);

// The payment text of `kind`: for a note its days as typed, else "ﾘｰｽ" or
// "現金".
std::string paymentTextOf(int kind, std::string_view noteDays);

// Takes the header (with the payment kind), the five lines and the blank
// line of `order`; the remembered approval number stays.
void copyFromOrder(WorkingOrder& working, const OrderRecord& order);

// A line counts as empty when its name is empty or begins with a carriage
// return (Enter pressed at the very start of the name).
bool isEmptyLine(const OrderLine& line);

// Slot `slot` becomes a copy of the blank line.
void resetLine(WorkingOrder& working, int slot);

// Moves the filled lines up over the empty ones, keeping their order; the
// slots left over at the end become copies of the blank line. Returns one
// bit per slot (bit i for slot i) whose line moved or that is empty now:
// the slots whose controls must show their line again.
unsigned closeGaps(WorkingOrder& working);

// The user changed the name of slot `slot` (0 to 4); only that line moves.
// An emptied name removes its line: the lines below move up by one and the
// last slot becomes the blank line. A name typed below empty lines moves its
// line up into the first of them, and the lines it passes (empty names, but
// perhaps a quantity already typed) move down by one, so nothing typed is
// lost. Returns one bit per slot whose controls must show their line again;
// `newSlot` is the slot that holds the edited line afterwards.
unsigned settleEditedLine(WorkingOrder& working, int slot, int& newSlot);

// Recounts the filled lines into lineCount and returns it.
int recountLines(WorkingOrder& working);

// The value of a number text that may carry thousands separators.
double numberOf(std::string_view text);

// The amount of a line from its quantity and unit price (thousands
// separators allowed, a text that is not a number counts 0): the product
// rounded half up as "%13d", or "Over Flow" when it reaches 2147483647.
// Returns 0 and leaves `amount` alone when the product is 0 or negative.
int lineAmount(std::string_view quantity, std::string_view unitPrice, std::string& amount);

// The unit price ("%8.2f") that makes `amount` for `quantity`. Returns 0 and
// leaves `unitPrice` alone when their product is not above 0.
int unitPriceForAmount(std::string_view quantity, std::string_view amount, std::string& unitPrice);

// An amount as the record keeps it: "Over Flow" as it is, otherwise "%13d"
// of its whole number. A typed amount too large for the record's numbers
// becomes "Over Flow" as a computed one does.
std::string normaliseAmount(std::string_view amount);

// The display lines of a line as its boxes show them (Shift-JIS, cut here
// to the record's widths).
struct ShownLineTexts {
    std::string name[2];
    std::string date[2];
    std::string place[2];
};

// OK: the header, the approval number and the five lines of `working` go
// into `order` with their display lines and normalised numbers; a line
// without a first name line becomes the blank line. The blank line and the
// lines' texts as typed are taken as they are.
void commitWorkingOrder(const WorkingOrder& working, const ShownLineTexts (&shown)[kOrderLineCount],
                        OrderRecord& order);

// "データクリア": the five lines become the blank line, the approval number
// is emptied, and `order` takes the header and all six slots at once (its
// own approval number stays).
void clearWorkingLines(WorkingOrder& working, OrderRecord& order);

}  // namespace belvorine
