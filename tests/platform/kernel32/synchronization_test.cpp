// Interlocked operations and critical sections, including their use from several threads.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

TEST(Interlocked, ResultsAreAsDocumented) {
    LONG volatile value = 5;
    EXPECT_EQ(InterlockedIncrement(&value), 6);
    EXPECT_EQ(InterlockedDecrement(&value), 5);
    EXPECT_EQ(InterlockedExchange(&value, 9), 5);
    EXPECT_EQ(InterlockedExchangeAdd(&value, 3), 9);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 99), 12); // no match: unchanged
    EXPECT_EQ(value, 12);
    EXPECT_EQ(InterlockedCompareExchange(&value, 1, 12), 12);
    EXPECT_EQ(value, 1);
    int a = 0, b = 0;
    PVOID volatile pointer = &a;
    EXPECT_EQ(InterlockedExchangePointer(&pointer, &b), &a);
    EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &a), &b);
    EXPECT_EQ(pointer, &b);
    EXPECT_EQ(InterlockedCompareExchangePointer(&pointer, &a, &b), &b);
    EXPECT_EQ(pointer, &a);
}

TEST(Interlocked, CountsFromManyThreadsAddUp) {
    LONG volatile count = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                InterlockedIncrement(&count);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(count, 40000);
}

// The x64 layout.
static_assert(sizeof(CRITICAL_SECTION) == 40);
static_assert(offsetof(CRITICAL_SECTION, LockCount) == 8);
static_assert(offsetof(CRITICAL_SECTION, SpinCount) == 32);

TEST(CriticalSections, AreRecursiveForTheirOwner) {
    CRITICAL_SECTION section;
    ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&section, 4000));
    EnterCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    EXPECT_EQ(section.RecursionCount, 2);
    bool other = true;
    std::thread([&] { other = TryEnterCriticalSection(&section); }).join();
    EXPECT_FALSE(other);
    LeaveCriticalSection(&section);
    LeaveCriticalSection(&section);
    EXPECT_EQ(section.RecursionCount, 0);
    std::thread([&] {
        other = TryEnterCriticalSection(&section);
        if (other) {
            LeaveCriticalSection(&section);
        }
    }).join();
    EXPECT_TRUE(other);
    DeleteCriticalSection(&section);
}

TEST(CriticalSections, ExcludeOtherThreads) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    long long total = 0; // unguarded but for the section
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                EnterCriticalSection(&section);
                total = total + 1;
                LeaveCriticalSection(&section);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(total, 40000);
    DeleteCriticalSection(&section);
}

TEST(CriticalSections, LeavingWithoutOwningChangesNothing) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    LeaveCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    LeaveCriticalSection(&section);
    DeleteCriticalSection(&section);
}

// Waits, without calls that could touch the last error, until `step` reaches `value`.
bool AwaitStep(const std::atomic<int>& step, int value) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (step.load() < value) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

TEST(Threads, IdsAndLastErrorBelongToTheThread) {
    // Starting and joining a thread may itself set the caller's last error, so the caller reads
    // its own while the other thread holds a different one.
    std::atomic<int> step = 0;
    DWORD otherError = 0, otherId = 0;
    std::thread other([&] {
        otherError = GetLastError();
        otherId = GetCurrentThreadId();
        SetLastError(ERROR_FILE_NOT_FOUND);
        step = 1;
        AwaitStep(step, 2);
    });
    SetLastError(ERROR_ACCESS_DENIED);
    const bool otherRan = AwaitStep(step, 1);
    const DWORD ownError = GetLastError();
    step = 2;
    other.join();
    ASSERT_TRUE(otherRan);
    EXPECT_EQ(otherError, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_NE(otherId, GetCurrentThreadId());
    EXPECT_EQ(ownError, static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_NE(GetCurrentProcessId(), 0u);
}

} // namespace
