// The desktop across processes: another process's main window found with EnumWindows, its owner,
// its states read and changed, its record gone with its process; shared input queues.
#include "platform/kernel32/machine_program.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using moltr::test::Child;
using moltr::test::MachineProgramTest;

struct Search {
    DWORD process;
    HWND found;
};

HWND WindowOfProcess(DWORD process) {
    Search search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == wanted->process) {
                wanted->found = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class Desktop : public MachineProgramTest {};

TEST_F(Desktop, AnotherProcessWindowIsFoundAndDisabledUntilItEnds) {
    const std::string report = HostFile("window");
    Child child("window " + report);
    ASSERT_TRUE(child.started());
    const DWORD thread = std::stoul(Await(report));

    HWND window = WindowOfProcess(child.info().dwProcessId);
    ASSERT_NE(window, nullptr);
    DWORD process = 0;
    EXPECT_EQ(GetWindowThreadProcessId(window, &process), thread);
    EXPECT_EQ(process, child.info().dwProcessId);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE, 0);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongW(window, GWL_STYLE, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // EnableWindow answers whether the window was disabled before.
    EXPECT_FALSE(EnableWindow(window, FALSE));
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_TRUE(EnableWindow(window, FALSE));
    std::ofstream(report + ".done") << "";
    EXPECT_EQ(Await(report + ".state"), "0"); // the owner sees its window disabled
    EXPECT_EQ(child.Finish(), 0u);

    EXPECT_EQ(WindowOfProcess(child.info().dwProcessId), nullptr);
    EXPECT_FALSE(IsWindow(window));
    SetLastError(0);
    EXPECT_EQ(GetWindowThreadProcessId(window, &process), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(EnableWindow(window, TRUE));
}

TEST_F(Desktop, OwnWindowsAreListedWithTheirThread) {
    HWND window = CreateWindowExW(0, L"Static", L"Main", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowOfProcess(GetCurrentProcessId()), window);
    DWORD process = 0;
    EXPECT_EQ(GetWindowThreadProcessId(window, &process), GetCurrentThreadId());
    EXPECT_EQ(process, GetCurrentProcessId());
    EXPECT_FALSE(IsWindowVisible(window));
    SetLastError(0);
    EXPECT_FALSE(EnumWindows(nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // A callback that stops the enumeration makes it answer FALSE.
    EXPECT_FALSE(EnumWindows([](HWND, LPARAM) -> BOOL { return FALSE; }, 0));
    DestroyWindow(window);
    EXPECT_EQ(WindowOfProcess(GetCurrentProcessId()), nullptr);
}

TEST_F(Desktop, AttachThreadInputRefusesWhatCannotBeJoined) {
    const DWORD self = GetCurrentThreadId();
    SetLastError(0);
    EXPECT_FALSE(AttachThreadInput(self, self, TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(AttachThreadInput(0, self, TRUE));
    EXPECT_FALSE(AttachThreadInput(self, self + 1, FALSE)); // not attached
    EXPECT_TRUE(AttachThreadInput(self, self + 1, TRUE));
    EXPECT_FALSE(AttachThreadInput(self, self + 2, FALSE)); // attached to another one
    EXPECT_TRUE(AttachThreadInput(self, self + 1, FALSE));
}

TEST_F(Desktop, SetActiveWindowAnswersThePreviousOne) {
    HWND first = CreateWindowExW(0, L"Static", L"1", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND second = CreateWindowExW(0, L"Static", L"2", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                  nullptr, nullptr, nullptr);
    SetActiveWindow(first);
    EXPECT_EQ(SetActiveWindow(second), first);
    EXPECT_EQ(SetActiveWindow(first), second);
    SetLastError(0);
    EXPECT_EQ(SetActiveWindow(reinterpret_cast<HWND>(0x7777)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    DestroyWindow(first);
    DestroyWindow(second);
}

} // namespace
