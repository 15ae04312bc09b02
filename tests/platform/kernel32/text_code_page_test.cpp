// MultiByteToWideChar and WideCharToMultiByte: the pages, the sizing protocol and the errors.
#include "sim/machine.h"
#include "sim/utf.h"
#include "windows_run.h"
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>

using moltr::sim::Utf8;
using moltr::sim::View;

namespace {

// Converts the bytes of `text` without the terminator, "<error N>" when the call fails.
std::u16string ToWide(UINT page, const std::string& text, DWORD flags = 0) {
    WCHAR buffer[512];
    const int length =
        MultiByteToWideChar(page, flags, text.data(), static_cast<int>(text.size()), buffer, 512);
    if (length == 0) {
        return u"<error " + moltr::sim::Utf16(std::to_string(GetLastError())) + u">";
    }
    return std::u16string(View(buffer).data(), static_cast<size_t>(length));
}

std::string ToBytes(UINT page, std::u16string_view text, DWORD flags = 0,
                    BOOL* usedDefault = nullptr, const char* defaultChar = nullptr) {
    char buffer[512];
    const int length =
        WideCharToMultiByte(page, flags, reinterpret_cast<LPCWCH>(text.data()),
                            static_cast<int>(text.size()), buffer, 512, defaultChar, usedDefault);
    if (length == 0) {
        return "<error " + std::to_string(GetLastError()) + ">";
    }
    return std::string(buffer, static_cast<size_t>(length));
}

std::string AllBytes() {
    std::string bytes;
    for (int b = 1; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    return bytes;
}

} // namespace

TEST(CodePage1252, SpecialBlock) {
    const std::u16string wide = ToWide(1252, "\x80\x82\x83\x8C\x8E\x91\x94\x99\x9C\x9F");
    EXPECT_EQ(Utf8(wide), "\u20AC\u201A\u0192\u0152\u017D\u2018\u201D\u2122\u0153\u0178");
    // The five holes of the page map to the C1 controls of the same value, and back.
    EXPECT_EQ(ToWide(1252, "\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(ToBytes(1252, u"\u0081\u008D\u008F\u0090\u009D"), "\x81\x8D\x8F\x90\x9D");
    EXPECT_EQ(ToWide(1252, "\xA0\xC4\xFF"), u"\u00A0\u00C4\u00FF");
}

TEST(CodePages, KnownCharacters) {
    EXPECT_EQ(ToWide(1250, "\xA3\x8A\xB9\xE8"), u"\u0141\u0160\u0105\u010D");
    EXPECT_EQ(ToWide(1251, "\xC0\xFF\xA8\x88"), u"\u0410\u044F\u0401\u20AC");
    EXPECT_EQ(ToWide(1253, "\xC1\xF9\xA2\xD3"), u"\u0391\u03C9\u0386\u03A3");
    EXPECT_EQ(ToWide(437, "\x80\xE1\xC4\xFE"), u"\u00C7\u00DF\u2500\u25A0");
    EXPECT_EQ(ToWide(28591, "\x80\xA4\xFF"), u"\u0080\u00A4\u00FF");
}

TEST(CodePages, EveryByteRoundTrips) {
    const std::string bytes = AllBytes();
    for (UINT page : {437u, 1250u, 1251u, 1252u, 1253u, 28591u}) {
        const std::u16string wide = ToWide(page, bytes);
        ASSERT_EQ(wide.size(), bytes.size()) << page;
        BOOL usedDefault = TRUE;
        EXPECT_EQ(ToBytes(page, wide, 0, &usedDefault), bytes) << page;
        EXPECT_FALSE(usedDefault) << page;
    }
}

TEST(CodePages, MissingCharactersBecomeTheDefault) {
    BOOL usedDefault = FALSE;
    // Without the flag Windows maps these to the nearest letters, O and A.
    EXPECT_EQ(ToBytes(1252, u"a\u03A9b\u0100", WC_NO_BEST_FIT_CHARS, &usedDefault), "a?b?");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(ToBytes(1252, u"x\u4E2D", 0, &usedDefault, "#"), "x#");
    EXPECT_TRUE(usedDefault);
    EXPECT_EQ(ToBytes(1252, u"plain", 0, &usedDefault), "plain");
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(ToBytes(1251, u"\u00E4", WC_NO_BEST_FIT_CHARS), "?");
}

TEST(CodePages, MissingLatinLettersBecomeTheirBaseLetters) {
    // Latin Extended-A, which none of the pages has whole: the letters without their diacritics.
    const std::u16string_view extended = u"\u0100\u0101\u0108\u0112\u011C\u0124\u0128\u0134"
                                         u"\u0136\u014C\u0168\u0174\u0176";
    for (UINT page : {1250u, 1251u, 1252u, 1253u}) {
        SCOPED_TRACE(page);
        BOOL usedDefault = TRUE;
        EXPECT_EQ(ToBytes(page, extended, 0, &usedDefault), "AaCEGHIJKOUWY");
        EXPECT_FALSE(usedDefault);
        EXPECT_EQ(ToBytes(page, extended, WC_NO_BEST_FIT_CHARS, &usedDefault),
                  std::string(extended.size(), '?'));
        EXPECT_TRUE(usedDefault);
    }
    // Latin-1 letters on the Cyrillic and Greek pages.
    EXPECT_EQ(ToBytes(1251, u"\u00E9\u00C0\u00FC\u00D1"), "eAuN");
    EXPECT_EQ(ToBytes(1253, u"\u00E9\u00C0\u00FC\u00D1"), "eAuN");
    // A letter the page has keeps its own byte.
    EXPECT_EQ(ToBytes(1250, u"\u0106\u0108"), "\xC6"
                                              "C");
    // A letter without a base letter is still the default character.
    BOOL usedDefault = FALSE;
    EXPECT_EQ(ToBytes(1252, u"\u0100\u4E2D", 0, &usedDefault), "A?");
    EXPECT_TRUE(usedDefault);
}

TEST(CodePageUtf8, RoundTripsAllPlanes) {
    const std::string text = "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x96\xA8";
    const std::u16string wide = ToWide(CP_UTF8, text);
    EXPECT_EQ(wide, u"A\u00E4\u20AC\U0001F5A8");
    EXPECT_EQ(ToBytes(CP_UTF8, wide), text);
}

TEST(CodePageUtf8, IllFormedInputBecomesReplacementCharacters) {
    MOLTR_NOT_UNDER_WINE("Wine replaces ill-formed UTF-8 by other subparts");
    EXPECT_EQ(ToWide(CP_UTF8, "a\xC3"), u"a\uFFFD");
    EXPECT_EQ(ToWide(CP_UTF8, "\xE2\x82x"), u"\uFFFDx");               // cut short: one error
    EXPECT_EQ(ToWide(CP_UTF8, "\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong
    EXPECT_EQ(ToWide(CP_UTF8, "\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // surrogate
    EXPECT_EQ(ToWide(CP_UTF8, "\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD"); // above U+10FFFF
    EXPECT_EQ(ToWide(CP_UTF8, "\xFF"), u"\uFFFD");
}

TEST(CodePageUtf8, StrictConversionsFail) {
    EXPECT_EQ(ToWide(CP_UTF8, "ok\xC3", MB_ERR_INVALID_CHARS), u"<error 1113>");
    EXPECT_EQ(ToWide(CP_UTF8, "ok\xC3\xA4", MB_ERR_INVALID_CHARS), u"ok\u00E4");
    const char16_t lone[] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(ToBytes(CP_UTF8, std::u16string_view(lone, 3)), "a\xEF\xBF\xBD"
                                                              "b");
    EXPECT_EQ(ToBytes(CP_UTF8, std::u16string_view(lone, 3), WC_ERR_INVALID_CHARS), "<error 1113>");
}

TEST(Sizing, ZeroSizeAsksForTheLength) {
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", -1, nullptr, 0), 4);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "\xC3\xA4", 2, nullptr, 0), 2);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4", 2, nullptr, 0), 1);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u20AC", -1, nullptr, 0, nullptr, nullptr), 4);
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"\u20AC", 1, nullptr, 0, nullptr, nullptr), 1);
}

TEST(Sizing, MinusOneIncludesTheTerminator) {
    WCHAR wide[8];
    ASSERT_EQ(MultiByteToWideChar(1252, 0, "ab", -1, wide, 8), 3);
    EXPECT_EQ(wide[2], 0);
    char bytes[8] = "zzzzzzz";
    ASSERT_EQ(WideCharToMultiByte(1252, 0, L"ab", -1, bytes, 8, nullptr, nullptr), 3);
    EXPECT_STREQ(bytes, "ab");
    ASSERT_EQ(WideCharToMultiByte(1252, 0, L"ab", 2, bytes, 8, nullptr, nullptr), 2);
}

TEST(Sizing, TooSmallBufferFails) {
    WCHAR wide[3];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "abc", 3, wide, 3), 3); // exactly fits
    char bytes[2];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u00E4", 1, bytes, 1, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(Errors, BadParameters) {
    WCHAR wide[4];
    char bytes[4];
    auto lastError = [] { return static_cast<long>(GetLastError()); };
    EXPECT_EQ(MultiByteToWideChar(1252, 0, nullptr, 1, wide, 4), 0);
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", 0, wide, 4), 0);
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", 1, nullptr, 4), 0);
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(1252, 0, "a", 1, wide, -1), 0);
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"a", 0, bytes, 4, nullptr, nullptr), 0);
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"a", 1, nullptr, 4, nullptr, nullptr), 0);
    EXPECT_EQ(lastError(), ERROR_INVALID_PARAMETER);
}

TEST(Errors, UnknownCodePages) {
    MOLTR_SIMULATION_ONLY("Windows has the DBCS page 932 and UTF-7");
    WCHAR wide[4];
    char bytes[4];
    for (UINT page : {932u, 12345u, static_cast<UINT>(CP_UTF7)}) {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(page, 0, "a", 1, wide, 4), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        SetLastError(0);
        EXPECT_EQ(WideCharToMultiByte(page, 0, L"a", 1, bytes, 4, nullptr, nullptr), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

TEST(Errors, FlagsAndDefaultsThatThePageRefuses) {
    MOLTR_NOT_UNDER_WINE("Wine accepts flags that the page refuses");
    WCHAR wide[4];
    char bytes[4];
    BOOL used = FALSE;
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
    EXPECT_EQ(MultiByteToWideChar(1252, MB_PRECOMPOSED | MB_COMPOSITE, "a", 1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
    EXPECT_EQ(MultiByteToWideChar(1252, MB_PRECOMPOSED | MB_ERR_INVALID_CHARS, "a", 1, wide, 4), 1);
    EXPECT_EQ(WideCharToMultiByte(1252, WC_ERR_INVALID_CHARS, L"a", 1, bytes, 4, nullptr, nullptr),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", 1, bytes, 4, "?", nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", 1, bytes, 4, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(MachinePages, AnsiPageFollowsTheMachine) {
    MOLTR_SIMULATION_ONLY("the ANSI code page is changed in the machine's configuration");
    moltr::sim::TestMachine machine;
    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(ToWide(CP_ACP, "\x80"), u"\u20AC");

    moltr::sim::MachineConfig config;
    config.ansiCodePage = 1251;
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    EXPECT_EQ(GetACP(), 1251u);
    EXPECT_EQ(ToWide(CP_ACP, "\xC0"), u"\u0410");
    EXPECT_EQ(ToBytes(CP_THREAD_ACP, u"\u0416"), "\xC6");

    config.ansiCodePage = 1253;
    ASSERT_TRUE(moltr::sim::UpdateConfig(config));
    EXPECT_EQ(GetACP(), 1253u);
    EXPECT_EQ(ToWide(CP_ACP, "\xC1"), u"\u0391");
}

TEST(MachinePages, ChangeIsSeenAfterTheConfigurationHasAged) {
    MOLTR_SIMULATION_ONLY("the ANSI code page is changed in the machine's configuration");
    moltr::sim::TestMachine machine;
    moltr::sim::MachineConfig config;
    for (UINT page : {1250u, 1251u, 1252u}) {
        config.ansiCodePage = page;
        ASSERT_TRUE(moltr::sim::UpdateConfig(config));
        EXPECT_EQ(GetACP(), page);
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
        EXPECT_EQ(GetACP(), page);
    }
}

TEST(MachinePages, OemPageAndLeadBytes) {
    EXPECT_EQ(GetOEMCP(), 437u);
    EXPECT_EQ(ToWide(CP_OEMCP, "\x80\x9B"), u"\u00C7\u00A2");
    for (int b = 0; b < 256; ++b) {
        EXPECT_FALSE(IsDBCSLeadByte(static_cast<BYTE>(b)));
    }
}

TEST(MachinePages, ValidPagesAreTheInstalledOnes) {
    for (UINT page : {437u, 1250u, 1251u, 1252u, 1253u, UINT(CP_UTF8)}) {
        EXPECT_TRUE(IsValidCodePage(page)) << page;
    }
    // The stand-ins for the machine's pages.
    for (UINT page : {UINT(CP_ACP), UINT(CP_OEMCP), UINT(CP_THREAD_ACP)}) {
        EXPECT_FALSE(IsValidCodePage(page)) << page;
    }
}

TEST(MachinePages, PagesTheMachineLacksAreInvalid) {
    MOLTR_SIMULATION_ONLY("Windows installs the pages 850, 932 and 1254");
    for (UINT page : {850u, 932u, 1254u}) {
        EXPECT_FALSE(IsValidCodePage(page)) << page;
    }
}
