#pragma once
// Plugs the partial delivery dialog and the existing data browser (pick
// mode) into the data entry dialog's "分納" and "既存データ" buttons.

namespace belvorine {

void installHistoryDialogs();

}  // namespace belvorine
