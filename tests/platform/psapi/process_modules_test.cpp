// The main module of another process of the machine: EnumProcessModules, GetModuleBaseNameW and
// GetModuleFileNameExW, with the access they need and the answers for an ended process.
#include "platform/kernel32/machine_program.h"

#include <psapi.h>

namespace {

using moltr::sim::Utf8;
using moltr::test::Child;
using moltr::test::MachineProgramTest;

using ProcessModules = MachineProgramTest;

TEST_F(ProcessModules, AnotherProcessShowsItsMainModuleAsTheMachineNamesIt) {
    const std::string report = HostFile("image.txt");
    Child child("report-image " + report);
    ASSERT_TRUE(child.started());
    Await(report); // it runs
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, child.info().dwProcessId);
    ASSERT_NE(process, nullptr);
    HMODULE modules[2] = {};
    DWORD needed = 0;
    ASSERT_TRUE(EnumProcessModules(process, modules, sizeof(HMODULE), &needed));
    EXPECT_EQ(needed, sizeof(HMODULE));
    EXPECT_NE(modules[0], nullptr);
    WCHAR name[64];
    EXPECT_EQ(GetModuleBaseNameW(process, modules[0], name, 64), 9u);
    EXPECT_EQ(Utf8(name), "CHILD.EXE");
    WCHAR path[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameExW(process, nullptr, path, MAX_PATH), 31u);
    EXPECT_EQ(Utf8(path), "C:\\Program Files\\Test\\CHILD.EXE");
    // Cut to the buffer with its terminator, sentinel untouched.
    WCHAR cut[8];
    cut[6] = cut[7] = L'#';
    EXPECT_EQ(GetModuleBaseNameW(process, nullptr, cut, 6), 5u);
    EXPECT_EQ(Utf8(cut), "CHILD");
    EXPECT_EQ(cut[6], L'#');
    // A module the process does not have.
    SetLastError(0);
    EXPECT_EQ(GetModuleBaseNameW(process, reinterpret_cast<HMODULE>(0x10000), name, 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    std::ofstream(report + ".done") << "";
    EXPECT_EQ(child.Finish(), 0u);
    // The handle outlives the process, whose memory can no longer be read.
    SetLastError(0);
    EXPECT_FALSE(EnumProcessModules(process, modules, sizeof modules, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PARTIAL_COPY));
    EXPECT_EQ(GetModuleBaseNameW(process, nullptr, name, 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PARTIAL_COPY));
    CloseHandle(process);
}

TEST_F(ProcessModules, NeedQueryAndReadAccess) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId());
    ASSERT_NE(process, nullptr);
    HMODULE module = nullptr;
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(EnumProcessModules(process, &module, sizeof module, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    WCHAR name[64];
    EXPECT_EQ(GetModuleFileNameExW(process, nullptr, name, 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(process);
    // The calling process through its pseudo handle: its own executable comes first.
    EXPECT_TRUE(EnumProcessModules(GetCurrentProcess(), &module, sizeof module, &needed));
    EXPECT_EQ(module, GetModuleHandleW(nullptr));
}

} // namespace
