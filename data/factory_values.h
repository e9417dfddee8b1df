#pragma once
// The values built into the program: the default for anything a settings or
// layout file does not hold, and the target of the reset to the state at
// purchase.

#include "records/records.h"

namespace belvorine {

// The factory layout, the same for both formats; item i has itemId i.
const FormLayout& factoryLayout();

InitialData factoryInitialData();
ListDialogSettings factoryListDialogSettings();

// The factory page settings of format 0 or 1, used for printing and for the
// screen alike. Their font is the first font of the face "ＭＳ 明朝".
PageSettings makeFactoryPageSettings(int format);

}  // namespace belvorine
