// The name of the process image on the simulated machine: the host file of this program, or the
// path a test sets in its place.
#include "sim/machine.h"
#include "sim/module_registry.h"
#include "sim/utf.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <filesystem>
#include <string>

namespace {

using moltr::sim::Utf8;

class ModuleImagePath : public ::testing::Test {
protected:
    void TearDown() override { moltr::sim::SetProcessImagePath(nullptr); }

    moltr::sim::TestMachine machine_;
};

TEST_F(ModuleImagePath, IsTheHostProgramUnlessSet) {
    WCHAR path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::u16string expected =
        moltr::sim::WindowsPath(std::filesystem::canonical("/proc/self/exe").string());
    EXPECT_EQ(Utf8(path, length), Utf8(expected));

    moltr::sim::SetProcessImagePath(L"C:\\Windows\\System32\\spoolsv.exe");
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, MAX_PATH), 31u);
    EXPECT_EQ(Utf8(path), "C:\\Windows\\System32\\spoolsv.exe");
    EXPECT_EQ(GetModuleHandleW(L"SPOOLSV.EXE"), ThisModuleHandle());
    EXPECT_EQ(GetModuleHandleW(L"C:\\windows\\system32\\SpoolSv.exe"), ThisModuleHandle());
}

TEST_F(ModuleImagePath, AnEmptyBufferTakesNothing) {
    moltr::sim::SetProcessImagePath(L"C:\\Windows\\System32\\spoolsv.exe");
    WCHAR path[4] = {'x', 0};
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, 0), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(path[0], 'x');
}

} // namespace
