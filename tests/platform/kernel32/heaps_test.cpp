// Heaps and the local and global allocators: zero-filling, growing and shrinking, in-place only
// reallocation, sizes, and pointers that do not belong to the heap.
#include <gtest/gtest.h>
#include <windows.h>

#include "windows_run.h"

#include <cstring>

namespace {

bool AllZero(const void* block, size_t size) {
    const auto* bytes = static_cast<const BYTE*>(block);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i]) {
            return false;
        }
    }
    return true;
}

TEST(Heaps, ZeroMemoryFillsTheBlockAndSizeIsWhatWasAsked) {
    HANDLE heap = HeapCreate(0, 0x10000, 0);
    ASSERT_NE(heap, nullptr);
    void* block = HeapAlloc(heap, HEAP_ZERO_MEMORY, 100);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(AllZero(block, 100));
    EXPECT_EQ(HeapSize(heap, 0, block), 100u);
    void* empty = HeapAlloc(heap, 0, 0);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(HeapSize(heap, 0, empty), 0u);
    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_TRUE(HeapFree(heap, 0, empty));
    EXPECT_TRUE(HeapDestroy(heap));
}

TEST(Heaps, ReallocationKeepsContentAndZeroesTheGrowth) {
    HANDLE heap = GetProcessHeap();
    auto* block = static_cast<char*>(HeapAlloc(heap, 0, 10));
    std::memcpy(block, "0123456789", 10);
    auto* grown = static_cast<char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 5000));
    ASSERT_NE(grown, nullptr);
    EXPECT_EQ(std::memcmp(grown, "0123456789", 10), 0);
    EXPECT_TRUE(AllZero(grown + 10, 4990));
    EXPECT_EQ(HeapSize(heap, 0, grown), 5000u);
    auto* shrunk = static_cast<char*>(HeapReAlloc(heap, 0, grown, 4));
    EXPECT_EQ(shrunk, grown);
    EXPECT_EQ(HeapSize(heap, 0, shrunk), 4u);
    // Growing back within the block zeroes what is exposed again.
    shrunk = static_cast<char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, shrunk, 20));
    EXPECT_EQ(std::memcmp(shrunk, "0123", 4), 0);
    EXPECT_TRUE(AllZero(shrunk + 4, 16));
    EXPECT_TRUE(HeapFree(heap, 0, shrunk));
}

TEST(Heaps, InPlaceOnlyFailsRatherThanMove) {
    HANDLE heap = HeapCreate(0, 0, 0);
    void* block = HeapAlloc(heap, 0, 16);
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 1 << 20), nullptr);
    EXPECT_EQ(HeapSize(heap, 0, block), 16u);
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 8), block);
    HeapDestroy(heap);
}

TEST(Heaps, ForeignPointersAndHeapsAreRefused) {
    MOLTR_SIMULATION_ONLY("Windows leaves foreign blocks and heap handles undefined");
    HANDLE one = HeapCreate(0, 0, 0), other = HeapCreate(0, 0, 0);
    void* block = HeapAlloc(one, 0, 8);
    int local = 0;
    EXPECT_FALSE(HeapFree(other, 0, block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(HeapFree(one, 0, &local));
    EXPECT_EQ(HeapSize(other, 0, block), static_cast<SIZE_T>(-1));
    EXPECT_EQ(HeapReAlloc(other, 0, block, 16), nullptr);
    EXPECT_TRUE(HeapFree(one, 0, nullptr));
    EXPECT_TRUE(HeapFree(one, 0, block));
    EXPECT_FALSE(HeapFree(one, 0, block));
    EXPECT_EQ(HeapAlloc(&local, 0, 8), nullptr);
    EXPECT_FALSE(HeapDestroy(&local));
    EXPECT_FALSE(HeapDestroy(GetProcessHeap()));
    HeapDestroy(one);
    HeapDestroy(other);
}

TEST(Heaps, DestroyFreesWhatIsLeftAndEndsTheHeap) {
    MOLTR_SIMULATION_ONLY("Windows leaves the use of a destroyed heap undefined");
    HANDLE heap = HeapCreate(0, 0x10000, 0);
    for (int i = 0; i < 100; ++i) {
        ASSERT_NE(HeapAlloc(heap, 0, 1000), nullptr);
    }
    EXPECT_TRUE(HeapDestroy(heap));
    EXPECT_EQ(HeapAlloc(heap, 0, 8), nullptr);
    EXPECT_FALSE(HeapDestroy(heap));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Heaps, AMaximumSizeMakesTheHeapFixed) {
    HANDLE heap = HeapCreate(0, 0, 0x10000);
    ASSERT_NE(heap, nullptr);
    void* first = HeapAlloc(heap, 0, 40000);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(HeapAlloc(heap, 0, 40000), nullptr);
    EXPECT_EQ(HeapReAlloc(heap, 0, first, 80000), nullptr);
    EXPECT_TRUE(HeapFree(heap, 0, first));
    void* second = HeapAlloc(heap, 0, 40000);
    EXPECT_NE(second, nullptr);
    HeapDestroy(heap);
}

TEST(Heaps, HugeRequestsFailWithNull) {
    EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(-1)), nullptr);
    EXPECT_EQ(LocalAlloc(LPTR, static_cast<SIZE_T>(-1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(LocalAndGlobalMemory, FixedBlocksAreTheirOwnHandles) {
    auto* local = static_cast<BYTE*>(LocalAlloc(LMEM_ZEROINIT, 64));
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(AllZero(local, 64));
    local[63] = 1;
    EXPECT_EQ(LocalFree(local), nullptr);
    auto* global = static_cast<BYTE*>(GlobalAlloc(GPTR, 32));
    ASSERT_NE(global, nullptr);
    EXPECT_TRUE(AllZero(global, 32));
    EXPECT_EQ(GlobalFree(global), nullptr);
    EXPECT_EQ(LocalFree(nullptr), nullptr);
    int other = 0;
    EXPECT_EQ(LocalFree(&other), &other);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

} // namespace
