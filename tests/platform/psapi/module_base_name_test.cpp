// GetModuleBaseNameW on the calling process: the file name of the module's path, cut to the buffer,
// and the answers for another process, no buffer and a module that is not loaded.
#include <windows.h>
#include <psapi.h>
#include <this_module.h>

#include "sim/machine.h"
#include "sim/module_registry.h"
#include "sim/utf.h"

#include <gtest/gtest.h>

namespace {

using moltr::sim::Utf8;

class ModuleBaseName : public ::testing::Test {
protected:
    void SetUp() override {
        moltr::sim::SetProcessImagePath(L"C:\\Windows\\System32\\spoolsv.exe");
    }
    void TearDown() override { moltr::sim::SetProcessImagePath(nullptr); }

    moltr::sim::TestMachine machine_;
};

TEST_F(ModuleBaseName, NamesTheProcessImageWithoutItsFolder) {
    WCHAR name[MAX_PATH] = {};
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, name, MAX_PATH), 11u);
    EXPECT_EQ(Utf8(name), "spoolsv.exe");
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), ThisModuleHandle(), name, MAX_PATH), 11u);
    EXPECT_EQ(Utf8(name), "spoolsv.exe");
    moltr::sim::SetProcessImagePath(L"C:\\Program Files\\App\\Writer.EXE");
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, name, MAX_PATH), 10u);
    EXPECT_EQ(Utf8(name), "Writer.EXE");
}

TEST_F(ModuleBaseName, CutsTheNameToTheBufferWithItsTerminator) {
    WCHAR name[16];
    for (WCHAR& c : name) {
        c = L'#';
    }
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, name, 8), 7u);
    EXPECT_EQ(Utf8(name), "spoolsv");
    EXPECT_EQ(name[8], L'#');
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, name, 1), 0u);
    EXPECT_EQ(name[0], 0);
}

TEST_F(ModuleBaseName, FailsForOtherProcessesNoBufferAndUnknownModules) {
    WCHAR name[MAX_PATH];
    SetLastError(0);
    EXPECT_EQ(GetModuleBaseNameW(nullptr, nullptr, name, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(0);
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, nullptr, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetModuleBaseNameW(GetCurrentProcess(), nullptr, name, 0), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    int local = 0;
    EXPECT_EQ(
        GetModuleBaseNameW(GetCurrentProcess(), reinterpret_cast<HMODULE>(&local), name, MAX_PATH),
        0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

} // namespace
