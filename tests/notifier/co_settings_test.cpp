// The notifier's settings object: creation failures, its one interface, and the PDL type it reads
// from a compiled printer.
#include "common/settings_printer.h"
#include "notifier/co_settings.h"

namespace moltr::test {
namespace {

using notifier::CreateSettings;
using notifier::ISettings;

class NotifierSettings : public ::testing::Test {
protected:
    sim::TestMachine machine_;
};

DWORD PdlTypeOf(HANDLE printer) {
    ISettings* settings = nullptr;
    EXPECT_EQ(S_OK, CreateSettings(printer, &settings));
    DWORD type = 0xFFFFFFFF;
    EXPECT_EQ(S_OK, settings->GetPDLType(&type));
    EXPECT_EQ(E_POINTER, settings->GetPDLType(nullptr));
    EXPECT_EQ(0u, settings->Release());
    return type;
}

TEST_F(NotifierSettings, ReadsThePrintersPdlType) {
    SettingsPrinter printer;
    EXPECT_EQ(42u, PdlTypeOf(printer.handle()));
}

TEST_F(NotifierSettings, AMissingPdlTypeReadsAsZero) {
    std::string descriptions = Descriptions();
    size_t at = descriptions.find("    *_PDLTYPE: 42\n");
    ASSERT_NE(at, std::string::npos);
    descriptions.erase(at, std::string("    *_PDLTYPE: 42\n").size());
    SettingsPrinter printer(Gpd(descriptions));
    // The built-in PRINTERSETTINGS field defaults to 0 when the description gives no value.
    EXPECT_EQ(0u, PdlTypeOf(printer.handle()));
}

TEST_F(NotifierSettings, CreationFailsWithoutPrinterOrStructures) {
    ISettings* settings = reinterpret_cast<ISettings*>(1);
    EXPECT_EQ(E_FAIL, CreateSettings(nullptr, &settings));
    EXPECT_EQ(nullptr, settings);
    settings = reinterpret_cast<ISettings*>(1);
    EXPECT_EQ(E_FAIL, CreateSettings(INVALID_HANDLE_VALUE, &settings));
    EXPECT_EQ(nullptr, settings);
    EXPECT_EQ(E_POINTER, CreateSettings(nullptr, nullptr));

    SettingsPrinter compiled;
    sim::PrinterSetup other;
    other.name = u"Uncompiled";
    other.driver = u"MOLTR ColorLaser 4000 PCL5c";
    ASSERT_TRUE(sim::AddPrinter(other));
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_READ};
    ASSERT_TRUE(OpenPrinterW(sim::W(other.name), &printer, &defaults));
    settings = reinterpret_cast<ISettings*>(1);
    EXPECT_EQ(E_FAIL, CreateSettings(printer, &settings));
    EXPECT_EQ(nullptr, settings);
    ClosePrinter(printer);
}

TEST_F(NotifierSettings, AnswersOnlyIUnknown) {
    SettingsPrinter printer;
    ISettings* settings = nullptr;
    ASSERT_EQ(S_OK, CreateSettings(printer.handle(), &settings));
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, settings->QueryInterface(IID_IClassFactory, &other));
    EXPECT_EQ(nullptr, other);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, settings->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(static_cast<IUnknown*>(settings), unknown);
    EXPECT_EQ(1u, unknown->Release());
    EXPECT_EQ(0u, settings->Release());
}

} // namespace
} // namespace moltr::test
