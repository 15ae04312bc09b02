// CreateProcessW of a machine program, process handles, exit codes and the machine's process list,
// with real host processes sharing one machine.
#include "platform/kernel32/machine_program.h"

#include "sim/module_registry.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

namespace {

using moltr::sim::Utf8;
using moltr::test::Child;
using moltr::test::kChildPatience;
using moltr::test::MachineProgramTest;

using Processes = MachineProgramTest;

std::vector<DWORD> RunningIds() {
    std::vector<DWORD> ids(1024);
    DWORD bytes = 0;
    EXPECT_TRUE(EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes));
    ids.resize(bytes / sizeof(DWORD));
    return ids;
}

bool Lists(const std::vector<DWORD>& ids, DWORD id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST_F(Processes, AStartedProgramRunsOnTheSameMachineUnderItsMachinePath) {
    const std::string report = HostFile("image.txt");
    Child child("report-image " + report);
    ASSERT_TRUE(child.started()) << GetLastError();
    EXPECT_NE(child.info().dwProcessId, 0u);
    EXPECT_EQ(child.info().dwThreadId, child.info().dwProcessId);
    EXPECT_EQ(Await(report), "C:\\Program Files\\Test\\CHILD.EXE");
    EXPECT_TRUE(Lists(RunningIds(), child.info().dwProcessId));
    EXPECT_EQ(GetProcessId(child.info().hProcess), child.info().dwProcessId);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(child.info().hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);

    std::ofstream(report + ".done") << "";
    EXPECT_EQ(child.Finish(), 0u);
    EXPECT_EQ(WaitForSingleObject(child.info().hThread, 0), WAIT_OBJECT_0);
    EXPECT_FALSE(Lists(RunningIds(), child.info().dwProcessId));
    const auto listed = moltr::sim::ListProcesses();
    auto record = std::find_if(listed.begin(), listed.end(),
                               [&](const auto& p) { return p.id == child.info().dwProcessId; });
    ASSERT_NE(record, listed.end());
    EXPECT_FALSE(record->running);
    EXPECT_EQ(Utf8(record->name), "CHILD.EXE");
}

TEST_F(Processes, ExitCodesReachEveryHandle) {
    Child five("exit 5");
    Child wide("exit-process 300"); // beyond what a host exit status holds
    ASSERT_TRUE(five.started() && wide.started());
    EXPECT_EQ(five.Finish(), 5u);
    EXPECT_EQ(wide.Finish(), 300u);

    Child waiting("wait-file " + HostFile("never"));
    HANDLE opened = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE,
                                waiting.info().dwProcessId);
    ASSERT_NE(opened, nullptr);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE both[] = {event, opened};
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(TerminateProcess(opened, 77));
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, kChildPatience), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(waiting.Finish(), 77u);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(opened, &code));
    EXPECT_EQ(code, 77u);
    CloseHandle(event);
    CloseHandle(opened);
}

TEST_F(Processes, CreateProcessFailureAnswers) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    auto fails = [&](const WCHAR* name, LPCWSTR folder, LPSTARTUPINFOW s) {
        SetLastError(0);
        EXPECT_FALSE(CreateProcessW(name, nullptr, nullptr, nullptr, FALSE, DETACHED_PROCESS,
                                    nullptr, folder, s, &info));
        return GetLastError();
    };
    EXPECT_EQ(fails(L"C:\\Program Files\\Test\\MISSING.EXE", nullptr, &startup),
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(fails(L"C:\\No Such Folder\\CHILD.EXE", nullptr, &startup),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    std::ofstream(machine_.root() + "/c/Program Files/Test/README.TXT") << "text";
    EXPECT_EQ(fails(L"C:\\Program Files\\Test\\README.TXT", nullptr, &startup),
              static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    EXPECT_EQ(fails(kProgram, L"C:\\No Such Folder", &startup),
              static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_EQ(fails(kProgram, nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(fails(nullptr, nullptr, &startup), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // Nothing was written into the answer.
    EXPECT_EQ(info.hProcess, nullptr);
    EXPECT_EQ(info.dwProcessId, 0u);
}

TEST_F(Processes, OpenProcessFailureAnswers) {
    SetLastError(0);
    EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0x7FFFFFF0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    Child ended("exit 0");
    ASSERT_TRUE(ended.started());
    ended.Finish();
    SetLastError(0);
    EXPECT_EQ(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, ended.info().dwProcessId), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // A handle without query access does not read the exit code.
    HANDLE self = OpenProcess(SYNCHRONIZE, FALSE, GetCurrentProcessId());
    ASSERT_NE(self, nullptr);
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeProcess(self, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(TerminateProcess(self, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(self);
    EXPECT_FALSE(GetExitCodeProcess(self, &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Processes, EnumProcessesLeadsWithTheIdleProcessAndCountsBytesWritten) {
    const std::vector<DWORD> ids = RunningIds();
    ASSERT_GE(ids.size(), 2u);
    EXPECT_EQ(ids.front(), 0u);
    EXPECT_TRUE(Lists(ids, GetCurrentProcessId()));
    DWORD few[1] = {0xEEEEEEEE};
    DWORD bytes = 0;
    EXPECT_TRUE(EnumProcesses(few, sizeof few, &bytes));
    EXPECT_EQ(bytes, sizeof few); // equal to the buffer: the caller asks again with more room
    EXPECT_EQ(few[0], 0u);
    EXPECT_TRUE(EnumProcesses(nullptr, 0, &bytes));
    EXPECT_EQ(bytes, 0u);
    SetLastError(0);
    EXPECT_FALSE(EnumProcesses(few, sizeof few, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOACCESS));
}

TEST_F(Processes, TheMachineSeesTheImageAProcessTakesOn) {
    moltr::sim::SetProcessImagePath(L"C:\\Windows\\System32\\spoolsv.exe");
    const auto listed = moltr::sim::ListProcesses();
    moltr::sim::SetProcessImagePath(nullptr);
    auto self = std::find_if(listed.begin(), listed.end(),
                             [](const auto& p) { return p.id == GetCurrentProcessId(); });
    ASSERT_NE(self, listed.end());
    EXPECT_TRUE(self->running);
    EXPECT_EQ(Utf8(self->name), "spoolsv.exe");
    EXPECT_EQ(Utf8(self->path), "C:\\Windows\\System32\\spoolsv.exe");
}

} // namespace
