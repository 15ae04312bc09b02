// CreateFileW's dispositions and errors, and reading, writing and positioning on an open file.
#include "file_test_helpers.h"
#include "windows_run.h"
#include <gtest/gtest.h>

using namespace file_test;

namespace {

class Files : public ::testing::Test {
protected:
    moltr::sim::TestMachine machine;
};

TEST_F(Files, HandlesLookLikeWindowsHandles) {
    HANDLE a = Open("C:\\Windows\\Temp\\a.txt", GENERIC_WRITE, 0, CREATE_NEW);
    HANDLE b = Open("C:\\Windows\\Temp\\b.txt", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(a, INVALID_HANDLE_VALUE);
    ASSERT_NE(b, INVALID_HANDLE_VALUE);
    EXPECT_NE(a, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 4, 0u);
    EXPECT_TRUE(CloseHandle(a));
    EXPECT_FALSE(CloseHandle(a));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CloseHandle(b));
    EXPECT_FALSE(CloseHandle(nullptr));
    // INVALID_HANDLE_VALUE is the process's pseudo handle, whose closing has no effect.
    EXPECT_TRUE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST_F(Files, CreateNewRefusesAnExistingFile) {
    HANDLE file = Open("C:\\Windows\\Temp\\new.txt", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(file);
    EXPECT_EQ(Open("C:\\Windows\\Temp\\NEW.TXT", GENERIC_WRITE, 0, CREATE_NEW),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
}

TEST_F(Files, CreateAlwaysTruncatesAndReportsAnExistingFile) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\x.txt", "old content"));
    HANDLE file = Open("C:\\Windows\\Temp\\x.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    CloseHandle(file);
    file = Open("C:\\Windows\\Temp\\y.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(file);
}

TEST_F(Files, OpenAlwaysKeepsContentAndReportsAnExistingFile) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\x.txt", "kept"));
    HANDLE file = Open("C:\\Windows\\Temp\\x.txt", GENERIC_READ, 0, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(file, nullptr), 4u);
    CloseHandle(file);
    file = Open("C:\\Windows\\Temp\\fresh.txt", GENERIC_READ, 0, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(file);
}

TEST_F(Files, OpenAndTruncateExistingNeedTheFile) {
    EXPECT_EQ(Open("C:\\Windows\\Temp\\none.txt", GENERIC_READ, 0, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open("C:\\Windows\\NoFolder\\none.txt", GENERIC_READ, 0, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open("C:\\Windows\\Temp\\none.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\t.txt", "12345"));
    HANDLE file = Open("C:\\Windows\\Temp\\t.txt", GENERIC_WRITE, 0, TRUNCATE_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    CloseHandle(file);
}

TEST_F(Files, BadArgumentsAreRefused) {
    MOLTR_NOT_UNDER_WINE("Wine truncates a file opened for reading only");
    // Truncating needs write access; an unknown disposition is no disposition.
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\t.txt", "12345"));
    EXPECT_EQ(Open("C:\\Windows\\Temp\\t.txt", GENERIC_READ, 0, TRUNCATE_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Open("C:\\Windows\\Temp\\t.txt", GENERIC_READ, 0, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("C:\\Windows\\Temp\\t.txt", GENERIC_READ, 0, 6), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Open("C:\\Windows\\Temp\\a?.txt", GENERIC_READ, 0, OPEN_ALWAYS),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(CreateFileW(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open("relative.txt", GENERIC_READ, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
}

TEST_F(Files, FoldersOpenOnlyWithBackupSemantics) {
    EXPECT_EQ(Open("C:\\Windows", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    HANDLE folder = Open("C:\\Windows", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    FILETIME written{};
    EXPECT_TRUE(GetFileTime(folder, nullptr, nullptr, &written));
    char byte;
    DWORD got = 0;
    EXPECT_FALSE(ReadFile(folder, &byte, 1, &got, nullptr));
    CloseHandle(folder);
}

TEST_F(Files, PathsIgnoreCaseAndSlashDirection) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\Mixed.Txt", "abc"));
    EXPECT_EQ(Get("c:/WINDOWS/temp/mixed.TXT"), "abc");
}

TEST_F(Files, ReadOnlyFilesRefuseWriting) {
    MOLTR_NOT_UNDER_WINE("Wine runs as root here, who may write read-only files");
    HANDLE file =
        Open("C:\\Windows\\Temp\\ro.txt", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "x", 1, &written, nullptr)); // the creating handle may write
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(moltr::sim::W(Wide("C:\\Windows\\Temp\\ro.txt"))) &
                  FILE_ATTRIBUTE_READONLY,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Open("C:\\Windows\\Temp\\ro.txt", GENERIC_WRITE, 0, OPEN_EXISTING),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open("C:\\Windows\\Temp\\ro.txt", GENERIC_READ, 0, CREATE_ALWAYS),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(Get("C:\\Windows\\Temp\\ro.txt"), "x");
}

TEST_F(Files, AccessDecidesWhatAHandleMayDo) {
    MOLTR_NOT_UNDER_WINE("Wine sets no times on a read handle without checking its access");
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\a.txt", "abc"));
    HANDLE reader = Open("C:\\Windows\\Temp\\a.txt", GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    DWORD done = 7;
    EXPECT_FALSE(WriteFile(reader, "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(SetEndOfFile(reader));
    EXPECT_FALSE(SetFileTime(reader, nullptr, nullptr, nullptr));
    HANDLE writer = Open("C:\\Windows\\Temp\\a.txt", GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    char buffer[4];
    EXPECT_FALSE(ReadFile(writer, buffer, 3, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(reader);
    CloseHandle(writer);
}

TEST_F(Files, ReadingAtTheEndSucceedsWithNothing) {
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\a.txt", "abc"));
    HANDLE file = Open("C:\\Windows\\Temp\\a.txt", GENERIC_READ, 0, OPEN_EXISTING);
    char buffer[8];
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(file, buffer, sizeof(buffer), &got, nullptr));
    EXPECT_EQ(got, 3u);
    got = 9;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof(buffer), &got, nullptr));
    EXPECT_EQ(got, 0u);
    // With an offset beyond the end, the synchronous read reports the end of the file.
    OVERLAPPED at{};
    at.Offset = 10;
    EXPECT_FALSE(ReadFile(file, buffer, sizeof(buffer), &got, &at));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HANDLE_EOF));
    at.Offset = 1;
    ASSERT_TRUE(ReadFile(file, buffer, 1, &got, &at));
    EXPECT_EQ(buffer[0], 'b');
    CloseHandle(file);
}

TEST_F(Files, FilePointerMovesAndExtends) {
    MOLTR_NOT_UNDER_WINE("Wine's SetFilePointer leaves an earlier last error on success");
    HANDLE file = Open("C:\\Windows\\Temp\\p.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file, "0123456789", 10, &done, nullptr));
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 10u);
    EXPECT_EQ(SetFilePointer(file, -4, nullptr, FILE_END), 6u);
    char buffer[4];
    ASSERT_TRUE(ReadFile(file, buffer, 2, &done, nullptr));
    EXPECT_EQ(std::string(buffer, 2), "67");
    EXPECT_EQ(SetFilePointer(file, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(file, 1, nullptr, 3), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    // Past the end the file grows only when written or ended there.
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(file, 0, &high, FILE_BEGIN), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(high, 1);
    ASSERT_TRUE(SetEndOfFile(file));
    LARGE_INTEGER size{};
    ASSERT_TRUE(GetFileSizeEx(file, &size));
    EXPECT_EQ(size.QuadPart, 0x100000000LL);
    DWORD sizeHigh = 0;
    EXPECT_EQ(GetFileSize(file, &sizeHigh), 0u);
    EXPECT_EQ(sizeHigh, 1u);
    LARGE_INTEGER to{};
    to.QuadPart = 3;
    LARGE_INTEGER now{};
    ASSERT_TRUE(SetFilePointerEx(file, to, &now, FILE_BEGIN));
    EXPECT_EQ(now.QuadPart, 3);
    ASSERT_TRUE(SetEndOfFile(file));
    EXPECT_EQ(GetFileSize(file, nullptr), 3u);
    EXPECT_TRUE(FlushFileBuffers(file));
    CloseHandle(file);
    EXPECT_EQ(Get("C:\\Windows\\Temp\\p.bin"), "012");
}

TEST_F(Files, OperationsOnBadHandlesFail) {
    DWORD done = 0;
    char byte = 0;
    HANDLE bogus = reinterpret_cast<HANDLE>(uintptr_t(0x7FF0));
    EXPECT_FALSE(ReadFile(bogus, &byte, 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(WriteFile(INVALID_HANDLE_VALUE, &byte, 1, &done, nullptr));
    EXPECT_EQ(GetFileSize(nullptr, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FlushFileBuffers(bogus));
    EXPECT_EQ(SetFilePointer(bogus, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
}

TEST_F(Files, DeleteOnCloseRemovesTheFileAtTheLastClose) {
    HANDLE file = Open("C:\\Windows\\Temp\\gone.tmp", GENERIC_WRITE, FILE_SHARE_DELETE, CREATE_NEW,
                       FILE_FLAG_DELETE_ON_CLOSE);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_NE(GetFileAttributesW(moltr::sim::W(Wide("C:\\Windows\\Temp\\gone.tmp"))),
              INVALID_FILE_ATTRIBUTES);
    CloseHandle(file);
    EXPECT_EQ(GetFileAttributesW(moltr::sim::W(Wide("C:\\Windows\\Temp\\gone.tmp"))),
              INVALID_FILE_ATTRIBUTES);
}

} // namespace
