// Case mapping, letters and the lstr functions.
#include "sim/utf.h"
#include "windows_run.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#ifndef _WIN32
#include <sys/mman.h>
#endif

using moltr::sim::Utf16;
using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

std::string Upper(const std::string& text) {
    std::u16string wide = Utf16(text);
    EXPECT_EQ(CharUpperW(W(wide)), W(wide));
    return Utf8(wide);
}

std::string Lower(const std::string& text) {
    std::u16string wide = Utf16(text);
    EXPECT_EQ(CharLowerW(W(wide)), W(wide));
    return Utf8(wide);
}

WCHAR UpperChar(WCHAR c) {
    return static_cast<WCHAR>(
        reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

WCHAR LowerChar(WCHAR c) {
    return static_cast<WCHAR>(
        reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

// One page of memory at `address`, or null when that address is taken: VirtualAlloc on Windows,
// mmap on the host, where the simulation has no VirtualAlloc.
void* PageAt(UINT_PTR address) {
#ifdef _WIN32
    return VirtualAlloc(reinterpret_cast<void*>(address), 4096, MEM_RESERVE | MEM_COMMIT,
                        PAGE_READWRITE);
#else
    void* page = mmap(reinterpret_cast<void*>(address), 4096, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    return page == MAP_FAILED ? nullptr : page;
#endif
}

void FreePage(void* page) {
#ifdef _WIN32
    VirtualFree(page, 0, MEM_RELEASE);
#else
    munmap(page, 4096);
#endif
}

} // namespace

TEST(CaseMapping, Latin) {
    EXPECT_EQ(Upper("abc xyz 09 [_]"), "ABC XYZ 09 [_]");
    EXPECT_EQ(Upper("\u00E0\u00E9\u00EE\u00F5\u00FC \u00F7 \u00FF"),
              "\u00C0\u00C9\u00CE\u00D5\u00DC \u00F7 \u0178");
    EXPECT_EQ(Lower("\u00C0\u00C9\u00DE \u00D7 \u0178"), "\u00E0\u00E9\u00FE \u00D7 \u00FF");
    EXPECT_EQ(Upper("stra\u00DFe"), "STRA\u00DFE"); // sharp s has no single capital
}

TEST(CaseMapping, LatinExtendedA) {
    MOLTR_NOT_UNDER_WINE("Wine leaves the dotless and dotted capital i unmapped");
    EXPECT_EQ(
        Upper("\u0101\u0107\u0119\u013A\u0142\u0144\u0151\u0159\u015B\u0161\u017A\u017C\u017E"),
        "\u0100\u0106\u0118\u0139\u0141\u0143\u0150\u0158\u015A\u0160\u0179\u017B\u017D");
    EXPECT_EQ(
        Lower("\u0100\u0106\u0118\u0139\u0141\u0143\u0150\u0158\u015A\u0160\u0179\u017B\u017D"),
        "\u0101\u0107\u0119\u013A\u0142\u0144\u0151\u0159\u015B\u0161\u017A\u017C\u017E");
    EXPECT_EQ(Upper("\u0138\u0149"), "\u0138\u0149"); // kra and 'n have no capital
    EXPECT_EQ(Upper("\u0131"), "I");
    EXPECT_EQ(Lower("\u0130"), "i");
}

TEST(CaseMapping, GreekAndCyrillic) {
    MOLTR_NOT_UNDER_WINE("Wine leaves the final sigma unmapped");
    EXPECT_EQ(Lower("\u0391\u0392\u0393\u03A3\u03A9 \u0386\u0388\u038C\u038F\u03AA"),
              "\u03B1\u03B2\u03B3\u03C3\u03C9 \u03AC\u03AD\u03CC\u03CE\u03CA");
    EXPECT_EQ(Upper("\u03B1\u03C9\u03C2 \u03AC\u03AF\u03CD"),
              "\u0391\u03A9\u03A3 \u0386\u038A\u038E");
    EXPECT_EQ(Upper("\u0390"), "\u0390");
    EXPECT_EQ(Lower("\u0401\u0416\u042F\u0404"), "\u0451\u0436\u044F\u0454");
    EXPECT_EQ(Upper("\u0430\u044F\u0450\u045F"), "\u0410\u042F\u0400\u040F");
}

TEST(CaseMapping, OtherScriptsStay) {
    MOLTR_NOT_UNDER_WINE("Wine's case table has the capital of U+0180 from Unicode 5");
    EXPECT_EQ(Upper("\u05D0\u4E2D\u0180"), "\u05D0\u4E2D\u0180");
}

TEST(CaseMapping, PointerWithZeroHighWordIsOneCharacter) {
    EXPECT_EQ(UpperChar(L'a'), L'A');
    EXPECT_EQ(UpperChar(L'\u00E4'), L'\u00C4');
    EXPECT_EQ(LowerChar(L'\u0416'), L'\u0436');
    EXPECT_EQ(UpperChar(L'1'), L'1');
    EXPECT_EQ(CharUpperW(nullptr), nullptr);
}

TEST(CaseMapping, StringWhoseAddressHasBits16To31ClearIsAString) {
    // 0x700000000000: the low 32 bits are zero, so only the bits above them mark it as an address.
    void* page = PageAt(0x700000000000);
    if (page == nullptr) {
        GTEST_SKIP() << "address not available";
    }
    auto* text = static_cast<WCHAR*>(page);
    text[0] = L'a';
    text[1] = 0;
    EXPECT_EQ(CharUpperW(text), text);
    EXPECT_EQ(text[0], L'A');
    FreePage(page);
}

TEST(CaseMapping, BuffersConvertTheCountIncludingNuls) {
    WCHAR buffer[] = {L'a', 0, L'b', L'c', L'd'};
    EXPECT_EQ(CharUpperBuffW(buffer, 3), 3u);
    EXPECT_EQ(buffer[0], L'A');
    EXPECT_EQ(buffer[1], 0);
    EXPECT_EQ(buffer[2], L'B');
    EXPECT_EQ(buffer[3], L'c');
    EXPECT_EQ(CharLowerBuffW(buffer, 1), 1u);
    EXPECT_EQ(buffer[0], L'a');
    EXPECT_EQ(CharUpperBuffW(buffer, 0), 0u);
}

TEST(Letters, AlphaAndAlphaNumeric) {
    for (WCHAR c : {L'a', L'Z', L'\u00DF', L'\u00AA', L'\u00FF', L'\u0138', L'\u03A9', L'\u0416'}) {
        EXPECT_TRUE(IsCharAlphaW(c)) << static_cast<int>(c);
    }
    for (WCHAR c : {L'1', L' ', L'_', L'\u00D7', L'\u00F7', L'\u20AC', L'\u0387'}) {
        EXPECT_FALSE(IsCharAlphaW(c)) << static_cast<int>(c);
    }
    EXPECT_TRUE(IsCharAlphaNumericW(L'7'));
    EXPECT_TRUE(IsCharAlphaNumericW(L'q'));
    EXPECT_FALSE(IsCharAlphaNumericW(L'-'));
}

TEST(Strings, Length) {
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrlenW(L""), 0);
    EXPECT_EQ(lstrlenW(L"abc"), 3);
    EXPECT_EQ(lstrlenA("abcd"), 4);
}

TEST(Strings, CopyNCopiesAtMostNMinusOneAndTerminates) {
    WCHAR buffer[8] = L"zzzzzzz";
    EXPECT_EQ(lstrcpynW(buffer, L"abcdef", 4), buffer);
    EXPECT_EQ(Utf8(buffer), "abc");
    EXPECT_EQ(buffer[4], L'z');
    EXPECT_EQ(lstrcpynW(buffer, L"xy", 8), buffer);
    EXPECT_EQ(Utf8(buffer), "xy");
    EXPECT_EQ(lstrcpynW(buffer, L"q", 0), buffer);
    EXPECT_EQ(Utf8(buffer), "xy");
    lstrcpynW(buffer, L"q", 1);
    EXPECT_EQ(buffer[0], 0);
    char narrow[4];
    EXPECT_EQ(lstrcpynA(narrow, "abcdef", 4), narrow);
    EXPECT_STREQ(narrow, "abc");
}

TEST(Strings, CopyAndAppend) {
    WCHAR buffer[16];
    EXPECT_EQ(lstrcpyW(buffer, L"ab"), buffer);
    EXPECT_EQ(lstrcatW(buffer, L"cd"), buffer);
    EXPECT_EQ(Utf8(buffer), "abcd");
    EXPECT_EQ(lstrcpyW(nullptr, L"x"), nullptr);
    EXPECT_EQ(lstrcatW(buffer, nullptr), nullptr);
    char narrow[8];
    lstrcpyA(narrow, "a");
    lstrcatA(narrow, "b");
    EXPECT_STREQ(narrow, "ab");
}

TEST(Strings, CompareByTheWordSort) {
    EXPECT_EQ(lstrcmpW(L"abc", L"abc"), 0);
    EXPECT_EQ(lstrcmpW(L"abc", L"abd"), -1);
    EXPECT_EQ(lstrcmpW(L"abc", L"ab"), 1);
    EXPECT_EQ(lstrcmpW(L"", L"a"), -1);
    EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpW(nullptr, L""), -1);
    EXPECT_EQ(lstrcmpW(L"", nullptr), 1);
}

TEST(Strings, SmallLettersSortBeforeCapitalsOfTheSameLetter) {
    EXPECT_EQ(lstrcmpW(L"a", L"A"), -1);
    EXPECT_EQ(lstrcmpW(L"A", L"b"), -1);
    EXPECT_EQ(lstrcmpW(L"B", L"a"), 1);
    // The case decides only where the letters are equal.
    EXPECT_EQ(lstrcmpW(L"aB", L"Ab"), -1);
    EXPECT_EQ(lstrcmpW(L"Ab", L"ab"), 1);
    EXPECT_EQ(lstrcmpW(L"\u03C3", L"\u03A3"), -1);
    EXPECT_EQ(lstrcmpW(L"\u0436", L"\u0416"), -1);
}

TEST(Strings, LettersWithDiacriticsSortNextToTheirBaseLetter) {
    EXPECT_EQ(lstrcmpW(L"a", L"\u00E4"), -1);
    EXPECT_EQ(lstrcmpW(L"\u00E4", L"b"), -1);
    EXPECT_EQ(lstrcmpW(L"\u00E4", L"ab"), -1);
    EXPECT_EQ(lstrcmpW(L"\u010D", L"d"), -1);
    EXPECT_EQ(lstrcmpW(L"\u03AC", L"\u03B2"), -1);
    EXPECT_EQ(lstrcmpW(L"\u0451", L"\u0436"), -1);
    // A diacritic outweighs the case.
    EXPECT_EQ(lstrcmpW(L"\u00E1A", L"a\u00C1"), 1);
    // So do the Latin letters that none of the code pages has.
    EXPECT_EQ(lstrcmpW(L"\u0100", L"A"), 1);
    EXPECT_EQ(lstrcmpW(L"\u0100", L"B"), -1);
}

TEST(Strings, SymbolsAndDigitsSortBeforeTheScripts) {
    EXPECT_EQ(lstrcmpW(L"!", L"0"), -1);
    EXPECT_EQ(lstrcmpW(L"9", L"a"), -1);
    EXPECT_EQ(lstrcmpW(L"z", L"\u03B1"), -1);
    EXPECT_EQ(lstrcmpW(L"\u03C9", L"\u0430"), -1);
    EXPECT_EQ(lstrcmpW(L"a b", L"ab"), -1);
}

TEST(Strings, HyphensAndApostrophesWeighLess) {
    EXPECT_EQ(lstrcmpW(L"co-op", L"coop"), 1);
    EXPECT_EQ(lstrcmpW(L"co-op", L"cop"), -1);
    EXPECT_EQ(lstrcmpW(L"co\u2013op", L"cop"), -1);
    EXPECT_EQ(lstrcmpW(L"it's", L"its"), 1);
    EXPECT_EQ(lstrcmpW(L"a'b", L"a-b"), -1);
    EXPECT_EQ(lstrcmpW(L"A-", L"a"), 1);
    // Where they stand counts among the letters, the earlier sorting after.
    EXPECT_EQ(lstrcmpW(L"-ab", L"a-b"), 1);
    EXPECT_EQ(lstrcmpW(L"'ab", L"a-b"), 1);
    EXPECT_EQ(lstrcmpW(L"\u00DF-", L"ss-"), 0);
    // The soft hyphen does not count at all.
    EXPECT_EQ(lstrcmpW(L"a\u00ADb", L"ab"), 0);
    EXPECT_EQ(lstrcmpW(L"\u00AD-e", L"-e"), 0);
}

TEST(Strings, LigaturesSortAsTheirLetters) {
    EXPECT_EQ(lstrcmpW(L"stra\u00DFe", L"strasse"), 0);
    EXPECT_EQ(lstrcmpW(L"\u00E6", L"ae"), 0);
    EXPECT_EQ(lstrcmpW(L"\u0152", L"OE"), 0);
    EXPECT_EQ(lstrcmpW(L"\u00DFa", L"ssb"), -1);
}

TEST(Strings, CompareIgnoringCase) {
    EXPECT_EQ(lstrcmpiW(L"Spoolsv.EXE", L"spoolsv.exe"), 0);
    EXPECT_EQ(lstrcmpiW(L"\u00C4rger \u0416", L"\u00E4RGER \u0436"), 0);
    EXPECT_EQ(lstrcmpiW(L"abc", L"ABD"), -1);
    EXPECT_EQ(lstrcmpiW(L"ABCD", L"abc"), 1);
    EXPECT_EQ(lstrcmpiW(L"aB", L"Ab"), 0);
    EXPECT_EQ(lstrcmpiW(L"a-B", L"A-b"), 0);
    EXPECT_EQ(lstrcmpiW(L"\u03C2", L"\u03A3"), 0);
    EXPECT_EQ(lstrcmpiW(L"stra\u00DFe", L"STRASSE"), 0);
    // The diacritics still count.
    EXPECT_EQ(lstrcmpiW(L"\u00E4", L"A"), 1);
    // Punctuation between the capitals and the small letters sorts before all letters.
    EXPECT_EQ(lstrcmpiW(L"_", L"a"), -1);
    EXPECT_EQ(lstrcmpiW(L"_", L"A"), -1);
    EXPECT_EQ(lstrcmpiW(nullptr, L"a"), -1);
}

TEST(Strings, NextCharacter) {
    const WCHAR* text = L"ab";
    EXPECT_EQ(CharNextW(text), text + 1);
    EXPECT_EQ(CharNextW(text + 2), text + 2);
}
