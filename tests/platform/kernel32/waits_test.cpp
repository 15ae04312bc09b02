// Threads, events and the wait functions: exit codes, suspended starts, manual and auto reset,
// wait-any and wait-all, time-outs and the failure answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

namespace {

constexpr DWORD kGenerous = 20000; // never reached on a sound run; keeps a broken one from hanging

DWORD WINAPI ReturnParameter(LPVOID parameter) {
    return static_cast<DWORD>(reinterpret_cast<uintptr_t>(parameter));
}

DWORD WINAPI WaitThenReturn(LPVOID parameter) {
    return WaitForSingleObject(static_cast<HANDLE>(parameter), kGenerous) == WAIT_OBJECT_0 ? 7 : 8;
}

DWORD WINAPI CallExitThread(LPVOID) {
    ExitThread(33);
}

DWORD WINAPI RecordThreadId(LPVOID parameter) {
    static_cast<std::atomic<DWORD>*>(parameter)->store(GetCurrentThreadId());
    return 0;
}

TEST(Threads, KeepTheirExitCodeAndSignalTheirHandle) {
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ReturnParameter, reinterpret_cast<LPVOID>(42), 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    ASSERT_EQ(WaitForSingleObject(thread, kGenerous), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    // A thread stays signalled: every later wait succeeds at once.
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(GetThreadId(thread), id);
    EXPECT_TRUE(CloseHandle(thread));

    HANDLE exiting = CreateThread(nullptr, 0, CallExitThread, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(exiting, kGenerous), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(exiting, &code));
    EXPECT_EQ(code, 33u);
    CloseHandle(exiting);
}

TEST(Threads, RunningOnesAnswerStillActiveAndSuspendedOnesWaitForResume) {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, go, 0, nullptr);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(go);
    ASSERT_EQ(WaitForSingleObject(thread, kGenerous), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(thread);

    std::atomic<DWORD> ran{0};
    DWORD id = 0;
    HANDLE suspended = CreateThread(nullptr, 0, RecordThreadId, &ran, CREATE_SUSPENDED, &id);
    EXPECT_EQ(WaitForSingleObject(suspended, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(ran.load(), 0u);
    EXPECT_EQ(ResumeThread(suspended), 1u);
    ASSERT_EQ(WaitForSingleObject(suspended, kGenerous), WAIT_OBJECT_0);
    EXPECT_EQ(ran.load(), id);
    EXPECT_EQ(ResumeThread(suspended), 0u);
    CloseHandle(suspended);
    CloseHandle(go);
}

TEST(Threads, FailureAnswers) {
    SetLastError(0);
    EXPECT_EQ(CreateThread(nullptr, 0, nullptr, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    DWORD code = 0;
    EXPECT_FALSE(GetExitCodeThread(reinterpret_cast<HANDLE>(0x7770), &code));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_FALSE(GetExitCodeThread(event, &code)); // not a thread
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(ResumeThread(event), static_cast<DWORD>(-1));
    CloseHandle(event);
}

TEST(Events, ManualResetStaysSignalledUntilReset) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 10), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(event));
    EXPECT_FALSE(SetEvent(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ResetEvent(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Events, AutoResetReleasesOneWaitPerSignal) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(event);
    SetEvent(event); // signals do not add up
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    // A signal set from another thread wakes the waiter.
    HANDLE thread = CreateThread(
        nullptr, 0, [](LPVOID e) -> DWORD { return SetEvent(static_cast<HANDLE>(e)) ? 0 : 1; },
        event, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, kGenerous), WAIT_OBJECT_0);
    WaitForSingleObject(thread, kGenerous);
    CloseHandle(thread);
    CloseHandle(event);
}

TEST(Events, NamedOnesAreRefused) {
    SetLastError(0);
    EXPECT_EQ(CreateEventW(nullptr, TRUE, FALSE, L"Global\\Shared"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST(Waits, AnyAnswersTheFirstSignalledIndex) {
    HANDLE events[3];
    for (HANDLE& event : events) {
        event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    }
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 10), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(events[2]);
    SetEvent(events[1]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    // Only the reported auto-reset event was taken.
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 2);
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    for (HANDLE event : events) {
        CloseHandle(event);
    }
}

TEST(Waits, AllTakesNothingUntilEveryObjectIsSignalled) {
    HANDLE manual = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE automatic = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    HANDLE thread = CreateThread(nullptr, 0, WaitThenReturn, manual, 0, nullptr);
    const HANDLE both[] = {automatic, thread};
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10), static_cast<DWORD>(WAIT_TIMEOUT));
    // The auto-reset event was not taken by the failed wait.
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
    SetEvent(automatic);
    SetEvent(manual); // the thread ends
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, kGenerous), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(thread);
    CloseHandle(automatic);
    CloseHandle(manual);
}

TEST(Waits, FailureAnswers) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    const HANDLE twice[] = {event, event};
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(WaitForMultipleObjects(0, twice, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HANDLE many[MAXIMUM_WAIT_OBJECTS + 1] = {};
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, many, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    const HANDLE withBad[] = {event, reinterpret_cast<HANDLE>(0x7774)};
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(2, withBad, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    CloseHandle(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED); // closed
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // The calling process never ends while it waits for itself.
    EXPECT_EQ(WaitForSingleObject(GetCurrentProcess(), 10), static_cast<DWORD>(WAIT_TIMEOUT));
}

} // namespace
