// GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW on the language resource module
// the build makes (MOLTRTST.DLL, copied into the temporary folder the machine's cleaning watches)
// and on this program's own file (resource_version.rc).
#include "platform/kernel32/module_test_files.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "this_module.h"
#include "windows_run.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace {

using moltr::sim::TestMachine;
using moltr::sim::Utf8;

constexpr const WCHAR* kModulePath = L"C:\\Windows\\Temp\\MOLTRTST.DLL";

class VersionInfo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(moltr::test::CopyToMachine(moltr::test::BuiltModule("MOLTRTST.DLL"),
                                               Utf8(kModulePath).c_str()));
    }

    // The version block of a file, empty when it has none.
    std::vector<BYTE> Read(const WCHAR* path) {
        DWORD handle = 1;
        DWORD size = GetFileVersionInfoSizeW(path, &handle);
        EXPECT_EQ(handle, 0u);
        std::vector<BYTE> block(size);
        if (size && !GetFileVersionInfoW(path, 0, size, block.data())) {
            block.clear();
        }
        return block;
    }

    // A query's text value, or "<none>".
    static std::string Text(const std::vector<BYTE>& block, const WCHAR* query) {
        LPVOID value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(block.data(), query, &value, &length)) {
            return "<none>";
        }
        // Text lengths count characters and include the terminator.
        return length ? Utf8(static_cast<const WCHAR*>(value), length - 1) : std::string();
    }

    TestMachine machine_;
};

TEST_F(VersionInfo, GivesTheFixedFileInformationAtTheRoot) {
    std::vector<BYTE> block = Read(kModulePath);
    ASSERT_FALSE(block.empty());
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    static_assert(sizeof(VS_FIXEDFILEINFO) == 52);
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(info->dwSignature, static_cast<DWORD>(VS_FFI_SIGNATURE));
    EXPECT_EQ(info->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(info->dwFileVersionLS, 0x00030004u);
    EXPECT_EQ(info->dwProductVersionMS, 0x00060001u);
    EXPECT_EQ(info->dwProductVersionLS, (7601u << 16) | 17514u);
    EXPECT_EQ(info->dwFileFlags, static_cast<DWORD>(VS_FF_PRERELEASE));
    EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_DLL));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(value) % 4, 0u);
}

TEST_F(VersionInfo, ListsTheTranslationsInStoredOrder) {
    std::vector<BYTE> block = Read(kModulePath);
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 8u);
    const WORD* pairs = static_cast<const WORD*>(value);
    EXPECT_EQ(pairs[0], 0x0409);
    EXPECT_EQ(pairs[1], 1200);
    EXPECT_EQ(pairs[2], 0x0407);
    EXPECT_EQ(pairs[3], 1200);
}

TEST_F(VersionInfo, FindsStringsPerLanguageIgnoringCase) {
    std::vector<BYTE> block = Read(kModulePath);
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\040904B0\\FileDescription"), "MOLTR test resources");
    EXPECT_EQ(Text(block, L"\\stringfileinfo\\040704b0\\filedescription"),
              "MOLTR Testressourcen f\xC3\xBCr Gr\xC3\xB6\xC3\x9F"
              "en");
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\040704B0\\FileVersion"), "1.2.3.4");
}

TEST_F(VersionInfo, AnswersFalseForMissingEntries) {
    std::vector<BYTE> block = Read(kModulePath);
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\040C04B0\\FileDescription"), "<none>");
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\040904B0\\CompanyName"), "<none>");
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\040904B0\\FileDescription\\More"), "<none>");
    LPVOID value = nullptr;
    UINT length = 0;
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\Nothing", &value, &length));
    EXPECT_FALSE(VerQueryValueW(nullptr, L"\\", &value, &length));
}

TEST_F(VersionInfo, AMissingEntryOrQueryLeavesNoValue) {
    MOLTR_SIMULATION_ONLY("Windows documents neither the outputs of a failed query nor a null one");
    std::vector<BYTE> block = Read(kModulePath);
    LPVOID value = reinterpret_cast<LPVOID>(1);
    UINT length = 1;
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\Nothing", &value, &length));
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_FALSE(VerQueryValueW(block.data(), nullptr, &value, &length));
}

TEST_F(VersionInfo, StaysInsideACutCopy) {
    MOLTR_SIMULATION_ONLY(
        "Windows keeps a cut copy's root length, so its queries may read past it");
    DWORD size = GetFileVersionInfoSizeW(kModulePath, nullptr);
    ASSERT_GT(size, 200u);
    // Blocks that reach past the cut are not there; what lies before it still is.
    std::vector<BYTE> block(size, 0xFF);
    ASSERT_TRUE(GetFileVersionInfoW(kModulePath, 0, size - 200, block.data()));
    block.resize(size - 200);
    LPVOID value = nullptr;
    UINT length = 0;
    EXPECT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\040904B0\\FileVersion"), "<none>");
    EXPECT_EQ(Text(block, L"\\VarFileInfo\\Translation"), "<none>");
    block.assign(size, 0xFF);
    ASSERT_TRUE(GetFileVersionInfoW(kModulePath, 0, 40, block.data()));
    block.resize(40);
    EXPECT_FALSE(VerQueryValueW(block.data(), L"\\", &value, &length));
}

TEST_F(VersionInfo, ReadsARegisteredModulesOwnFile) {
    WCHAR path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(ThisModuleHandle(), path, MAX_PATH), 0u);
    std::vector<BYTE> block = Read(path);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(Text(block, L"\\StringFileInfo\\000004B0\\InternalName"), "resource_version");
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionMS, 0x0003000Au);
}

TEST_F(VersionInfo, ReportsMissingFilesAndBuffers) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetFileVersionInfoSizeW(L"C:\\Windows\\System32\\MISSING.DLL", nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(GetFileVersionInfoW(kModulePath, 0, 64, nullptr));
}

TEST_F(VersionInfo, AMissingBufferIsAnInvalidParameter) {
    MOLTR_SIMULATION_ONLY("Windows documents no error for a missing buffer");
    EXPECT_FALSE(GetFileVersionInfoW(kModulePath, 0, 64, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
