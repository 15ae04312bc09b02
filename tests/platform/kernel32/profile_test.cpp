// INI files: reading keys with the documented buffer rules, numbers, writing and deleting keys and
// sections, letter case, and the two encodings.
#include "file_test_helpers.h"
#include "windows_run.h"
#include <gtest/gtest.h>

using namespace file_test;
using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

constexpr const char* kIni = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\MOLTR.INI";

class Profile : public ::testing::Test {
protected:
    std::string Read(const char16_t* section, const char16_t* key,
                     const char16_t* fallback = u"dflt", DWORD size = 64, DWORD* length = nullptr) {
        WCHAR buffer[64] = {};
        DWORD got = GetPrivateProfileStringW(
            reinterpret_cast<LPCWSTR>(section), reinterpret_cast<LPCWSTR>(key),
            reinterpret_cast<LPCWSTR>(fallback), buffer, size, W(path));
        if (length) {
            *length = got;
        }
        return Utf8(buffer, got);
    }

    UINT Number(const char16_t* key, INT fallback = -7) {
        return GetPrivateProfileIntW(L"UIPSETTINGS", reinterpret_cast<LPCWSTR>(key), fallback,
                                     W(path));
    }

    bool Write(const char16_t* section, const char16_t* key, const char16_t* value) {
        return WritePrivateProfileStringW(reinterpret_cast<LPCWSTR>(section),
                                          reinterpret_cast<LPCWSTR>(key),
                                          reinterpret_cast<LPCWSTR>(value), W(path));
    }

    moltr::sim::TestMachine machine;
    const std::u16string path = Wide(kIni);
};

TEST_F(Profile, KeysAndSectionsMatchIgnoringCase) {
    ASSERT_TRUE(Put(
        kIni,
        "; settings\r\n[UIPSettings]\r\n  UIPLang = 1031  \r\nOther=x\r\n[Next]\r\nUIPLANG=5\r\n"));
    EXPECT_EQ(Read(u"uipsettings", u"uiplang"), "1031");
    EXPECT_EQ(Read(u"NEXT", u"UipLang"), "5");
    EXPECT_EQ(Read(u"UIPSETTINGS", u"Missing"), "dflt");
    EXPECT_EQ(Read(u"Nowhere", u"UIPLANG", u"fallback  "), "fallback");
    EXPECT_EQ(Read(u"Nowhere", u"UIPLANG", nullptr), "");
}

TEST_F(Profile, MissingFilesGiveTheDefault) {
    MOLTR_NOT_UNDER_WINE("Wine keeps an INI file cached after it is deleted");
    EXPECT_EQ(Read(u"UIPSETTINGS", u"UIPLANG"), "dflt");
    EXPECT_EQ(Number(u"UIPLANG", 0), 0u);
    EXPECT_EQ(Number(u"UIPLANG", 33), 33u);
}

TEST_F(Profile, QuotesAroundAValueAreDropped) {
    ASSERT_TRUE(Put(kIni, "[S]\r\na=\"quoted text\"\r\nb='single'\r\nc=\"unbalanced\r\n"));
    EXPECT_EQ(Read(u"S", u"a"), "quoted text");
    EXPECT_EQ(Read(u"S", u"b"), "single");
    EXPECT_EQ(Read(u"S", u"c"), "\"unbalanced");
}

TEST_F(Profile, LongValuesAreCutToTheBuffer) {
    ASSERT_TRUE(Put(kIni, "[S]\r\nk=abcdefgh\r\n"));
    DWORD length = 0;
    EXPECT_EQ(Read(u"S", u"k", u"", 5, &length), "abcd");
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(Read(u"S", u"k", u"", 9, &length), "abcdefgh");
    EXPECT_EQ(length, 8u);
    WCHAR untouched = 'z';
    EXPECT_EQ(GetPrivateProfileStringW(L"S", L"k", L"", &untouched, 0, W(path)), 0u);
    EXPECT_EQ(untouched, 'z');
}

TEST_F(Profile, NullNamesListSectionsOrKeys) {
    ASSERT_TRUE(Put(kIni, "[One]\r\na=1\r\nbb=2\r\n[Two]\r\n"));
    DWORD length = 0;
    EXPECT_EQ(Read(nullptr, nullptr, u"", 64, &length), std::string("One\0Two\0", 8));
    EXPECT_EQ(Read(u"one", nullptr, u"", 64, &length), std::string("a\0bb\0", 5));
    // Too small: the last name is cut and two NULs end the buffer.
    WCHAR small[4];
    EXPECT_EQ(GetPrivateProfileStringW(L"One", nullptr, L"", small, 4, W(path)), 2u);
    EXPECT_EQ(small[0], 'a');
    EXPECT_EQ(small[1], 0);
    EXPECT_EQ(small[2], 0);
    EXPECT_EQ(small[3], 0);
}

TEST_F(Profile, AListThatFillsTheBufferExactlyIsCutAtTheNextName) {
    ASSERT_TRUE(Put(kIni, "[S]\r\nab=1\r\ncd=2\r\n"));
    // "ab" and its NUL fill all but the last character; "cd" has no room at all.
    WCHAR buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(GetPrivateProfileStringW(L"S", nullptr, L"", buffer, 4, W(path)), 2u);
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(buffer[1], 'b');
    EXPECT_EQ(buffer[2], 0);
    EXPECT_EQ(buffer[3], 0);
}

TEST_F(Profile, NumbersTakeTheLeadingDigits) {
    ASSERT_TRUE(
        Put(kIni, "[UIPSETTINGS]\r\nA=1033\r\nB=-5\r\nC=12abc\r\nD=abc\r\nE=\r\nF=65535\r\n"));
    EXPECT_EQ(Number(u"A"), 1033u);
    EXPECT_EQ(Number(u"B"), static_cast<UINT>(-5));
    EXPECT_EQ(Number(u"C"), 12u);
    EXPECT_EQ(Number(u"D"), 0u);
    EXPECT_EQ(Number(u"E"), static_cast<UINT>(-7));
    EXPECT_EQ(Number(u"F"), 65535u);
    EXPECT_EQ(Number(u"Missing"), static_cast<UINT>(-7));
}

TEST_F(Profile, WritingCreatesFileSectionAndKey) {
    MOLTR_NOT_UNDER_WINE("Wine keeps an INI file cached after it is replaced");
    ASSERT_TRUE(Write(u"UIPSETTINGS", u"UIPLANG", u"1031"));
    EXPECT_EQ(Get(kIni), "[UIPSETTINGS]\r\nUIPLANG=1031\r\n");
    ASSERT_TRUE(Write(u"uipsettings", u"UIPTYPEDOCUMENT", u"1"));
    ASSERT_TRUE(Write(u"UIPSETTINGS", u"uiplang", u"1033"));
    ASSERT_TRUE(Write(u"Other", u"k", u"v"));
    EXPECT_EQ(Get(kIni),
              "[UIPSETTINGS]\r\nuiplang=1033\r\nUIPTYPEDOCUMENT=1\r\n[Other]\r\nk=v\r\n");
}

TEST_F(Profile, NullValueDeletesTheKeyAndNullKeyTheSection) {
    MOLTR_NOT_UNDER_WINE("Wine drops blank lines when it writes an INI file");
    ASSERT_TRUE(Put(kIni, "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n"));
    ASSERT_TRUE(Write(u"a", u"X", nullptr));
    EXPECT_EQ(Get(kIni), "[A]\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    ASSERT_TRUE(Write(u"A", nullptr, nullptr));
    EXPECT_EQ(Get(kIni), "[B]\r\nz=3\r\n");
    EXPECT_TRUE(Write(u"None", u"k", nullptr));
    EXPECT_FALSE(Write(nullptr, u"k", u"v"));
}

TEST_F(Profile, WritingIntoAMissingFolderFails) {
    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"v", L"C:\\NoFolder\\x.ini"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(Profile, ReadOnlyFilesAreNotWritten) {
    MOLTR_NOT_UNDER_WINE("Wine runs as root here, who may write read-only files");
    HANDLE file = Open(kIni, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
    CloseHandle(file);
    EXPECT_FALSE(Write(u"S", u"k", u"v"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Get(kIni), "");
}

TEST_F(Profile, AnsiFilesUseTheAnsiCodePage) {
    ASSERT_TRUE(Put(kIni, "[S]\r\nname=Gr\xFC\xDF"
                          "e \x80\r\n"));
    EXPECT_EQ(Read(u"S", u"name"), "Gr\xC3\xBC\xC3\x9F"
                                   "e \xE2\x82\xAC");
    ASSERT_TRUE(Write(u"S", u"more", u"\u00E4"));
    EXPECT_EQ(Get(kIni), "[S]\r\nname=Gr\xFC\xDF"
                         "e \x80\r\nmore=\xE4\r\n");
}

TEST_F(Profile, Utf16FilesStayUtf16) {
    std::u16string text = u"\uFEFF[S]\r\nk=\u0416\r\n";
    ASSERT_TRUE(
        Put(kIni, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    EXPECT_EQ(Read(u"S", u"k"), "\xD0\x96");
    ASSERT_TRUE(Write(u"S", u"n", u"1"));
    std::u16string expected = u"\uFEFF[S]\r\nk=\u0416\r\nn=1\r\n";
    EXPECT_EQ(Get(kIni),
              std::string(reinterpret_cast<const char*>(expected.data()), expected.size() * 2));
}

TEST_F(Profile, NamesWithoutAFolderAreInTheWindowsFolder) {
    ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"v", L"moltr-test.ini"));
    EXPECT_EQ(Get("C:\\Windows\\moltr-test.ini"), "[S]\r\nk=v\r\n");
}

} // namespace
