// The simulated machine's clock: a clock and time zone set in its configuration, and a test that
// takes Sleep over.
#include "sim/machine.h"
#include "sim/sleep_admin.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace {

ULONGLONG Ticks(const FILETIME& t) {
    return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

TEST(SystemClock, ASetClockIsFrozenAndTheTimeZoneBiasMakesLocalTime) {
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
TEST(SystemClock, AFrozenClockLeavesFileTimesTicksAndWaitsRunning) {
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

TEST(SystemClock, ATestCanTakeSleepOver) {
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
