// BSTRs: the documented layout (byte count before the text, NUL after) and the null answers.
#include <windows.h>
#include <oleauto.h>

#include "sim/utf.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

DWORD PrefixOf(BSTR text) {
    DWORD count = 0;
    std::memcpy(&count, reinterpret_cast<BYTE*>(text) - sizeof(DWORD), sizeof count);
    return count;
}

} // namespace

TEST(BstrTest, TheByteCountPrecedesTheTextAndANulFollowsIt) {
    BSTR text = SysAllocString(L"Ticket");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(PrefixOf(text), 12u);
    EXPECT_EQ(SysStringLen(text), 6u);
    EXPECT_EQ(SysStringByteLen(text), 12u);
    EXPECT_EQ(text[6], L'\0');
    EXPECT_EQ(moltr::sim::Utf8(text), "Ticket");
    SysFreeString(text);
}

TEST(BstrTest, ALengthMayHoldNulsAndNeedsNoSource) {
    const WCHAR source[] = {L'a', L'\0', L'b'};
    BSTR text = SysAllocStringLen(source, 3);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(text[2], L'b');
    EXPECT_EQ(text[3], L'\0');
    SysFreeString(text);

    BSTR blank = SysAllocStringLen(nullptr, 4);
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(SysStringLen(blank), 4u);
    EXPECT_EQ(blank[4], L'\0');
    SysFreeString(blank);
}

TEST(BstrTest, ByteLengthsMayBeOdd) {
    BSTR bytes = SysAllocStringByteLen("abc", 3);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(SysStringByteLen(bytes), 3u);
    EXPECT_EQ(SysStringLen(bytes), 1u); // whole code units only
    EXPECT_EQ(std::memcmp(bytes, "abc\0\0", 5), 0);
    SysFreeString(bytes);
}

TEST(BstrTest, NullAndEmptyTexts) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr); // allowed, does nothing
    BSTR empty = SysAllocString(L"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SysStringLen(empty), 0u);
    EXPECT_EQ(empty[0], L'\0');
    SysFreeString(empty);
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFFu), nullptr); // more than the prefix holds
}

TEST(BstrTest, ReallocationReplacesTheText) {
    BSTR text = SysAllocString(L"old");
    ASSERT_TRUE(SysReAllocString(&text, L"longer text"));
    EXPECT_EQ(moltr::sim::Utf8(text), "longer text");
    EXPECT_EQ(SysStringLen(text), 11u);
    ASSERT_TRUE(SysReAllocString(&text, nullptr));
    EXPECT_EQ(text, nullptr);
    EXPECT_FALSE(SysReAllocString(nullptr, L"x"));
}
