// LoadStringW on this program's string tables (resource_strings.rc).
#include "sim/machine.h"
#include "sim/utf.h"
#include "this_module.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

using moltr::sim::MachineConfig;
using moltr::sim::TestMachine;
using moltr::sim::Utf8;

constexpr LANGID kGerman = 0x0407;

MachineConfig German() {
    MachineConfig config;
    config.userUiLanguage = kGerman;
    config.systemUiLanguage = kGerman;
    return config;
}

// The string as LoadStringW copies it into a buffer of `size` characters.
std::string Loaded(UINT id, int size = 256) {
    WCHAR buffer[256];
    int length = LoadStringW(ThisModuleHandle(), id, buffer, size);
    EXPECT_EQ(Utf8(buffer).size(), Utf8(buffer, length).size());
    return Utf8(buffer, length);
}

TEST(LoadStringBlocks, FindsIdsOnBothSidesOfEachBoundary) {
    TestMachine machine;
    EXPECT_EQ(Loaded(0), "Zero");
    EXPECT_EQ(Loaded(15), "Fifteen");
    EXPECT_EQ(Loaded(16), "Sixteen");
    EXPECT_EQ(Loaded(31), "Thirty-one");
    EXPECT_EQ(Loaded(65535), "Last of all");
}

TEST(LoadStringBlocks, UsesTheUserUiLanguage) {
    TestMachine machine(German());
    EXPECT_EQ(Loaded(1), "Papiergr\xC3\xB6\xC3\x9F"
                         "e");
    EXPECT_EQ(Loaded(31), "Einunddrei\xC3\x9F"
                          "ig");
    EXPECT_EQ(Loaded(65535), "Allerletzte");
}

TEST(LoadStringBlocks, TakesTheWholeBlockFromOneLanguage) {
    TestMachine machine(German());
    // Block 1 exists in German, so the English-only id 0 of that block is missing.
    EXPECT_EQ(Loaded(0), "");
    TestMachine english;
    EXPECT_EQ(Loaded(100), "Nur deutsch");
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
    EXPECT_EQ(Loaded(16, 1), "");
}

TEST(LoadStringSizing, RefusesNoBufferAndNegativeSizes) {
    TestMachine machine;
    WCHAR buffer[4] = {'x', 0};
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 16, nullptr, 10), 0);
    EXPECT_EQ(LoadStringW(ThisModuleHandle(), 16, buffer, -1), 0);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(LoadStringModules, NullMeansTheExecutable) {
    TestMachine machine;
    WCHAR buffer[16];
    EXPECT_EQ(LoadStringW(nullptr, 15, buffer, 16), 7);
    EXPECT_EQ(Utf8(buffer), "Fifteen");
}

TEST(LoadStringAnsi, ConvertsToTheAnsiCodePageAndCuts) {
    TestMachine machine(German());
    char buffer[16];
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 1, buffer, 16), 11);
    EXPECT_STREQ(buffer, "Papiergr\xF6\xDF"
                         "e");
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 1, buffer, 10), 9);
    EXPECT_STREQ(buffer, "Papiergr\xF6");
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 2, buffer, 16), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(LoadStringA(ThisModuleHandle(), 1, buffer, 0), 0);
}

} // namespace
