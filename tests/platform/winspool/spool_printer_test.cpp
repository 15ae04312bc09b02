// OpenPrinterW, ClosePrinter, GetPrinterW and SetPrinterW against the simulated spooler.
#include "spool_fixture.h"

#include <cstring>

using moltr::sim::Utf16;
using moltr::sim::Utf8;
using moltr::test::Inside;
using moltr::test::SpoolTest;
using moltr::test::WideArg;
using moltr::test::WideBytes;

namespace {

// A devmode of the given private size, its bytes numbered so that copies can be compared.
std::vector<BYTE> MakeDevMode(WORD driverExtra) {
    std::vector<BYTE> bytes(sizeof(DEVMODEW) + driverExtra);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<BYTE>(i * 7);
    }
    WORD size = sizeof(DEVMODEW);
    std::memcpy(bytes.data() + offsetof(DEVMODEW, dmSize), &size, 2);
    std::memcpy(bytes.data() + offsetof(DEVMODEW, dmDriverExtra), &driverExtra, 2);
    return bytes;
}

std::vector<BYTE> GetInfo(HANDLE printer, DWORD level) {
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(printer, level, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(GetPrinterW(printer, level, buffer.data(), needed, &needed));
    return buffer;
}

} // namespace

// --- Opening and closing ------------------------------------------------------------------------

TEST_F(SpoolTest, OpensByNameIgnoringCase) {
    HANDLE printer = Open(PRINTER_ACCESS_USE, "TEST laser");
    ASSERT_NE(printer, nullptr);
    EXPECT_NE(printer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ClosePrinter(printer));
}

TEST_F(SpoolTest, UnknownOrEmptyNamesAreInvalidPrinterNames) {
    for (const char* name : {"No Such Printer", "", "Test Laser "}) {
        WideArg wide(name);
        HANDLE printer = INVALID_HANDLE_VALUE;
        EXPECT_FALSE(OpenPrinterW(wide, &printer, nullptr)) << name;
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PRINTER_NAME}) << name;
        EXPECT_EQ(printer, nullptr);
    }
    HANDLE printer = nullptr;
    EXPECT_FALSE(OpenPrinterW(nullptr, &printer, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PRINTER_NAME});
    WideArg name(kPrinter);
    EXPECT_FALSE(OpenPrinterW(name, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

TEST_F(SpoolTest, EachOpenGivesItsOwnHandle) {
    HANDLE first = Open(PRINTER_ACCESS_USE);
    HANDLE second = Open(PRINTER_ACCESS_USE);
    EXPECT_NE(first, second);
    EXPECT_TRUE(ClosePrinter(first));
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(second, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER}) << "the other handle stays open";
    EXPECT_TRUE(ClosePrinter(second));
}

TEST_F(SpoolTest, ClosedNullAndForeignHandlesAreInvalid) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    ASSERT_TRUE(ClosePrinter(printer));
    int local = 0;
    for (HANDLE handle : {printer, HANDLE{nullptr}, INVALID_HANDLE_VALUE, HANDLE(&local)}) {
        SetLastError(0);
        EXPECT_FALSE(ClosePrinter(handle));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
        DWORD needed = 0;
        EXPECT_FALSE(GetPrinterW(handle, 2, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    }
}

TEST_F(SpoolTest, HandlesDieWithTheirPrinterEvenWhenTheNameComesBack) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    ASSERT_TRUE(moltr::sim::RemovePrinter(u"test LASER"));
    EXPECT_TRUE(moltr::sim::Printers().empty());
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(printer, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});

    moltr::sim::PrinterSetup again;
    again.name = Utf16(kPrinter);
    again.driver = Utf16(kDriver);
    ASSERT_TRUE(moltr::sim::AddPrinter(again));
    EXPECT_FALSE(GetPrinterW(printer, 1, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    EXPECT_TRUE(ClosePrinter(printer));
}

// --- Access -------------------------------------------------------------------------------------

TEST_F(SpoolTest, RefusedPrintersDenyAdministrationButAllowUse) {
    ASSERT_TRUE(moltr::sim::SetRefuseAllAccess(Utf16(kPrinter), true));
    WideArg name(kPrinter);
    for (ACCESS_MASK access :
         {ACCESS_MASK{PRINTER_ALL_ACCESS}, ACCESS_MASK{PRINTER_ACCESS_ADMINISTER},
          ACCESS_MASK{GENERIC_ALL}, ACCESS_MASK{PRINTER_ACCESS_USE | WRITE_DAC}}) {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
        HANDLE printer = INVALID_HANDLE_VALUE;
        EXPECT_FALSE(OpenPrinterW(name, &printer, &defaults)) << std::hex << access;
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
        EXPECT_EQ(printer, nullptr);
    }
    for (ACCESS_MASK access : {ACCESS_MASK{0}, ACCESS_MASK{PRINTER_ACCESS_USE},
                               ACCESS_MASK{PRINTER_READ}, ACCESS_MASK{GENERIC_READ}}) {
        HANDLE printer = Open(access);
        EXPECT_NE(printer, nullptr);
        ClosePrinter(printer);
    }
    ASSERT_TRUE(moltr::sim::SetRefuseAllAccess(Utf16(kPrinter), false));
    HANDLE printer = Open(PRINTER_ALL_ACCESS);
    EXPECT_NE(printer, nullptr);
    ClosePrinter(printer);
    EXPECT_FALSE(moltr::sim::SetRefuseAllAccess(u"No Such Printer", true));
}

TEST_F(SpoolTest, ChangingThePrinterNeedsAdministerAccess) {
    for (ACCESS_MASK access :
         {ACCESS_MASK{0}, ACCESS_MASK{PRINTER_READ}, ACCESS_MASK{GENERIC_WRITE}}) {
        HANDLE printer = Open(access);
        std::vector<BYTE> info = GetInfo(printer, 2);
        EXPECT_FALSE(SetPrinterW(printer, 2, info.data(), 0));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
        EXPECT_FALSE(SetPrinterW(printer, 0, nullptr, PRINTER_CONTROL_PAUSE));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
        ClosePrinter(printer);
    }
}

// --- GetPrinterW ---------------------------------------------------------------------------------

TEST_F(SpoolTest, EveryLevelFollowsTheSizingProtocol) {
    ASSERT_TRUE(moltr::sim::RemovePrinter(Utf16(kPrinter)));
    moltr::sim::PrinterSetup setup;
    setup.name = Utf16(kPrinter);
    setup.driver = Utf16(kDriver);
    setup.devmode = MakeDevMode(393);
    ASSERT_TRUE(moltr::sim::AddPrinter(setup));
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    for (DWORD level : {1u, 2u, 5u, 8u}) {
        DWORD needed = 0;
        SetLastError(0);
        EXPECT_FALSE(GetPrinterW(printer, level, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER}) << level;
        ASSERT_GT(needed, 8u) << level;
        std::vector<BYTE> buffer(needed + 1);
        DWORD again = 0;
        EXPECT_FALSE(GetPrinterW(printer, level, buffer.data(), needed - 1, &again));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER});
        EXPECT_EQ(again, needed);
        EXPECT_FALSE(GetPrinterW(printer, level, nullptr, needed, &again));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_USER_BUFFER});
        buffer[needed] = 0xEE;
        EXPECT_TRUE(GetPrinterW(printer, level, buffer.data(), needed, &again)) << level;
        EXPECT_EQ(again, needed);
        EXPECT_EQ(buffer[needed], 0xEE) << "nothing written past cbBuf at level " << level;
    }
    DWORD needed = 0;
    for (DWORD level : {0u, 3u, 4u, 6u, 7u, 9u}) {
        EXPECT_FALSE(GetPrinterW(printer, level, nullptr, 0, &needed));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_LEVEL}) << level;
    }
    EXPECT_FALSE(GetPrinterW(printer, 2, nullptr, 0, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    ClosePrinter(printer);
}

TEST_F(SpoolTest, Level2DescribesThePrinterWithStringsAtTheEnd) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    // A larger buffer than needed: the strings move to its end.
    std::vector<BYTE> buffer(needed + 100);
    ASSERT_TRUE(GetPrinterW(printer, 2, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    EXPECT_EQ(info->pServerName, nullptr);
    EXPECT_EQ(Utf8(info->pPrinterName), kPrinter);
    EXPECT_EQ(Utf8(info->pDriverName), kDriver);
    EXPECT_EQ(Utf8(info->pPortName), "LPT1:");
    EXPECT_EQ(Utf8(info->pPrintProcessor), "winprint");
    EXPECT_EQ(Utf8(info->pDatatype), "RAW");
    EXPECT_EQ(Utf8(info->pComment), "Second floor");
    EXPECT_EQ(Utf8(info->pLocation), "Room 2.14");
    EXPECT_EQ(Utf8(info->pShareName), "");
    EXPECT_EQ(info->pDevMode, nullptr);
    EXPECT_EQ(info->pSecurityDescriptor, nullptr);
    EXPECT_EQ(info->Attributes, DWORD{PRINTER_ATTRIBUTE_LOCAL});
    EXPECT_EQ(info->Status, 0u);
    EXPECT_EQ(info->cJobs, 0u);
    const BYTE* end = buffer.data();
    for (LPWSTR text : {info->pPrinterName, info->pShareName, info->pPortName, info->pDriverName,
                        info->pComment, info->pLocation, info->pSepFile, info->pPrintProcessor,
                        info->pDatatype, info->pParameters}) {
        ASSERT_TRUE(Inside(text, WideBytes(text), buffer.data() + sizeof(PRINTER_INFO_2W),
                           buffer.size() - sizeof(PRINTER_INFO_2W)));
        end = std::max(end, reinterpret_cast<const BYTE*>(text) + WideBytes(text));
    }
    EXPECT_EQ(end, buffer.data() + buffer.size());
    ClosePrinter(printer);
}

TEST_F(SpoolTest, DevModesAreCopiedIntoTheBufferAtLevels2And8) {
    ASSERT_TRUE(moltr::sim::RemovePrinter(Utf16(kPrinter)));
    moltr::sim::PrinterSetup setup;
    setup.name = Utf16(kPrinter);
    setup.driver = Utf16(kDriver);
    setup.devmode = MakeDevMode(393); // odd private size: the strings must stay aligned
    ASSERT_TRUE(moltr::sim::AddPrinter(setup));
    HANDLE printer = Open(PRINTER_ACCESS_USE);

    std::vector<BYTE> level2 = GetInfo(printer, 2);
    auto* info2 = reinterpret_cast<PRINTER_INFO_2W*>(level2.data());
    ASSERT_NE(info2->pDevMode, nullptr);
    ASSERT_TRUE(Inside(info2->pDevMode, setup.devmode.size(), level2.data(), level2.size()));
    EXPECT_EQ(std::memcmp(info2->pDevMode, setup.devmode.data(), setup.devmode.size()), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(info2->pDevMode) % 8, 0u);
    for (LPWSTR text : {info2->pPrinterName, info2->pParameters}) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(text) % 2, 0u);
        const BYTE* start = reinterpret_cast<const BYTE*>(text);
        EXPECT_GE(start, reinterpret_cast<const BYTE*>(info2->pDevMode) + setup.devmode.size());
    }

    std::vector<BYTE> level8 = GetInfo(printer, 8);
    auto* info8 = reinterpret_cast<PRINTER_INFO_8W*>(level8.data());
    ASSERT_TRUE(Inside(info8->pDevMode, setup.devmode.size(), level8.data(), level8.size()));
    EXPECT_EQ(std::memcmp(info8->pDevMode, setup.devmode.data(), setup.devmode.size()), 0);
    ClosePrinter(printer);
}

TEST_F(SpoolTest, Level8WithoutDevModeHoldsANullPointer) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    std::vector<BYTE> level8 = GetInfo(printer, 8);
    ASSERT_EQ(level8.size(), sizeof(PRINTER_INFO_8W));
    EXPECT_EQ(reinterpret_cast<PRINTER_INFO_8W*>(level8.data())->pDevMode, nullptr);
    ClosePrinter(printer);
}

TEST_F(SpoolTest, Levels1And5) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    std::vector<BYTE> level1 = GetInfo(printer, 1);
    auto* info1 = reinterpret_cast<PRINTER_INFO_1W*>(level1.data());
    EXPECT_EQ(info1->Flags, DWORD{PRINTER_ENUM_ICON8});
    EXPECT_EQ(Utf8(info1->pName), kPrinter);
    EXPECT_EQ(Utf8(info1->pDescription), "Test Laser,Test Laser PCL6,Room 2.14");
    EXPECT_EQ(Utf8(info1->pComment), "Second floor");

    std::vector<BYTE> level5 = GetInfo(printer, 5);
    auto* info5 = reinterpret_cast<PRINTER_INFO_5W*>(level5.data());
    EXPECT_EQ(Utf8(info5->pPrinterName), kPrinter);
    EXPECT_EQ(Utf8(info5->pPortName), "LPT1:");
    EXPECT_EQ(info5->Attributes, DWORD{PRINTER_ATTRIBUTE_LOCAL});
    EXPECT_EQ(info5->DeviceNotSelectedTimeout, 15000u);
    EXPECT_EQ(info5->TransmissionRetryTimeout, 45000u);
    ClosePrinter(printer);
}

// --- SetPrinterW ---------------------------------------------------------------------------------

TEST_F(SpoolTest, Level2ChangesReachOtherHandles) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    std::vector<BYTE> buffer = GetInfo(admin, 2);
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    WideArg processor("vorta MOLTR Processor");
    WideArg comment("moved");
    info->pPrintProcessor = processor;
    info->pComment = comment;
    info->Attributes |= PRINTER_ATTRIBUTE_SHARED;
    info->Status = PRINTER_STATUS_ERROR; // not settable at level 2
    std::vector<BYTE> devmode = MakeDevMode(12);
    info->pDevMode = reinterpret_cast<LPDEVMODEW>(devmode.data());
    ASSERT_TRUE(SetPrinterW(admin, 2, buffer.data(), 0));

    HANDLE reader = Open(0);
    std::vector<BYTE> after = GetInfo(reader, 2);
    auto* changed = reinterpret_cast<PRINTER_INFO_2W*>(after.data());
    EXPECT_EQ(Utf8(changed->pPrintProcessor), "vorta MOLTR Processor");
    EXPECT_EQ(Utf8(changed->pComment), "moved");
    EXPECT_EQ(Utf8(changed->pLocation), "Room 2.14");
    EXPECT_EQ(changed->Attributes, DWORD{PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_SHARED});
    EXPECT_EQ(changed->Status, 0u);
    ASSERT_NE(changed->pDevMode, nullptr);
    EXPECT_EQ(std::memcmp(changed->pDevMode, devmode.data(), devmode.size()), 0);

    // A null devmode keeps the current one.
    changed->pDevMode = nullptr;
    ASSERT_TRUE(SetPrinterW(admin, 2, after.data(), 0));
    std::vector<BYTE> level8 = GetInfo(reader, 8);
    EXPECT_NE(reinterpret_cast<PRINTER_INFO_8W*>(level8.data())->pDevMode, nullptr);
    ClosePrinter(reader);
    ClosePrinter(admin);
}

TEST_F(SpoolTest, Level2RenamesThePrinterButKeepsItsHandles) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    std::vector<BYTE> buffer = GetInfo(admin, 2);
    auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
    WideArg renamed("Renamed Laser");
    info->pPrinterName = renamed;
    ASSERT_TRUE(SetPrinterW(admin, 2, buffer.data(), 0));
    EXPECT_EQ(moltr::sim::Printers(), std::vector<std::u16string>{u"Renamed Laser"});
    std::vector<BYTE> level1 = GetInfo(admin, 1);
    EXPECT_EQ(Utf8(reinterpret_cast<PRINTER_INFO_1W*>(level1.data())->pName), "Renamed Laser");
    WideArg old(kPrinter);
    HANDLE gone = nullptr;
    EXPECT_FALSE(OpenPrinterW(old, &gone, nullptr));
    ClosePrinter(admin);
}

TEST_F(SpoolTest, Level2RefusesBadNamesDriversAndArguments) {
    moltr::sim::PrinterSetup other;
    other.name = u"Other Laser";
    other.driver = Utf16(kDriver);
    ASSERT_TRUE(moltr::sim::AddPrinter(other));
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    std::vector<BYTE> original = GetInfo(admin, 2);
    struct Case {
        const char* field;
        const char* value;
        DWORD error;
    } cases[] = {{"name", "other LASER", ERROR_PRINTER_ALREADY_EXISTS},
                 {"name", "", ERROR_INVALID_PRINTER_NAME},
                 {"name", "a,b", ERROR_INVALID_PRINTER_NAME},
                 {"driver", "No Such Driver", ERROR_UNKNOWN_PRINTER_DRIVER},
                 {"port", "", ERROR_INVALID_PARAMETER}};
    for (const Case& c : cases) {
        std::vector<BYTE> buffer = original;
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
        WideArg value(c.value);
        (std::strcmp(c.field, "name") == 0     ? info->pPrinterName
         : std::strcmp(c.field, "driver") == 0 ? info->pDriverName
                                               : info->pPortName) = value;
        EXPECT_FALSE(SetPrinterW(admin, 2, buffer.data(), 0)) << c.field << " " << c.value;
        EXPECT_EQ(GetLastError(), c.error) << c.field << " " << c.value;
    }
    EXPECT_FALSE(SetPrinterW(admin, 2, nullptr, 0));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_FALSE(SetPrinterW(admin, 2, original.data(), PRINTER_CONTROL_PAUSE));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_FALSE(SetPrinterW(admin, 5, original.data(), 0));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_LEVEL});
    // Nothing of the refused changes stuck.
    std::vector<BYTE> level1 = GetInfo(admin, 1);
    EXPECT_EQ(Utf8(reinterpret_cast<PRINTER_INFO_1W*>(level1.data())->pDescription),
              "Test Laser,Test Laser PCL6,Room 2.14");
    ClosePrinter(admin);
}

TEST_F(SpoolTest, ControlCommandsPauseResumeAndSetTheStatus) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    auto status = [&] {
        std::vector<BYTE> info = GetInfo(admin, 2);
        return reinterpret_cast<PRINTER_INFO_2W*>(info.data())->Status;
    };
    ASSERT_TRUE(SetPrinterW(admin, 0, nullptr, PRINTER_CONTROL_PAUSE));
    EXPECT_EQ(status(), DWORD{PRINTER_STATUS_PAUSED});
    ASSERT_TRUE(SetPrinterW(admin, 0, nullptr, PRINTER_CONTROL_RESUME));
    EXPECT_EQ(status(), 0u);
    DWORD offline = PRINTER_STATUS_OFFLINE;
    ASSERT_TRUE(
        SetPrinterW(admin, 0, reinterpret_cast<LPBYTE>(&offline), PRINTER_CONTROL_SET_STATUS));
    EXPECT_EQ(status(), DWORD{PRINTER_STATUS_OFFLINE});
    EXPECT_TRUE(SetPrinterW(admin, 0, nullptr, PRINTER_CONTROL_PURGE));
    EXPECT_FALSE(SetPrinterW(admin, 0, nullptr, PRINTER_CONTROL_SET_STATUS));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    for (DWORD command : {0u, 5u, 99u}) {
        EXPECT_FALSE(SetPrinterW(admin, 0, nullptr, command));
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PRINTER_COMMAND}) << command;
    }
    ClosePrinter(admin);
}

// --- Administration -----------------------------------------------------------------------------

TEST_F(SpoolTest, AddPrinterRefusesDuplicatesUnknownDriversAndBrokenDevModes) {
    moltr::sim::PrinterSetup setup;
    setup.name = u"TEST LASER";
    setup.driver = Utf16(kDriver);
    EXPECT_FALSE(moltr::sim::AddPrinter(setup)) << "the name is taken, whatever its case";
    setup.name = u"Another";
    setup.driver = u"Not Installed";
    EXPECT_FALSE(moltr::sim::AddPrinter(setup));
    setup.driver = Utf16(kDriver);
    setup.devmode = MakeDevMode(4);
    setup.devmode.pop_back();
    EXPECT_FALSE(moltr::sim::AddPrinter(setup));
    setup.devmode.clear();
    for (const char16_t* bad : {u"", u"a,b", u"\\\\server\\printer"}) {
        setup.name = bad;
        EXPECT_FALSE(moltr::sim::AddPrinter(setup));
    }
    setup.name = u"Another";
    EXPECT_TRUE(moltr::sim::AddPrinter(setup));
    EXPECT_EQ(moltr::sim::Printers(), (std::vector<std::u16string>{u"Test Laser", u"Another"}));
    EXPECT_FALSE(moltr::sim::RemovePrinter(u"Nobody"));
}

TEST_F(SpoolTest, ResetSpoolerRemovesPrintersDriversAndTheirFiles) {
    HANDLE printer = Open(PRINTER_ACCESS_USE);
    ASSERT_TRUE(moltr::sim::ResetSpooler());
    EXPECT_TRUE(moltr::sim::Printers().empty());
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(printer, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    moltr::sim::PrinterSetup setup;
    setup.name = Utf16(kPrinter);
    setup.driver = Utf16(kDriver);
    EXPECT_FALSE(moltr::sim::AddPrinter(setup)) << "the driver is gone too";
    std::string files = moltr::sim::HostPath(L"C:\\Windows\\System32\\spool\\drivers\\x64\\3");
    EXPECT_TRUE(std::filesystem::is_empty(files));
    ClosePrinter(printer);
}
