// Sharing of open files: within a process and between processes of the simulated machine, and the
// sharing checks of deleting and moving.
#include "file_test_helpers.h"
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace file_test;

namespace {

constexpr const char* kFile = "C:\\Windows\\Temp\\shared.gpd";
constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class FileSharing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Put(kFile, "content")); }

    // Whether a second open with this access and share mode succeeds; a refusal must be a sharing
    // violation.
    static bool Opens(DWORD access, DWORD share) {
        HANDLE file = Open(kFile, access, share, OPEN_EXISTING);
        if (file == INVALID_HANDLE_VALUE) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            return false;
        }
        CloseHandle(file);
        return true;
    }

    moltr::sim::TestMachine machine;
};

TEST_F(FileSharing, AccessMustBeSharedByTheExistingOpen) {
    HANDLE first = Open(kFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Opens(GENERIC_READ, FILE_SHARE_READ));
    EXPECT_FALSE(Opens(GENERIC_WRITE, kShareAll));
    EXPECT_FALSE(Opens(DELETE, kShareAll));
    CloseHandle(first);
    EXPECT_TRUE(Opens(GENERIC_WRITE, 0));
}

TEST_F(FileSharing, ShareModeMustAllowTheExistingAccess) {
    HANDLE writer = Open(kFile, GENERIC_WRITE, kShareAll, OPEN_EXISTING);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    // The spooler reads the GPD sharing read and write while the UI rewrites it.
    EXPECT_TRUE(Opens(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE));
    EXPECT_FALSE(Opens(GENERIC_READ, FILE_SHARE_READ));
    CloseHandle(writer);
}

TEST_F(FileSharing, OpensWithoutDataAccessConflictWithNothing) {
    HANDLE exclusive = Open(kFile, kReadWrite, 0, OPEN_EXISTING);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Opens(FILE_READ_ATTRIBUTES, 0));
    EXPECT_FALSE(Opens(GENERIC_READ, kShareAll));
    CloseHandle(exclusive);
}

TEST_F(FileSharing, CreateAlwaysOnAnOpenFileLeavesItAlone) {
    HANDLE reader = Open(kFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(Open(kFile, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);
    EXPECT_EQ(Get(kFile), "content");
}

TEST_F(FileSharing, DeletingNeedsEveryOpenToShareDelete) {
    const std::u16string path = Wide(kFile);
    HANDLE reader = Open(kFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_FALSE(DeleteFileW(moltr::sim::W(path)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);
    reader = Open(kFile, GENERIC_READ, kShareAll, OPEN_EXISTING);
    EXPECT_TRUE(DeleteFileW(moltr::sim::W(path)));
    CloseHandle(reader);
    EXPECT_EQ(GetFileAttributesW(moltr::sim::W(path)), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileSharing, MovingAnOpenFileNeedsShareDelete) {
    const std::u16string from = Wide(kFile), to = Wide("C:\\Windows\\Temp\\moved.gpd");
    HANDLE reader = Open(kFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_FALSE(MoveFileExW(moltr::sim::W(from), moltr::sim::W(to), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);
    EXPECT_TRUE(MoveFileExW(moltr::sim::W(from), moltr::sim::W(to), 0));
}

// Runs `child` in a forked process and returns its exit code.
template <class Body> int InChild(Body child) {
    pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(child());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(FileSharing, HoldsAcrossProcesses) {
    HANDLE reader = Open(kFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    int refused = InChild([] {
        HANDLE file = Open(kFile, GENERIC_WRITE, kShareAll, OPEN_EXISTING);
        return file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION ? 0 : 1;
    });
    EXPECT_EQ(refused, 0);
    int allowed = InChild([] {
        HANDLE file = Open(kFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        return file != INVALID_HANDLE_VALUE ? 0 : 1;
    });
    EXPECT_EQ(allowed, 0);
    CloseHandle(reader);
}

TEST_F(FileSharing, AnotherProcessesOpenBlocksUntilItCloses) {
    int toChild[2], toParent[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(toParent), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
        HANDLE file = Open(kFile, kReadWrite, 0, OPEN_EXISTING);
        char signal = file != INVALID_HANDLE_VALUE ? 'o' : 'x';
        (void)!::write(toParent[1], &signal, 1);
        (void)!::read(toChild[0], &signal, 1);
        if (signal == 'c') {
            CloseHandle(file);
        }
        (void)!::write(toParent[1], &signal, 1);
        (void)!::read(toChild[0], &signal, 1);
        ::_exit(0); // ends while still holding the file when told to
    }
    char signal = 0;
    ASSERT_EQ(::read(toParent[0], &signal, 1), 1);
    ASSERT_EQ(signal, 'o');
    EXPECT_FALSE(Opens(GENERIC_READ, kShareAll));
    EXPECT_FALSE(DeleteFileW(moltr::sim::W(Wide(kFile))));
    signal = 'c';
    (void)!::write(toChild[1], &signal, 1);
    ASSERT_EQ(::read(toParent[0], &signal, 1), 1);
    EXPECT_TRUE(Opens(GENERIC_READ, 0));
    (void)!::write(toChild[1], &signal, 1);
    ::waitpid(pid, nullptr, 0);
}

TEST_F(FileSharing, OpensOfEndedProcessesAreIgnored) {
    int toParent[2];
    ASSERT_EQ(::pipe(toParent), 0);
    pid_t pid = ::fork();
    if (pid == 0) {
        HANDLE file = Open(kFile, kReadWrite, 0, OPEN_EXISTING);
        char signal = file != INVALID_HANDLE_VALUE ? 'o' : 'x';
        (void)!::write(toParent[1], &signal, 1);
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(toParent[0], &signal, 1), 1);
    ASSERT_EQ(signal, 'o');
    // Ended but not yet reaped: a zombie holds nothing.
    siginfo_t info{};
    ::waitid(P_PID, pid, &info, WEXITED | WNOWAIT);
    EXPECT_TRUE(Opens(kReadWrite, 0));
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(Opens(kReadWrite, 0));
}

} // namespace
