// LoadStringW on this program's string tables (resource_strings.rc), in English.
#include "resource_strings_loaded.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "this_module.h"
#include "windows_run.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

using moltr::sim::TestMachine;
using moltr::sim::Utf8;
using resource_strings::Loaded;

TEST(LoadStringBlocks, FindsIdsOnBothSidesOfEachBoundary) {
    TestMachine machine;
    EXPECT_EQ(Loaded(0), "Zero");
    EXPECT_EQ(Loaded(15), "Fifteen");
    EXPECT_EQ(Loaded(16), "Sixteen");
    EXPECT_EQ(Loaded(31), "Thirty-one");
    EXPECT_EQ(Loaded(65535), "Last of all");
}

TEST(LoadStringBlocks, IdsAboveSixteenBitsUseTheLowWord) {
    TestMachine machine;
    EXPECT_EQ(Loaded(0x10000 + 16), "Sixteen");
}

TEST(LoadStringMissing, ReturnsZeroAndAnEmptyBuffer) {
    TestMachine machine;
    WCHAR buffer[8] = {'x', 'x', 0};
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 14, buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
    buffer[0] = 'x';
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 2, buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 40000, buffer, 8), 0);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
}

TEST(LoadStringSizing, ZeroSizeGivesAPointerIntoTheModule) {
    TestMachine machine;
    const WCHAR* text = nullptr;
    int length = LoadStringW(ThisModuleHandle(), 16, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_EQ(length, 7);
    ASSERT_NE(text, nullptr);
    // The strings of a block are counted, not terminated.
    EXPECT_EQ(Utf8(text, length), "Sixteen");
    HRSRC block = FindResourceW(ThisModuleHandle(), MAKEINTRESOURCEW(2), RT_STRING);
    const BYTE* data = static_cast<const BYTE*>(LoadResource(ThisModuleHandle(), block));
    const BYTE* at = reinterpret_cast<const BYTE*>(text);
    EXPECT_TRUE(at > data && at < data + SizeofResource(ThisModuleHandle(), block));
}

TEST(LoadStringSizing, ZeroSizeForAMissingStringGivesZero) {
    TestMachine machine;
    const WCHAR* text = reinterpret_cast<const WCHAR*>(1);
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 2, reinterpret_cast<LPWSTR>(&text), 0), 0);
}

TEST(LoadStringSizing, TruncatesToTheBufferWithItsTerminator) {
    TestMachine machine;
    EXPECT_EQ(Loaded(16, 8), "Sixteen");
    EXPECT_EQ(Loaded(16, 7), "Sixtee");
    EXPECT_EQ(Loaded(16, 2), "S");
}

TEST(LoadStringSizing, ABufferOfOneCharacterTakesTheTerminator) {
    MOLTR_NOT_UNDER_WINE("Wine leaves a buffer of one character without its terminator");
    TestMachine machine;
    EXPECT_EQ(Loaded(16, 1), "");
}

TEST(LoadStringSizing, RefusesNoBuffer) {
    TestMachine machine;
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 16, nullptr, 10), 0);
}

TEST(LoadStringSizing, RefusesNegativeSizes) {
    MOLTR_SIMULATION_ONLY("Windows documents no negative size");
    TestMachine machine;
    WCHAR buffer[4] = {'x', 0};
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 16, buffer, -1), 0);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(LoadStringModules, NullMeansTheExecutable) {
    TestMachine machine;
    WCHAR buffer[16];
    EXPECT_EQ(LoadStringW(nullptr, 15, buffer, 16), 7);
    EXPECT_EQ(Utf8(buffer), "Fifteen");
}

} // namespace
