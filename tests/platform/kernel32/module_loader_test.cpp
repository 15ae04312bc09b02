// LoadLibraryExW as a data file, FreeLibrary, and the names and handles of modules: the language
// resource module the build makes (MOLTRTST.DLL), copied below the temporary folder the machine's
// cleaning watches, and this program.
#include "file_test_helpers.h"
#include "module_test_files.h"
#include "sim/machine.h"
#include "sim/utf.h"
#include "this_module.h"
#include "windows_run.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

using moltr::sim::TestMachine;
using moltr::sim::Utf8;

constexpr const char* kDriverFolder = "C:\\Windows\\Temp\\drivers\\x64\\3\\";
const std::string kModulePath = std::string(kDriverFolder) + "MOLTRTST.DLL";

std::u16string Wide(const std::string& text) {
    return moltr::sim::Utf16(text);
}

class ModuleLoader : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(moltr::test::CopyToMachine(moltr::test::BuiltModule("MOLTRTST.DLL"),
                                               kModulePath.c_str()));
    }
    HMODULE LoadData(const std::string& path, DWORD flags = LOAD_LIBRARY_AS_DATAFILE) {
        SetLastError(ERROR_SUCCESS);
        return LoadLibraryExW(moltr::sim::W(Wide(path)), nullptr, flags);
    }

    TestMachine machine_;
};

std::string ModuleString(HMODULE module, UINT id) {
    WCHAR buffer[64];
    int length = LoadStringW(module, id, buffer, 64);
    return Utf8(buffer, length);
}

TEST_F(ModuleLoader, LoadsAResourceModuleAsADataFile) {
    HMODULE module = LoadData(kModulePath);
    ASSERT_NE(module, nullptr);
    // Data-file handles carry the low bit, which tells them from images.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(module) & 3, 1u);
    EXPECT_EQ(ModuleString(module, 300), "Watermark");
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleLoader, MarksImageResourceMappingsWithTheSecondBit) {
    HMODULE module =
        LoadData(kModulePath, LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(module) & 3, 2u);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_RCDATA), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleLoader, FindsTheFileIgnoringCaseAndSlashes) {
    HMODULE module =
        LoadData("c:/windows/TEMP/Drivers/x64/3/moltrtst.dll", LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleLoader, FreesEachLoadOnItsOwn) {
    HMODULE first = LoadData(kModulePath);
    HMODULE second = LoadData(kModulePath);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(ModuleString(second, 1), "Paper size");
    EXPECT_TRUE(FreeLibrary(second));
}

TEST_F(ModuleLoader, CountsReferencesPerFile) {
    MOLTR_SIMULATION_ONLY("Windows documents neither shared data-file handles nor a second free");
    HMODULE first = LoadData(kModulePath);
    HMODULE second = LoadData(kModulePath);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(second));
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(FreeLibrary(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(FindResourceW(second, MAKEINTRESOURCEW(1), RT_RCDATA), nullptr);
}

TEST_F(ModuleLoader, SearchesBareNamesInTheSystemFolder) {
    ASSERT_TRUE(moltr::test::CopyToMachine(moltr::test::BuiltModule("MOLTRTST.DLL"),
                                           "C:\\Windows\\System32\\MOLTRTST.DLL"));
    HMODULE module = LoadData("moltrtst");
    EXPECT_NE(module, nullptr) << GetLastError();
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(LoadData("moltrtst."), nullptr);
    // The system folder is outside what the machine's cleaning watches.
    EXPECT_TRUE(DeleteFileW(L"C:\\Windows\\System32\\MOLTRTST.DLL"));
}

TEST_F(ModuleLoader, ReportsMissingFilesAsTheFileSystemDoes) {
    EXPECT_EQ(LoadData(std::string(kDriverFolder) + "MISSING.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(LoadData(kDriverFolder), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(LoadData("C:\\No\\Such\\Folder\\MOLTRTST.DLL"), nullptr);
    EXPECT_EQ(LoadData("NOSUCHMODULE.DLL"), nullptr);
}

TEST_F(ModuleLoader, TellsMissingFoldersAndModulesApart) {
    MOLTR_SIMULATION_ONLY("Windows documents no error for a data file that is not found");
    EXPECT_EQ(LoadData("C:\\No\\Such\\Folder\\MOLTRTST.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(LoadData("NOSUCHMODULE.DLL"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(LoadData("moltrtst."), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleLoader, RefusesFilesWithoutResources) {
    const std::string text = std::string(kDriverFolder) + "README.TXT";
    ASSERT_TRUE(file_test::Put(text.c_str(), "This is not a module.\n"));
    EXPECT_EQ(LoadData(text), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    const std::string empty = std::string(kDriverFolder) + "EMPTY.DLL";
    ASSERT_TRUE(file_test::Put(empty.c_str(), ""));
    EXPECT_EQ(LoadData(empty), nullptr);
    // A data file is mapped, and a file of no bytes cannot be.
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_INVALID));
}

TEST_F(ModuleLoader, RefusesBadArguments) {
    EXPECT_EQ(LoadLibraryExW(nullptr, nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LoadLibraryExW(L"", nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ModuleLoader, RefusesAFileHandle) {
    MOLTR_SIMULATION_ONLY("Windows reserves the file handle and documents no answer to one");
    const std::u16string path = Wide(kModulePath);
    EXPECT_EQ(LoadLibraryExW(moltr::sim::W(path), INVALID_HANDLE_VALUE, LOAD_LIBRARY_AS_DATAFILE),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ModuleLoader, ReadsTheResourcesOfAModuleFileThatIsNotLoaded) {
    // A copy of this program is a module file that is not loaded: its resources are read from it.
    const std::string copy = std::string(kDriverFolder) + "COPY.EXE";
    ASSERT_TRUE(moltr::test::CopyToMachine(moltr::test::ThisProgramFile().string(), copy.c_str()));
    HMODULE module = LoadData(copy);
    ASSERT_NE(module, nullptr) << GetLastError();
    EXPECT_NE(module, ThisModuleHandle());
    EXPECT_EQ(ModuleString(module, 7), "Own string");
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleLoader, GivesALoadedImageItsOwnHandleForData) {
    WCHAR path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(ThisModuleHandle(), path, MAX_PATH), 0u);
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_EQ(module, ThisModuleHandle());
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(ModuleString(ThisModuleHandle(), 7), "Own string");
}

TEST_F(ModuleLoader, FindsNoMissingImage) {
    EXPECT_EQ(LoadLibraryA("nosuchmodule"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleLoader, FailsToLoadFilesThatAreNoImages) {
    MOLTR_SIMULATION_ONLY("the build's resource module is a DLL there, which LoadLibraryW loads");
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibraryW(moltr::sim::W(Wide(kModulePath))), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}

TEST_F(ModuleLoader, FindsNoProceduresInDataFilesOrByOrdinal) {
    HMODULE module = LoadData(kModulePath);
    EXPECT_EQ(GetProcAddress(module, "DllGetClassObject"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetProcAddress(ThisModuleHandle(), MAKEINTRESOURCEA(15)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(ThisModuleHandle(), "NoSuchExport"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST_F(ModuleLoader, NamesNoFileForADataModule) {
    HMODULE module = LoadData(kModulePath);
    WCHAR path[MAX_PATH];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleFileNameW(module, path, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetModuleHandleW(L"MOLTRTST.DLL"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModuleLoader, NamesTheProcessImage) {
    WCHAR path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(GetModuleFileNameW(ThisModuleHandle(), path, MAX_PATH), length);
    const std::string name = Utf8(path, length);
    EXPECT_EQ(GetModuleHandleW(moltr::sim::W(Wide(name))), ThisModuleHandle());
    // A bare name without an extension means a DLL.
    const std::string stem =
        name.substr(name.rfind('\\') + 1, name.rfind('.') - name.rfind('\\') - 1);
    EXPECT_EQ(GetModuleHandleW(moltr::sim::W(Wide(stem))), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleLoader, CutsTheFileNameToTheBuffer) {
    MOLTR_NOT_UNDER_WINE("Wine cuts the name as Windows XP did, without its terminator");
    WCHAR whole[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, whole, MAX_PATH);
    ASSERT_GT(length, 1u);
    WCHAR path[MAX_PATH];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, length + 1), length);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    // Cut, the name keeps its terminator and the count is the buffer's.
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, length), length);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(Utf8(path), Utf8(whole, length - 1));
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, 1), 1u);
    EXPECT_EQ(path[0], 0);
}

TEST_F(ModuleLoader, FindsTheModuleOfAnAddress) {
    static const int inThisModule = 0;
    HMODULE module = nullptr;
    EXPECT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                       GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   reinterpret_cast<LPCWSTR>(&inThisModule), &module));
    EXPECT_EQ(module, ThisModuleHandle());
    EXPECT_TRUE(GetModuleHandleExW(0, nullptr, &module));
    EXPECT_EQ(module, ThisModuleHandle());
    int onTheStack = 0;
    EXPECT_FALSE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                    reinterpret_cast<LPCWSTR>(&onTheStack), &module));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(module, nullptr);
}

TEST_F(ModuleLoader, RefusesContradictoryHandleFlags) {
    HMODULE module = ThisModuleHandle();
    EXPECT_FALSE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN |
                                        GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                    nullptr, &module));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(module, nullptr);
    EXPECT_FALSE(GetModuleHandleExW(0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

} // namespace
