#include "form/units.h"

#include <algorithm>
#include <climits>

#include "platform/screen_metrics.h"

namespace belvorine {

int displayDpiX() {
    const int dpi = screenMetrics().dpiX;
    return dpi != 0 ? dpi : kDefaultDisplayDpi;
}

int displayDpiY() {
    const int dpi = screenMetrics().dpiY;
    return dpi != 0 ? dpi : kDefaultDisplayDpi;
}

int clampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int mulDiv(int a, int b, int c) {
    if (c == 0) {
        return 0;
    }
    const long long product = static_cast<long long>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const unsigned long long magnitude = product < 0
                                             ? 0ULL - static_cast<unsigned long long>(product)
                                             : static_cast<unsigned long long>(product);
    const unsigned long long divisor =
        c < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(c))
              : static_cast<unsigned long long>(c);
    unsigned long long quotient = magnitude / divisor;
    if (2 * (magnitude % divisor) >= divisor) {
        ++quotient;
    }
    // |a x b| < 2^62, so the quotient fits a signed 64-bit value.
    const long long signedQuotient = static_cast<long long>(quotient);
    return clampToInt(negative ? -signedQuotient : signedQuotient);
}

int toPixels(int v, int dpi) {
    return clampToInt((static_cast<long long>(v) * dpi / 254 + 5) / 10);
}

int toHundredthsMm(int p, int dpi) {
    if (dpi == 0) {
        return 1000;
    }
    return clampToInt((static_cast<long long>(p) * 25400 / dpi + 5) / 10);
}

}  // namespace belvorine
