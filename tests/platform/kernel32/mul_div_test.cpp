// MulDiv: rounding of the exact quotient and the -1 for results that have no 32-bit value.
#include <gtest/gtest.h>
#include <windows.h>
#include <climits>

#include "windows_run.h"

namespace {

TEST(MulDivRounding, HalvesGoAwayFromZero) {
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(5, -1, 2), -3);
    EXPECT_EQ(MulDiv(5, 1, -2), -3);
    EXPECT_EQ(MulDiv(-5, -1, -2), -3);
    EXPECT_EQ(MulDiv(-5, -1, 2), 3);
}

TEST(MulDivRounding, BelowAndAboveHalf) {
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);
    EXPECT_EQ(MulDiv(-2, 1, 3), -1);
    EXPECT_EQ(MulDiv(8, 96, 72), 11); // 10.67: 8 points at 96 dpi
    EXPECT_EQ(MulDiv(9, 120, 72), 15);
    EXPECT_EQ(MulDiv(0, 7, 3), 0);
}

TEST(MulDivRange, TheProductMayExceed32Bits) {
    EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(MulDiv(0x40000000, 4, 8), 0x20000000);
}

TEST(MulDivRange, TheSmallestIntIsAResult) {
    MOLTR_NOT_UNDER_WINE("its MulDiv answers -1 for a result of INT_MIN");
    EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
    EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, INT_MIN), INT_MIN);
}

TEST(MulDivRange, ResultsBeyond32BitsGiveMinusOne) {
    EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
    EXPECT_EQ(MulDiv(INT_MIN, 2, 1), -1);
    EXPECT_EQ(MulDiv(0x40000000, 2, 1), -1);
}

TEST(MulDivRange, ZeroDivisorGivesMinusOne) {
    EXPECT_EQ(MulDiv(10, 10, 0), -1);
    EXPECT_EQ(MulDiv(0, 0, 0), -1);
}

} // namespace
