// Clocks and the FILETIME and SYSTEMTIME conversions.
#include <gtest/gtest.h>
#include <windows.h>
#include "sim/machine.h"
#include <vector>
#include "sim/sleep_admin.h"

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

TEST(SystemTime, InvalidTimesAreRefused) {
    FILETIME file{};
    const SYSTEMTIME bad[] = {
        {1600, 12, 0, 31, 0, 0, 0, 0}, {2023, 2, 0, 29, 0, 0, 0, 0},   {1900, 2, 0, 29, 0, 0, 0, 0},
        {2024, 13, 0, 1, 0, 0, 0, 0},  {2024, 1, 0, 0, 0, 0, 0, 0},    {2024, 1, 0, 1, 24, 0, 0, 0},
        {2024, 1, 0, 1, 0, 60, 0, 0},  {2024, 1, 0, 1, 0, 0, 0, 1000},
    };
    for (const SYSTEMTIME& t : bad) {
        EXPECT_FALSE(SystemTimeToFileTime(&t, &file));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    SYSTEMTIME out{};
    FILETIME tooLate = FromTicks(0x8000000000000000ULL);
    EXPECT_FALSE(FileTimeToSystemTime(&tooLate, &out));
    FILETIME last = FromTicks(0x7FFFFFFFFFFFFFFFULL);
    ASSERT_TRUE(FileTimeToSystemTime(&last, &out));
    EXPECT_EQ(out.wYear, 30828);
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
    ULONGLONG before = GetTickCount64();
    Sleep(20);
    EXPECT_GE(GetTickCount64() - before, 20u);
    // The 32-bit count is read first: read second it may already be ahead of the 64-bit one.
    DWORD shortCount = GetTickCount();
    EXPECT_LT(static_cast<DWORD>(GetTickCount64()) - shortCount, 1000u);
}

TEST(SystemTime, ASetClockIsFrozenAndTheTimeZoneBiasMakesLocalTime) {
    moltr::sim::TestMachine machine;
    moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
    // 2024-12-31 23:59:59.999 UTC, nine hours ahead of UTC (bias -540).
    config.clock = 133801631999990000ULL;
    config.timeZoneBias = -540;
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    TIME_ZONE_INFORMATION zone;
    zone.Bias = 1;
    EXPECT_EQ(GetTimeZoneInformation(&zone), static_cast<DWORD>(TIME_ZONE_ID_UNKNOWN));
    EXPECT_EQ(zone.Bias, -540);
    SYSTEMTIME system{}, again{}, local{};
    GetSystemTime(&system);
    Sleep(5);
    GetSystemTime(&again);
    EXPECT_EQ(system.wYear, 2024);
    EXPECT_EQ(system.wHour, 23);
    EXPECT_EQ(again.wMilliseconds, 999);
    GetLocalTime(&local);
    EXPECT_EQ(local.wYear, 2025);
    EXPECT_EQ(local.wMonth, 1);
    EXPECT_EQ(local.wDay, 1);
    EXPECT_EQ(local.wHour, 8);
    EXPECT_EQ(local.wMilliseconds, 999);
    // Five hours behind UTC.
    config.timeZoneBias = 300;
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    GetLocalTime(&local);
    EXPECT_EQ(local.wDay, 31);
    EXPECT_EQ(local.wHour, 18);
    EXPECT_EQ(GetTimeZoneInformation(nullptr), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// File times come from the host's file system, so the file-time clock they are compared with keeps
// running; so do tick counts and waits.
TEST(SystemTime, AFrozenClockLeavesFileTimesTicksAndWaitsRunning) {
    moltr::sim::TestMachine machine;
    moltr::sim::MachineConfig config = moltr::sim::CurrentConfig();
    config.clock = 133801631999990000ULL;
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    FILETIME before{}, after{};
    GetSystemTimeAsFileTime(&before);
    ULONGLONG ticks = GetTickCount64();
    Sleep(20);
    GetSystemTimeAsFileTime(&after);
    EXPECT_GE(GetTickCount64() - ticks, 20u);
    EXPECT_GE(Ticks(after) - Ticks(before), 200000u);
    EXPECT_GT(Ticks(before), config.clock); // the host's time, not the frozen one
    // Set back to the host's clock, the system time runs again.
    config.clock = 0;
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    SYSTEMTIME first{}, second{};
    GetSystemTime(&first);
    Sleep(20);
    GetSystemTime(&second);
    FILETIME a{}, b{};
    ASSERT_TRUE(SystemTimeToFileTime(&first, &a));
    ASSERT_TRUE(SystemTimeToFileTime(&second, &b));
    EXPECT_GE(Ticks(b) - Ticks(a), 200000u);
    EXPECT_GT(Ticks(a), 133801631999990000ULL);
}

TEST(SystemTime, ATestCanTakeSleepOver) {
    std::vector<DWORD> asked;
    ULONGLONG before = GetTickCount64();
    {
        moltr::sim::SleepOverride takeover(
            [&](DWORD milliseconds) { asked.push_back(milliseconds); });
        Sleep(60000);
        Sleep(250);
        Sleep(0); // a yield, not a pause
    }
    EXPECT_LT(GetTickCount64() - before, 30000u);
    EXPECT_EQ(asked, (std::vector<DWORD>{60000, 250}));
    // Sleep blocks again once the override is gone.
    before = GetTickCount64();
    Sleep(20);
    EXPECT_GE(GetTickCount64() - before, 20u);
    EXPECT_EQ(asked.size(), 2u);
}

} // namespace
