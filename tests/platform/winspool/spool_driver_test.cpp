// GetPrinterDriverW and the spooler's directories.
#include "spool_fixture.h"

#include <fstream>
#include <sstream>

using moltr::sim::HostPath;
using moltr::sim::Utf16;
using moltr::sim::Utf8;
using moltr::test::Inside;
using moltr::test::SpoolTest;
using moltr::test::WideArg;
using moltr::test::WideBytes;

namespace {

const std::string kFiles = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\";

std::vector<BYTE> GetDriver(HANDLE printer, DWORD level, LPWSTR environment = nullptr) {
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterDriverW(printer, environment, level, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(GetPrinterDriverW(printer, environment, level, buffer.data(), needed, &needed));
    return buffer;
}

// The entries of a NUL-separated list that ends with an empty entry, read no further than `end`.
std::vector<std::string> Entries(const WCHAR* list, const BYTE* end) {
    std::vector<std::string> entries;
    while (reinterpret_cast<const BYTE*>(list) + sizeof(WCHAR) <= end && *list) {
        std::u16string_view entry = moltr::sim::View(list);
        entries.push_back(Utf8(entry));
        list += entry.size() + 1;
    }
    EXPECT_LE(reinterpret_cast<const BYTE*>(list) + sizeof(WCHAR), end) << "list not terminated";
    return entries;
}

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

// --- GetPrinterDriverW ---------------------------------------------------------------------------

TEST_F(SpoolTest, Level3GivesFullPathsInTheDriverDirectory) {
    HANDLE printer = Open(0);
    std::vector<BYTE> buffer = GetDriver(printer, 3);
    ASSERT_GE(buffer.size(), sizeof(DRIVER_INFO_3W));
    auto* info = reinterpret_cast<DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(info->cVersion, 3u);
    EXPECT_EQ(Utf8(info->pName), kDriver);
    EXPECT_EQ(Utf8(info->pEnvironment), "Windows x64");
    EXPECT_EQ(Utf8(info->pDriverPath), kFiles + "UNIDRV.DLL");
    EXPECT_EQ(Utf8(info->pDataFile), kFiles + "TESTLSR.GPD");
    EXPECT_EQ(Utf8(info->pConfigFile), kFiles + "UNIDRVUI.DLL");
    EXPECT_EQ(Utf8(info->pHelpFile), kFiles + "TESTLSR.CHM");
    EXPECT_EQ(info->pMonitorName, nullptr);
    EXPECT_EQ(Utf8(info->pDefaultDataType), "RAW");
    for (LPWSTR text : {info->pName, info->pEnvironment, info->pDriverPath, info->pDataFile,
                        info->pConfigFile, info->pHelpFile, info->pDefaultDataType}) {
        EXPECT_TRUE(Inside(text, WideBytes(text), buffer.data() + sizeof(DRIVER_INFO_3W),
                           buffer.size() - sizeof(DRIVER_INFO_3W)));
    }
    // The data file was copied there.
    EXPECT_EQ(Content(HostPath(info->pDataFile)), kGpdText);
    ClosePrinter(printer);
}

TEST_F(SpoolTest, DependentFilesAreADoubleNulTerminatedListInInstallOrder) {
    HANDLE printer = Open(0);
    std::vector<BYTE> buffer = GetDriver(printer, 3);
    auto* info = reinterpret_cast<DRIVER_INFO_3W*>(buffer.data());
    ASSERT_NE(info->pDependentFiles, nullptr);
    ASSERT_TRUE(Inside(info->pDependentFiles, 2, buffer.data(), buffer.size()));
    std::vector<std::string> files = Entries(info->pDependentFiles, buffer.data() + buffer.size());
    EXPECT_EQ(files, (std::vector<std::string>{kFiles + "MOLTRUIP.DLL", kFiles + "MOLTRRPC.DLL",
                                               kFiles + "MOLTRMDN.EXE", kFiles + "UNIRES.DLL"}));
    std::u16string notifier = Utf16(files[2]);
    EXPECT_EQ(Content(HostPath(moltr::sim::W(notifier))), "mdn");
    ClosePrinter(printer);
}

TEST_F(SpoolTest, Level4AddsNoPreviousNames) {
    HANDLE printer = Open(0);
    std::vector<BYTE> level3 = GetDriver(printer, 3);
    std::vector<BYTE> level4 = GetDriver(printer, 4);
    EXPECT_EQ(level4.size(), level3.size() + sizeof(LPWSTR));
    auto* info = reinterpret_cast<DRIVER_INFO_4W*>(level4.data());
    EXPECT_EQ(info->pszzPreviousNames, nullptr);
    EXPECT_EQ(Utf8(info->pDataFile), kFiles + "TESTLSR.GPD");
    EXPECT_EQ(Entries(info->pDependentFiles, level4.data() + level4.size()).size(), 4u);
    ClosePrinter(printer);
}

TEST_F(SpoolTest, DriverInformationFollowsTheSizingProtocol) {
    HANDLE printer = Open(0);
    for (DWORD level : {3u, 4u}) {
        DWORD needed = 0;
        EXPECT_FALSE(GetPrinterDriverW(printer, nullptr, level, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
        std::vector<BYTE> buffer(needed);
        DWORD again = 0;
        EXPECT_FALSE(GetPrinterDriverW(printer, nullptr, level, buffer.data(), needed - 2, &again));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
        EXPECT_EQ(again, needed);
        EXPECT_TRUE(GetPrinterDriverW(printer, nullptr, level, buffer.data(), needed, &again));
    }
    DWORD needed = 0;
    for (DWORD level : {0u, 1u, 2u, 5u, 6u, 8u}) {
        EXPECT_FALSE(GetPrinterDriverW(printer, nullptr, level, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_LEVEL}) << level;
    }
    EXPECT_FALSE(GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    ClosePrinter(printer);
}

TEST_F(SpoolTest, EnvironmentsAreNamedIgnoringCase) {
    HANDLE printer = Open(0);
    WideArg lower("windows X64");
    std::vector<BYTE> buffer = GetDriver(printer, 3, lower);
    EXPECT_EQ(Utf8(reinterpret_cast<DRIVER_INFO_3W*>(buffer.data())->pEnvironment), "Windows x64");
    DWORD needed = 0;
    WideArg x86("Windows NT x86");
    EXPECT_FALSE(GetPrinterDriverW(printer, x86, 3, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_UNKNOWN_PRINTER_DRIVER}) << "installed for x64 only";
    WideArg unknown("Windows 3.1");
    EXPECT_FALSE(GetPrinterDriverW(printer, unknown, 3, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_ENVIRONMENT});
    ClosePrinter(printer);
}

TEST_F(SpoolTest, OptionalDriverFilesComeBackAsNull) {
    moltr::sim::DriverSetup bare;
    bare.name = u"Bare Driver";
    bare.dataFile = "BARE.GPD";
    bare.defaultDataType.clear();
    bare.monitor = u"PJL Language Monitor";
    ASSERT_TRUE(moltr::sim::InstallDriver(bare));
    moltr::sim::PrinterSetup setup;
    setup.name = u"Bare";
    setup.driver = bare.name;
    ASSERT_TRUE(moltr::sim::AddPrinter(setup));
    HANDLE printer = Open(0, "Bare");
    std::vector<BYTE> buffer = GetDriver(printer, 3);
    auto* info = reinterpret_cast<DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(info->pHelpFile, nullptr);
    EXPECT_EQ(info->pDependentFiles, nullptr);
    EXPECT_EQ(info->pDefaultDataType, nullptr);
    EXPECT_EQ(Utf8(info->pMonitorName), "PJL Language Monitor");
    EXPECT_EQ(Utf8(info->pDataFile), kFiles + "BARE.GPD");
    ClosePrinter(printer);
}

TEST_F(SpoolTest, InstallDriverRefusesIncompleteSetups) {
    moltr::sim::DriverSetup setup;
    setup.name = u"Broken";
    setup.dataFile = source_ + "/MISSING.GPD";
    EXPECT_FALSE(moltr::sim::InstallDriver(setup)) << "a host file that does not exist";
    setup.dataFile = "";
    EXPECT_FALSE(moltr::sim::InstallDriver(setup));
    setup.dataFile = "X.GPD";
    setup.environment = u"Windows 3.1";
    EXPECT_FALSE(moltr::sim::InstallDriver(setup));
    setup.environment = u"Windows NT x86";
    EXPECT_TRUE(moltr::sim::InstallDriver(setup));
}

TEST_F(SpoolTest, ReinstallingADriverReplacesItsFiles) {
    moltr::sim::DriverSetup setup;
    setup.name = Utf16(kDriver);
    setup.dataFile = WriteSource("TESTLSR.GPD", "*GPDFileVersion: 2.0\r\n");
    ASSERT_TRUE(moltr::sim::InstallDriver(setup));
    HANDLE printer = Open(0);
    std::vector<BYTE> buffer = GetDriver(printer, 3);
    auto* info = reinterpret_cast<DRIVER_INFO_3W*>(buffer.data());
    EXPECT_EQ(Content(HostPath(info->pDataFile)), "*GPDFileVersion: 2.0\r\n");
    EXPECT_EQ(info->pDependentFiles, nullptr);
    ClosePrinter(printer);
}

// --- Directories ---------------------------------------------------------------------------------

class SpoolDirectoryTest : public SpoolTest, public ::testing::WithParamInterface<bool> {
protected:
    // The driver directory, or the print processor directory.
    BOOL Get(LPWSTR server, LPWSTR environment, DWORD level, LPBYTE buffer, DWORD size,
             LPDWORD needed) {
        return GetParam()
                   ? GetPrinterDriverDirectoryW(server, environment, level, buffer, size, needed)
                   : GetPrintProcessorDirectoryW(server, environment, level, buffer, size, needed);
    }
    std::string Expected(const std::string& folder) {
        return std::string("C:\\Windows\\System32\\spool\\") +
               (GetParam() ? "drivers\\" : "prtprocs\\") + folder;
    }
};

TEST_P(SpoolDirectoryTest, SizesInBytesWithTheTerminator) {
    DWORD needed = 0;
    EXPECT_FALSE(Get(nullptr, nullptr, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    std::string expected = Expected("x64");
    EXPECT_EQ(needed, (expected.size() + 1) * 2);
    std::vector<BYTE> buffer(needed + 8, 0xEE);
    DWORD again = 0;
    EXPECT_FALSE(Get(nullptr, nullptr, 1, buffer.data(), needed - 1, &again));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    EXPECT_EQ(again, needed);
    ASSERT_TRUE(Get(nullptr, nullptr, 1, buffer.data(), static_cast<DWORD>(buffer.size()), &again));
    EXPECT_EQ(again, needed);
    EXPECT_EQ(Utf8(reinterpret_cast<WCHAR*>(buffer.data())), expected);
    EXPECT_EQ(buffer[needed], 0xEE);
    EXPECT_TRUE(std::filesystem::is_directory(HostPath(reinterpret_cast<WCHAR*>(buffer.data()))));
}

TEST_P(SpoolDirectoryTest, EnvironmentsServersAndLevels) {
    std::vector<BYTE> buffer(1024);
    DWORD needed = 0;
    WideArg x86("windows nt X86");
    ASSERT_TRUE(Get(nullptr, x86, 1, buffer.data(), 1024, &needed));
    EXPECT_EQ(Utf8(reinterpret_cast<WCHAR*>(buffer.data())), Expected("W32X86"));
    WideArg own("\\\\moltrhost");
    EXPECT_TRUE(Get(own, nullptr, 1, buffer.data(), 1024, &needed));
    WideArg empty("");
    EXPECT_TRUE(Get(empty, empty, 1, buffer.data(), 1024, &needed));
    WideArg remote("\\\\elsewhere");
    EXPECT_FALSE(Get(remote, nullptr, 1, buffer.data(), 1024, &needed));
    EXPECT_EQ(GetLastError(), DWORD{RPC_S_SERVER_UNAVAILABLE});
    WideArg unknown("Windows IA64 and more");
    EXPECT_FALSE(Get(nullptr, unknown, 1, buffer.data(), 1024, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_ENVIRONMENT});
    EXPECT_FALSE(Get(nullptr, nullptr, 2, buffer.data(), 1024, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_LEVEL});
    EXPECT_FALSE(Get(nullptr, nullptr, 1, nullptr, 1024, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_USER_BUFFER});
    EXPECT_FALSE(Get(nullptr, nullptr, 1, buffer.data(), 1024, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

INSTANTIATE_TEST_SUITE_P(DriverAndPrintProcessor, SpoolDirectoryTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Driver" : "PrintProcessor"; });
