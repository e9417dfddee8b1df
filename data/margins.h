#pragma once
// The one rule that keeps a margin's value within its limits, for the print
// setup dialog and the page geometry alike.

#include "records/records.h"

namespace belvorine {

// `value` (1/100 mm) kept within the limits of `margin`: below the minimum
// it is the minimum, above the maximum the maximum, which wins when the
// minimum exceeds the maximum (a printer whose unprintable border is wider
// than a third of the paper).
int clampToMargin(long long value, const Margin& margin);

// The margin's own value so kept.
inline int clampedMargin(const Margin& margin) {
    return clampToMargin(margin.value, margin);
}

}  // namespace belvorine
