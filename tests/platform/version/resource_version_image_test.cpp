// The version functions on a module file of the simulated machine that is a resource image
// without a version resource.
#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <fstream>

namespace {

TEST(VersionImage, ReportsAnImageWithoutVersionInformation) {
    moltr::sim::TestMachine machine;
    const WCHAR* path = L"C:\\Windows\\System32\\NOVER.DLL";
    // Just the empty entry every .res image starts with.
    const BYTE empty[32] = {0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    std::ofstream(moltr::sim::HostPath(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(empty), 32);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetFileVersionInfoSizeW(path, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
    BYTE buffer[64];
    EXPECT_FALSE(GetFileVersionInfoW(path, 0, sizeof buffer, buffer));
}

} // namespace
