// The system's folders and temporary files: the documented return sizes and unique names.
#include "file_test_helpers.h"
#include <gtest/gtest.h>

using namespace file_test;
using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

class SystemPaths : public ::testing::Test {
protected:
    moltr::sim::TestMachine machine;
};

TEST_F(SystemPaths, FoldersFollowTheCopyOutProtocol) {
    WCHAR buffer[MAX_PATH];
    EXPECT_EQ(GetSystemDirectoryW(buffer, MAX_PATH), 19u);
    EXPECT_EQ(Utf8(buffer), "C:\\Windows\\system32");
    EXPECT_EQ(GetWindowsDirectoryW(buffer, MAX_PATH), 10u);
    EXPECT_EQ(Utf8(buffer), "C:\\Windows");
    // Too small, even by the NUL alone: the size needed, NUL included, and nothing written.
    WCHAR small[19] = {'x', 0};
    EXPECT_EQ(GetSystemDirectoryW(small, 19), 20u);
    EXPECT_EQ(small[0], 'x');
    EXPECT_EQ(GetSystemDirectoryW(nullptr, 0), 20u);
    EXPECT_EQ(GetWindowsDirectoryW(small, 11), 10u);
}

TEST_F(SystemPaths, TempPathIsTheUsersTempFolderWithABackslash) {
    WCHAR buffer[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, buffer);
    EXPECT_EQ(Utf8(buffer), "C:\\Users\\user\\AppData\\Local\\Temp\\");
    EXPECT_EQ(length, 33u);
    EXPECT_EQ(GetTempPathW(33, buffer), 34u);
    EXPECT_NE(GetFileAttributesW(buffer), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", L"C:\\Windows\\Temp"));
    GetTempPathW(MAX_PATH, buffer);
    EXPECT_EQ(Utf8(buffer), "C:\\Windows\\Temp\\");
}

TEST_F(SystemPaths, TempFileNamesWithUniqueZeroAreNewFiles) {
    WCHAR first[MAX_PATH], second[MAX_PATH];
    UINT a = GetTempFileNameW(L"C:\\Windows\\Temp", L"moltr", 0, first);
    UINT b = GetTempFileNameW(L"C:\\Windows\\Temp\\", L"", 0, second);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    std::string name = Utf8(first);
    EXPECT_EQ(name.rfind("C:\\Windows\\Temp\\mol", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 4), ".TMP");
    char hex[8];
    std::snprintf(hex, sizeof(hex), "%X", a);
    EXPECT_EQ(name, std::string("C:\\Windows\\Temp\\mol") + hex + ".TMP");
    EXPECT_NE(Utf8(second), name);
    EXPECT_NE(GetFileAttributesW(first), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(second), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SystemPaths, TempFileNamesWithAGivenNumberAreOnlyNames) {
    WCHAR name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameW(L"C:\\Windows\\Temp", L"ab", 0x1ABCD, name), 0x1ABCDu);
    EXPECT_EQ(Utf8(name), "C:\\Windows\\Temp\\abABCD.TMP");
    EXPECT_EQ(GetFileAttributesW(name), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SystemPaths, TempFileNamesNeedAFolder) {
    WCHAR name[MAX_PATH];
    EXPECT_EQ(GetTempFileNameW(L"C:\\NoFolder", L"x", 0, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    std::u16string deep(MAX_PATH - 8, u'a');
    deep = u"C:\\" + deep;
    EXPECT_EQ(GetTempFileNameW(W(deep), L"x", 1, name), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
}

} // namespace
