// GetJobW on a spooler that holds no jobs: the answers Windows gives for a job id it does not know,
// after the checks of the handle and the level.
#include "spool_fixture.h"

namespace moltr::test {
namespace {

class SpoolJobs : public SpoolTest {};

TEST_F(SpoolJobs, AJobIdThatNamesNoJobIsAnInvalidParameter) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    BYTE buffer[512] = {0x5A};
    DWORD needed = 0xDEAD;
    SetLastError(0);
    EXPECT_FALSE(GetJobW(printer, 7, 2, buffer, sizeof(buffer), &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(needed, 0u);
    EXPECT_EQ(buffer[0], 0x5A);
    ClosePrinter(printer);
}

TEST_F(SpoolJobs, BadHandlesAndLevelsAreRefusedFirst) {
    DWORD needed = 0;
    SetLastError(0);
    EXPECT_FALSE(GetJobW(nullptr, 1, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    EXPECT_FALSE(GetJobW(printer, 1, 4, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_LEVEL));
    ClosePrinter(printer);
}

} // namespace
} // namespace moltr::test
