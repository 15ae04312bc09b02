// The spooler's files on disk may be damaged: reading them never crashes, damaged records read as
// missing, and the next write replaces them.
#include "spool_fixture.h"

#include <filesystem>
#include <random>

namespace fs = std::filesystem;

using moltr::sim::Utf16;
using moltr::test::ReadBytes;
using moltr::test::SpoolTest;
using moltr::test::W;
using moltr::test::WideArg;
using moltr::test::WriteBytes;

namespace {

// Damaged copies of a file's content: every truncation, and bytes flipped at random.
std::vector<std::string> Damaged(const std::string& good) {
    std::vector<std::string> damaged;
    for (size_t length = 0; length < good.size(); ++length) {
        damaged.push_back(good.substr(0, length));
    }
    std::mt19937 random(20261208);
    for (int i = 0; i < 200; ++i) {
        std::string bytes = good;
        for (int flips = 1 + i % 3; flips > 0; --flips) {
            bytes[random() % bytes.size()] ^= static_cast<char>(1 + random() % 255);
        }
        damaged.push_back(bytes);
    }
    damaged.push_back(good + "trailing");
    damaged.push_back(std::string(64, '\xFF'));
    return damaged;
}

class SpoolStateTest : public SpoolTest {
protected:
    fs::path Spool() const { return fs::path(machine_.root()) / "spool"; }
    // The one printer's folder.
    fs::path PrinterFolder() const {
        for (const auto& entry : fs::directory_iterator(Spool() / "printers")) {
            return entry.path();
        }
        return {};
    }
};

} // namespace

TEST_F(SpoolStateTest, DamagedPrinterDataReadsAsMissingAndIsReplacedOnWrite) {
    HANDLE admin = Open(PRINTER_ALL_ACCESS);
    std::vector<BYTE> image(300, 0x5A);
    ASSERT_EQ(SetPrinterDataExW(admin, W(u"PrinterDriverData"), W(u"OEMDEVMODE"), REG_BINARY,
                                image.data(), static_cast<DWORD>(image.size())),
              0u);
    fs::path keyFile;
    for (const auto& entry : fs::directory_iterator(PrinterFolder() / "data")) {
        keyFile = entry.path();
    }
    ASSERT_FALSE(keyFile.empty());
    const std::string good = ReadBytes(keyFile);
    for (const std::string& bytes : Damaged(good)) {
        WriteBytes(keyFile, bytes);
        std::vector<BYTE> data(400);
        DWORD type = 0;
        DWORD needed = 0;
        DWORD error = GetPrinterDataExW(admin, W(u"PrinterDriverData"), W(u"OEMDEVMODE"), &type,
                                        data.data(), static_cast<DWORD>(data.size()), &needed);
        // A flip inside the data itself still reads; anything else is missing.
        ASSERT_TRUE(error == ERROR_FILE_NOT_FOUND || (error == 0 && needed <= data.size()))
            << error;
        DWORD count = 0;
        error = EnumPrinterDataExW(admin, W(u"PrinterDriverData"), data.data(),
                                   static_cast<DWORD>(data.size()), &needed, &count);
        ASSERT_TRUE(error == ERROR_FILE_NOT_FOUND || error == ERROR_MORE_DATA || error == 0);
        EnumPrinterKeyW(admin, W(u""), reinterpret_cast<LPWSTR>(data.data()),
                        static_cast<DWORD>(data.size()), &needed);
    }
    WriteBytes(keyFile, "garbage");
    BYTE one = 1;
    ASSERT_EQ(
        SetPrinterDataExW(admin, W(u"PrinterDriverData"), W(u"Timestamp"), REG_BINARY, &one, 1),
        0u);
    DWORD needed = 0;
    EXPECT_EQ(GetPrinterDataExW(admin, W(u"PrinterDriverData"), W(u"Timestamp"), nullptr, &one, 1,
                                &needed),
              0u);
    EXPECT_EQ(GetPrinterDataExW(admin, W(u"PrinterDriverData"), W(u"OEMDEVMODE"), nullptr, nullptr,
                                0, &needed),
              DWORD{ERROR_FILE_NOT_FOUND})
        << "what the damage destroyed stays lost";
    ClosePrinter(admin);
}

TEST_F(SpoolStateTest, DamagedPrinterRecordsHideThePrinterWithoutCrashing) {
    fs::path record = PrinterFolder() / "printer";
    const std::string good = ReadBytes(record);
    ASSERT_FALSE(good.empty());
    WideArg name(kPrinter);
    int opened = 0;
    for (const std::string& bytes : Damaged(good)) {
        WriteBytes(record, bytes);
        moltr::sim::Printers();
        HANDLE printer = nullptr;
        if (OpenPrinterW(name, &printer, nullptr)) {
            ++opened;
            DWORD needed = 0;
            GetPrinterW(printer, 2, nullptr, 0, &needed);
            std::vector<BYTE> buffer(needed);
            ASSERT_TRUE(GetPrinterW(printer, 2, buffer.data(), needed, &needed));
            GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
            ClosePrinter(printer);
        } else {
            EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PRINTER_NAME});
        }
    }
    EXPECT_GT(opened, 0) << "damage inside the strings keeps the record readable";
    WriteBytes(record, good);
    HANDLE printer = Open(0);
    EXPECT_NE(printer, nullptr);
    ClosePrinter(printer);
}

TEST_F(SpoolStateTest, DamagedDriverRecordsMakeTheDriverUnknown) {
    fs::path driverFile;
    for (const auto& entry : fs::recursive_directory_iterator(Spool() / "drivers")) {
        if (entry.is_regular_file()) {
            driverFile = entry.path();
        }
    }
    ASSERT_FALSE(driverFile.empty());
    HANDLE printer = Open(0);
    const std::string good = ReadBytes(driverFile);
    for (const std::string& bytes : Damaged(good)) {
        WriteBytes(driverFile, bytes);
        DWORD needed = 0;
        if (!GetPrinterDriverW(printer, nullptr, 4, nullptr, 0, &needed)) {
            DWORD error = GetLastError();
            ASSERT_TRUE(error == ERROR_UNKNOWN_PRINTER_DRIVER ||
                        error == ERROR_INSUFFICIENT_BUFFER);
            if (error == ERROR_INSUFFICIENT_BUFFER) {
                std::vector<BYTE> buffer(needed);
                ASSERT_TRUE(GetPrinterDriverW(printer, nullptr, 4, buffer.data(), needed, &needed));
            }
        }
    }
    ClosePrinter(printer);
}

TEST_F(SpoolStateTest, ADamagedSequenceStillGivesNewPrintersFreshIds) {
    HANDLE old = Open(0);
    ASSERT_TRUE(moltr::sim::RemovePrinter(Utf16(kPrinter)));
    WriteBytes(Spool() / "sequence", "\x01\x02");
    moltr::sim::PrinterSetup setup;
    setup.name = Utf16(kPrinter);
    setup.driver = Utf16(kDriver);
    ASSERT_TRUE(moltr::sim::AddPrinter(setup));
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterW(old, 2, nullptr, 0, &needed));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    ClosePrinter(old);
}

TEST_F(SpoolStateTest, StrayFilesInTheSpoolFolderAreIgnored) {
    fs::create_directories(Spool() / "printers" / "not-a-printer");
    WriteBytes(Spool() / "printers" / "README", "notes");
    fs::create_directories(PrinterFolder() / "data");
    WriteBytes(PrinterFolder() / "data" / "half.tmp.1.2", "partial");
    WriteBytes(PrinterFolder() / "data" / "WRONGNAME", "MSPL");
    EXPECT_EQ(moltr::sim::Printers(), std::vector<std::u16string>{Utf16(kPrinter)});
    HANDLE printer = Open(0);
    DWORD needed = 0;
    EXPECT_EQ(EnumPrinterKeyW(printer, W(u""), nullptr, 0, &needed), DWORD{ERROR_MORE_DATA});
    EXPECT_EQ(needed, 2u) << "no keys at all";
    ClosePrinter(printer);
}
