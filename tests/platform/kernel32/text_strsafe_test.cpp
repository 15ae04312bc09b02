// The strsafe functions: validation of sizes, truncation and termination.
#include "sim/utf.h"
#include "windows_run.h"
#include <gtest/gtest.h>
#include <strsafe.h>

#include <algorithm>
#include <climits>
#include <string>

using moltr::sim::Utf8;

namespace {

constexpr size_t kTooLarge = size_t{STRSAFE_MAX_CCH} + 1;

template <size_t N> void Fill(WCHAR (&buffer)[N]) {
    std::fill(buffer, buffer + N, L'#');
}

} // namespace

TEST(StrsafeCopy, CopiesAndTruncatesWithTerminator) {
    WCHAR buffer[8];
    EXPECT_EQ(StringCchCopyW(buffer, 8, L"abc"), S_OK);
    EXPECT_EQ(Utf8(buffer), "abc");
    EXPECT_EQ(StringCchCopyW(buffer, 8, L"1234567"), S_OK); // exactly fills
    EXPECT_EQ(Utf8(buffer), "1234567");
    Fill(buffer);
    EXPECT_EQ(StringCchCopyW(buffer, 4, L"abcdef"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "abc");
    EXPECT_EQ(buffer[4], L'#');
    EXPECT_EQ(StringCchCopyW(buffer, 1, L"x"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(buffer[0], 0);
}

TEST(StrsafeCopy, InvalidSizes) {
    MOLTR_NOT_WITH_MINGW("its copy writes to a buffer of no characters");
    WCHAR buffer[4];
    Fill(buffer);
    EXPECT_EQ(StringCchCopyW(buffer, 0, L"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(StringCchCopyW(buffer, kTooLarge, L"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(StringCchCopyW(nullptr, 4, L"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(StringCchCopyW(buffer, 4, nullptr), S_OK);
    EXPECT_EQ(buffer[0], 0);
}

TEST(StrsafeCopy, CopyNStopsAtTheCount) {
    MOLTR_NOT_WITH_MINGW("its bounded copy checks the count otherwise");
    WCHAR buffer[8];
    EXPECT_EQ(StringCchCopyNW(buffer, 8, L"abcdef", 3), S_OK);
    EXPECT_EQ(Utf8(buffer), "abc");
    EXPECT_EQ(StringCchCopyNW(buffer, 8, L"ab", 5), S_OK);
    EXPECT_EQ(Utf8(buffer), "ab");
    EXPECT_EQ(StringCchCopyNW(buffer, 3, L"abcdef", 4), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "ab");
    // The count bounds the read: the source need not be terminated.
    const WCHAR unterminated[2] = {L'x', L'y'};
    EXPECT_EQ(StringCchCopyNW(buffer, 8, unterminated, 2), S_OK);
    EXPECT_EQ(Utf8(buffer), "xy");
    EXPECT_EQ(StringCchCopyNW(buffer, 8, L"a", kTooLarge), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], 0);
}

TEST(StrsafeCat, AppendsAndTruncates) {
    WCHAR buffer[8] = L"ab";
    EXPECT_EQ(StringCchCatW(buffer, 8, L"cd"), S_OK);
    EXPECT_EQ(Utf8(buffer), "abcd");
    EXPECT_EQ(StringCchCatW(buffer, 8, L"efghij"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "abcdefg");
    EXPECT_EQ(StringCchCatW(buffer, 8, L"z"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "abcdefg");
    EXPECT_EQ(StringCchCatW(buffer, 8, L""), S_OK);
}

TEST(StrsafeCat, RefusesAnUnterminatedDestination) {
    WCHAR buffer[4];
    Fill(buffer);
    EXPECT_EQ(StringCchCatW(buffer, 4, L"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(StringCchCatW(buffer, 0, L"x"), STRSAFE_E_INVALID_PARAMETER);
}

TEST(StrsafeCat, CatNAppendsAtMostTheCount) {
    MOLTR_NOT_WITH_MINGW("its bounded append accepts any count");
    WCHAR buffer[8] = L"ab";
    EXPECT_EQ(StringCchCatNW(buffer, 8, L"cdef", 2), S_OK);
    EXPECT_EQ(Utf8(buffer), "abcd");
    EXPECT_EQ(StringCchCatNW(buffer, 6, L"efgh", 3), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "abcde");
    EXPECT_EQ(StringCchCatNW(buffer, 8, L"x", kTooLarge), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(Utf8(buffer), "abcde");
}

TEST(StrsafeLength, CountsWithinTheMaximum) {
    size_t length = 99;
    EXPECT_EQ(StringCchLengthW(L"abc", 4, &length), S_OK);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(StringCchLengthW(L"abc", 3, &length), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(StringCchLengthW(L"", 0, &length), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(StringCchLengthW(nullptr, 4, &length), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(StringCchLengthW(L"abc", kTooLarge, &length), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(StringCchLengthW(L"abc", STRSAFE_MAX_CCH, nullptr), S_OK);
    EXPECT_EQ(StringCchLengthA("abcd", 5, &length), S_OK);
    EXPECT_EQ(length, 4u);
}

TEST(StrsafeBytes, SizesAreInBytes) {
    WCHAR buffer[8];
    EXPECT_EQ(StringCbCopyW(buffer, sizeof buffer, L"abcdefg"), S_OK);
    EXPECT_EQ(StringCbCopyW(buffer, 8, L"abcdefg"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "abc");
    EXPECT_EQ(StringCbCatW(buffer, 12, L"defgh"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "abcde");
    EXPECT_EQ(StringCbCopyW(buffer, 1, L"x"), STRSAFE_E_INVALID_PARAMETER); // no whole character
    size_t bytes = 0;
    EXPECT_EQ(StringCbLengthW(L"abc", 8, &bytes), S_OK);
    EXPECT_EQ(bytes, 6u);
    EXPECT_EQ(StringCbLengthW(L"abc", 6, &bytes), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(bytes, 0u);

    char narrow[4];
    EXPECT_EQ(StringCbCopyA(narrow, sizeof narrow, "abcdef"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(StringCbLengthA("abc", 4, &bytes), S_OK);
    EXPECT_EQ(bytes, 3u);
}

TEST(StrsafePrintf, TruncatesWithTerminator) {
    WCHAR buffer[8];
    Fill(buffer);
    EXPECT_EQ(StringCchPrintfW(buffer, 5, L"%d", 123456), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "1234");
    EXPECT_EQ(buffer[5], L'#');
    EXPECT_EQ(StringCchPrintfW(buffer, 7, L"%d", 123456), S_OK); // exactly fills
    EXPECT_EQ(Utf8(buffer), "123456");
    EXPECT_EQ(StringCbPrintfW(buffer, 6, L"%s", L"abcdef"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "ab");

    char narrow[4];
    EXPECT_EQ(StringCchPrintfA(narrow, 4, "%s", "abcdef"), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_STREQ(narrow, "abc");
    EXPECT_EQ(StringCbPrintfA(narrow, 4, "%x", 0xabc), S_OK);
    EXPECT_STREQ(narrow, "abc");
}

TEST(StrsafePrintf, InvalidSizes) {
    MOLTR_NOT_WITH_MINGW("its printf checks sizes and formats otherwise");
    WCHAR buffer[4];
    Fill(buffer);
    EXPECT_EQ(StringCchPrintfW(buffer, 0, L"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], L'#');
    EXPECT_EQ(StringCchPrintfW(buffer, kTooLarge, L"x"), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(StringCchPrintfW(buffer, 4, nullptr), STRSAFE_E_INVALID_PARAMETER);
    EXPECT_EQ(buffer[0], 0);
}

TEST(StrsafePrintf, HugeFieldsStopAtTheBuffer) {
    MOLTR_NOT_WITH_MINGW("msvcrt writes nothing of a field wider than the buffer");
    WCHAR buffer[8];
    EXPECT_EQ(StringCchPrintfW(buffer, 8, L"%2147483647d", 1), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "       ");
    EXPECT_EQ(StringCchPrintfW(buffer, 8, L"%.*d", INT_MAX, 1), STRSAFE_E_INSUFFICIENT_BUFFER);
    EXPECT_EQ(Utf8(buffer), "0000000");
    EXPECT_EQ(StringCchPrintfW(buffer, 8, L"%99999999999999999999s", L"x"),
              STRSAFE_E_INSUFFICIENT_BUFFER);
}
