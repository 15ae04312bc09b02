// Format semantics shared by wsprintf and the strsafe printf functions.
#include "sim/machine.h"
#include "sim/utf.h"
#include "windows_run.h"
#include <gtest/gtest.h>
// The SDK's strsafe.h retires wsprintf, whose formats these tests hold to strsafe's.
#define STRSAFE_NO_DEPRECATE
#include <strsafe.h>

#include <climits>
#include <cstdint>
#include <string>

using moltr::sim::Utf8;

namespace {

// The C runtime's formats, through StringCchVPrintf.
std::string Wide(const WCHAR* format, ...) {
    WCHAR buffer[2048];
    va_list args;
    va_start(args, format);
    const HRESULT hr = StringCchVPrintfW(buffer, 2048, format, args);
    va_end(args);
    EXPECT_EQ(hr, S_OK);
    return Utf8(buffer);
}

std::string Narrow(const char* format, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, format);
    const HRESULT hr = StringCchVPrintfA(buffer, 2048, format, args);
    va_end(args);
    EXPECT_EQ(hr, S_OK);
    return buffer;
}

// user32's formats, through wvsprintf.
std::string User(const WCHAR* format, ...) {
    WCHAR buffer[1024];
    va_list args;
    va_start(args, format);
    const int length = wvsprintfW(buffer, format, args);
    va_end(args);
    EXPECT_EQ(length, lstrlenW(buffer));
    return Utf8(buffer);
}

} // namespace

TEST(FormatIntegers, Conversions) {
    EXPECT_EQ(Wide(L"%d|%i|%u", -42, 7, 4294967295u), "-42|7|4294967295");
    EXPECT_EQ(Wide(L"%x|%X|%o", 255, 255, 8), "ff|FF|10");
    EXPECT_EQ(Wide(L"%d", INT_MIN), "-2147483648");
    EXPECT_EQ(User(L"%d|%i|%u|%x|%X", -42, 7, 4294967295u, 255, 255), "-42|7|4294967295|ff|FF");
}

TEST(FormatIntegers, LongIsThirtyTwoBits) {
    EXPECT_EQ(Wide(L"%ld %d", static_cast<LONG>(-1), 2), "-1 2");
    EXPECT_EQ(Wide(L"%lu|%lx", static_cast<ULONG>(4294967295u), static_cast<ULONG>(0xDEADBEEF)),
              "4294967295|deadbeef");
    EXPECT_EQ(User(L"%ld %lu", static_cast<LONG>(-5), static_cast<ULONG>(5)), "-5 5");
}

TEST(FormatIntegers, SixtyFourBitAndPointerSized) {
    EXPECT_EQ(Wide(L"%I64d|%I64u|%I64x", INT64_MIN, UINT64_MAX, uint64_t{0x123456789ABCDEF}),
              "-9223372036854775808|18446744073709551615|123456789abcdef");
    EXPECT_EQ(Wide(L"%lld|%llu", int64_t{-1} << 40, uint64_t{1} << 63),
              "-1099511627776|9223372036854775808");
    EXPECT_EQ(Wide(L"%Id|%Iu", static_cast<INT_PTR>(-3), static_cast<SIZE_T>(1) << 40),
              "-3|1099511627776");
    EXPECT_EQ(Wide(L"%I32d", -9), "-9");
    EXPECT_EQ(User(L"%I64d|%I64x", int64_t{-1} << 33, uint64_t{0xFFFFFFFFFF}),
              "-8589934592|ffffffffff");
}

TEST(FormatIntegers, ShortSizesTruncate) {
    MOLTR_NOT_WITH_MINGW("msvcrt has no hh size");
    EXPECT_EQ(Wide(L"%hd|%hu|%hhd", 70000, 65537, 0x1FF), "4464|1|-1");
}

TEST(FormatIntegers, FlagsWidthAndPrecision) {
    MOLTR_NOT_WITH_MINGW("msvcrt pads with zeros despite a precision");
    EXPECT_EQ(Wide(L"[%5d|%-5d|%05d]", 42, 42, 42), "[   42|42   |00042]");
    EXPECT_EQ(Wide(L"[%+d|% d|%+d|%05d]", 5, 5, -5, -5), "[+5| 5|-5|-0005]");
    EXPECT_EQ(Wide(L"[%.3d|%.0d|%5.0d|%08.3d]", 7, 0, 0, 7), "[007||     |     007]");
    EXPECT_EQ(Wide(L"[%#x|%#X|%#x|%#o|%#o|%#06x]", 255, 255, 0, 8, 0, 255),
              "[0xff|0XFF|0|010|0|0x00ff]");
    EXPECT_EQ(Wide(L"[%+u]", 3u), "[3]");
    EXPECT_EQ(User(L"[%5d|%-5d|%05d|%.3d|%#x]", 42, 42, 42, 7, 255),
              "[   42|42   |00042|007|0xff]");
}

TEST(FormatIntegers, StarTakesWidthAndPrecisionFromArguments) {
    EXPECT_EQ(Wide(L"[%*d|%-*d|%.*d|%*d]", 4, 1, 4, 2, 3, 3, -4, 5), "[   1|2   |003|5   ]");
    EXPECT_EQ(Wide(L"[%.*d]", -1, 0), "[0]"); // a negative precision counts as none
}

TEST(FormatIntegers, PointersPrintAllDigits) {
    EXPECT_EQ(Wide(L"%p", reinterpret_cast<void*>(0x1234)), "0000000000001234");
    EXPECT_EQ(User(L"%p", reinterpret_cast<void*>(0xABCDEF)), "0000000000ABCDEF");
}

TEST(FormatText, WideFormatTakesWideStringsUnlessTold) {
    EXPECT_EQ(Wide(L"%s|%ls|%ws|%S|%hs", L"w1", L"w2", L"w3", "n1", "n2"), "w1|w2|w3|n1|n2");
    EXPECT_EQ(Wide(L"%c|%lc|%wc|%C|%hc", L'a', L'b', L'c', 'd', 'e'), "a|b|c|d|e");
    EXPECT_EQ(User(L"%s|%ls|%S|%hs|%c|%C", L"w1", L"w2", "n1", "n2", L'x', 'y'), "w1|w2|n1|n2|x|y");
}

TEST(FormatText, NarrowFormatTakesNarrowStringsUnlessTold) {
    EXPECT_EQ(Narrow("%s|%hs|%S|%ls|%ws", "n1", "n2", L"w1", L"w2", L"w3"), "n1|n2|w1|w2|w3");
    EXPECT_EQ(Narrow("%c|%hc|%C|%lc", 'a', 'b', L'c', L'd'), "a|b|c|d");
    char buffer[64];
    EXPECT_EQ(wsprintfA(buffer, "%s-%S", "n", L"w"), 3);
    EXPECT_STREQ(buffer, "n-w");
}

TEST(FormatText, OtherWidthConvertsThroughTheAnsiCodePage) {
    MOLTR_SIMULATION_ONLY("the ANSI code page is changed in the machine's configuration");
    moltr::sim::TestMachine machine;
    EXPECT_EQ(Wide(L"%S|%C", "\x80\xE4", static_cast<int>(0x9F)), "\u20AC\u00E4|\u0178");
    EXPECT_EQ(Narrow("%S|%C", L"\u20AC\u00E4\u03A9", static_cast<int>(L'\u00FC')),
              "\x80\xE4?|\xFC");

    moltr::sim::MachineConfig cyrillic;
    cyrillic.ansiCodePage = 1251;
    ASSERT_TRUE(moltr::sim::UpdateConfig(cyrillic));
    EXPECT_EQ(Wide(L"%S", "\xC0\xFF"), "\u0410\u044F");
    EXPECT_EQ(Narrow("%S", L"\u0416"), "\xC6");
}

TEST(FormatText, NullStringsPrintNull) {
    EXPECT_EQ(Wide(L"%s|%S|%.3s", static_cast<const WCHAR*>(nullptr),
                   static_cast<const char*>(nullptr), static_cast<const WCHAR*>(nullptr)),
              "(null)|(null)|(nu");
    EXPECT_EQ(
        Narrow("%s|%S", static_cast<const char*>(nullptr), static_cast<const WCHAR*>(nullptr)),
        "(null)|(null)");
    EXPECT_EQ(User(L"%s", static_cast<const WCHAR*>(nullptr)), "(null)");
}

TEST(FormatText, WidthPrecisionAndZeroPadding) {
    EXPECT_EQ(Wide(L"[%-6s|%6s|%.2s|%06s|%-06s]", L"abc", L"abc", L"abc", L"abc", L"abc"),
              "[abc   |   abc|ab|000abc|abc   ]");
    EXPECT_EQ(Wide(L"[%3c|%-3c]", L'x', L'y'), "[  x|y  ]");
    EXPECT_EQ(Wide(L"[%.5S]", "narrow text"), "[narro]");
    // Precision bounds the read: the argument need not be terminated.
    const WCHAR unterminated[3] = {L'a', L'b', L'c'};
    EXPECT_EQ(Wide(L"[%.3s]", unterminated), "[abc]");
}

TEST(FormatFloat, FixedExponentAndGeneral) {
    MOLTR_NOT_WITH_MINGW("msvcrt writes three exponent digits");
    EXPECT_EQ(Wide(L"%f|%.2f|%0.1f|%.0f", 3.14159, 2.5, 72.46, 2.7), "3.141590|2.50|72.5|3");
    EXPECT_EQ(Wide(L"%e|%E|%.2e", 12345.678, 12345.678, 0.000123),
              "1.234568e+04|1.234568E+04|1.23e-04");
    EXPECT_EQ(Wide(L"%g|%g|%g|%G", 0.0001, 1e-5, 123456789.0, 1e-10),
              "0.0001|1e-05|1.23457e+08|1E-10");
    EXPECT_EQ(Narrow("%.3f", -0.0005), "-0.001");
}

TEST(FormatFloat, Flags) {
    EXPECT_EQ(Wide(L"[%010.2f|%+.1f|%-8.1f|% .1f|%#.0f]", -3.5, 2.0, 2.0, 2.0, 3.0),
              "[-000003.50|+2.0|2.0     | 2.0|3.]");
    EXPECT_EQ(Wide(L"[%*.*f]", 8, 3, 1.5), "[   1.500]");
}

TEST(FormatFloat, LongPrecisionPadsWithZeros) {
    MOLTR_NOT_WITH_MINGW("msvcrt writes three exponent digits");
    const std::string fixed = Wide(L"%.1200f", 1.0);
    ASSERT_EQ(fixed.size(), 1202u);
    EXPECT_EQ(fixed, "1." + std::string(1200, '0'));
    EXPECT_EQ(Wide(L"%.1105e", 1.0), "1." + std::string(1105, '0') + "e+00");
}

TEST(FormatUser, HasNoFloatingPointAndCopiesUnknownConversions) {
    MOLTR_NOT_UNDER_WINE("Wine's wsprintf pads an unknown conversion to its width");
    EXPECT_EQ(User(L"%f|%5.2e|%o|%q|100%%"), "f|e|o|q|100%");
}

TEST(FormatUser, FieldCutOffAtTheEndPrintsNothing) {
    EXPECT_EQ(User(L"abc%"), "abc");
    EXPECT_EQ(Wide(L"abc%-5"), "abc");
}

TEST(FormatUser, OutputStopsAt1024CharactersWithTheTerminator) {
    MOLTR_NOT_UNDER_WINE("Wine's wsprintf stores 1024 characters before the terminator");
    const std::u16string text(2000, u'x');
    WCHAR buffer[1100];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(wsprintfW(buffer, L"%s", moltr::sim::W(text)), 1023);
    EXPECT_EQ(buffer[1022], L'x');
    EXPECT_EQ(buffer[1023], 0);
    EXPECT_EQ(buffer[1024], L'#');

    char narrow[1100];
    std::fill(std::begin(narrow), std::end(narrow), '#');
    EXPECT_EQ(wsprintfA(narrow, "%01500d", 1), 1023);
    EXPECT_EQ(narrow[1023], 0);
    EXPECT_EQ(narrow[1024], '#');
}

TEST(FormatUser, ReturnsTheLengthWritten) {
    WCHAR buffer[64];
    EXPECT_EQ(wsprintfW(buffer, L"%d-%s", 12, L"ab"), 5);
    EXPECT_EQ(Utf8(buffer), "12-ab");
    EXPECT_EQ(wsprintfW(buffer, L""), 0);
    EXPECT_EQ(buffer[0], 0);
}
