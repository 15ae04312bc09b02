// Clocks and the FILETIME and SYSTEMTIME conversions.
#include "windows_run.h"
#include <gtest/gtest.h>
#include <windows.h>

namespace {

ULONGLONG Ticks(const FILETIME& t) {
    return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME FromTicks(ULONGLONG ticks) {
    return FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
}

TEST(SystemTime, KnownDatesConvertBothWays) {
    struct Known {
        SYSTEMTIME time;
        ULONGLONG ticks;
    };
    const Known known[] = {
        {{1601, 1, 1, 1, 0, 0, 0, 0}, 0},                            // Monday
        {{1970, 1, 4, 1, 0, 0, 0, 0}, 116444736000000000ULL},        // Thursday
        {{2000, 2, 2, 29, 12, 0, 0, 500}, 125962992005000000ULL},    // leap day, Tuesday
        {{2010, 6, 2, 15, 8, 37, 4, 0}, 129210646240000000ULL},      // Tuesday
        {{2024, 12, 2, 31, 23, 59, 59, 999}, 133801631999990000ULL}, // Tuesday
    };
    for (const Known& k : known) {
        FILETIME file{};
        ASSERT_TRUE(SystemTimeToFileTime(&k.time, &file));
        EXPECT_EQ(Ticks(file), k.ticks);
        SYSTEMTIME back{};
        ASSERT_TRUE(FileTimeToSystemTime(&file, &back));
        EXPECT_EQ(back.wYear, k.time.wYear);
        EXPECT_EQ(back.wMonth, k.time.wMonth);
        EXPECT_EQ(back.wDay, k.time.wDay);
        EXPECT_EQ(back.wDayOfWeek, k.time.wDayOfWeek);
        EXPECT_EQ(back.wHour, k.time.wHour);
        EXPECT_EQ(back.wMinute, k.time.wMinute);
        EXPECT_EQ(back.wSecond, k.time.wSecond);
        EXPECT_EQ(back.wMilliseconds, k.time.wMilliseconds);
    }
}

// Whether each time is refused, with ERROR_INVALID_PARAMETER.
void ExpectRefused(const SYSTEMTIME& t) {
    SCOPED_TRACE(testing::Message() << t.wYear << "-" << t.wMonth << "-" << t.wDay << " " << t.wHour
                                    << ":" << t.wMinute << "." << t.wMilliseconds);
    FILETIME file{};
    EXPECT_FALSE(SystemTimeToFileTime(&t, &file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SystemTime, InvalidTimesAreRefused) {
    const SYSTEMTIME bad[] = {
        {1600, 12, 0, 31, 0, 0, 0, 0}, {2024, 13, 0, 1, 0, 0, 0, 0}, {2024, 1, 0, 0, 0, 0, 0, 0},
        {2024, 1, 0, 1, 24, 0, 0, 0},  {2024, 1, 0, 1, 0, 60, 0, 0}, {2024, 1, 0, 1, 0, 0, 0, 1000},
    };
    for (const SYSTEMTIME& t : bad) {
        ExpectRefused(t);
    }
    SYSTEMTIME out{};
    FILETIME tooLate = FromTicks(0x8000000000000000ULL);
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &out));
    FILETIME last = FromTicks(0x7FFFFFFFFFFFFFFFULL);
    ASSERT_TRUE(FileTimeToSystemTime(&last, &out));
    EXPECT_EQ(out.wYear, 30828);
}

TEST(SystemTime, TheLeapDayOfACommonYearIsRefused) {
    MOLTR_NOT_UNDER_WINE("Wine takes February 29 of any year");
    ExpectRefused({2023, 2, 0, 29, 0, 0, 0, 0});
    ExpectRefused({1900, 2, 0, 29, 0, 0, 0, 0});
}

TEST(SystemTime, CompareOrdersByTheWholeValue) {
    FILETIME a = FromTicks(0x100000000ULL), b = FromTicks(0xFFFFFFFFULL);
    EXPECT_EQ(CompareFileTime(&a, &b), 1);
    EXPECT_EQ(CompareFileTime(&b, &a), -1);
    EXPECT_EQ(CompareFileTime(&a, &a), 0);
}

TEST(SystemTime, ClocksAgree) {
    FILETIME file{};
    SYSTEMTIME system{};
    GetSystemTimeAsFileTime(&file);
    GetSystemTime(&system);
    FILETIME converted{};
    ASSERT_TRUE(SystemTimeToFileTime(&system, &converted));
    EXPECT_LT(Ticks(converted) - Ticks(file) + 50000000ULL, 100000000ULL); // within 5 s
    SYSTEMTIME local{};
    GetLocalTime(&local);
    EXPECT_GE(local.wYear, 2020);
    // The tick count moves in steps of the system timer, typically 10 to 16 ms, so a 20 ms sleep
    // may read as one step less.
    constexpr ULONGLONG kTimerStepMs = 16;
    ULONGLONG before = GetTickCount64();
    Sleep(20);
    EXPECT_GE(GetTickCount64() - before, 20u - kTimerStepMs);
    // The 32-bit count is read first: read second it may already be ahead of the 64-bit one.
    DWORD shortCount = GetTickCount();
    EXPECT_LT(static_cast<DWORD>(GetTickCount64()) - shortCount, 1000u);
}

} // namespace
