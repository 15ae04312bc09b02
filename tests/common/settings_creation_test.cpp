// Creating the driver settings object, its identity, and the core driver's size and default
// requests.
#include <cstring>
#include "settings_printer.h"

namespace moltr::test {
namespace {

using common::CreateDrvSettings;
using common::IDrvSettings;

// The private devmode of the built-in definition plus the tests' four fields.
constexpr DWORD kBuiltInSize = 393;
constexpr DWORD kTestSize = kBuiltInSize + 3 + 32;

class Creation : public ::testing::Test {
protected:
    sim::TestMachine machine_;
    SettingsPrinter printer_;
};

TEST_F(Creation, RefusesOtherModesAndTheInvalidHandle) {
    IDrvSettings* settings = reinterpret_cast<IDrvSettings*>(1);
    EXPECT_EQ(E_INVALIDARG, CreateDrvSettings(2, printer_.handle(), &settings));
    EXPECT_EQ(nullptr, settings);
    EXPECT_EQ(E_INVALIDARG, CreateDrvSettings(0, INVALID_HANDLE_VALUE, &settings));
    EXPECT_EQ(E_INVALIDARG, CreateDrvSettings(0, printer_.handle(), nullptr));
}

TEST_F(Creation, FailsWithoutCompiledStructures) {
    sim::PrinterSetup other;
    other.name = u"Uncompiled";
    other.driver = u"MOLTR ColorLaser 4000 PCL5c";
    ASSERT_TRUE(sim::AddPrinter(other));
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    ASSERT_TRUE(OpenPrinterW(sim::W(other.name), &printer, &defaults));
    IDrvSettings* settings = reinterpret_cast<IDrvSettings*>(1);
    EXPECT_EQ(E_FAIL, CreateDrvSettings(0, printer, &settings));
    EXPECT_EQ(nullptr, settings);
    EXPECT_EQ(E_FAIL, CreateDrvSettings(0, nullptr, &settings));
    // Compiling is what the devmode handler does before it tries again.
    ASSERT_LT(compiler::CompileForPrinter(printer), compiler::kError);
    EXPECT_EQ(S_OK, CreateDrvSettings(0, printer, &settings));
    settings->Release();
    ClosePrinter(printer);
}

TEST_F(Creation, PrinterModeNeedsAReadableDataFile) {
    SettingsPtr document(printer_.Create(common::kModeDocument));
    SettingsPtr printer(printer_.Create(common::kModePrinter));
    EXPECT_NE(nullptr, printer);
    // Held open without read sharing, the file cannot be read within the tries.
    std::u16string path = sim::WindowsPath(printer_.DataFile());
    HANDLE locked = CreateFileW(sim::W(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    IDrvSettings* settings = nullptr;
    EXPECT_EQ(E_FAIL, CreateDrvSettings(common::kModePrinter, printer_.handle(), &settings));
    EXPECT_EQ(S_OK, CreateDrvSettings(common::kModeDocument, printer_.handle(), &settings));
    settings->Release();
    CloseHandle(locked);
    std::filesystem::resize_file(printer_.DataFile(), 0);
    EXPECT_EQ(E_FAIL, CreateDrvSettings(common::kModePrinter, printer_.handle(), &settings));
}

TEST_F(Creation, AnswersOnlyIUnknownAndCountsReferences) {
    IDrvSettings* settings = printer_.Create(common::kModeDocument);
    ASSERT_NE(nullptr, settings);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, settings->QueryInterface(IID_IClassFactory, &object));
    EXPECT_EQ(nullptr, object);
    ASSERT_EQ(S_OK, settings->QueryInterface(IID_IUnknown, &object));
    EXPECT_EQ(static_cast<IUnknown*>(settings), object);
    EXPECT_EQ(3u, settings->AddRef());
    EXPECT_EQ(2u, settings->Release());
    EXPECT_EQ(1u, settings->Release());
    EXPECT_EQ(0u, settings->Release());
}

TEST_F(Creation, DefaultDevModeIsTheCompiledRecordWithSizeAndSignature) {
    SettingsPtr settings(printer_.Create(common::kModeDocument));
    DWORD size = 0;
    ASSERT_EQ(S_OK, settings->GetDevModeSize(&size));
    EXPECT_EQ(kTestSize, size);
    std::vector<BYTE> devmode(size + 8, 0xEE);
    DWORD given = size - 1;
    EXPECT_EQ(E_OUTOFMEMORY, settings->GetDefaultDevMode(&given, devmode.data()));
    given = size + 8;
    ASSERT_EQ(S_OK, settings->GetDefaultDevMode(&given, devmode.data()));
    EXPECT_EQ(size, given);
    DWORD header[3];
    std::memcpy(header, devmode.data(), sizeof header);
    EXPECT_EQ(size, header[0]);
    EXPECT_EQ(0, std::memcmp(&header[1], "MOLT", 4));
    EXPECT_EQ(1u, header[2]);
    EXPECT_EQ(0xEE, devmode[size]);
    // _WMK_TEXT at 29, _WMK_COLOR at 288.
    EXPECT_EQ('D', devmode[29]);
    EXPECT_EQ(0, devmode[30]);
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 0}),
              std::vector<BYTE>(devmode.begin() + 288, devmode.begin() + 292));
}

TEST(CreationBuiltIn, DefinitionGives393Bytes) {
    sim::TestMachine machine;
    // A description must define a structure of its own; this one leaves the built-in ones alone.
    SettingsPrinter builtIn(Gpd("*XPDSTRUCT: EXTRA\n{\n    *FORCEWRITE: ON\n"
                                "    *FIELD: X { *FIELDTYPE: BYTE }\n}\n"
                                "*OEMDEVMODE: DEFAULT\n{\n    *_VERSION: 2\n    *_PDLTYPE: 42\n}\n"
                                "*PRINTERSETTINGS: DEFAULT\n{\n    *_VERSION: 2\n"
                                "    *_PDLTYPE: 42\n}\n"));
    IDrvSettings* settings = nullptr;
    ASSERT_EQ(S_OK, CreateDrvSettings(0, builtIn.handle(), &settings));
    DWORD size = 0;
    EXPECT_EQ(S_OK, settings->GetDevModeSize(&size));
    EXPECT_EQ(kBuiltInSize, size);
    std::vector<BYTE> devmode(kBuiltInSize);
    ASSERT_EQ(S_OK, settings->GetDefaultDevMode(&size, devmode.data()));
    EXPECT_EQ((std::vector<BYTE>{0x89, 0x01, 0, 0, 'M', 'O', 'L', 'T', 2, 0, 0, 0}),
              std::vector<BYTE>(devmode.begin(), devmode.begin() + 12));
    DWORD printerSize = 0;
    EXPECT_EQ(S_OK, settings->GetValue(nullptr, L"_SIZE", &printerSize, 4, 1));
    EXPECT_EQ(120u, printerSize);
    settings->Release();
}

} // namespace
} // namespace moltr::test
