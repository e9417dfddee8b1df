// Unit arithmetic: rounding of mulDiv, conversions between hundredths of a
// millimetre and pixels, and safe answers for bad divisors and huge values.

#include <climits>

#include <gtest/gtest.h>

#include "form/units.h"

namespace belvorine {
namespace {

TEST(MulDiv, RoundsHalfAwayFromZero) {
    EXPECT_EQ(mulDiv(10, 96, 72), 13);  // 13.33
    EXPECT_EQ(mulDiv(1, 36, 72), 1);    // 0.5 rounds up
    EXPECT_EQ(mulDiv(-1, 36, 72), -1);  // -0.5 rounds away from zero
    EXPECT_EQ(mulDiv(1, 35, 72), 0);
    EXPECT_EQ(mulDiv(5, 3, -2), -8);  // -7.5
}

TEST(MulDiv, KeepsTheFullProductAndCutsTheResult) {
    EXPECT_EQ(mulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(mulDiv(INT_MAX, 4, 2), INT_MAX);
    EXPECT_EQ(mulDiv(INT_MIN, 4, 2), INT_MIN);
    EXPECT_EQ(mulDiv(INT_MIN, -1, 1), INT_MAX);
}

TEST(MulDiv, ZeroDivisorGivesZero) {
    EXPECT_EQ(mulDiv(12, 34, 0), 0);
}

TEST(UnitConversion, SeventyMillimetresAtDisplayResolution) {
    EXPECT_EQ(toPixels(7000, 96), 265);
    EXPECT_EQ(toHundredthsMm(265, 96), 7011);
    EXPECT_EQ(toPixels(0, 96), 0);
    EXPECT_EQ(toHundredthsMm(0, 96), 0);
}

TEST(UnitConversion, TruncatesTowardZeroForNegativeValues) {
    // (-48000 / 254 = -188, + 5 = -183) / 10 = -18: the first division
    // truncates toward zero, not down.
    EXPECT_EQ(toPixels(-500, 96), -18);
    EXPECT_EQ(toHundredthsMm(-10, 96), -264);
}

TEST(UnitConversion, ZeroResolution) {
    EXPECT_EQ(toHundredthsMm(123, 0), 1000);
    EXPECT_EQ(toPixels(7000, 0), 0);
}

TEST(UnitConversion, HugeValuesDoNotOverflow) {
    EXPECT_EQ(toPixels(INT_MAX, 600), 507279602);  // the product exceeds 32 bits
    EXPECT_EQ(toPixels(INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(toHundredthsMm(INT_MAX, 1), INT_MAX);
    EXPECT_EQ(toHundredthsMm(INT_MIN, 1), INT_MIN);
}

}  // namespace
}  // namespace belvorine
