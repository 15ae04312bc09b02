// Malformed resource files: LoadLibraryExW refuses them with ERROR_BAD_EXE_FORMAT and never reads
// outside what it was given (the host-asan build checks the latter).
#include "module_test_files.h"
#include "sim/machine.h"
#include "sim/utf.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using moltr::sim::TestMachine;

constexpr const WCHAR* kPath = L"C:\\Windows\\System32\\MOLTRBAD.DLL";

class MalformedResources : public ::testing::Test {
protected:
    void SetUp() override {
        std::ifstream in(moltr::test::BuiltModule("MOLTRTST.DLL"), std::ios::binary);
        valid_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(valid_.size(), 64u);
    }

    // Loads `content` as a data file; true when it loads. A refusal must say why.
    bool Loads(const std::vector<BYTE>& content) {
        std::ofstream(moltr::sim::HostPath(kPath), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(content.data()),
                   static_cast<std::streamsize>(content.size()));
        SetLastError(ERROR_SUCCESS);
        HMODULE module = LoadLibraryExW(kPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
            return false;
        }
        // Whatever loaded is readable end to end.
        WCHAR text[64];
        for (UINT id : {1u, 2u, 300u}) {
            LoadStringW(module, id, text, 64);
        }
        DWORD size = GetFileVersionInfoSizeW(kPath, nullptr);
        std::vector<BYTE> version(size);
        LPVOID value = nullptr;
        UINT length = 0;
        if (size && GetFileVersionInfoW(kPath, 0, size, version.data())) {
            VerQueryValueW(version.data(), L"\\StringFileInfo\\040704B0\\FileDescription", &value,
                           &length);
        }
        EXPECT_TRUE(FreeLibrary(module));
        return true;
    }

    void PutDword(std::vector<BYTE>& content, size_t offset, DWORD value) {
        std::memcpy(content.data() + offset, &value, sizeof value);
    }

    // The offset of the second entry, the first real one after the empty entry.
    static constexpr size_t kSecond = 32;

    TestMachine machine_;
    std::vector<BYTE> valid_;
};

TEST_F(MalformedResources, TheValidFileLoads) {
    EXPECT_TRUE(Loads(valid_));
}

TEST_F(MalformedResources, CutFilesLoadOnlyAtEntryBoundaries) {
    int loaded = 0;
    // Every cut through the first entries, then every third byte, which meets every offset
    // within a DWORD as often.
    for (size_t size = 1; size < valid_.size(); size += size < 128 ? 1 : 3) {
        std::vector<BYTE> cut(valid_.begin(), valid_.begin() + static_cast<std::ptrdiff_t>(size));
        loaded += Loads(cut);
    }
    // Seven entries: three string blocks in two languages, the raw data and the version.
    EXPECT_LE(loaded, 2 * 7);
    EXPECT_FALSE(Loads(std::vector<BYTE>(valid_.begin(), valid_.end() - 1)));
}

TEST_F(MalformedResources, DataBeyondTheEndIsRefused) {
    std::vector<BYTE> content = valid_;
    PutDword(content, kSecond, 0xFFFFFFF0);
    EXPECT_FALSE(Loads(content));
}

TEST_F(MalformedResources, HeaderSizesOutOfRangeAreRefused) {
    for (DWORD headerSize : {0u, 8u, 28u, 34u, 0x10000u, 0xFFFFFFFFu}) {
        std::vector<BYTE> content = valid_;
        PutDword(content, kSecond + 4, headerSize);
        EXPECT_FALSE(Loads(content)) << headerSize;
    }
}

TEST_F(MalformedResources, NamesMustEndInsideTheHeader) {
    std::vector<BYTE> content = valid_;
    DWORD headerSize;
    std::memcpy(&headerSize, content.data() + kSecond + 4, sizeof headerSize);
    // A string type that runs to the end of the header and on into the data.
    std::memset(content.data() + kSecond + 8, 'A', headerSize - 8);
    EXPECT_FALSE(Loads(content));
}

TEST_F(MalformedResources, FilesMustStartWithTheEmptyEntry) {
    EXPECT_FALSE(Loads(std::vector<BYTE>(valid_.begin() + kSecond, valid_.end())));
    std::vector<BYTE> content = valid_;
    PutDword(content, 0, 4);
    EXPECT_FALSE(Loads(content));
}

TEST_F(MalformedResources, RandomHeaderDamageNeverCrashes) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::vector<BYTE> content = valid_;
        for (int flip = 0; flip < 4; ++flip) {
            content[random() % content.size()] ^= static_cast<BYTE>(1u << (random() % 8));
        }
        Loads(content);
    }
}

TEST_F(MalformedResources, CutHostModuleFilesAreRefused) {
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::vector<BYTE> program((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    program.resize(program.size() / 2);
    EXPECT_FALSE(Loads(program));
}

} // namespace
