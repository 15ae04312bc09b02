// The variables a session of the simulated machine starts with, from the machine's configuration.
#include "sim/machine.h"
#include "sim/utf.h"
#include <gtest/gtest.h>
#include <windows.h>

using moltr::sim::Utf8;

namespace {

std::string Expand(const WCHAR* text) {
    WCHAR buffer[512];
    EXPECT_GT(ExpandEnvironmentStringsW(text, buffer, 512), 0u);
    return Utf8(buffer);
}

TEST(EnvironmentSession, VariablesDescribeTheMachine) {
    moltr::sim::MachineConfig config;
    config.userName = "anna";
    config.computerName = "PRINTHOST";
    moltr::sim::TestMachine machine(config);
    EXPECT_EQ(Expand(L"%SystemRoot%|%windir%|%SystemDrive%"), "C:\\Windows|C:\\Windows|C:");
    EXPECT_EQ(Expand(L"%TEMP%|%TMP%"),
              "C:\\Users\\anna\\AppData\\Local\\Temp|C:\\Users\\anna\\AppData\\Local\\Temp");
    EXPECT_EQ(Expand(L"%USERPROFILE%|%ProgramFiles%"), "C:\\Users\\anna|C:\\Program Files");
    EXPECT_EQ(Expand(L"%ComputerName%|%UserName%"), "PRINTHOST|anna");
}

} // namespace
