// Work on files and folders by name: attributes, folders, deleting, moving with and without
// replacing, copying, and file times with their round trip through SetFileTime.
#include "file_test_helpers.h"
#include "windows_run.h"
#include <gtest/gtest.h>

#include <utility>

using namespace file_test;
using moltr::sim::W;

namespace {

class FileNames : public ::testing::Test {
protected:
    moltr::sim::TestMachine machine;
};

std::u16string P(const char* path) {
    return Wide(path);
}

TEST_F(FileNames, AttributesTellFilesFromFolders) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\a.txt", "x"));
    EXPECT_EQ(GetFileAttributesW(W(P("C:\\Windows\\Temp\\a.txt"))),
              static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributesW(W(P("C:\\WINDOWS"))),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(W(P("C:\\Windows\\none.txt"))), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(W(P("C:\\Windows\\none\\none.txt"))), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW(W(P("C:\\Windows\\Temp\\a.txt\\below"))), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileNames, FoldersAreCreatedOnceAndRemovedWhenEmpty) {
    EXPECT_TRUE(CreateDirectoryW(W(P("C:\\Data")), nullptr));
    EXPECT_FALSE(CreateDirectoryW(W(P("c:\\data")), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(CreateDirectoryW(W(P("C:\\No\\Data")), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    ASSERT_TRUE(Put("C:\\Data\\f.txt", "x"));
    EXPECT_FALSE(RemoveDirectoryW(W(P("C:\\Data"))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    EXPECT_FALSE(RemoveDirectoryW(W(P("C:\\Data\\f.txt"))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_FALSE(DeleteFileW(W(P("C:\\Data"))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(DeleteFileW(W(P("C:\\DATA\\F.TXT"))));
    EXPECT_TRUE(RemoveDirectoryW(W(P("C:\\Data"))));
    EXPECT_FALSE(RemoveDirectoryW(W(P("C:\\Data"))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileNames, DeleteNeedsAnExistingWritableFile) {
    EXPECT_FALSE(DeleteFileW(W(P("C:\\Windows\\none.txt"))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    HANDLE file =
        Open("C:\\Windows\\Temp\\ro.txt", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
    CloseHandle(file);
    EXPECT_FALSE(DeleteFileW(W(P("C:\\Windows\\Temp\\ro.txt"))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(FileNames, MoveRefusesAnExistingTargetUnlessReplacing) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\new.gpd", "new"));
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\old.gpd", "old"));
    EXPECT_FALSE(
        MoveFileExW(W(P("C:\\Windows\\Temp\\new.gpd")), W(P("C:\\Windows\\Temp\\OLD.gpd")), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(MoveFileExW(W(P("C:\\Windows\\Temp\\new.gpd")), W(P("C:\\Windows\\Temp\\old.gpd")),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_EQ(Get("C:\\Windows\\Temp\\old.gpd"), "new");
    EXPECT_EQ(GetFileAttributesW(W(P("C:\\Windows\\Temp\\new.gpd"))), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(
        MoveFileExW(W(P("C:\\Windows\\Temp\\new.gpd")), W(P("C:\\Windows\\Temp\\x.gpd")), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileNames, ReplacingAnOpenTargetIsDenied) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\new.gpd", "new"));
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\old.gpd", "old"));
    HANDLE reader = Open("C:\\Windows\\Temp\\old.gpd", GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_FALSE(MoveFileExW(W(P("C:\\Windows\\Temp\\new.gpd")), W(P("C:\\Windows\\Temp\\old.gpd")),
                             MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(reader);
    EXPECT_EQ(Get("C:\\Windows\\Temp\\old.gpd"), "old");
}

TEST_F(FileNames, MoveCanChangeOnlyTheLetterCase) {
    MOLTR_NOT_UNDER_WINE("Wine's move to another letter case of the same name keeps the old one");
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\name.txt", "x"));
    EXPECT_TRUE(
        MoveFileExW(W(P("C:\\Windows\\Temp\\name.txt")), W(P("C:\\Windows\\Temp\\NAME.TXT")), 0));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(W(P("C:\\Windows\\Temp\\nam*.txt")), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(moltr::sim::Utf8(found.cFileName), "NAME.TXT");
}

TEST_F(FileNames, CopyKeepsContentAndWriteTime) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\a.txt", "content"));
    HANDLE source = Open("C:\\Windows\\Temp\\a.txt", GENERIC_WRITE, 0, OPEN_EXISTING);
    FILETIME written = {0x12345600, 0x01D00000};
    ASSERT_TRUE(SetFileTime(source, nullptr, nullptr, &written));
    CloseHandle(source);
    EXPECT_TRUE(
        CopyFileW(W(P("C:\\Windows\\Temp\\a.txt")), W(P("C:\\Windows\\Temp\\b.txt")), TRUE));
    EXPECT_EQ(Get("C:\\Windows\\Temp\\b.txt"), "content");
    HANDLE copy = Open("C:\\Windows\\Temp\\b.txt", GENERIC_READ, 0, OPEN_EXISTING);
    FILETIME copied{};
    ASSERT_TRUE(GetFileTime(copy, nullptr, nullptr, &copied));
    CloseHandle(copy);
    EXPECT_EQ(CompareFileTime(&copied, &written), 0);
    EXPECT_FALSE(
        CopyFileW(W(P("C:\\Windows\\Temp\\a.txt")), W(P("C:\\Windows\\Temp\\b.txt")), TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_TRUE(
        CopyFileW(W(P("C:\\Windows\\Temp\\a.txt")), W(P("C:\\Windows\\Temp\\b.txt")), FALSE));
    EXPECT_FALSE(
        CopyFileW(W(P("C:\\Windows\\Temp\\none.txt")), W(P("C:\\Windows\\Temp\\c.txt")), FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileNames, CopyRespectsSharing) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\a.txt", "content"));
    HANDLE writer = Open("C:\\Windows\\Temp\\a.txt", GENERIC_WRITE, 0, OPEN_EXISTING);
    EXPECT_FALSE(
        CopyFileW(W(P("C:\\Windows\\Temp\\a.txt")), W(P("C:\\Windows\\Temp\\b.txt")), FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(writer);
}

// Sets the creation and write times of a new file C:\Windows\Temp\t.gpd through its handle.
void MakeWithTimes(const FILETIME& creation, const FILETIME& write) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\t.gpd", "x"));
    HANDLE file = Open("C:\\Windows\\Temp\\t.gpd", GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    ASSERT_TRUE(SetFileTime(file, &creation, nullptr, &write));
    CloseHandle(file);
}

// The creation and write times of C:\Windows\Temp\t.gpd.
std::pair<FILETIME, FILETIME> ReadTimes() {
    HANDLE file = Open("C:\\Windows\\Temp\\t.gpd", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    FILETIME creation{}, write{};
    EXPECT_TRUE(GetFileTime(file, &creation, nullptr, &write));
    CloseHandle(file);
    return {creation, write};
}

int Compare(const FILETIME& a, const FILETIME& b) {
    return CompareFileTime(&a, &b);
}

FILETIME FileTime(const SYSTEMTIME& time) {
    FILETIME file{};
    EXPECT_TRUE(SystemTimeToFileTime(&time, &file));
    return file;
}

TEST_F(FileNames, SetWriteTimesAreReadBack) {
    const FILETIME write = FileTime({2012, 2, 0, 29, 23, 59, 59, 999});
    MakeWithTimes(FileTime({2009, 7, 0, 22, 10, 30, 15, 250}), write);
    EXPECT_EQ(Compare(ReadTimes().second, write), 0);
    // Rewriting the file moves its write time on.
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\t.gpd", "rewritten"));
    EXPECT_EQ(Compare(ReadTimes().second, write), 1);
}

TEST_F(FileNames, SetCreationTimesAreReadBackAndKept) {
    MOLTR_NOT_UNDER_WINE("Wine cannot set a creation time on a Unix file system");
    const FILETIME creation = FileTime({2009, 7, 0, 22, 10, 30, 15, 250});
    MakeWithTimes(creation, FileTime({2012, 2, 0, 29, 23, 59, 59, 999}));
    EXPECT_EQ(Compare(ReadTimes().first, creation), 0);
    // Rewriting the file keeps its creation time.
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\t.gpd", "rewritten"));
    EXPECT_EQ(Compare(ReadTimes().first, creation), 0);
}

TEST_F(FileNames, NewFilesHaveTimesOfNow) {
    FILETIME before{}, after{}, creation{}, write{};
    GetSystemTimeAsFileTime(&before);
    HANDLE file = Open("C:\\Windows\\Temp\\now.txt", GENERIC_WRITE, 0, CREATE_NEW);
    GetSystemTimeAsFileTime(&after);
    ASSERT_TRUE(GetFileTime(file, &creation, nullptr, &write));
    CloseHandle(file);
    // The host clock of the file system may lag by a tick.
    ULARGE_INTEGER a{}, c{};
    a.QuadPart = (ULONGLONG(before.dwHighDateTime) << 32 | before.dwLowDateTime) - 200000;
    c.QuadPart = ULONGLONG(creation.dwHighDateTime) << 32 | creation.dwLowDateTime;
    EXPECT_GE(c.QuadPart, a.QuadPart);
    EXPECT_LE(CompareFileTime(&creation, &after), 0);
}

TEST_F(FileNames, ZeroTimesLeaveTimesAlone) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\t.gpd", "x"));
    HANDLE file = Open("C:\\Windows\\Temp\\t.gpd", GENERIC_WRITE, 0, OPEN_EXISTING);
    FILETIME before{}, after{}, zero{};
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &before));
    ASSERT_TRUE(SetFileTime(file, &zero, &zero, &zero));
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &after));
    CloseHandle(file);
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

} // namespace
