// The environment: names ignoring case, expansion, and the buffer sizes. The Windows folder the
// variables name is the one GetWindowsDirectoryW gives.
#include "sim/machine.h"
#include "sim/utf.h"
#include "windows_run.h"
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

    static std::string WindowsFolder() {
        WCHAR folder[MAX_PATH];
        EXPECT_GT(GetWindowsDirectoryW(folder, MAX_PATH), 0u);
        return Utf8(folder);
    }

    moltr::sim::TestMachine machine;
};

TEST_F(Environment, NamesIgnoreCase) {
    EXPECT_EQ(Expand(L"%systemroot%\\System32\\hhctrl.ocx"),
              WindowsFolder() + "\\System32\\hhctrl.ocx");
    EXPECT_EQ(Expand(L"%WINDIR%"), WindowsFolder());
}

TEST_F(Environment, UnknownVariablesStayAsWritten) {
    EXPECT_EQ(Expand(L"%NoSuchVariable%"), "%NoSuchVariable%");
    EXPECT_EQ(Expand(L"100% sure"), "100% sure");
    EXPECT_EQ(Expand(L"%%"), "%%");
    // An unknown name keeps both its percent signs: the closing one opens no reference.
    EXPECT_EQ(Expand(L"%unknown%windir%"), "%unknown%windir%");
    EXPECT_EQ(Expand(L"%unknown%%windir%"), "%unknown%" + WindowsFolder());
    EXPECT_EQ(Expand(L"%%windir%"), "%%windir%");
}

TEST_F(Environment, ExpansionCountsTheNul) {
    const DWORD needed = static_cast<DWORD>(WindowsFolder().size() + 1);
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", nullptr, 0), needed);
    WCHAR small[MAX_PATH] = {'x', 0};
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", small, needed - 1), needed);
    WCHAR exact[MAX_PATH];
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", exact, needed), needed);
    EXPECT_EQ(Utf8(exact), WindowsFolder());
}

TEST_F(Environment, ExpansionLeavesABufferTooSmallAlone) {
    MOLTR_SIMULATION_ONLY("Windows leaves what a too small buffer holds undefined");
    const DWORD needed = static_cast<DWORD>(WindowsFolder().size() + 1);
    WCHAR small[MAX_PATH] = {'x', 0};
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%windir%", small, needed - 1), needed);
    EXPECT_EQ(small[0], 'x');
}

TEST_F(Environment, GetFollowsTheCopyOutProtocol) {
    const DWORD length = static_cast<DWORD>(WindowsFolder().size());
    WCHAR buffer[MAX_PATH];
    EXPECT_EQ(GetEnvironmentVariableW(L"WINDIR", buffer, MAX_PATH), length);
    EXPECT_EQ(Utf8(buffer), WindowsFolder());
    EXPECT_EQ(GetEnvironmentVariableW(L"windir", buffer, length), length + 1);
    EXPECT_EQ(GetEnvironmentVariableW(L"Missing", buffer, MAX_PATH), 0u);
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
    // Only the last error tells an empty value from a missing one, once the caller has cleared it.
    WCHAR buffer[8] = {'x', 0};
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetEnvironmentVariableW(L"Blank", buffer, 8), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(Expand(L"[%Blank%]"), "[]");
}

} // namespace
