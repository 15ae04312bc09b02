// `moltr machine`: the machine's clock, time zone, locale and ANSI code page, set by the command
// and seen by the machine's other processes, and bad values refused with nothing changed.
#include <gtest/gtest.h>
#include <windows.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include "moltr_run.h"
#include "sim/machine.h"

namespace moltr::test {
namespace {

// 2024-12-31 23:59:59.999 UTC as FILETIME ticks.
constexpr ULONGLONG kLastMillisecondOf2024 = 133801631999990000ULL;

std::string MachineFile(const sim::TestMachine& machine) {
    std::ifstream in(std::filesystem::path(machine.root()) / "machine.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(MachineCommand, ShowsTheMachineWithItsRunningClock) {
    sim::TestMachine machine;
    MoltrRun run = Moltr("machine");
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Contains(run.output, "root: " + machine.root() + "\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "\nsystem locale: 1033\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "\nansi code page: 1252\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "\ntime zone bias: 0 minutes\n")) << run.output;
    EXPECT_TRUE(Contains(run.output, "\nclock: the host's, running\n")) << run.output;
    run = Moltr("machine --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Contains(run.output, "\"systemLocale\": 1033, \"ansiCodePage\": 1252, "
                                     "\"timeZoneBias\": 0, \"clock\": \"now\"}\n"))
        << run.output;
}

TEST(MachineCommand, SetsEverythingAtOnceForEveryProcessOfTheMachine) {
    sim::TestMachine machine;
    MoltrRun run = Moltr("machine --clock 2024-12-31T23:59:59.999 --tz-bias -540 --locale 0x407 "
                         "--code-page 1250");
    ASSERT_EQ(run.status, 0);
    EXPECT_TRUE(Contains(run.output, "\nsystem locale: 1031\nansi code page: 1250\n"
                                     "time zone bias: -540 minutes\n"
                                     "clock: 2024-12-31T23:59:59.999 UTC, frozen\n"))
        << run.output;
    // This process is another one of the machine.
    EXPECT_EQ(GetSystemDefaultLCID(), 1031u);
    EXPECT_EQ(GetACP(), 1250u);
    TIME_ZONE_INFORMATION zone{};
    GetTimeZoneInformation(&zone);
    EXPECT_EQ(zone.Bias, -540);
    SYSTEMTIME utc{}, local{};
    GetSystemTime(&utc);
    GetLocalTime(&local);
    EXPECT_EQ(utc.wYear, 2024);
    EXPECT_EQ(utc.wMilliseconds, 999);
    // Nine hours ahead of UTC: already the new year.
    EXPECT_EQ(local.wYear, 2025);
    EXPECT_EQ(local.wHour, 8);
    EXPECT_EQ(local.wMinute, 59);
    run = Moltr("machine --json");
    EXPECT_TRUE(Contains(run.output, "\"systemLocale\": 1031, \"ansiCodePage\": 1250, "
                                     "\"timeZoneBias\": -540, "
                                     "\"clock\": \"2024-12-31T23:59:59.999\"}\n"))
        << run.output;
}

TEST(MachineCommand, NowRunsTheHostsClockAgainAndKeepsTheRest) {
    sim::TestMachine machine;
    ASSERT_EQ(Moltr("machine --clock=2000-02-29T12:00:00.500 --tz-bias=300").status, 0);
    EXPECT_EQ(sim::CurrentConfig().clock, 125962992005000000ULL);
    SYSTEMTIME local{};
    GetLocalTime(&local);
    EXPECT_EQ(local.wDay, 29);
    EXPECT_EQ(local.wHour, 7);
    ASSERT_EQ(Moltr("machine --clock now").status, 0);
    EXPECT_EQ(sim::CurrentConfig().clock, 0u);
    EXPECT_EQ(sim::CurrentConfig().timeZoneBias, 300);
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    EXPECT_GE(utc.wYear, 2025);
}

TEST(MachineCommand, TheBiasLimitsAreTheWorldsZones) {
    sim::TestMachine machine;
    EXPECT_EQ(Moltr("machine --tz-bias -720").status, 0);
    EXPECT_EQ(sim::CurrentConfig().timeZoneBias, -720);
    EXPECT_EQ(Moltr("machine --tz-bias 840").status, 0);
    EXPECT_EQ(sim::CurrentConfig().timeZoneBias, 840);
}

TEST(MachineCommand, BadValuesChangeNothing) {
    sim::TestMachine machine;
    sim::MachineConfig config = sim::CurrentConfig();
    config.clock = kLastMillisecondOf2024;
    ASSERT_TRUE(sim::UpdateConfig(config));
    const std::string before = MachineFile(machine);
    const char* bad[] = {
        "--clock 2024-13-01T00:00:00.000", // month 13
        "--clock 2023-02-29T00:00:00.000", // not a leap year
        "--clock 2024-01-01T24:00:00.000", // hour 24
        "--clock 2024-1-01T00:00:00.000",  // a digit short
        "--clock 2024-01-01 00:00:00.000", // no T
        "--clock 2024-01-01T00:00:00",     // no milliseconds
        "--clock 1601-01-01T00:00:00.000", // would read as the host's clock
        "--clock yesterday",
        "--tz-bias 841",
        "--tz-bias -721",
        "--tz-bias 60m",
        "--tz-bias ''",
        "--locale 9999",
        "--locale 1041", // a locale whose code page the machine lacks
        "--locale -1033",
        "--code-page 437", // the OEM page, no ANSI one
        "--code-page 65001",
        "--code-page 1254", // an ANSI page the machine lacks
        "--code-page 0",
        "--clock",                                      // no value
        "--tz-bias 60 --tz-bias 120",                   // given twice
        "--tz-bias 60 --clock 2024-02-30T00:00:00.000", // one bad value stops all
        "--colour red",
    };
    for (const char* arguments : bad) {
        MoltrRun run = Moltr(std::string("machine ") + arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output, "") << arguments;
        EXPECT_EQ(MachineFile(machine), before) << arguments;
    }
}

TEST(MachineCommand, ErrorsAreOneLine) {
    sim::TestMachine machine;
    const std::string moltr =
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "moltr").string();
    FILE* pipe = popen((moltr + " machine --locale 9999 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512] = {};
    const size_t read = fread(buffer, 1, sizeof buffer - 1, pipe);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 2);
    EXPECT_EQ(std::string(buffer, read), "moltr: --locale: the machine knows no locale '9999'\n");
}

} // namespace
} // namespace moltr::test
