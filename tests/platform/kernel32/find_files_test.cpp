// Searching folders with FindFirstFileW and FindNextFileW: wildcards, letter case, order, the
// entries a folder lists for itself, and what a search reports about each file.
#include "file_test_helpers.h"
#include "windows_run.h"
#include <gtest/gtest.h>

#include <vector>

using namespace file_test;
using moltr::sim::Utf8;
using moltr::sim::W;

namespace {

class FindFiles : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(W(Wide("C:\\Drv")), nullptr);
        CreateDirectoryW(W(Wide("C:\\Drv\\Sub")), nullptr);
        for (const char* name : {"C:\\Drv\\moltr.xpd", "C:\\Drv\\MOLTR4000.GPD", "C:\\Drv\\a1.xpd",
                                 "C:\\Drv\\a22.xpd", "C:\\Drv\\readme"}) {
            Put(name, "12345");
        }
    }

    std::vector<std::string> Names(const char* pattern) {
        std::vector<std::string> names;
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(W(Wide(pattern)), &data);
        if (search == INVALID_HANDLE_VALUE) {
            names.push_back("error " + std::to_string(GetLastError()));
            return names;
        }
        do {
            names.push_back(Utf8(data.cFileName));
        } while (FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
        EXPECT_TRUE(FindClose(search));
        return names;
    }

    moltr::sim::TestMachine machine;
};

using List = std::vector<std::string>;

TEST_F(FindFiles, StarAndQuestionMarkMatchIgnoringCase) {
    EXPECT_EQ(Names("C:\\Drv\\*.XPD"), List({"a1.xpd", "a22.xpd", "moltr.xpd"}));
    EXPECT_EQ(Names("C:\\drv\\a?.xpd"), List({"a1.xpd"}));
    EXPECT_EQ(Names("C:\\Drv\\moltr*"), List({"moltr.xpd", "MOLTR4000.GPD"}));
    EXPECT_EQ(Names("C:\\Drv\\*4*.g?d"), List({"MOLTR4000.GPD"}));
}

TEST_F(FindFiles, FoldersListThemselvesAndTheirParent) {
    EXPECT_EQ(Names("C:\\Drv\\*"), List({".", "..", "a1.xpd", "a22.xpd", "moltr.xpd",
                                         "MOLTR4000.GPD", "readme", "Sub"}));
    // "*.*" also takes names without a dot.
    EXPECT_EQ(Names("C:\\Drv\\Sub\\*.*"), List({".", ".."}));
}

TEST_F(FindFiles, AnExactNameFindsThatFile) {
    EXPECT_EQ(Names("C:\\DRV\\MOLTR.XPD"), List({"moltr.xpd"}));
    EXPECT_EQ(Names("C:/Drv/Sub"), List({"Sub"}));
}

TEST_F(FindFiles, NothingFoundIsAnError) {
    MOLTR_NOT_UNDER_WINE("Wine answers other codes for a file used as a folder and for '|'");
    EXPECT_EQ(Names("C:\\Drv\\*.ini"), List({"error 2"}));
    EXPECT_EQ(Names("C:\\Drv\\missing.xpd"), List({"error 2"}));
    EXPECT_EQ(Names("C:\\NoFolder\\*.xpd"), List({"error 3"}));
    EXPECT_EQ(Names("C:\\Drv\\readme\\*"), List({"error 3"}));
    EXPECT_EQ(Names("C:\\Drv\\"), List({"error 2"}));
    EXPECT_EQ(Names("C:\\Drv\\a|b"), List({"error 123"}));
}

TEST_F(FindFiles, DataDescribesTheFile) {
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(W(Wide("C:\\Drv\\a1.xpd")), &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    EXPECT_EQ(data.cAlternateFileName[0], 0);
    FindClose(search);
    search = FindFirstFileW(W(Wide("C:\\Drv\\Sub")), &data);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    FindClose(search);
}

TEST_F(FindFiles, BadSearchHandlesAreRefused) {
    MOLTR_SIMULATION_ONLY("Windows may give a closed search handle's value to a new object");
    WIN32_FIND_DATAW data;
    EXPECT_FALSE(FindNextFileW(INVALID_HANDLE_VALUE, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    HANDLE search = FindFirstFileW(W(Wide("C:\\Drv\\*")), &data);
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_FALSE(FindNextFileW(search, &data));
    EXPECT_EQ(FindFirstFileW(W(Wide("C:\\Drv\\*")), nullptr), INVALID_HANDLE_VALUE);
}

} // namespace
