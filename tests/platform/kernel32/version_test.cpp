// GetVersionExW and VerifyVersionInfoW against each Windows version the machine can be set to.
#include "sim/machine.h"
#include "sim/utf.h"
#include "windows_run.h"
#include <gtest/gtest.h>
#include <windows.h>

using moltr::sim::Utf8;

namespace {

struct Version {
    DWORD major, minor, build;
    WORD servicePack;
};

class Versions : public ::testing::TestWithParam<Version> {
protected:
    static moltr::sim::MachineConfig Config(const Version& v) {
        moltr::sim::MachineConfig config;
        config.version = {v.major, v.minor, v.build, v.servicePack};
        return config;
    }

    // Whether the machine's version compares to major.minor as `condition` says (both parts
    // tested).
    static bool Is(DWORD major, DWORD minor, BYTE condition) {
        OSVERSIONINFOEXW wanted{};
        wanted.dwOSVersionInfoSize = sizeof(wanted);
        wanted.dwMajorVersion = major;
        wanted.dwMinorVersion = minor;
        DWORDLONG mask = 0;
        VER_SET_CONDITION(mask, VER_MAJORVERSION, condition);
        VER_SET_CONDITION(mask, VER_MINORVERSION, condition);
        BOOL result = VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION, mask);
        if (!result) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OLD_WIN_VERSION));
        }
        return result;
    }

    void SetUp() override {
        MOLTR_SIMULATION_ONLY("the Windows version is set in the machine's configuration");
    }

    moltr::sim::TestMachine machine{Config(GetParam())};
};

TEST_P(Versions, GetVersionExAnswersTheConfiguredVersion) {
    const Version& v = GetParam();
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExW(&info));
    EXPECT_EQ(info.dwMajorVersion, v.major);
    EXPECT_EQ(info.dwMinorVersion, v.minor);
    EXPECT_EQ(info.dwBuildNumber, v.build);
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof(extended);
    ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&extended)));
    EXPECT_EQ(extended.wServicePackMajor, v.servicePack);
    EXPECT_EQ(extended.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(Utf8(extended.szCSDVersion),
              v.servicePack ? "Service Pack " + std::to_string(v.servicePack) : "");
}

TEST_P(Versions, VerifyComparesMajorAndMinorAsOneNumber) {
    const Version& v = GetParam();
    EXPECT_TRUE(Is(v.major, v.minor, VER_EQUAL));
    EXPECT_TRUE(Is(v.major, v.minor, VER_GREATER_EQUAL));
    EXPECT_TRUE(Is(v.major, v.minor, VER_LESS_EQUAL));
    EXPECT_FALSE(Is(v.major, v.minor, VER_GREATER));
    EXPECT_FALSE(Is(v.major, v.minor, VER_LESS));
    EXPECT_EQ(Is(6, 0, VER_EQUAL), v.major == 6 && v.minor == 0);
    // A higher major version is newer whatever its minor version.
    EXPECT_EQ(Is(5, 2, VER_GREATER_EQUAL), v.major > 5 || (v.major == 5 && v.minor >= 2));
    EXPECT_EQ(Is(6, 1, VER_LESS), v.major < 6 || (v.major == 6 && v.minor < 1));
}

TEST_P(Versions, VerifyTestsBuildAndPlatformOnTheirOwn) {
    const Version& v = GetParam();
    OSVERSIONINFOEXW wanted{};
    wanted.dwOSVersionInfoSize = sizeof(wanted);
    wanted.dwBuildNumber = v.build + 1;
    wanted.dwPlatformId = VER_PLATFORM_WIN32_NT;
    DWORDLONG mask = VerSetConditionMask(0, VER_BUILDNUMBER, VER_LESS);
    mask = VerSetConditionMask(mask, VER_PLATFORMID, VER_EQUAL);
    EXPECT_TRUE(VerifyVersionInfoW(&wanted, VER_BUILDNUMBER | VER_PLATFORMID, mask));
    wanted.dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    EXPECT_FALSE(VerifyVersionInfoW(&wanted, VER_BUILDNUMBER | VER_PLATFORMID, mask));
}

INSTANTIATE_TEST_SUITE_P(EveryWindows, Versions,
                         ::testing::Values(Version{5, 0, 2195, 4}, Version{5, 1, 2600, 3},
                                           Version{5, 2, 3790, 2}, Version{6, 0, 6002, 2},
                                           Version{6, 1, 7601, 1}, Version{6, 2, 9200, 0},
                                           Version{6, 3, 9600, 0}, Version{10, 0, 19045, 0}));

TEST(VersionCalls, SizesAreChecked) {
    MOLTR_NOT_UNDER_WINE("Wine refuses a short size without setting the last error");
    moltr::sim::TestMachine machine;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info) - 1;
    EXPECT_FALSE(GetVersionExW(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

static_assert(sizeof(OSVERSIONINFOW) == 276);
static_assert(sizeof(OSVERSIONINFOEXW) == 284);

TEST(VersionCalls, EmptyMasksAreBadArguments) {
    moltr::sim::TestMachine machine;
    OSVERSIONINFOEXW wanted{};
    wanted.dwOSVersionInfoSize = sizeof(wanted);
    EXPECT_FALSE(
        VerifyVersionInfoW(&wanted, 0, VerSetConditionMask(0, VER_MAJORVERSION, VER_EQUAL)));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_ARGUMENTS));
    EXPECT_FALSE(VerifyVersionInfoW(&wanted, VER_MAJORVERSION, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_ARGUMENTS));
}

TEST(VersionCalls, ConditionMaskHoldsThreeBitsPerType) {
    MOLTR_NOT_UNDER_WINE("Wine merges a second condition for a type into the first");
    EXPECT_EQ(VerSetConditionMask(0, VER_MINORVERSION, VER_EQUAL), 1ULL);
    EXPECT_EQ(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL), 3ULL << 3);
    EXPECT_EQ(VerSetConditionMask(0, VER_SERVICEPACKMAJOR, VER_LESS), 4ULL << 15);
    EXPECT_EQ(VerSetConditionMask(VerSetConditionMask(0, VER_MINORVERSION, VER_LESS),
                                  VER_MINORVERSION, VER_EQUAL),
              1ULL);
}

} // namespace
