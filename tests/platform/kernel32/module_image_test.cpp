// Modules loaded as images: MOLTRTSI.DLL, which the build puts next to this program, through
// LoadLibraryW, GetProcAddress, the module names and handles, and FreeLibrary.
#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <filesystem>
#include <string>

namespace {

using moltr::sim::TestMachine;
using moltr::sim::Utf8;

typedef HMODULE(WINAPI* OwnHandle)();
typedef int(WINAPI* OwnString)(UINT id, LPWSTR buffer, int size);

// An export as the function type it has; the cast goes through the generic function pointer type.
template <typename Function> Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

class ImageModule : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(L"MOLTRTSI.DLL");
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (module_) {
            EXPECT_TRUE(FreeLibrary(module_));
        }
    }

    TestMachine machine_;
    HMODULE module_ = nullptr;
};

TEST_F(ImageModule, IsFoundInTheApplicationFolderAndKnowsItsOwnHandle) {
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(module_) & 3, 0u);
    auto ownHandle = Export<OwnHandle>(module_, "MoltrTestOwnHandle");
    ASSERT_NE(ownHandle, nullptr);
    EXPECT_EQ(ownHandle(), module_);
    EXPECT_EQ(GetModuleHandleW(L"moltrtsi.dll"), module_);
    EXPECT_EQ(GetModuleHandleW(L"MOLTRTSI.DLL"), module_);
}

TEST_F(ImageModule, FindsItsOwnResourcesNotTheExecutables) {
    auto ownString = Export<OwnString>(module_, "MoltrTestOwnString");
    ASSERT_NE(ownString, nullptr);
    WCHAR buffer[32];
    ASSERT_EQ(ownString(1, buffer, 32), 12);
    EXPECT_EQ(Utf8(buffer), "Image string");
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 32), 0);
}

TEST_F(ImageModule, ExportsOnlyItsOwnFunctions) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetProcAddress(module_, "LoadStringW"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST_F(ImageModule, IsNamedByItsHostFile) {
    WCHAR path[MAX_PATH];
    DWORD length = GetModuleFileNameW(module_, path, MAX_PATH);
    std::filesystem::path expected =
        std::filesystem::canonical("/proc/self/exe").parent_path() / "MOLTRTSI.DLL";
    EXPECT_EQ(Utf8(path, length), Utf8(moltr::sim::WindowsPath(expected.string())));
    EXPECT_EQ(GetModuleHandleW(path), module_);
    // Loading its file again, even as data, gives the same module.
    HMODULE again = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(again, module_);
    EXPECT_TRUE(FreeLibrary(again));
}

TEST_F(ImageModule, StaysLoadedUntilItsLastReferenceIsFreed) {
    HMODULE second = LoadLibraryW(L"moltrtsi");
    EXPECT_EQ(second, module_);
    auto ownHandle = Export<OwnHandle>(module_, "MoltrTestOwnHandle");
    HMODULE byAddress = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                   reinterpret_cast<LPCWSTR>(ownHandle), &byAddress));
    EXPECT_EQ(byAddress, module_);
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_TRUE(FreeLibrary(byAddress));
    EXPECT_EQ(GetModuleHandleW(L"MOLTRTSI.DLL"), module_);
    EXPECT_TRUE(FreeLibrary(module_));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleHandleW(L"MOLTRTSI.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_FALSE(FreeLibrary(module_));
    module_ = nullptr;
}

TEST(ImageModuleFile, GivesItsVersionWithoutBeingLoaded) {
    TestMachine machine;
    ASSERT_EQ(GetModuleHandleW(L"MOLTRTSI.DLL"), nullptr);
    DWORD size = GetFileVersionInfoSizeW(L"MOLTRTSI.DLL", nullptr);
    ASSERT_GT(size, 0u) << GetLastError();
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(L"MOLTRTSI.DLL", 0, size, block.data()));
    LPVOID value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &value, &length));
    EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionLS, 5u);
    EXPECT_EQ(GetModuleHandleW(L"MOLTRTSI.DLL"), nullptr);
}

} // namespace
