// Moving a file between two drives of the simulated machine.
#include "file_test_helpers.h"
#include <gtest/gtest.h>

#include <filesystem>

using namespace file_test;
using moltr::sim::W;

namespace {

TEST(FileNamesDrives, MoveAcrossDrivesNeedsCopyAllowed) {
    moltr::sim::TestMachine machine;
    std::filesystem::create_directories(machine.root() + "/d");
    ASSERT_TRUE(Put("C:\\Windows\\Temp\\a.txt", "content"));
    const std::u16string from = Wide("C:\\Windows\\Temp\\a.txt"), to = Wide("D:\\a.txt");
    if (!MoveFileExW(W(from), W(to), 0)) {
        // Both drives lie on one host file system here, so a plain rename may already do it.
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SAME_DEVICE));
        EXPECT_TRUE(MoveFileExW(W(from), W(to), MOVEFILE_COPY_ALLOWED));
    }
    EXPECT_EQ(Get("D:\\a.txt"), "content");
}

} // namespace
