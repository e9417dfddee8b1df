#pragma once
// The numbered messages that the program shows (" ERROR No.0001" ...).

#include <QString>

namespace belvorine {

// Text of message `number` (1 to 14); empty for the unused slots 0, 7, 8, 9
// and for any number outside the table.
QString messageText(int number);

}  // namespace belvorine
