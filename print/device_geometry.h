#pragma once
// The device geometry of each format's printer and the margin limits that
// follow from its paper.

#include "records/records.h"
#include "form/page_geometry.h"
#include "platform/printers/device_mode.h"

namespace belvorine {

// The device mode of a format's printer settings: paper code and name,
// orientation and source.
DeviceMode deviceModeFor(const PageSettings& settings);

// Clamps each margin of `settings` into its limits (the maximum wins when
// the minimum exceeds it), stores the clamped values back and fills all 14
// fields of `geometry` from `caps` and those margins.
void fillGeometry(const DeviceCaps& caps, PageSettings& settings, PageGeometry& geometry);

// Sets the margin limits of `settings` from the paper of `caps`: the
// minimums are the unprintable borders, the maximums a third of the paper's
// width (left, right) or height (top, bottom), all in 1/100 mm. Does nothing
// when a resolution is 0.
void setMarginLimits(const DeviceCaps& caps, PageSettings& settings);

// The printer check: sets up the record's printer with its paper, source and
// orientation, sets the margin limits from the paper and fills the format's
// geometry. A printer index past the end of the printer list falls back to
// the first printer and the record is corrected. Returns 0, leaving the
// margins and the geometry unchanged, when the printer cannot be set up or
// reports no resolution.
int refreshPrinterMetrics(PageSettings& settings, int format);

// The same check filling `geometry` instead of a format's: the print setup
// dialog tries printers and papers without touching the live geometry.
int checkPrinter(PageSettings& settings, PageGeometry& geometry);

// Start-up (after the settings are loaded): the printer check of both
// formats' live printer settings. Returns 0 when either fails; start-up then
// ends without a window.
int checkPrintersAtStartup();

}  // namespace belvorine
