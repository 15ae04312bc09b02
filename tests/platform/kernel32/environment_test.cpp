// The environment: the session's variables, names ignoring case, expansion, and the buffer sizes.
#include "sim/machine.h"
#include "sim/utf.h"
#include <gtest/gtest.h>
#include <windows.h>

using moltr::sim::Utf8;

namespace {

class Environment : public ::testing::Test {
protected:
    std::string Expand(const WCHAR* text) {
        WCHAR buffer[512];
        DWORD size = ExpandEnvironmentStringsW(text, buffer, 512);
        EXPECT_GT(size, 0u);
        return Utf8(buffer);
    }

    moltr::sim::TestMachine machine{[] {
        moltr::sim::MachineConfig config;
        config.userName = "anna";
        config.computerName = "PRINTHOST";
        return config;
    }()};
};

TEST_F(Environment, SessionVariablesDescribeTheMachine) {
    EXPECT_EQ(Expand(L"%SystemRoot%|%windir%|%SystemDrive%"), "C:\\Windows|C:\\Windows|C:");
    EXPECT_EQ(Expand(L"%TEMP%|%TMP%"),
              "C:\\Users\\anna\\AppData\\Local\\Temp|C:\\Users\\anna\\AppData\\Local\\Temp");
    EXPECT_EQ(Expand(L"%USERPROFILE%|%ProgramFiles%"), "C:\\Users\\anna|C:\\Program Files");
    EXPECT_EQ(Expand(L"%ComputerName%|%UserName%"), "PRINTHOST|anna");
}

TEST_F(Environment, NamesIgnoreCase) {
    EXPECT_EQ(Expand(L"%systemroot%\\System32\\hhctrl.ocx"), "C:\\Windows\\System32\\hhctrl.ocx");
}

TEST_F(Environment, UnknownVariablesStayAsWritten) {
    EXPECT_EQ(Expand(L"%NoSuchVariable%"), "%NoSuchVariable%");
    EXPECT_EQ(Expand(L"100% sure"), "100% sure");
    EXPECT_EQ(Expand(L"%%"), "%%");
    // The percent sign closing an unknown name may open the next reference.
    EXPECT_EQ(Expand(L"%unknown%windir%"), "%unknownC:\\Windows");
}

TEST_F(Environment, ExpansionCountsTheNulAndLeavesSmallBuffersAlone) {
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", nullptr, 0), 11u);
    WCHAR small[10] = {'x', 0};
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", small, 10), 11u);
    EXPECT_EQ(small[0], 'x');
    WCHAR exact[11];
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", exact, 11), 11u);
    EXPECT_EQ(Utf8(exact), "C:\\Windows");
}

TEST_F(Environment, GetFollowsTheCopyOutProtocol) {
    WCHAR buffer[64];
    EXPECT_EQ(GetEnvironmentVariableW(L"WINDIR", buffer, 64), 10u);
    EXPECT_EQ(Utf8(buffer), "C:\\Windows");
    EXPECT_EQ(GetEnvironmentVariableW(L"windir", buffer, 10), 11u);
    EXPECT_EQ(GetEnvironmentVariableW(L"Missing", buffer, 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
}

TEST_F(Environment, SetChangesAndRemovesVariablesOfThisProcess) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"MoltrSetting", L"on"));
    EXPECT_EQ(Expand(L"[%MOLTRSETTING%]"), "[on]");
    ASSERT_TRUE(SetEnvironmentVariableW(L"moltrsetting", L"off"));
    EXPECT_EQ(Expand(L"[%MoltrSetting%]"), "[off]");
    ASSERT_TRUE(SetEnvironmentVariableW(L"MoltrSetting", nullptr));
    EXPECT_EQ(Expand(L"[%MoltrSetting%]"), "[%MoltrSetting%]");
    EXPECT_FALSE(SetEnvironmentVariableW(L"A=B", L"x"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SetEnvironmentVariableW(L"", L"x"));
}

TEST_F(Environment, EmptyValuesAreFoundButEmpty) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"Blank", L""));
    WCHAR buffer[8] = {'x', 0};
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_EQ(GetEnvironmentVariableW(L"Blank", buffer, 8), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(Expand(L"[%Blank%]"), "[]");
}

} // namespace
